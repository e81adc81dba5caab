# Packages: `cpack --preset deb` makes the Debian package of the Linux program (installing under
# /usr), `cpack --preset zip` the zip of the Windows program.

# The folders CPack itself makes, likewise 755 whatever the umask (see CMakeLists.txt).
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_PACKAGE_NAME vok-tictactoe)
set(CPACK_PACKAGE_VENDOR Vok)
set(CPACK_PACKAGE_CONTACT "Vok <games@vok.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Noughts and crosses against the computer")
# Lines within 80 columns, as Debian's tools show them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A small game of noughts and crosses: you against the computer on a 3 x 3\n"
    "board, in one small window of parchment, wooden plaques and picture buttons,\n"
    "with three piece sets and three computer strengths.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${VOK_SITE}/tictactoe/index.php)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)

if(WIN32)
    set(CPACK_PACKAGE_FILE_NAME vok-tictactoe-${PROJECT_VERSION}-windows)
else()
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION games)
    # The libraries the program links, found by dpkg-shlibdeps, and the bold face it draws with.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-liberation")
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS xdg-utils)
    # Beside the documents, as Debian has them: the licence in its machine-readable form, and
    # the change log in Debian's format, made from CHANGELOG.md and compressed without a name
    # or a time inside.
    set(VOK_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
    add_custom_command(OUTPUT ${VOK_CHANGELOG}
        COMMAND sh -c "awk -v package=\"$1\" -v maintainer=\"$2\" -f \"$3\" \"$4\" | gzip -9n >\"$5\""
            sh ${CPACK_PACKAGE_NAME} ${CPACK_PACKAGE_CONTACT}
            ${CMAKE_SOURCE_DIR}/cmake/debian-changelog.awk ${CMAKE_SOURCE_DIR}/CHANGELOG.md
            ${VOK_CHANGELOG}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/debian-changelog.awk ${CMAKE_SOURCE_DIR}/CHANGELOG.md
        VERBATIM)
    add_custom_target(vok-changelog ALL DEPENDS ${VOK_CHANGELOG})
    install(FILES ${VOK_CHANGELOG} ${CMAKE_SOURCE_DIR}/resources/linux/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

include(CPack)
