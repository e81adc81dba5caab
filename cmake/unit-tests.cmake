# The unit tests: one executable, run natively and, in the cross build, under Wine.
if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(VOK_GTEST_LIBS gtest gtest_main)
else()
    find_package(GTest REQUIRED)
    set(VOK_GTEST_LIBS GTest::gtest GTest::gtest_main)
endif()

file(GLOB VOK_TEST_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
if(NOT TARGET vokresources)
    list(FILTER VOK_TEST_SOURCES EXCLUDE REGEX "resources_test\\.cpp$")
endif()

add_executable(unit_tests ${VOK_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE vokcore ${VOK_GTEST_LIBS} vokwarnings)
if(TARGET vokresources)
    target_link_libraries(unit_tests PRIVATE vokresources vokraster)
endif()
target_compile_definitions(unit_tests PRIVATE VOK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

if(CMAKE_CROSSCOMPILING)
    # Each run gets a fresh Wine prefix under the build folder.
    set(VOK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    add_test(NAME wine_prefix COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh ${VOK_WINEPREFIX})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    add_test(NAME unit_tests_wine
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh $<TARGET_FILE:unit_tests>)
    set_tests_properties(unit_tests_wine PROPERTIES FIXTURES_REQUIRED wine
        ENVIRONMENT "WINEPREFIX=${VOK_WINEPREFIX}" TIMEOUT 300)
else()
    add_test(NAME unit_tests COMMAND unit_tests)
    set_tests_properties(unit_tests PROPERTIES TIMEOUT 300)
endif()
