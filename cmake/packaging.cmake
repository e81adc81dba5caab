# Packages: `cpack --preset deb` makes the Debian package of the Linux program (installing under
# /usr), `cpack --preset zip` the zip of the Windows program.

set(CPACK_PACKAGE_NAME vok-tictactoe)
set(CPACK_PACKAGE_VENDOR Vok)
set(CPACK_PACKAGE_CONTACT "Vok <games@vok.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Noughts and crosses against the computer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A small game of noughts and crosses: you against the computer on a 3 x 3 board, in one "
    "small window of parchment, wooden plaques and picture buttons, with three piece sets and "
    "three computer strengths.")
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
endif()

include(CPack)
