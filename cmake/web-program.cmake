# The page: the game in WebAssembly on a canvas, built with Debian's emscripten, into
# build/web/site: exactly the files a web server needs (the page, its stylesheet, the script,
# the module, the manifest, the icons and the service worker). Its tests are in tests/web.

# The one face the page draws its text with: the bold face the Linux program finds, cut down at
# build time to the letters the page can draw (printable ASCII and the site's address).
set(VOK_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf CACHE FILEPATH
    "The TrueType face built into the page")
set(VOK_PYTHON /usr/bin/python3 CACHE FILEPATH "The Python that runs fonttools")
# stb_truetype (libstb-dev). Only its own folder: /usr/include would bring the system's C
# headers into the WebAssembly build.
set(VOK_STB_DIR /usr/include/stb CACHE PATH "The folder holding stb_truetype.h")
foreach(needed ${VOK_WEB_FONT} ${VOK_STB_DIR}/stb_truetype.h ${VOK_PYTHON})
    if(NOT EXISTS ${needed})
        message(FATAL_ERROR "${needed} is missing: tools/install-deps.sh web installs it")
    endif()
endforeach()
foreach(module fontTools.subset PIL.WebPImagePlugin)
    execute_process(COMMAND ${VOK_PYTHON} -c "import ${module}"
        RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
    if(missing)
        message(FATAL_ERROR "${VOK_PYTHON} has no ${module}: tools/install-deps.sh web installs it")
    endif()
endforeach()

# Outlines and advances only: the page's renderer reads no hinting, kerning or layout tables.
set(VOK_WEB_FONT_SUBSET ${CMAKE_BINARY_DIR}/embedded/vok_font.ttf)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/embedded)
add_custom_command(
    OUTPUT ${VOK_WEB_FONT_SUBSET}
    COMMAND ${VOK_PYTHON} -m fontTools.subset ${VOK_WEB_FONT} --unicodes=U+0020-007E
            --text=${VOK_SITE} --no-hinting --layout-features= --name-IDs= --notdef-outline
            --drop-tables+=kern,GDEF,GPOS,GSUB,FFTM --output-file=${VOK_WEB_FONT_SUBSET}
    DEPENDS ${VOK_WEB_FONT}
    COMMENT "The letters of ${VOK_WEB_FONT} the page draws"
    VERBATIM)
set(VOK_WEB_FONT_CPP ${CMAKE_BINARY_DIR}/embedded/vok_font.cpp)
add_custom_command(
    OUTPUT ${VOK_WEB_FONT_CPP}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${VOK_WEB_FONT_SUBSET} -DOUTPUT=${VOK_WEB_FONT_CPP}
            -DSYMBOL=vok_font -P ${CMAKE_SOURCE_DIR}/resources/embed_file.cmake
    DEPENDS ${VOK_WEB_FONT_SUBSET} ${CMAKE_SOURCE_DIR}/resources/embed_file.cmake
    COMMENT "Embedding the page's letters"
    VERBATIM)

set(VOK_WEB_SITE ${CMAKE_BINARY_DIR}/site)
set(VOK_WEB_SOURCE ${CMAKE_SOURCE_DIR}/shell/web)
# The page and its web app manifest with the project's version in their titles.
set(VOK_WEB_CONFIGURED ${CMAKE_BINARY_DIR}/page)
foreach(file index.html manifest.webmanifest)
    configure_file(${VOK_WEB_SOURCE}/${file}.in ${VOK_WEB_CONFIGURED}/${file} @ONLY)
endforeach()

# The pictures the page fetches as lossless WebP files rather than carrying them in its module
# (resources/CMakeLists.txt names them), and the list of them page.js starts fetching at once.
set(VOK_WEB_PICTURES)
foreach(id ${VOK_WEB_PICTURE_FILES})
    set(picture ${VOK_WEB_SITE}/${id}.webp)
    add_custom_command(
        OUTPUT ${picture}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VOK_WEB_SITE}
        COMMAND ${VOK_PYTHON} ${CMAKE_SOURCE_DIR}/cmake/bmp-to-webp.py
                ${CMAKE_SOURCE_DIR}/resources/bitmaps/${id}.bmp ${picture}
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/${id}.bmp
                ${CMAKE_SOURCE_DIR}/cmake/bmp-to-webp.py
        COMMENT "Picture ${id} as a lossless WebP file"
        VERBATIM)
    list(APPEND VOK_WEB_PICTURES ${picture})
