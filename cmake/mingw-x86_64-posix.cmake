# The Windows unit tests, 64-bit for 64-bit Wine: GoogleTest needs std::mutex, which only the
# posix thread model of this compiler provides.
set(VOK_MINGW_ARCH x86_64)
set(VOK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
