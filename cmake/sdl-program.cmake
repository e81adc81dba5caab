# The Linux program on SDL2: the `tictactoe` executable and its desktop integration. Its tests
# are in tests/ (sdl, linux, crashsafe, leaks).

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(Fontconfig REQUIRED)
find_package(X11 REQUIRED)
include(GNUInstallDirs)

# Everything of the front end but `main`, so the tests and measurements run the very same code.
add_library(voksdl STATIC
    ${CMAKE_SOURCE_DIR}/shell/sdl/PosixFiles.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlFonts.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlKeys.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlPresenter.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlProgram.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlServices.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlSurface.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlX11.cpp)
target_link_libraries(voksdl PUBLIC vokcore vokresources SDL2::SDL2 SDL2_ttf::SDL2_ttf
    Fontconfig::Fontconfig X11::X11 PRIVATE vokwarnings)

add_executable(tictactoe ${CMAKE_SOURCE_DIR}/shell/sdl/main.cpp)
target_link_libraries(tictactoe PRIVATE voksdl vokwarnings)

# Desktop integration: the program, a menu entry, and the icon in the sizes the art comes in.
set(VOK_DESKTOP_ID vok-tictactoe)
install(TARGETS tictactoe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(${CMAKE_SOURCE_DIR}/shell/sdl/tictactoe.desktop.in
    ${CMAKE_BINARY_DIR}/${VOK_DESKTOP_ID}.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${VOK_DESKTOP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icon/app-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${VOK_DESKTOP_ID}.png)
endforeach()
