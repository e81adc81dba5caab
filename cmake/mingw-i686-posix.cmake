# The Windows test executables: GoogleTest needs std::mutex, which only the posix thread
# model of this compiler provides.
set(VOK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686-common.cmake)
