#!/bin/sh
# Runs a Windows executable under Wine in the build folder's own prefix (WINEPREFIX is set by
# the test), quietly, without offering to install Mono or Gecko and without starting a debugger
# on a crash (which would wait for ever); overrides the caller gives
# in WINEDLLOVERRIDES are kept.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
exec wine "$@"
