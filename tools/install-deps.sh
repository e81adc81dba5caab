#!/bin/sh
# Installs the Debian packages a build needs, and does nothing when they are all there already;
# uses sudo only when not run as root.
#
#   tools/install-deps.sh play   what the Linux game needs to build and run (`make run`, `make`)
#   tools/install-deps.sh web    what the page needs to build (`make web`, `make serve`): Pillow
#                                writes its pictures as WebP files
#   tools/install-deps.sh test   both and everything the test tiers need (`make test`): the
#                                Windows cross compilers, Wine (its 32-bit half only where
#                                this machine runs 32-bit programs), the display and input tools
#                                (weston for a Wayland desktop), the sanitizers' and fuzzer's
#                                clang, valgrind, the package tools, the browser the page is
#                                tested in, a D-Bus session with its accessibility bus and
#                                the screen readers' library (pyatspi)
# It says in one line what it installs and ends with one line; apt's and dpkg's own output goes
# to build/install-deps.log, and is shown only when the install fails.
# Node and npm, which the page's build and tests run, come with the machine, not from here.
set -e

# Each package once, in the first set that needs it. No versions: the compiler runtime (the
# sanitizers' and libFuzzer's) comes with the release's own clang.
both="cmake make fonts-dejavu-core"

play="g++ pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev libwayland-dev
libdbus-1-dev fontconfig"

web="emscripten libstb-dev python3-fonttools python3-pil"

test="chromium googletest libgtest-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 xvfb xauth x11-utils x11-xkb-utils
xdotool openbox
weston imagemagick icoutils python3 valgrind clang libclang-rt-dev
dbus at-spi2-core python3-pyatspi
libbenchmark-dev dpkg-dev desktop-file-utils appstream lintian devscripts"

case "$0" in
    */*) here=${0%/*} ;;
    *) here=. ;;
esac

# Installed without their recommendations in every set: the browser's alone would bring some
# sixty packages (printing, desktop services) that nothing here uses, and the package tools'
# (lintian's checker, devscripts' hardening-check) bring mail and upload tools.
bare="emscripten chromium lintian devscripts"

# The game and the page take no recommendations at all: nothing but what they need.
case "${1:-test}" in
    play) packages="$both $play"; bare=$packages; purpose="the game needs" ;;
    web) packages="$both $web"; bare=$packages; purpose="the page needs" ;;
    # The shipped program is 32-bit; its tests run a 64-bit build under wine64. Wine's 32-bit
    # half (and with it Debian's i386 architecture) only where 32-bit programs run at all: some
    # kernels have no 32-bit support, and there it would never start.
    test)
        if sh "$here/runs-32bit.sh"; then test="$test wine32:i386"; fi
        packages="$both $play $web $test"; purpose="the game, the page and the tests need" ;;
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

build="$(cd "$here/.." && pwd)/build"
mkdir -p "$build"
log="$build/install-deps.log"
: >"$log"
# One step, its command and output in the log; on a failure the log is shown and the install ends.
step() {
    echo "+ $*" >>"$log"
    if ! $sudo env DEBIAN_FRONTEND=noninteractive "$@" >>"$log" 2>&1 </dev/null; then
        cat "$log" >&2
        echo "$0: installing failed: $*; the output above is kept in $log" >&2
        exit 1
    fi
}

count="$(echo $missing | wc -w) packages"
[ "$count" = "1 packages" ] && count="1 package"
echo "Installing $count $purpose (apt's output: $log):$missing"
# Only Wine's 32-bit half needs the i386 architecture.
case "$missing" in
    *:i386*)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            step dpkg --add-architecture i386
        fi
        ;;
esac
# A mirror in the middle of a sync serves an index of the wrong size for a while: the update is
# tried three times before it gives up, naming the indexes that failed. Where only the i386
# indexes failed, only Wine's 32-bit half is left out, and the rest installs.
tries=0
until echo "+ apt-get update -q" >>"$log" &&
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q >>"$log" 2>&1 </dev/null; do
    tries=$((tries + 1))
    if [ $tries -ge 3 ]; then
        failed=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u)
        if [ -n "$failed" ] && ! echo "$failed" | grep -qv binary-i386; then
            echo "Left out, as the mirror's i386 index failed ($(echo $failed)):" \
                 "$(echo $missing | tr ' ' '\n' | grep ':i386$' | tr '\n' ' ')" >&2
            with=$(echo $with | tr ' ' '\n' | grep -v ':i386$' | tr '\n' ' ')
            break
        fi
        echo "$0: apt-get update failed three times, for ${failed:-an index} (the mirror may" \
             "be in the middle of a sync: try again later); apt's output is kept in $log" >&2
        exit 1
    fi
    sleep 20
done
count=$(echo $with $without | wc -w)
[ "$count" -gt 0 ] || exit 0
if [ -n "$with" ]; then
    step apt-get install -y -q $with
fi
if [ -n "$without" ]; then
    step apt-get install -y -q --no-install-recommends $without
fi
[ "$count" = 1 ] && count="1 package" || count="$count packages"
echo "Installed $count."
