# The Windows program, TicTacToe.exe, and the tests that run it under Wine. Included by the top
# CMakeLists in the Windows builds that make the program.

if(VOK_APP_RC)
    enable_language(RC)
endif()

# The drawing surface and the services, which the check programs use too; the window module
# holds the entry point.
set(VOK_WIN32_WINDOW ${CMAKE_CURRENT_SOURCE_DIR}/shell/win32/Window.cpp)
set(VOK_WIN32_SHELL ${VOK_WIN32_SOURCES})
list(REMOVE_ITEM VOK_WIN32_SHELL ${VOK_WIN32_WINDOW})
add_library(vokwin32 STATIC ${VOK_WIN32_SHELL})
target_link_libraries(vokwin32 PUBLIC vokcore gdi32 msimg32 shell32 PRIVATE vokwarnings)

add_executable(TicTacToe WIN32 ${VOK_WIN32_WINDOW} ${VOK_APP_RC})
target_link_libraries(TicTacToe PRIVATE vokwin32 vokwarnings)

# ---- Tests of the executable (this build has no unit tests of its own) -------------------
set(VOK_WIN32_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32)

find_program(VOK_OBJDUMP NAMES i686-w64-mingw32-objdump objdump)
add_test(NAME win32_imports
    COMMAND ${VOK_WIN32_TESTS}/check-imports.sh ${VOK_OBJDUMP} $<TARGET_FILE:TicTacToe>)
add_test(NAME win32_resources
    COMMAND ${VOK_WIN32_TESTS}/check-resources.sh $<TARGET_FILE:TicTacToe>
            ${CMAKE_CURRENT_SOURCE_DIR}/resources/bitmaps)

# GDI drawing surface and fatal-error text, checked in a real Win32 process under Wine.
add_executable(win32_checks ${VOK_WIN32_TESTS}/win32_checks.cpp ${VOK_WIN32_TESTS}/checks.rc)
target_link_libraries(win32_checks PRIVATE vokwin32 vokwarnings)

# Drives the real program under Wine: finds its window, sends input, reads pixels back.
add_executable(e2e_driver ${VOK_WIN32_TESTS}/e2e_driver.cpp)
target_link_libraries(e2e_driver PRIVATE gdi32 shell32 vokwarnings)

# A fresh Wine prefix of the program's own for the runs below.
set(VOK_E2E_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-e2e)
add_test(NAME win32_wine_prefix
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-prefix.sh ${VOK_E2E_PREFIX})
set_tests_properties(win32_wine_prefix PROPERTIES FIXTURES_SETUP win32wine TIMEOUT 300)

add_test(NAME win32_checks
    COMMAND ${VOK_WIN32_TESTS}/with-xvfb.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-run.sh $<TARGET_FILE:win32_checks>)
add_test(NAME win32_e2e
    COMMAND ${VOK_WIN32_TESTS}/with-xvfb.sh ${VOK_WIN32_TESTS}/e2e.sh
            $<TARGET_FILE:e2e_driver> $<TARGET_FILE:TicTacToe> ${CMAKE_BINARY_DIR}/screenshots)
set_tests_properties(win32_checks win32_e2e PROPERTIES
    FIXTURES_REQUIRED win32wine RESOURCE_LOCK win32wine
    ENVIRONMENT "WINEPREFIX=${VOK_E2E_PREFIX}" TIMEOUT 400)
