#!/bin/sh
# Builds the last commit twice, in two folders of different depths, at two different times, with
# different umasks, locales and time zones, and compares what the builds give byte for byte (the
# packages made under umask 022 in both, as `make package` makes them).
# SOURCE_DATE_EPOCH is the last commit's time, as in any reproducible build.
#
#   tools/reproducible.sh         the Debian package and its program, the Windows program and its
#                                 zip, and every file of the page's site (`make reproducible`)
#   tools/reproducible.sh quick   the Linux program and the Windows program (`make test`)
#
# Each build is a clean clone of the commit, so what is not committed is not built. The builds
# stay in a folder of their own, named at the end, where they differ.
set -eu
mode=${1:-all}
case $mode in
    all | quick) ;;
    *) echo "usage: $0 [quick]" >&2; exit 2 ;;
esac
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$top" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
work=$(mktemp -d "${TMPDIR:-/tmp}/vok-reproducible.XXXXXX")

# One build: its folder, umask, locale and time zone.
build() {
    src=$work/$1
    git clone -q --shared "$top" "$src"
    git -C "$src" -c advice.detachedHead=false checkout -q "$commit"
    (
        umask "$2"
        cd "$src"
        export LC_ALL="$3" TZ="$4"
        log=$src/build.log
        run() { "$@" >>"$log" 2>&1 || { cat "$log" >&2; echo "$0: failed: $*" >&2; exit 1; }; }
        run cmake --preset play
        run cmake --build --preset play
        run cmake --preset windows
        run cmake --build --preset windows --target TicTacToe
        if [ "$mode" = all ]; then
            # Packages are made under umask 022, as the Makefile (and Debian) makes them.
            umask 022
            run cpack --preset deb
            run cpack --preset zip
            run cmake --preset web
            run cmake --build --preset web
        fi
    )
}

echo "Building $commit twice (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH) in $work"
build one 022 C.UTF-8 UTC
sleep 2
build "second/of/two" 002 C Pacific/Auckland

# What must come out the same, by its place in a build folder.
files="build/play/vok-tictactoe build/windows/TicTacToe.exe"
if [ "$mode" = all ]; then
    files="$files build/play/vok-tictactoe_*_amd64.deb build/windows/vok-tictactoe-*-windows.zip"
    files="$files $(cd "$work/one" && ls build/web/site/*)"
fi
status=0
count=0
for pattern in $files; do
    for first in $work/one/$pattern; do
        name=${first#"$work/one/"}
        count=$((count + 1))
        if ! cmp -s "$first" "$work/second/of/two/$name"; then
            echo "differs: $name" >&2
            status=1
        fi
    done
done
if [ $status -eq 0 ]; then
    echo "reproducible: $count files, byte for byte the same"
    rm -rf "$work"
else
    echo "not reproducible: both builds are kept in $work" >&2
fi
exit $status
