#!/usr/bin/python3
"""The Debian package of the Linux program, unpacked into a scratch root (never installed): its
fields, what lintian finds (nothing), the files it installs, the program's hardening, and the
game started from them as the menu entry starts it.

usage: check_package.py --folder BUILD --version VERSION --bitmaps resources/bitmaps
"""

import argparse
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

APP_ID = "example.vok.tictactoe"
ICON_SIZES = (16, 32, 48, 64, 128, 256)
failures = []


def check(condition, message):
    print(("ok     " if condition else "FAILED ") + message)
    if not condition:
        failures.append(message)


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=60, **options)


def started_from(root, exec_line, display):
    """Starts the menu entry's command with the package's programs first on the PATH; whether
    its window appeared, and whether it then ended cleanly and saved its settings."""
    config = tempfile.mkdtemp(prefix="vok-package-config-")
    env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=config,
               PATH=os.path.join(root, "usr", "games") + os.pathsep + os.environ["PATH"])
    env.pop("WAYLAND_DISPLAY", None)
    game = subprocess.Popen(exec_line.split(), env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    shown = False
    try:
        deadline = time.time() + 15
        while time.time() < deadline and not shown and game.poll() is None:
            found = run("xdotool", "search", "--pid", str(game.pid), "--name", "^Vok TicTacToe",
                        env=env).stdout.split()
            shown = bool(found)
            time.sleep(0.1)
        game.send_signal(signal.SIGTERM)
        _, errors = game.communicate(timeout=10)
    finally:
        if game.poll() is None:
            game.kill()
    saved = os.path.exists(os.path.join(config, "vok", "vudezazivaze", "vudezazivaze.ini"))
    shutil.rmtree(config, ignore_errors=True)
    return shown, game.returncode == 0 and not errors, saved


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--bitmaps", required=True)
    args = parser.parse_args()

    packages = glob.glob(os.path.join(args.folder, "vok-tictactoe_%s_*.deb" % args.version))
    if len(packages) != 1:
        print("FAILED no single package in %s: %r (make it with `cpack --preset deb`)"
              % (args.folder, packages))
        return 1
    package = packages[0]
    fields = run("dpkg-deb", "-f", package, "Package", "Version", "Depends", "Section").stdout
    check("Package: vok-tictactoe" in fields and "Version: %s" % args.version in fields,
          "the package is vok-tictactoe %s" % args.version)
    check(all(need in fields for need in ("libsdl2-2.0-0", "libsdl2-ttf-2.0-0", "fonts-dejavu")),
          "it depends on SDL2, SDL2_ttf and a font (%s)" % " ".join(fields.split()))

    result = run("lintian", "--fail-on", "error,warning", package)
    check(result.returncode == 0 and not result.stdout.strip(),
          "lintian finds no error and no warning %s" % result.stdout.strip())

    root = tempfile.mkdtemp(prefix="vok-package-root-")
    xvfb = None
    try:
        check(run("dpkg-deb", "-x", package, root).returncode == 0, "it unpacks")
        program = os.path.join(root, "usr", "games", "vok-tictactoe")
        check(os.access(program, os.X_OK), "/usr/games/vok-tictactoe is there")
        # Debian's C start files carry no control-flow note, so no program here can show one.
        result = run("hardening-check", "--nocfprotection", program)
        check(result.returncode == 0, "the program is hardened %s" % result.stdout.split(":", 1)[-1])
        sections = run("readelf", "-S", "-W", program).stdout
        check(".symtab" not in sections and ".debug" not in sections,
              "the program is stripped")
        pictures = sum(os.path.getsize(p) for p in glob.glob(os.path.join(args.bitmaps, "*.bmp")))
        size = os.path.getsize(program)
        check(size <= pictures + 600 * 1024, "the program, %d bytes, is within its pictures (%d) "
              "and 600 KB" % (size, pictures))

        desktop = os.path.join(root, "usr", "share", "applications", APP_ID + ".desktop")
        result = run("desktop-file-validate", desktop)
        check(result.returncode == 0 and not result.stdout.strip(),
              "the menu entry is valid %s" % result.stdout.strip())
        with open(desktop) as entry:
            exec_line = next(l.split("=", 1)[1].strip() for l in entry if l.startswith("Exec="))
        check(exec_line == "vok-tictactoe", "the menu entry starts the program by name (%s)"
              % exec_line)
        metainfo = os.path.join(root, "usr", "share", "metainfo", APP_ID + ".metainfo.xml")
        result = run("appstreamcli", "validate", "--no-net", metainfo)
        check(result.returncode == 0, "the AppStream metainfo is valid %s" % result.stdout.strip())
        for size in ICON_SIZES:
            check(os.path.exists(os.path.join(root, "usr", "share", "icons", "hicolor",
                                              "%dx%d" % (size, size), "apps", APP_ID + ".png")),
                  "the %d px icon is there" % size)
        for name in ("README.md", "CHANGELOG.md", "LICENSE"):
            check(os.path.exists(os.path.join(root, "usr", "share", "doc", "vok-tictactoe", name)),
                  "the %s is there" % name)

        # The game, started from the unpacked files, in a display of its own.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "1024x768x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = ":" + pipe.readline().strip()
        shown, clean, saved = started_from(root, exec_line, display)
        check(shown, "the game's window opens")
        check(clean, "the game ends cleanly when asked to")
        check(saved, "and saves its settings")
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)
    print("%d check(s) failed" % len(failures) if failures else "the package is sound")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
