#!/bin/sh
# Runs a fuzzer for a while: run-fuzzer.sh <fuzzer> <seconds> <tests/fuzz> <work>. The settings
# fuzzer starts from the committed seeds in tests/fuzz/corpus, the bridge fuzzer from those in
# tests/fuzz/bridge-corpus. New inputs it finds go to <work>/<name>/corpus (the committed seeds
# stay as they are), anything that fails to <work>/<name>/ as crash-* or leak-* files, to be
# replayed with `<fuzzer> <file>`.
set -eu
seconds=$2 folder=$4
fuzzer=$(realpath "$1") source=$(realpath "$3")
case $(basename "$fuzzer") in
    settings_fuzzer)
        # Settings files are small; longer inputs find nothing the short ones do not.
        name=settings seeds=$source/corpus
        set -- -max_len=512 -dict="$source/settings.dict" ;;
    *)
        # A run of calls: up to 32 of them, each with its arguments.
        name=bridge seeds=$source/bridge-corpus
        set -- -max_len=4096 ;;
esac
mkdir -p "$folder/$name/corpus"
work=$(realpath "$folder/$name")
cd "$work"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds"
