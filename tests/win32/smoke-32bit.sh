#!/bin/sh
# The shipped 32-bit TicTacToe.exe under 32-bit Wine, in a fresh prefix: the end-to-end run's
# first start (a whole game, N, close, the settings file saved) and its settings screen. Where
# this machine runs no 32-bit program, or Wine's 32-bit half is not installed, it says so and
# exits 77, which the test counts as skipped.
# usage: smoke-32bit.sh RUNS-32BIT.sh WINEPREFIX DRIVER.exe TicTacToe.exe SCREENSHOTS MINGW_CC
set -u
here=$(dirname "$0")
probe=$1
shift
prefix=$1
shift
if ! sh "$probe"; then
    echo "skipped: this machine runs no 32-bit program (a 32-bit probe did not start), so" \
         "32-bit Wine cannot; the Windows tests run the 64-bit build under 64-bit Wine"
    exit 77
fi
# Debian's wine32:i386 puts the 32-bit loader here.
if [ ! -x /usr/lib/wine/wine ]; then
    echo "skipped: 32-bit programs run here, but Wine's 32-bit half (wine32:i386) is not" \
         "installed; the Windows tests run the 64-bit build under 64-bit Wine"
    exit 77
fi
echo "the shipped 32-bit program, under 32-bit Wine"
"$here/wine-prefix.sh" "$prefix" || exit 1
VOK_E2E_SMOKE=1 exec "$here/with-xvfb.sh" "$here/e2e.sh" "$@"