endforeach()
string(REPLACE ";" ", " picture_ids "${VOK_WEB_PICTURE_FILES}")
set(VOK_WEB_PICTURE_LIST ${CMAKE_BINARY_DIR}/pictures.js)
file(CONFIGURE OUTPUT ${VOK_WEB_PICTURE_LIST}
    CONTENT "// Made by cmake/web-program.cmake: the pictures fetched as <id>.webp.\nvar vokPictureFiles = [${picture_ids}];\n")
add_executable(vokweb
    ${VOK_WEB_SOURCE}/main.cpp
    ${VOK_WEB_SOURCE}/StbTextRasterizer.cpp
    ${VOK_WEB_SOURCE}/WebServices.cpp
    ${VOK_WEB_FONT_CPP})
target_include_directories(vokweb SYSTEM PRIVATE ${VOK_STB_DIR})
# The page's pixel work (the frame drawn, converted, put on the canvas) optimised for speed: at
# -Os the compiler calls out for every pixel a buffer is filled with.
set_source_files_properties(${VOK_WEB_SOURCE}/main.cpp PROPERTIES COMPILE_OPTIONS -O2)
target_compile_options(vokraster PRIVATE -O2)
target_link_libraries(vokweb PRIVATE vokcore vokraster vokresources vokwarnings)
set_target_properties(vokweb PROPERTIES
    OUTPUT_NAME index
    SUFFIX .html
    RUNTIME_OUTPUT_DIRECTORY ${VOK_WEB_SITE}
    LINK_DEPENDS "${VOK_WEB_CONFIGURED}/index.html;${VOK_WEB_SOURCE}/page.js;${VOK_WEB_PICTURE_LIST}"
    # The link runs Debian's acorn (in /usr/share/nodejs) under node: found without anything
    # set in the environment.
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
target_link_options(vokweb PRIVATE
    -sENVIRONMENT=web
    # emscripten 3.1.6 fails to minify an .html output; the page is small as it is.
    -sMINIFY_HTML=0
    # Room from the start for frames at twice the scale (growing the memory takes a phone a
    # while, in the middle of the first frame); a frame at four times the scale grows it.
    -sINITIAL_MEMORY=33554432
    -sALLOW_MEMORY_GROWTH=1
    # Nothing is evaluated from text (the page's policy allows no eval) and no file is opened.
    -sDYNAMIC_EXECUTION=0
    -sFILESYSTEM=0
    # The smaller allocator: the page allocates a frame now and then, nothing in a hurry.
    -sMALLOC=emmalloc
    # Both scripts ahead of the program (SHELL: keeps CMake from merging the repeated option).
    "SHELL:--pre-js ${VOK_WEB_PICTURE_LIST}"
    "SHELL:--pre-js ${VOK_WEB_SOURCE}/page.js"
    --shell-file ${VOK_WEB_CONFIGURED}/index.html)

# The rest of the site beside the program's three files, and the service worker, whose cache
# is named for all of them, so that every build that changes a file changes the name.
set(VOK_WEB_STATIC
    ${VOK_WEB_SOURCE}/index.css
    ${VOK_WEB_CONFIGURED}/manifest.webmanifest
    ${CMAKE_SOURCE_DIR}/resources/icon/icon-192.png
    ${CMAKE_SOURCE_DIR}/resources/icon/icon-512.png
    ${CMAKE_SOURCE_DIR}/resources/icon/icon-maskable-512.png)
add_custom_command(
    OUTPUT ${VOK_WEB_SITE}/sw.js
    COMMAND ${CMAKE_COMMAND} -DSITE=${VOK_WEB_SITE} "-DSTATIC=${VOK_WEB_STATIC}"
            "-DPICTURES=${VOK_WEB_PICTURES}"
            -DFAVICON=${CMAKE_SOURCE_DIR}/resources/icon/app-32.png
            -DTEMPLATE=${VOK_WEB_SOURCE}/sw.js.in -P ${CMAKE_SOURCE_DIR}/cmake/web-site.cmake
    DEPENDS vokweb ${VOK_WEB_STATIC} ${VOK_WEB_PICTURES} ${CMAKE_SOURCE_DIR}/resources/icon/app-32.png
            ${VOK_WEB_SOURCE}/sw.js.in ${CMAKE_SOURCE_DIR}/cmake/web-site.cmake
    COMMENT "The site in ${VOK_WEB_SITE}"
    VERBATIM)
add_custom_target(vokweb_site ALL DEPENDS ${VOK_WEB_SITE}/sw.js)
