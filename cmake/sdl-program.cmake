# The Linux program on SDL2: the `tictactoe` executable, its desktop integration, and the two
# test tiers that need its SDL parts (render tests without a display, end-to-end tests in Xvfb).

find_package(SDL2 REQUIRED CONFIG)
find_package(SDL2_ttf REQUIRED CONFIG)
find_package(Fontconfig REQUIRED)
find_package(X11 REQUIRED)
include(GNUInstallDirs)

# Everything of the front end but `main`, so the render tests draw with the very same code.
file(GLOB VOK_SDL_LIBRARY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/sdl/*.cpp)
list(FILTER VOK_SDL_LIBRARY_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(voksdl STATIC ${VOK_SDL_LIBRARY_SOURCES})
target_link_libraries(voksdl PUBLIC vokcore vokraster vokresources SDL2::SDL2 SDL2_ttf::SDL2_ttf
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
    set(icon ${CMAKE_SOURCE_DIR}/resources/icon/app-${size}.png)
    if(EXISTS ${icon})
        install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VOK_DESKTOP_ID}.png)
    endif()
endforeach()

if(VOK_BUILD_TESTS)
    find_package(GTest REQUIRED)
    find_package(ZLIB REQUIRED)
    file(GLOB VOK_RENDER_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sdl/*.cpp)
    add_executable(render_tests ${VOK_RENDER_TEST_SOURCES}
        ${CMAKE_SOURCE_DIR}/tests/support/RecordingSurface.cpp)
    target_link_libraries(render_tests PRIVATE voksdl ZLIB::ZLIB GTest::gtest GTest::gtest_main
        vokwarnings)
    set(VOK_SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/screenshots)
    add_test(NAME render_tests COMMAND render_tests)
    set_tests_properties(render_tests PROPERTIES TIMEOUT 300 FIXTURES_SETUP rendered_frames
        ENVIRONMENT "VOK_SCREENSHOT_DIR=${VOK_SCREENSHOT_DIR}")

    # The real program in a virtual X display with a window manager, driven like a person; the
    # window must show exactly the frames the render tests drew.
    add_test(NAME linux_e2e
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/linux/e2e.py
            --program $<TARGET_FILE:tictactoe> --out ${CMAKE_BINARY_DIR}/e2e
            --reference ${VOK_SCREENSHOT_DIR})
    set_tests_properties(linux_e2e PROPERTIES TIMEOUT 600
        FIXTURES_REQUIRED rendered_frames)
endif()
