#!/bin/sh
# Checks that the executable carries every picture of resources/bitmaps (by id), the icon 100,
# the version resource and the manifest.
# usage: check-resources.sh EXE BITMAP_FOLDER
set -u
exe=$1
folder=$2
listing=$(wrestool -l "$exe") || exit 1
status=0
fail() {
    echo "FAILED: $*" >&2
    status=1
}
has() {
    echo "$listing" | grep -q -- "$1"
}

count=0
for file in "$folder"/*.bmp; do
    id=$(basename "$file" .bmp)
    count=$((count + 1))
    has "--type=2 --name=$id " || fail "bitmap $id is missing"
done
[ "$count" -eq 27 ] || fail "expected 27 pictures in $folder, found $count"
bitmaps=$(echo "$listing" | grep -c -- '--type=2 ')
[ "$bitmaps" -eq 27 ] || fail "the executable holds $bitmaps bitmaps, not 27"
has "--type=14 --name=100 " || fail "icon group 100 is missing"
has "--type=3 " || fail "no icon images"
has "--type=16 " || fail "no version resource"
has "--type=24 " || fail "no manifest"

manifest=$(wrestool -x -R --type=24 "$exe" 2>/dev/null)
echo "$manifest" | grep -q 'asInvoker' || fail "the manifest does not ask for asInvoker"
echo "$manifest" | grep -q '<dpiAware[^>]*>true<' || fail "the manifest does not declare DPI awareness"
echo "$manifest" | grep -q '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor<' ||
    fail "the manifest does not declare each monitor's DPI"
version=$(wrestool -x -R --type=16 "$exe" 2>/dev/null | tr -d '\000')
echo "$version" | grep -q 'Vok TicTacToe' || fail "the version resource does not name the program"

[ $status -eq 0 ] && echo "resources: $bitmaps bitmaps, icon 100, version, manifest"
exit $status
