#!/bin/sh
# Puts the README's screenshots in docs/: the Linux program's screens as its SDL tests drew
# them, and the Windows program's as its end-to-end run under Wine captured them.
# usage: docs-screenshots.sh [LINUX_SHOTS] [WINDOWS_SHOTS]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=${1:-$root/build/linux/screenshots}
windows=${2:-$root/build/windows64/screenshots}
mkdir -p "$root/docs"
status=0
copy() {
    if [ -f "$1" ]; then
        cp "$1" "$root/docs/$2"
        echo "docs/$2"
    else
        echo "missing $1: run the tests that draw it first" >&2
        status=1
    fi
}
copy "$linux/board.png" linux-board.png
copy "$linux/settings.png" linux-settings.png
copy "$linux/pieces-fish.png" linux-fish.png
copy "$windows/board.png" windows-board.png
copy "$windows/settings.png" windows-settings.png
copy "$windows/board-fish.png" windows-fish.png
exit $status
