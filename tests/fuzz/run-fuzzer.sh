#!/bin/sh
# Runs the settings fuzzer for a while: run-fuzzer.sh <fuzzer> <seconds> <tests/fuzz> <work>.
# New inputs it finds go to <work>/corpus (the committed seeds stay as they are), anything that
# fails to <work>/ as crash-* or leak-* files, to be replayed with `<fuzzer> <file>`.
set -eu
seconds=$2
mkdir -p "$4/corpus"
fuzzer=$(realpath "$1") source=$(realpath "$3") work=$(realpath "$4")
cd "$work"
# Settings files are small; longer inputs find nothing the short ones do not.
exec "$fuzzer" -max_total_time="$seconds" -max_len=512 -timeout=10 -rss_limit_mb=1024 \
    -print_final_stats=1 -dict="$source/settings.dict" -artifact_prefix="$work/" \
    "$work/corpus" "$source/corpus"
