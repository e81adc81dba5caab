#!/bin/sh
# Runs a Windows executable under Wine in the build folder's own prefix (WINEPREFIX is set by
# the test), quietly and without offering to install Mono or Gecko; overrides the caller gives
# in WINEDLLOVERRIDES are kept.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml=;winemenubuilder.exe=d"
exec wine "$@"
