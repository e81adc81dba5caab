#!/bin/sh
# Makes a fresh Wine prefix at $1 for one test run.
set -e
rm -rf "$1"
mkdir -p "$1"
export WINEPREFIX="$1" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
test -d "$1/drive_c/windows"
