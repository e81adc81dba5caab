# The Windows program, TicTacToe.exe. Its tests are in tests/ (win32, leaks; unit under Wine).

# The drawing surface, the services and the accessible objects, which the check programs link too.
add_library(vokwin32 STATIC
    ${CMAKE_SOURCE_DIR}/shell/win32/Accessibility.cpp
    ${CMAKE_SOURCE_DIR}/shell/win32/GdiSurface.cpp
    ${CMAKE_SOURCE_DIR}/shell/win32/Win32Services.cpp)
target_link_libraries(vokwin32 PUBLIC vokcore gdi32 shell32 PRIVATE vokwarnings)

# The window module holds the entry point; the GDI leak check builds it into a program of its own.
set(VOK_WIN32_WINDOW ${CMAKE_SOURCE_DIR}/shell/win32/Window.cpp)
add_executable(TicTacToe WIN32 ${VOK_WIN32_WINDOW})
target_link_libraries(TicTacToe PRIVATE vokwin32 vokapprc vokwarnings)
# A release build ships without symbols, and without the code nothing calls.
target_link_options(TicTacToe PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s -Wl,--gc-sections>)

# What the zip holds: the program, the README and the licence.
install(TARGETS TicTacToe RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CHANGELOG.md DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
