# The shipped program: 32-bit, and the win32 thread model, whose runtime imports nothing Windows
# XP lacks.
set(VOK_MINGW_ARCH i686)
set(VOK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
