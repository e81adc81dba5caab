#!/usr/bin/env bash
# Draws every picture again into a scratch folder and compares it byte for byte with the
# committed files. Exits non-zero, naming the files, when anything differs or is missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
resources="$(dirname "$here")"
python="${VOK_PYTHON:-/usr/bin/python3}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

"$python" "$here/generate.py" --out "$scratch"

status=0
for folder in bitmaps icon; do
    if ! diff -r -q "$resources/$folder" "$scratch/$folder"; then
        status=1
    fi
done

if [ "$status" -ne 0 ]; then
    echo "The committed pictures differ from what resources/art/generate.py draws." >&2
    echo "Run /usr/bin/python3 resources/art/generate.py and commit the result." >&2
    exit 1
fi
count=$(find "$scratch" -type f | wc -l)
echo "pictures reproducible: $count files identical"
