#!/bin/sh
# Runs a command with DISPLAY set to a private Xvfb screen of 1024 x 768 (or VOK_SCREEN), started
# for the command and stopped after it. The server picks a free display number itself.
set -u
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkfifo "$dir/fd"
Xvfb -displayfd 3 -screen 0 "${VOK_SCREEN:-1024x768}x24" -nolisten tcp 3>"$dir/fd" >"$dir/log" 2>&1 &
xvfb=$!
display=$(head -n 1 "$dir/fd")
if [ -z "$display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/log" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
export DISPLAY=":$display"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
