# The publisher's site the web links lead to: a scheme and a host (a port may follow), with no
# path and no trailing slash, since the links add their own. Included by the top CMakeLists;
# `cmake -DVOK_SITE=<address> -P cmake/check-site.cmake` checks one address alone.
set(vok_site_form "^[A-Za-z][A-Za-z0-9+.-]*://[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:[0-9]+)?$")
if(NOT VOK_SITE MATCHES "${vok_site_form}")
    message(FATAL_ERROR "VOK_SITE must be a scheme and a host, with no path and no trailing "
        "slash (for example http://www.vok.example), not \"${VOK_SITE}\"")
endif()
