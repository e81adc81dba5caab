#!/bin/sh
# Installs the Debian packages a build needs, and does nothing when they are all there already;
# uses sudo only when not run as root.
#
#   tools/install-deps.sh play   what the Linux game needs to build and run (`make run`)
#   tools/install-deps.sh web    what the page needs to build (`make web`, `make serve`)
#   tools/install-deps.sh test   both and everything the test tiers need (`make test`): the
#                                Windows cross compilers, Wine, the display and input tools
#                                (weston for a Wayland desktop), the sanitizers' and fuzzer's
#                                clang, valgrind, the package tools, the browser the page is
#                                tested in, a D-Bus session with its accessibility bus and
#                                the screen readers' library (pyatspi)
# Node and npm, which the page's build and tests run, come with the machine, not from here.
set -e

play="g++ cmake make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev
libwayland-dev libdbus-1-dev fontconfig fonts-dejavu-core"

web="cmake make emscripten libstb-dev fonts-dejavu-core python3-fonttools"

test="$play emscripten libstb-dev python3-fonttools chromium googletest libgtest-dev g++-mingw-w64-i686
binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth x11-utils x11-xkb-utils xdotool openbox
weston imagemagick icoutils python3 python3-pil valgrind clang libclang-rt-14-dev
dbus at-spi2-core python3-pyatspi
libbenchmark-dev dpkg-dev desktop-file-utils appstream lintian devscripts"

# Installed without their recommendations in every set: the browser's alone would bring some
# sixty packages (printing, desktop services) that nothing here uses, and the package tools'
# (lintian's checker, devscripts' hardening-check) bring mail and upload tools.
bare="emscripten chromium lintian devscripts"

# The game and the page take no recommendations at all: nothing but what they need.
case "${1:-test}" in
    play) packages=$play; bare=$play ;;
    web) packages=$web; bare=$web ;;
    test) packages=$test ;;
    *) echo "usage: $0 [play|web|test]" >&2; exit 2 ;;
esac

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

# The missing packages that go without recommendations, and the others.
without=""
with=""
for p in $missing; do
    case " $(echo $bare) " in
        *" $p "*) without="$without $p" ;;
        *) with="$with $p" ;;
    esac
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "$0: cannot install$missing: not root and no sudo; run this as root, or install sudo" >&2
        exit 1
    fi
    sudo=sudo
fi
echo "Installing:$missing"
# Only Wine's 32-bit half needs the i386 architecture.
case "$missing" in
    *:i386*)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $sudo dpkg --add-architecture i386
        fi
        ;;
esac
$sudo apt-get update -qq
if [ -n "$with" ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $with
fi
if [ -n "$without" ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $without
fi
