# Completes the page's site folder once the program is linked into it (cmake/web-program.cmake):
#   cmake -DSITE=<folder> -DSTATIC=<files> -DPICTURES=<files> -DFAVICON=<png> -DTEMPLATE=<sw.js.in>
#         -P web-site.cmake
# copies the static files and the favicon in (the pictures are written there already), then
# writes the service worker from its template, with the list of the site's files and a cache
# name made of their contents. Anything else in the folder (left by an older build) goes.
cmake_policy(VERSION 3.25)
foreach(var SITE STATIC FAVICON TEMPLATE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "web-site.cmake needs -D${var}=...")
    endif()
endforeach()

set(files index.html index.js index.wasm favicon.png)
file(COPY_FILE ${FAVICON} ${SITE}/favicon.png ONLY_IF_DIFFERENT)
foreach(file ${STATIC})
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${file} ${SITE}/${name} ONLY_IF_DIFFERENT)
    list(APPEND files ${name})
endforeach()
foreach(file ${PICTURES})
    get_filename_component(name ${file} NAME)
    list(APPEND files ${name})
endforeach()
list(SORT files)

file(GLOB present RELATIVE ${SITE} ${SITE}/*)
foreach(name ${present})
    if(NOT name IN_LIST files AND NOT name STREQUAL "sw.js")
        file(REMOVE_RECURSE ${SITE}/${name})
    endif()
endforeach()

set(digests "")
set(VOK_SITE_FILES "'./'")
foreach(name ${files})
    file(SHA256 ${SITE}/${name} digest)
    string(APPEND digests "${name} ${digest}\n")
    string(APPEND VOK_SITE_FILES ", '${name}'")
endforeach()
string(SHA256 hash "${digests}")
string(SUBSTRING ${hash} 0 16 VOK_SITE_HASH)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
