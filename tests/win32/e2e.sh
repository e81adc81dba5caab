#!/bin/sh
# The Windows end-to-end run: the driver starts the real program under Wine (WINEPREFIX is
# the test's fresh prefix), and the screenshots it saves become PNGs in the given folder. It
# runs at 96 dpi, with a copy of the program beside a msimg32.dll and an oleacc.dll built here,
# and then at 192 with the prefix's Windows version at 10, where the news goes to a live region.
# With VOK_E2E_SMOKE set (the shipped 32-bit program's smoke run), only the first start and the
# settings screen, at 96 dpi.
# usage: e2e.sh DRIVER.exe TicTacToe.exe SCREENSHOT_FOLDER MINGW_CC
set -u
driver=$1
exe=$2
shots=$3
here=$(dirname "$0")
rm -rf "$shots"
mkdir -p "$shots/planted"
cp "$exe" "$shots/planted/"
"$4" -shared -o "$shots/planted/msimg32.dll" -Wl,--kill-at -x c - <<'STUB' || exit 1
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID unused) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    lstrcpyA(path + n - 3, "ran");  /* msimg32.ran beside it */
    return reason != DLL_PROCESS_ATTACH || CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, 0,
                                                                   CREATE_ALWAYS, 0, 0));
}
__declspec(dllexport) BOOL WINAPI TransparentBlt(HDC a, int b, int c, int d, int e, HDC f, int g,
                                                 int h, int i, int j, UINT k) { return 0; }
STUB
cp "$shots/planted/msimg32.dll" "$shots/planted/oleacc.dll"
# The driver runs inside Wine: hand it Windows paths (drive Z: is the Unix root).
windows_path() {
    printf 'Z:%s' "$(realpath "$1")" | tr '/' '\\'
}
dpi() {
    "$here/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
}
status=0
dpis="96 192"
[ -z "${VOK_E2E_SMOKE:-}" ] || dpis=96
for at in $dpis; do
    dpi $at >/dev/null
    [ $at = 96 ] || "$here/wine-run.sh" winecfg -v win10
    WINEDLLOVERRIDES=msimg32,oleacc=n,b "$here/wine-run.sh" "$driver" "$(windows_path "$exe")" \
        "$(windows_path "$shots")" "$(windows_path "$shots/planted/$(basename "$exe")")" || status=1
    wineserver -k 2>/dev/null
done
dpi 96 >/dev/null
rm -rf "$shots/planted"
for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    if convert "$bmp" "${bmp%.bmp}.png"; then
        rm -f "$bmp"
    fi
done
echo "screenshots: $(realpath "$shots")"
exit $status
