# The Windows program, TicTacToe.exe. Its tests are in tests/ (win32, leaks; unit under Wine).

enable_language(RC)

# The drawing surface, the services and the accessible objects, which the check programs link too.
add_library(vokwin32 STATIC
    ${CMAKE_SOURCE_DIR}/shell/win32/Accessibility.cpp
    ${CMAKE_SOURCE_DIR}/shell/win32/GdiSurface.cpp
    ${CMAKE_SOURCE_DIR}/shell/win32/Win32Services.cpp)
target_link_libraries(vokwin32 PUBLIC vokcore gdi32 shell32 PRIVATE vokwarnings)

# The window module holds the entry point; the GDI leak check builds it into a program of its own.
set(VOK_WIN32_WINDOW ${CMAKE_SOURCE_DIR}/shell/win32/Window.cpp)
add_executable(TicTacToe WIN32 ${VOK_WIN32_WINDOW} ${VOK_APP_RC})
# windres reads the manifest, the icon and the pictures app.rc names, which the build's own
# scan does not see: a change to any of them compiles the resources anew.
file(GLOB VOK_RC_PICTURES ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)
set_source_files_properties(${VOK_APP_RC} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/app.manifest;${CMAKE_SOURCE_DIR}/resources/icon/app.ico;${VOK_RC_PICTURES}")
target_link_libraries(TicTacToe PRIVATE vokwin32 vokwarnings)
# A release build ships without symbols, and without the code nothing calls.
target_link_options(TicTacToe PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s -Wl,--gc-sections>)

# What the zip holds: the program, the README and the licence.
install(TARGETS TicTacToe RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CHANGELOG.md DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
