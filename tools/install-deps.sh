#!/bin/sh
# Installs the Debian packages a build needs, and does nothing when they are all there already;
# uses sudo only when not run as root.
#
#   tools/install-deps.sh play   what the Linux game needs to build and run (`make run`)
#   tools/install-deps.sh test   that and everything the test tiers need (`make test`): the
#                                Windows cross compilers, Wine, the display and input tools,
#                                the sanitizers' and fuzzer's clang, valgrind, the package tools
set -e

play="g++ cmake make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev
fontconfig fonts-dejavu-core"

test="$play googletest libgtest-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
wine wine32:i386 xvfb xauth x11-utils x11-xkb-utils xdotool openbox imagemagick icoutils
python3 python3-pil valgrind clang libclang-rt-14-dev libbenchmark-dev
dpkg-dev desktop-file-utils appstream"

# The game alone takes no recommendations: nothing but what it needs.
case "${1:-test}" in
    play) packages=$play; options=--no-install-recommends ;;
    test) packages=$test; options= ;;
    *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
# Only Wine's 32-bit half needs the i386 architecture.
case "$missing" in
    *:i386*)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $sudo dpkg --add-architecture i386
        fi
        ;;
esac
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $options $missing
