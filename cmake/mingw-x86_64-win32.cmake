# The same program built 64-bit, with the shipped one's thread model, for the tests that run it
# under 64-bit Wine.
set(VOK_MINGW_ARCH x86_64)
set(VOK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
