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

# What the Linux program has of POSIX: the settings file's steps on its file system, the
# services that need no window, the process's signals and children, the command line.
add_library(vokposix STATIC
    ${CMAKE_SOURCE_DIR}/shell/posix/PosixCommandLine.cpp
    ${CMAKE_SOURCE_DIR}/shell/posix/PosixFiles.cpp
    ${CMAKE_SOURCE_DIR}/shell/posix/PosixProcess.cpp
    ${CMAKE_SOURCE_DIR}/shell/posix/PosixServices.cpp)
target_include_directories(vokposix PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vokposix PRIVATE vokwarnings)

include(${CMAKE_SOURCE_DIR}/cmake/atspi-library.cmake)

# Everything of the front end but `main`, so the tests and measurements run the very same code.
add_library(voksdl STATIC
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlDesktop.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlKeys.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlProgram.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlServices.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/PortalContrast.cpp
    ${CMAKE_SOURCE_DIR}/shell/sdl/SdlText.cpp)
target_link_libraries(voksdl PUBLIC vokcore vokraster vokposix vokatspi vokresources SDL2::SDL2
    SDL2_ttf::SDL2_ttf Fontconfig::Fontconfig X11::X11 PkgConfig::WaylandClient
    PRIVATE vokwarnings)

add_executable(vok-tictactoe ${CMAKE_SOURCE_DIR}/shell/sdl/main.cpp)
target_link_libraries(vok-tictactoe PRIVATE voksdl vokwarnings)
# A release build ships without symbols or debug information.
target_link_options(vok-tictactoe PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)

# Release builds (the game people play and the package) hardened as Debian's dpkg-buildflags
# with hardening=+all builds a package, on the project's own targets only: fortified functions,
# strong stack protection, stack-clash and control-flow protection, and full RELRO with
# immediate binding. The compiler makes position-independent executables already.
option(VOK_HARDENING "Harden the Linux program's Release builds" ON)
function(vok_harden)
    set(release $<AND:$<BOOL:${VOK_HARDENING}>,$<CONFIG:Release>>)
    set(options -D_FORTIFY_SOURCE=2 -fstack-protector-strong -fstack-clash-protection)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
        list(APPEND options -fcf-protection)
    endif()
    foreach(target IN LISTS ARGN)
        target_compile_options(${target} PRIVATE $<${release}:${options}>)
    endforeach()
    target_link_options(vok-tictactoe PRIVATE $<${release}:LINKER:-z,relro,-z,now>)
endfunction()
vok_harden(vokcore vokresources vokraster vokposix vokatspi voksdl vok-tictactoe)

# Installed under any prefix: the program, its menu entry and AppStream metainfo under one id,
# the icon in every size the art comes in, the manual page, and the player's documents (and
# those Debian asks for: packaging.cmake). Under /usr (the package) the program goes to
# Debian's place for games, /usr/games; under any other prefix to bin/.
set(VOK_APP_ID example.vok.tictactoe)
install(CODE "set(VOK_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
    if(CMAKE_INSTALL_PREFIX STREQUAL /usr)
        set(VOK_PROGRAM_DIR games)
    endif()")
install(TARGETS vok-tictactoe RUNTIME DESTINATION "\${VOK_PROGRAM_DIR}")
# The manual page with the project's version, compressed as Debian keeps it: no name, no time
# inside.
configure_file(${CMAKE_SOURCE_DIR}/resources/linux/vok-tictactoe.6.in
    ${CMAKE_BINARY_DIR}/vok-tictactoe.6 @ONLY)
set(VOK_MANUAL ${CMAKE_BINARY_DIR}/vok-tictactoe.6.gz)
add_custom_command(OUTPUT ${VOK_MANUAL}
    COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/vok-tictactoe.6 > ${VOK_MANUAL}
    DEPENDS ${CMAKE_BINARY_DIR}/vok-tictactoe.6)
add_custom_target(vok-manual ALL DEPENDS ${VOK_MANUAL})
install(FILES ${VOK_MANUAL} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
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
