#!/bin/sh
# Installs the Debian packages that the two builds and every test tier need. Does nothing
# when they are all there already; uses sudo only when not run as root.
set -e

packages="g++ cmake make pkg-config googletest libgtest-dev
libsdl2-dev libsdl2-ttf-dev fontconfig fonts-dejavu-core
g++-mingw-w64-i686 binutils-mingw-w64-i686
wine wine32:i386 xvfb xauth x11-utils xdotool openbox imagemagick icoutils
python3 python3-pil valgrind clang libclang-rt-14-dev libbenchmark-dev"

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
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
