# The shipped program: the win32 thread model, whose runtime imports nothing Windows XP lacks.
set(VOK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686-common.cmake)
