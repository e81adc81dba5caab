# The tree screen readers read over the accessibility bus (AT-SPI2, on D-Bus): the Linux
# program's, and the bridge fuzzer's (tests/fuzz), which builds no program.
find_package(PkgConfig REQUIRED)
pkg_check_modules(DBus REQUIRED IMPORTED_TARGET dbus-1)
add_library(vokatspi STATIC
    ${CMAKE_SOURCE_DIR}/shell/atspi/AtspiBridge.cpp
    ${CMAKE_SOURCE_DIR}/shell/atspi/AtspiInterfaces.cpp
    ${CMAKE_SOURCE_DIR}/shell/atspi/AtspiLink.cpp
    ${CMAKE_SOURCE_DIR}/shell/atspi/AtspiTree.cpp)
target_link_libraries(vokatspi PUBLIC vokcore PkgConfig::DBus PRIVATE vokwarnings)
