# The page: the game in WebAssembly on a canvas, built with Debian's emscripten. `index.html`,
# `index.js`, `index.wasm` and `favicon.png` land in the build folder, ready to be served as
# they are. Its tests are in tests/web.

# The one face the page draws its text with: the bold face the Linux program finds.
set(VOK_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf CACHE FILEPATH
    "The TrueType face built into the page")
# stb_truetype (libstb-dev). Only its own folder: /usr/include would bring the system's C
# headers into the WebAssembly build.
set(VOK_STB_DIR /usr/include/stb CACHE PATH "The folder holding stb_truetype.h")
foreach(needed ${VOK_WEB_FONT} ${VOK_STB_DIR}/stb_truetype.h)
    if(NOT EXISTS ${needed})
        message(FATAL_ERROR "${needed} is missing: tools/install-deps.sh web installs it")
    endif()
endforeach()

set(VOK_WEB_FONT_CPP ${CMAKE_BINARY_DIR}/embedded/vok_font.cpp)
add_custom_command(
    OUTPUT ${VOK_WEB_FONT_CPP}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${VOK_WEB_FONT} -DOUTPUT=${VOK_WEB_FONT_CPP} -DSYMBOL=vok_font
            -P ${CMAKE_SOURCE_DIR}/resources/embed_file.cmake
    DEPENDS ${VOK_WEB_FONT} ${CMAKE_SOURCE_DIR}/resources/embed_file.cmake
    COMMENT "Embedding ${VOK_WEB_FONT}"
    VERBATIM)

set(VOK_WEB_SHELL ${CMAKE_SOURCE_DIR}/shell/web/index.html)
add_executable(vokweb
    ${CMAKE_SOURCE_DIR}/shell/web/main.cpp
    ${CMAKE_SOURCE_DIR}/shell/web/StbTextRasterizer.cpp
    ${CMAKE_SOURCE_DIR}/shell/web/WebServices.cpp
    ${VOK_WEB_FONT_CPP})
target_include_directories(vokweb SYSTEM PRIVATE ${VOK_STB_DIR})
target_link_libraries(vokweb PRIVATE vokcore vokraster vokresources vokwarnings)
set_target_properties(vokweb PROPERTIES
    OUTPUT_NAME index
    SUFFIX .html
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    LINK_DEPENDS ${VOK_WEB_SHELL}
    # The link runs Debian's acorn (in /usr/share/nodejs) under node: found without anything
    # set in the environment.
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
target_link_options(vokweb PRIVATE
    -sENVIRONMENT=web
    # emscripten 3.1.6 fails to minify an .html output; the page is small as it is.
    -sMINIFY_HTML=0
    # A frame at four times the scale needs more than the first 16 MiB.
    -sALLOW_MEMORY_GROWTH=1
    --shell-file ${VOK_WEB_SHELL})

configure_file(${CMAKE_SOURCE_DIR}/resources/icon/app-32.png ${CMAKE_BINARY_DIR}/favicon.png
    COPYONLY)
