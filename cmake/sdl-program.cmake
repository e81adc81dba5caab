# The Linux program on SDL2: the `vok-tictactoe` executable and its desktop integration. Its tests
# are in tests/ (sdl, linux, crashsafe, leaks).

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(Fontconfig REQUIRED)
find_package(X11 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client)
# The player's documents go with the program's installed name.
set(CMAKE_INSTALL_DOCDIR share/doc/vok-tictactoe CACHE PATH "The documents' folder")
include(GNUInstallDirs)

# The settings file's steps on a POSIX file system.
add_library(vokposix STATIC ${CMAKE_SOURCE_DIR}/shell/posix/PosixFiles.cpp)
target_include_directories(vokposix PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vokposix PRIVATE vokwarnings)

# Everything of the front end but `main`, so the tests and measurements run the very same code.
add_library(voksdl STATIC
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlDesktop.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlKeys.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlProgram.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlServices.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlText.cpp)
target_link_libraries(voksdl PUBLIC vokcore vokraster vokposix vokresources SDL2::SDL2
    SDL2_ttf::SDL2_ttf Fontconfig::Fontconfig X11::X11 PkgConfig::WaylandClient
    PRIVATE vokwarnings)

add_executable(vok-tictactoe ${CMAKE_SOURCE_DIR}/shell/sdl/main.cpp)
target_link_libraries(vok-tictactoe PRIVATE voksdl vokwarnings)
# A release build ships without symbols or debug information.
target_link_options(vok-tictactoe PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# Installed under any prefix: the program, its menu entry and AppStream metainfo under one id,
# the icon in every size the art comes in, and the player's documents.
set(VOK_APP_ID example.vok.tictactoe)
install(TARGETS vok-tictactoe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/${VOK_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/resources/linux/${VOK_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/${VOK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${VOK_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icon/app-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${VOK_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CHANGELOG.md
    ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
