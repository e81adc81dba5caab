# Makes sure the frames of the Linux render tests that the page's tests compare with are there,
# drawing them with the linux preset when any is missing:
#   cmake -DSOURCE=<source folder> -DFRAMES=<folder> "-DNAMES=board;..." -DCTEST=<ctest>
#         -P linux-frames.cmake
# The linux preset (configured, its render tests built and run) draws into its own folder,
# build/linux/screenshots; any other folder must hold the frames already.
cmake_policy(VERSION 3.25)
foreach(var SOURCE FRAMES NAMES CTEST)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "linux-frames.cmake needs -D${var}=...")
    endif()
endforeach()

function(vok_missing_frames out)
    set(missing)
    foreach(name ${NAMES})
        if(NOT EXISTS ${FRAMES}/${name}.png)
            list(APPEND missing ${name}.png)
        endif()
    endforeach()
    set(${out} "${missing}" PARENT_SCOPE)
endfunction()

vok_missing_frames(missing)
if(NOT missing)
    message(STATUS "The Linux frames are in ${FRAMES}")
    return()
endif()
if(NOT FRAMES STREQUAL "${SOURCE}/build/linux/screenshots")
    message(FATAL_ERROR "${FRAMES} lacks ${missing}: the Linux render tests (sdl_tests) draw them")
endif()

message(STATUS "Drawing the Linux frames (${missing} missing) with the linux preset")
foreach(step "${CMAKE_COMMAND};--preset;linux"
             "${CMAKE_COMMAND};--build;--preset;linux;--target;sdl_tests"
             "${CTEST};--preset;linux;-R;^sdl_tests$")
    execute_process(COMMAND ${step} WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE failed)
    if(failed)
        list(JOIN step " " command)
        message(FATAL_ERROR "drawing the Linux frames: `${command}` failed")
    endif()
endforeach()
vok_missing_frames(missing)
if(missing)
    message(FATAL_ERROR "the Linux render tests did not draw ${missing} into ${FRAMES}")
endif()
