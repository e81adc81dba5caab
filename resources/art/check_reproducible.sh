#!/usr/bin/env bash
# Draws every picture again, with the files naming them, into a scratch tree and compares it
# byte for byte with the committed files. Exits non-zero, naming the files, when anything
# differs or is missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
python="${VOK_PYTHON:-/usr/bin/python3}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

"$python" "$here/generate.py" --out "$scratch"

status=0
# every file the generator writes (the pictures, bitmaps.rc, bitmaps.cmake, scob/bitmapIds.h)...
files=$(cd "$scratch" && find . -type f | sort)
for file in $files; do
    if ! cmp -s "$scratch/$file" "$root/$file"; then
        echo "differs or is missing: ${file#./}" >&2
        status=1
    fi
done
# ...and the picture folders hold nothing else
for folder in resources/bitmaps resources/icon; do
    if ! diff -r -q "$root/$folder" "$scratch/$folder"; then
        status=1
    fi
done

if [ "$status" -ne 0 ]; then
    echo "The committed files differ from what resources/art/generate.py writes." >&2
    echo "Run /usr/bin/python3 resources/art/generate.py and commit the result." >&2
    exit 1
fi
count=$(echo "$files" | wc -l)
echo "pictures reproducible: $count files identical"
