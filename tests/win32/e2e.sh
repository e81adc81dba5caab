#!/bin/sh
# The Windows end-to-end run: the driver starts the real program under Wine (WINEPREFIX is
# the test's fresh prefix), and the screenshots it saves become PNGs in the given folder.
# usage: e2e.sh DRIVER.exe TicTacToe.exe SCREENSHOT_FOLDER
set -u
driver=$1
exe=$2
shots=$3
here=$(dirname "$0")
rm -rf "$shots"
mkdir -p "$shots"
# The driver runs inside Wine: hand it Windows paths (drive Z: is the Unix root).
windows_path() {
    printf 'Z:%s' "$(realpath "$1")" | tr '/' '\\'
}
"$here/wine-run.sh" "$driver" "$(windows_path "$exe")" "$(windows_path "$shots")"
status=$?
wineserver -k 2>/dev/null
for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    if convert "$bmp" "${bmp%.bmp}.png"; then
        rm -f "$bmp"
    fi
done
echo "screenshots: $(realpath "$shots")"
exit $status
