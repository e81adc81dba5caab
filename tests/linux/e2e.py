#!/usr/bin/python3
"""The Linux program end to end: the real binary in a private Xvfb display with the openbox
window manager, and on a Wayland desktop (weston on its x11 backend) in such a display, driven
with xdotool like a person would, screenshots taken with ImageMagick, the settings under a
temporary XDG_CONFIG_HOME.

usage: e2e.py --program PATH --board CELLS [--out FOLDER] [--reference FOLDER]
       (VOK_E2E_ONLY="scenario ..." runs only the scenarios named)

--reference names the SDL tests' screenshots: the window must show exactly those frames.
Exits 77 (skipped) when a tool it needs is missing.
"""

import argparse
import functools
import importlib.util
import io
import os
import re
import resource
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import traceback

SKIP = 77
TITLE = "Vok TicTacToe 1.2"
CLIENT = (384, 365)
HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "..", "resources")
HELP_URL = "http://www.vok.example/tictactoe/index.php?v=dur1.2a"

# Places in the drawing area.
PLAQUE = (87, 40)
TEXT_STRIP = (3, 0, 178, 20)
HELP, T_BUTTON, PIN = (335, 10), (355, 10), (375, 10)
NEW_GAME, SETTINGS, PLAY = (320, 110), (320, 155), (195, 225)
LIST_X = {"first": 16, "pieces": 137, "level": 258}


# The board's cells, (column, row): (left, top, size, centre x, centre y), from the file the build
# writes from the screen builder's layout (--board).
CELLS = {}


def read_board(path):
    with open(path) as f:
        for line in f:
            column, row, *place = map(int, re.findall(r"-?\d+", line))
            CELLS[column, row] = place


def cell_box(c, r):
    left, top, size = CELLS[c, r][:3]
    return left, top, size, size


def cell_centre(c, r):
    return tuple(CELLS[c, r][3:])


def list_row(name, row):
    return LIST_X[name] + 50, 50 + 20 * (row + 1) + 10


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*command, env=None, timeout=10):
    return subprocess.run(command, env=env, timeout=timeout, capture_output=True, text=True)


@functools.lru_cache(maxsize=None)
def bitmap_ids():
    """The ids of the program's pictures by their names in the art catalogue."""
    sys.dont_write_bytecode = True
    sys.path.insert(0, os.path.join(RESOURCES, "art"))
    import catalogue
    return {entry[0]: bitmap_id for bitmap_id, entry in catalogue.BITMAPS.items()}


def picture(name):
    from PIL import Image
    path = os.path.join(RESOURCES, "bitmaps", "%d.bmp" % bitmap_ids()[name])
    return Image.open(path).convert("RGB")


class Display:
    """A private Xvfb screen with openbox on it."""

    def __init__(self, size="1024x768"):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size + "x24",
             "-nolisten", "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.name = ":" + number.decode()
        self.env = dict(os.environ, DISPLAY=self.name)
        # Neither the desktop's scale nor one asked for reaches a program unless a test says so.
        for name in ("WAYLAND_DISPLAY", "GDK_SCALE", "VOK_SCALE"):
            self.env.pop(name, None)
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # openbox is ready once it owns the screen.
        for _ in range(100):
            if "_NET_SUPPORTING_WM_CHECK(WINDOW)" in run("xprop", "-root", env=self.env).stdout:
                break
            time.sleep(0.05)
        # The first synthetic key of a fresh server can get lost while the keymap settles.
        run("xdotool", "key", "shift", env=self.env)

    def close(self):
        for process in (self.wm, self.xvfb):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()


class Weston:
    """A Wayland desktop: weston on its x11 backend, its output a window of `display`."""

    def __init__(self, display, runtime, scale=1, size=(800, 600)):
        self.display = display
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        socket = "wayland-vok-%d" % scale
        self.process = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--use-pixman", "--no-config", "--idle-time=0",
             "--socket=" + socket, "--scale=%d" % scale, "--width=%d" % size[0],
             "--height=%d" % size[1]], env=dict(display.env, XDG_RUNTIME_DIR=runtime),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # What a program on this desktop is given: no X display, only the Wayland one.
        self.env = {k: v for k, v in display.env.items()
                    if k not in ("DISPLAY", "SDL_VIDEODRIVER")}
        self.env.update(WAYLAND_DISPLAY=socket, XDG_RUNTIME_DIR=runtime)
        self.window = None
        deadline = time.time() + 10
        while time.time() < deadline and self.process.poll() is None and not self.window:
            found = run("xdotool", "search", "--class", "^Weston Compositor", env=display.env)
            if found.stdout.split() and os.path.exists(os.path.join(runtime, socket)):
                self.window = found.stdout.split()[0]
            time.sleep(0.05)
        if not self.window:
            self.close()
            raise Failure("weston did not start")

    def shot(self):
        from PIL import Image
        data = subprocess.run(["import", "-window", self.window, "png:-"], env=self.display.env,
                              capture_output=True, timeout=10).stdout
        return Image.open(io.BytesIO(data)).convert("RGB")

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(5)


class ScreenReader:
    """A D-Bus session as dbus-run-session starts one, its accessibility bus read by Debian's
    pyatspi in this process, and the events that bus tells. A process reads one bus: the suite
    has one reader."""

    def __init__(self, display, runtime):
        os.makedirs(runtime, mode=0o700)
        # A runtime folder of its own, where the accessibility bus puts its socket: without one
        # it is ~/.cache/at-spi/bus_<display>, the same for every session on the display.
        self.session = session(display.env, runtime)
        self.env = self.session.env
        # The bus this session's programs join, not one pyatspi would find on its own.
        os.environ["AT_SPI_BUS_ADDRESS"] = call(self.env["DBUS_SESSION_BUS_ADDRESS"],
                                                "org.a11y.Bus", "/org/a11y/bus", "GetAddress")[0]
        from gi.repository import GLib
        import pyatspi
        self.atspi, self.context, self.events = pyatspi, GLib.MainContext.default(), []
        for kind in ("object:state-changed:focused", "object:state-changed:showing",
                     "object:property-change:accessible-name"):
            pyatspi.Registry.registerEventListener(self._heard, kind)

    def _heard(self, event):
        try:
            self.events.append((event.type, event.source.getRoleName(), event.source.name,
                                event.detail1))
        except Exception:  # a source gone before it was asked
            pass

    def pump(self, seconds=0.0):
        deadline = time.time() + seconds
        while True:
            while self.context.iteration(False):
                pass
            if time.time() >= deadline:
                return
            time.sleep(0.02)

    def frame(self, game, timeout=10):
        """The frame of `game`'s application, once it has joined the bus."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            self.pump()
            for app in self.atspi.Registry.getDesktop(0):
                if app and app.get_process_id() == game.process.pid and app.childCount:
                    return app[0]
            time.sleep(0.1)
        raise Failure("the program did not join the accessibility bus")

    def heard(self, condition, what, timeout=5.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            self.pump(0.05)
            found = [e for e in self.events if condition(*e)]
            if found:
                return found[0]
        raise Failure("no event of " + what)

    def close(self):
        self.session.close()


def call(address, name, path, method):
    """A method of `name` called on the bus at `address`: its answer."""
    from gi.repository import Gio, GLib
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
        Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    interface = "org.a11y.Bus" if name == "org.a11y.Bus" else "org.a11y.atspi.Accessible"
    return bus.call_sync(name, path, interface, method, None, None, 0, 5000, None).unpack()


def name_of(address, pid):
    """The unique name the process `pid` has on the bus at `address`."""
    from gi.repository import Gio, GLib
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
        Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    ask = lambda method, body=None: bus.call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method, body,
        None, 0, 5000, None).unpack()[0]
    return next(n for n in ask("ListNames") if n.startswith(":") and n != bus.get_unique_name()
                and ask("GetConnectionUnixProcessID", GLib.Variant("(s)", (n,))) == pid)

def flood(address, name, paths, count, read=True):
    """`count` calls to the program `name` on the bus at `address`, sent as fast as the bus takes
    them: children, extents, names and action names of `paths` in turn. With read=False they go
    over a socket of their own that never reads its replies; sending stops when the bus stops
    taking them. Returns how many were sent."""
    from gi.repository import Gio, GLib
    calls = [("org.a11y.atspi.Accessible", "GetChildren", None),
             ("org.a11y.atspi.Component", "GetExtents", GLib.Variant("(u)", (1,))),
             ("org.freedesktop.DBus.Properties", "Get",
              GLib.Variant("(ss)", ("org.a11y.atspi.Accessible", "Name"))),
             ("org.a11y.atspi.Action", "GetActions", None)]
    def message(n):
        interface, method, body = calls[n % len(calls)]
        m = Gio.DBusMessage.new_method_call(name, paths[n % len(paths)], interface, method)
        if body:
            m.set_body(body)
        return m
    if read:
        bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        for n in range(count):
            bus.send_message(message(n), Gio.DBusSendMessageFlags.NONE)
        bus.flush_sync(None)
        return count
    # The bus's socket, by hand: authenticated, said hello to, and never read again.
    where = dict(part.split("=", 1) for part in address.split(":", 1)[1].split(","))
    raw = socket.socket(socket.AF_UNIX)
    raw.connect(where["path"] if "path" in where else "\0" + where["abstract"])
    raw.sendall(b"\0AUTH EXTERNAL " + str(os.getuid()).encode().hex().encode() + b"\r\n")
    check(raw.recv(256).startswith(b"OK"), "the bus took the flooding client")
    raw.sendall(b"BEGIN\r\n")
    hello = Gio.DBusMessage.new_method_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                            "org.freedesktop.DBus", "Hello")
    raw.settimeout(5)
    sent = 0
    try:
        for n, m in enumerate([hello] + [message(n) for n in range(count)]):
            m.set_serial(n + 1)
            raw.sendall(m.to_blob(Gio.DBusCapabilityFlags.NONE))
            sent = n
    except OSError:  # the bus stopped taking them (or gave the client up)
        pass
    return raw, sent


def session(env, runtime):
    """A D-Bus session started by dbus-run-session, left running; `close` ends all of it."""
    process = subprocess.Popen(
        ["dbus-run-session", "--", "sh", "-c", 'echo "$DBUS_SESSION_BUS_ADDRESS"; exec sleep 600'],
        env=dict(env, XDG_RUNTIME_DIR=runtime), stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL, text=True, start_new_session=True)
    process.env = dict(DBUS_SESSION_BUS_ADDRESS=process.stdout.readline().strip())
    # The session's buses and services are all in its process group.
    process.close = lambda: (os.killpg(process.pid, signal.SIGKILL), process.wait())
    return process


# A stand-in for the desktop portal's Settings on the session bus it is started in: ReadOne of
# org.freedesktop.appearance's contrast and color-scheme; a line "key value" on its input
# changes one and tells SettingChanged.
PORTAL = r"""
import sys
from gi.repository import Gio, GLib
values, space = {"contrast": int(sys.argv[1]), "color-scheme": int(sys.argv[2])}, "org.freedesktop.appearance"
bus, path, interface = Gio.bus_get_sync(Gio.BusType.SESSION), "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings"
u = lambda key: GLib.Variant("u", values[key])
def told(*_):
    key, value = sys.stdin.readline().split()
    values[key] = int(value)
    bus.emit_signal(None, path, interface, "SettingChanged", GLib.Variant("(ssv)", (space, key, u(key))))
    return True
bus.register_object(path, Gio.DBusNodeInfo.new_for_xml(
    "<node><interface name='%s'><method name='ReadOne'><arg type='s' direction='in'/>"
    "<arg type='s' direction='in'/><arg type='v' direction='out'/></method></interface></node>"
    % interface).interfaces[0], lambda c, s, p, i, m, args, call: call.return_value(
        GLib.Variant("(v)", (u(args[1]),))), None, None)
Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop", 0, lambda *_: print("ready", flush=True), None)
GLib.io_add_watch(0, GLib.IOCondition.IN, told)
GLib.MainLoop().run()
"""


def portal(env, contrast, scheme):
    """The portal's stand-in on the session bus of `env`, once it owns its name."""
    process = subprocess.Popen(["/usr/bin/python3", "-c", PORTAL, str(contrast), str(scheme)],
                               env=dict(os.environ, **env), stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    check(process.stdout.readline().strip() == "ready", "the portal's stand-in did not start")
    process.set = lambda key, value: (process.stdin.write("%s %d\n" % (key, value)),
                                      process.stdin.flush())
    return process


def item(parent, role=None, name=None):
    """The first item below `parent` of that role and name, or None."""
    for child in parent:
        if role in (None, child.getRoleName()) and name in (None, child.name):
            return child
        found = item(child, role, name)
        if found:
            return found
    return None


def place_of(part, image):
    """Where `part` lies in `image` pixel for pixel, or None."""
    width, height = part.size
    first, whole = part.crop((0, 0, width, 1)).tobytes(), part.tobytes()
    data, stride = image.tobytes(), image.size[0] * 3
    for y in range(image.size[1] - height + 1):
        row = data[y * stride:(y + 1) * stride]
        x = row.find(first)
        while x >= 0:
            box = (x // 3, y, x // 3 + width, y + height)
            if x % 3 == 0 and image.crop(box).tobytes() == whole:
                return x // 3, y
            x = row.find(first, x + 1)
    return None


class Game:
    """One run of the program in its own settings folder."""

    def __init__(self, display, program, config, extra_env=None, preexec=None, args=()):
        self.display = display
        self.config = config
        self.env = dict(display.env, XDG_CONFIG_HOME=config)
        # What the program alone is given; the tools that drive it keep the usual environment.
        program_env = {k: v for k, v in dict(self.env, **(extra_env or {})).items()
                       if v is not None}
        self.process = subprocess.Popen([program, *args], env=program_env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True,
                                        preexec_fn=preexec)
        self.window = self._find_window()
        self._wait_for_frame()

    def _find_window(self):
        deadline = time.time() + 10
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise Failure("the program ended at start: %s" % self.process.stderr.read())
            found = run("xdotool", "search", "--all", "--onlyvisible", "--pid",
                        str(self.process.pid), "--name", "^Vok TicTacToe", env=self.env).stdout
            if found.split():
                return found.split()[0]
            time.sleep(0.05)
        raise Failure("no window appeared")

    def _wait_for_frame(self):
        # Shown, framed by the window manager and painted.
        deadline = time.time() + 10
        while time.time() < deadline:
            if self.frame_extents() and self.has_plaque_area_painted():
                return
            time.sleep(0.05)
        raise Failure("the window was not framed and painted")

    def has_plaque_area_painted(self):
        return self.shot().getpixel((0, 0)) != (0, 0, 0)

    # What the window system knows.
    def prop(self, name):
        return run("xprop", "-id", self.window, name, env=self.env).stdout.strip()

    def frame_extents(self):
        text = self.prop("_NET_FRAME_EXTENTS")
        if "=" not in text:
            return None
        return [int(v) for v in text.split("=")[1].split(",")]

    def client_rect(self):
        info = run("xwininfo", "-id", self.window, env=self.env).stdout
        values = {}
        for line in info.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def frame_position(self):
        left, _, top, _ = self.frame_extents()
        x, y, _, _ = self.client_rect()
        return x - left, y - top

    def title(self):
        return run("xdotool", "getwindowname", self.window, env=self.env).stdout.strip()

    def opacity(self):
        text = self.prop("_NET_WM_WINDOW_OPACITY")
        if "=" not in text:
            return 1.0
        return int(text.split("=")[1]) / 0xFFFFFFFF

    def above(self):
        return "_NET_WM_STATE_ABOVE" in self.prop("_NET_WM_STATE")

    # What the window shows.
    def shot(self, save_as=None):
        from PIL import Image
        data = subprocess.run(["import", "-window", self.window, "png:-"], env=self.env,
                              capture_output=True, timeout=10).stdout
        image = Image.open(io.BytesIO(data)).convert("RGB")
        if save_as:
            image.save(save_as)
        return image

    def shows_picture(self, image, name, x, y, w, h, scale=1):
        """The box at (x, y) shows the top-left w x h of the picture, a pixel in four; at a
        scale, each pixel a block (whose far corner is looked at)."""
        source = picture(name)
        for py in range(1, h - 1, 2):
            for px in range(1, w - 1, 2):
                shown = ((x + px + 1) * scale - 1, (y + py + 1) * scale - 1)
                if image.getpixel(shown) != source.getpixel((px, py)):
                    return False
        return True

    def plaque(self, image=None):
        """The game state the status plaque shows, or None while the board screen is hidden."""
        image = image or self.shot()
        plaques = ("plaquePink", "plaqueWood", "plaqueRed", "plaqueOrange", "plaqueBlue")
        for state, name in enumerate(plaques, 1):
            source = picture(name)
            if all(image.getpixel((PLAQUE[0] + x, PLAQUE[1] + y)) == source.getpixel((x, y))
                   for x, y in ((3, 3), (96, 3), (3, 26), (96, 26))):
                return state
        return None

    def cell(self, image, c, r):
        """'empty', 'player', 'computer' or '?' for cell (c, r), in any piece set."""
        for picture_name, name in (("blankTraditional", "empty"), ("ring", "player"),
                                   ("cross", "computer"), ("greenSquare", "player"),
                                   ("orangeSquare", "computer"), ("stripedFish", "player"),
                                   ("spottedFish", "computer")):
            if self.shows_picture(image, picture_name, *cell_box(c, r)):
                return name
        return "?"

    def marked_row(self, image, name, row):
        """True when the row of the named list carries the selection mark."""
        mark = picture("selectionMark")
        top = 50 + 20 * (row + 1)
        return all(image.getpixel((LIST_X[name] + x, top + y)) == mark.getpixel((x, y))
                   for y in range(20) for x in range(20)
                   if mark.getpixel((x, y)) != (255, 255, 255))

    def cells(self, image=None):
        image = image or self.shot()
        return [[self.cell(image, c, r) for r in range(3)] for c in range(3)]

    def label_right_edge(self, image=None):
        """The rightmost black pixel of the level label: longer names reach further."""
        image = image or self.shot()
        left, top, right, bottom = TEXT_STRIP
        edge = -1
        for x in range(left, right):
            for y in range(top + 3, bottom - 3):
                if image.getpixel((x, y)) == (0, 0, 0):
                    edge = x
        return edge

    # What a person does.
    def click(self, point, button=1):
        run("xdotool", "mousemove", "--window", self.window, str(point[0]), str(point[1]),
            "click", str(button), env=self.env)
        time.sleep(0.08)

    def hover(self, point):
        run("xdotool", "mousemove", "--window", self.window, str(point[0]), str(point[1]),
            env=self.env)
        time.sleep(0.08)

    def key(self, name):
        run("xdotool", "windowactivate", "--sync", self.window, env=self.env)
        run("xdotool", "key", name, env=self.env)
        time.sleep(0.08)

    def wait_for(self, condition, what, timeout=5.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise Failure("timed out waiting for " + what)

    def close(self):
        """Closes the window through the window manager; the exit code."""
        errors = None
        for attempt in range(3):
            self.key("alt+F4")
            try:
                _, errors = self.process.communicate(timeout=4)
                break
            except subprocess.TimeoutExpired:
                print("  the window was still open after alt+F4 (attempt %d)" % (attempt + 1))
        if errors is None:
            self.process.kill()
            raise Failure("the program did not end after the window was closed")
        self.errors = errors
        if self.process.returncode != 0:
            print("  exit code %d, stderr: %s" % (self.process.returncode, errors.strip()))
        return self.process.returncode

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def settings_file(self):
        return os.path.join(self.config, "vok", "vudezazivaze", "vudezazivaze.ini")

    def saved_lines(self):
        with open(self.settings_file(), "rb") as f:
            return f.read().decode("latin-1").split("\n")

    def switches(self):
        """How often all the program's threads have slept and woken so far."""
        total = 0
        for task in os.listdir("/proc/%d/task" % self.process.pid):
            with open("/proc/%d/task/%s/status" % (self.process.pid, task)) as status:
                total += sum(int(l.split()[1]) for l in status if "ctxt_switches" in l)
        return total


class WaylandGame(Game):
    """One run of the program on weston, found by its first frame (`first`, a reference of the
    render tests at the desktop's scale) in weston's output and driven through weston's window."""

    def __init__(self, weston, program, config, first, extra_env=None):
        self.weston, self.config, self.scale = weston, config, first.size[0] // CLIENT[0]
        # The keys go to weston's window, which passes them on.
        self.window, self.env = weston.window, weston.display.env
        self.process = subprocess.Popen([program], env=dict(weston.env, XDG_CONFIG_HOME=config,
                                                            **(extra_env or {})),
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.away()
        self.origin = None
        deadline = time.time() + 15
        while self.origin is None and time.time() < deadline:
            if self.process.poll() is not None:
                raise Failure("the program ended at start: %s" % self.process.stderr.read())
            self.origin = place_of(first, weston.shot())
            time.sleep(0.1)
        check(self.origin, "the first frame did not show in weston's output")
        self.size = first.size

    def shot(self, save_as=None):
        x, y = self.origin
        image = self.weston.shot().crop((x, y, x + self.size[0], y + self.size[1]))
        if save_as:
            image.save(save_as)
        return image

    def away(self):
        # weston draws the pointer into its output: it waits in a corner, on weston's panel.
        run("xdotool", "mousemove", "--window", self.window, "0", "0", env=self.env)

    def click(self, point, button=1):
        x, y = (self.origin[i] + point[i] * self.scale for i in (0, 1))
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y), "click",
            str(button), env=self.env)
        time.sleep(0.08)
        self.away()


class Suite:
    def __init__(self, args):
        self.args = args
        self.out = os.path.abspath(args.out)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.temp = tempfile.mkdtemp(prefix="vok-e2e-")
        self.display = Display()
        self.games = []
        self.reader = None
        self.passed = 0
        self.failed = 0

    def config(self, name, lines=None, raw=None):
        folder = os.path.join(self.temp, name)
        if lines is not None or raw is not None:
            os.makedirs(os.path.join(folder, "vok", "vudezazivaze"))
            with open(os.path.join(folder, "vok", "vudezazivaze", "vudezazivaze.ini"),
                      "wb") as f:
                f.write(raw if raw is not None else "".join(l + "\n" for l in lines).encode())
        else:
            os.makedirs(folder, exist_ok=True)
        return folder

    def start(self, config, extra_env=None, preexec=None, args=()):
        game = Game(self.display, self.args.program, config, extra_env, preexec, args)
        self.games.append(game)
        return game

    def shot_path(self, name):
        return os.path.join(self.out, name + ".png")

    def reference(self, name):
        if not self.args.reference:
            return None
        path = os.path.join(self.args.reference, name + ".png")
        if not os.path.exists(path):
            return None
        from PIL import Image
        return Image.open(path).convert("RGB")

    def same_as_reference(self, image, name):
        expected = self.reference(name)
        if expected is None:
            print("  (no reference %s.png: exact comparison skipped)" % name)
            return True
        if expected.size != image.size:
            return False
        from PIL import ImageChops
        return ImageChops.difference(expected, image).getbbox() is None

    def run(self, scenarios):
        only = os.environ.get("VOK_E2E_ONLY", "").split()
        for scenario in scenarios:
            name = scenario.__name__
            if only and name not in only:
                continue
            started = time.time()
            try:
                scenario()
                self.passed += 1
                print("PASS %s (%.1f s)" % (name, time.time() - started))
            except Exception as error:  # every failure is reported, the next scenario runs
                self.failed += 1
                print("FAIL %s: %s" % (name, error))
                if not isinstance(error, Failure):
                    traceback.print_exc()
            finally:
                for game in self.games:
                    game.kill()
                self.games = []
            sys.stdout.flush()

    def screen_reader(self):
        if not self.reader:
            self.reader = ScreenReader(self.display, os.path.join(self.temp, "reader-run"))
        return self.reader

    def finish(self):
        if self.reader:
            self.reader.close()
        self.display.close()
        shutil.rmtree(self.temp, ignore_errors=True)
        print("screenshots: %s" % self.out)
        print("%d passed, %d failed" % (self.passed, self.failed))
        return 0 if self.failed == 0 else 1


def scenarios(suite):
    def first_start():
        config = suite.config("first")
        game = suite.start(config)
        check(game.title() == TITLE, "title is %r" % game.title())
        _, _, w, h = game.client_rect()
        check((w, h) == CLIENT, "drawing area is %dx%d" % (w, h))
        check(game.frame_position() == (0, 0), "window at %s, not (0, 0)" % (game.frame_position(),))
        check(not game.above(), "on top without being asked")
        check(game.opacity() == 1.0, "transparent without being asked")
        image = game.shot(suite.shot_path("first-start"))
        check(game.plaque(image) == 1, "status is not \"Your Move\"")
        check(game.cells(image) == [["empty"] * 3] * 3, "the board is not empty")
        check(suite.same_as_reference(image, "board"),
              "the window differs from the SDL tests' board screen")
        # Traditional, You and Smart are the selected rows of the settings screen.
        game.click(SETTINGS)
        game.hover((195, 300))
        image = game.shot(suite.shot_path("first-settings"))
        check(image.getpixel((5, 300)) == (255, 255, 255), "no white settings backdrop")
        check(suite.same_as_reference(image, "settings"),
              "the window differs from the SDL tests' settings screen")
        for name in ("first", "pieces", "level"):
            check(game.marked_row(image, name, 0) and not game.marked_row(image, name, 1),
                  "the first row of %s is not the selected one" % name)
        check(game.close() == 0, "a normal close did not exit with 0")
        lines = game.saved_lines()
        check(lines == ["0", "0", "0", "0", "0", "0", "1", ""],
              "saved settings are %r" % lines)

    def whole_game_by_clicks():
        game = suite.start(suite.config("game"))
        # The right button plays no part.
        game.click(cell_centre(0, 0), button=3)
        time.sleep(0.5)
        check(game.cells()[0][0] == "empty", "a right click placed a piece")
        moves = 0
        while game.plaque() == 1 and moves < 5:
            board = game.cells()
            free = [(c, r) for r in range(3) for c in range(3) if board[c][r] == "empty"]
            c, r = free[0] if moves else (0, 0)
            clicked = time.time()
            game.click(cell_centre(c, r))
            image = game.shot()
            check(game.cell(image, c, r) == "player", "no ring in the cell just played")
            if game.plaque(image) == 2:
                game.wait_for(lambda: game.plaque() != 2, "the computer's answer")
                pause = time.time() - clicked
                check(pause > 0.15, "the computer answered after only %.2f s" % pause)
            moves += 1
            if moves == 1:
                game.shot(suite.shot_path("game-first-move"))
        image = game.shot(suite.shot_path("game-over"))
        check(game.plaque(image) in (4, 5), "the game against Smart did not end in a loss or tie")
        flat = sum(game.cells(image), [])
        check(flat.count("player") >= 3 and flat.count("computer") >= 3,
              "the board does not show the game: %r" % flat)
        # N clears the board for a new game.
        game.key("n")
        game.wait_for(lambda: game.cells() == [["empty"] * 3] * 3, "the board to clear")
        check(game.plaque() == 1, "a new game does not start with \"Your Move\"")
        check(game.close() == 0, "exit code")

    def settings_choices_then_restart():
        config = suite.config("choices")
        game = suite.start(config)
        smart_edge = game.label_right_edge()
        game.click(SETTINGS)
        game.click(list_row("first", 1))   # Computer
        game.click(list_row("pieces", 2))  # Fish
        game.click(list_row("level", 2))   # Moronic
        game.hover((195, 300))
        game.shot(suite.shot_path("choices-settings"))
        game.click(PLAY)
        # The untouched game restarts with the computer first, in fish: thinking, then its move.
        game.wait_for(lambda: game.plaque() == 2 or "computer" in sum(game.cells(), []),
                      "\"Play !\" to start the computer's game")
        game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's first fish")
        check(sum(game.cells(), []).count("player") == 0, "the player moved first")
        image = game.shot(suite.shot_path("choices-board"))
        check(game.shows_picture(image, "spottedFish", *cell_box(*next(
            (c, r) for c, r in CELLS if game.cell(image, c, r) == "computer"))),
            "the computer's piece is no fish")
        check(game.label_right_edge(image) > smart_edge + 5,
              "the level label did not change to the longer \"Moronic\"")
        # T and the pin.
        game.click(T_BUTTON)
        game.wait_for(lambda: abs(game.opacity() - 190 / 255) < 0.01, "opacity 190")
        game.click(PIN)
        game.wait_for(game.above, "always on top")
        image = game.shot(suite.shot_path("choices-flags"))
        check(game.shows_picture(image, "letterTTicked", 345, 1, 20, 20), "the T shows no tick")
        check(game.shows_picture(image, "pinUpright", 365, 1, 20, 20), "the pin does not stand")
        game.click(T_BUTTON)
        game.wait_for(lambda: game.opacity() == 1.0, "opaque again")
        game.click(PIN)
        game.wait_for(lambda: not game.above(), "not on top again")
        game.click(T_BUTTON)
        game.click(PIN)
        game.wait_for(lambda: game.above() and game.opacity() < 1.0, "both flags on")
        x, y = game.frame_position()
        check(game.close() == 0, "exit code")
        lines = game.saved_lines()
        check(lines == ["2", "1", "1", str(y), str(x), "2", "2", ""],
              "saved settings are %r" % lines)

        again = suite.start(config)
        check(again.frame_position() == (x, y), "the window did not come back to its place")
        check(again.above(), "not on top after the restart")
        check(abs(again.opacity() - 190 / 255) < 0.01, "not transparent after the restart")
        image = again.shot()
        check(again.shows_picture(image, "letterTTicked", 345, 1, 20, 20) and
              again.shows_picture(image, "pinUpright", 365, 1, 20, 20),
              "T and pin not in their second state")
        # The computer opens: its fish appears without the player having moved.
        again.wait_for(lambda: "computer" in sum(again.cells(), []), "the computer's fish")
        check("player" not in sum(again.cells(), []), "the player moved first after the restart")
        again.shot(suite.shot_path("restart"))
        check(again.close() == 0, "exit code")

    def crafted_settings_file():
        config = suite.config("crafted", ["2", "1", "0", "120", "300", "1", "2"])
        game = suite.start(config)
        check(game.frame_position() == (300, 120),
              "window at %s, not (300, 120)" % (game.frame_position(),))
        check(game.above() and game.opacity() == 1.0, "flags not as saved")
        game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's fish")
        check("player" not in sum(game.cells(), []), "the computer does not move first")
        game.shot(suite.shot_path("crafted"))
        game.key("n")
        check(game.close() == 0, "exit code")
        check(game.saved_lines() == ["2", "1", "0", "120", "300", "1", "2", ""],
              "saved settings are %r" % game.saved_lines())

    def broken_settings_files():
        cases = {
            "garbage": b"\x00\xff\xfe garbage\n\n{{{{\nabc\n\x1b[31m\n-\n--3\n",
            "short": b"2\n1\n",
            "long-line": b"2\n0\n0\n1234567890123456789012345\n300\n0\n2\n",
            "off-screen": b"1\n0\n0\n5000\n-5\n0\n1\n",
        }
        for name, raw in cases.items():
            config = suite.config("broken-" + name, raw=raw)
            game = suite.start(config)
            image = game.shot(suite.shot_path("broken-" + name))
            position = game.frame_position()
            if name == "garbage":
                check(position == (0, 0), "garbage: window at %s" % (position,))
                check(suite.same_as_reference(image, "board"), "garbage: not the first start")
            elif name == "short":
                check(game.above() and game.plaque(image) == 1, "short: not Fish, on top, Your Move")
            elif name == "long-line":
                check(position == (300, 2), "long line: window at %s" % (position,))
                # The seventh line says the computer begins: it moves without being played to.
                game.wait_for(lambda: "computer" in sum(game.cells(), []),
                              "the computer's first move (the seventh line was not read)")
            else:
                check(position == (2, 2), "off screen: window at %s, not (2, 2)" % (position,))
            check(game.close() == 0, name + ": exit code")
            lines = game.saved_lines()
            check(len(lines) == 8 and lines[-1] == "" and all(l.isdigit() for l in lines[:7]),
                  "%s: the saved file is not seven numbers: %r" % (name, lines))

    def folder_that_cannot_be_created():
        config = suite.config("blocked")
        with open(os.path.join(config, "vok"), "w") as f:
            f.write("a file, not a folder\n")
        game = suite.start(config)
        game.click(cell_centre(1, 1))
        game.wait_for(lambda: game.plaque() == 1, "the computer's answer")
        check(game.close() == 0, "exit code")
        with open(os.path.join(config, "vok")) as f:
            check(f.read() == "a file, not a folder\n", "the file in the way was changed")
        # The failed save says so in one line, naming the file and the reason.
        lines = game.errors.strip().splitlines()
        check(len(lines) == 1 and game.settings_file() in lines[0] and
              lines[0].endswith(os.path.join(config, "vok") + " is not a folder"),
              "the failed save was reported as %r" % game.errors)

    def file_size_limit_at_close():
        config = suite.config("limited", ["1", "0", "0", "10", "10", "1", "1"])
        path = os.path.join(config, "vok", "vudezazivaze", "vudezazivaze.ini")
        with open(path, "rb") as f:
            before = f.read()
        # No file may grow: the save at the end fails, and the program must still end normally.
        game = suite.start(config, preexec=lambda: resource.setrlimit(
            resource.RLIMIT_FSIZE, (0, resource.RLIM_INFINITY)))
        game.click(cell_centre(0, 0))
        game.wait_for(lambda: game.plaque() == 1, "the computer's answer")
        check(game.close() == 0, "exit code under a file-size limit")
        with open(path, "rb") as f:
            check(f.read() == before, "the previous settings file was changed")
        check(os.listdir(os.path.dirname(path)) == ["vudezazivaze.ini"],
              "files left beside the settings: %r" % os.listdir(os.path.dirname(path)))

    def session_end_keeps_the_choices():
        # The terminal the program was started from closes (SIGHUP), or the session asks it to
        # end (SIGTERM): it ends as a close does.
        for ending in (signal.SIGHUP, signal.SIGTERM):
            game = suite.start(suite.config("signal-%d" % ending))
            game.click(T_BUTTON)
            game.click(PIN)
            game.wait_for(game.above, "always on top")
            x, y = game.frame_position()
            time.sleep(0.3)  # asleep by now
            game.process.send_signal(ending)
            _, errors = game.process.communicate(timeout=5)
            check(game.process.returncode == 0 and not errors, "signal %d: exit code %d (%s)"
                  % (ending, game.process.returncode, errors.strip()))
            check(game.saved_lines() == ["0", "1", "1", str(y), str(x), "0", "1", ""],
                  "signal %d: saved settings are %r" % (ending, game.saved_lines()))

        # The X server goes away under the program: the choices and the window's last place
        # are saved before it ends.
        display = Display()
        try:
            game = Game(display, suite.args.program, suite.config("display-lost"))
            suite.games.append(game)
            game.click(SETTINGS)
            game.click(list_row("pieces", 2))
            game.click(PLAY)
            run("xdotool", "windowmove", game.window, "200", "150", env=display.env)
            game.wait_for(lambda: game.frame_position() != (0, 0), "the window to move")
            time.sleep(0.3)
            x, y = game.frame_position()
            display.xvfb.kill()
            display.xvfb.wait()
            _, errors = game.process.communicate(timeout=5)
        finally:
            display.close()
        check(game.process.returncode == 1, "display lost: exit code %d"
              % game.process.returncode)
        check("lost the connection to the display" in errors,
              "display lost: message %r" % errors)
        check(game.saved_lines() == ["2", "0", "0", str(y), str(x), "0", "1", ""],
              "display lost: saved settings are %r, the window was at %r"
              % (game.saved_lines(), (x, y)))

    def help_opens_the_page_or_says_why_not():
        tools = os.path.join(suite.temp, "opener")
        os.makedirs(tools, exist_ok=True)
        record = os.path.join(tools, "opened")
        opener = os.path.join(tools, "xdg-open")
        with open(opener, "w") as f:
            # Like a browser, it lives on after handing over; not on the game's output.
            # It also notes the signals it was started ignoring.
            f.write("#!/bin/sh\nexec >/dev/null 2>&1\nprintf '%%s\\n' \"$*\" >> %s\n"
                    "grep SigIgn /proc/$$/status >> %s\nsleep 5\n" % (record, record))
        os.chmod(opener, 0o755)
        game = suite.start(suite.config("help"),
                           {"PATH": tools + os.pathsep + os.environ.get("PATH", "")})
        game.click(HELP)
        # The game goes on while the browser would still be starting.
        game.click(cell_centre(0, 0))
        check(game.cells()[0][0] == "player", "the game waited for the browser")
        game.wait_for(lambda: os.path.exists(record), "the address to be handed over")
        game.wait_for(lambda: "SigIgn" in open(record).read(), "the opener's signals")
        with open(record) as f:
            address, ignored = f.read().split("\n")[:2]
        check(address == HELP_URL, "the help address is wrong")
        # Not the game's own ignored file-size limit (SIGXFSZ, signal 25).
        check(not int(ignored.split()[1], 16) & 1 << 24, "the opener ignores SIGXFSZ")
        check(game.close() == 0, "exit code")
        # No opener at all: one line says so, and the game goes on.
        game = suite.start(suite.config("no-opener"), {"PATH": tools + "-missing"})
        game.click(HELP)
        game.click(cell_centre(0, 0))
        check(game.cells()[0][0] == "player", "the game stopped without an opener")
        check(game.close() == 0, "exit code")
        lines = game.errors.strip().splitlines()
        check(len(lines) == 1 and HELP_URL in lines[0] and "xdg-open" in lines[0],
              "a missing opener was reported as %r" % game.errors)

    def twice_the_scale():
        config = suite.config("scaled")
        game = suite.start(config, {"VOK_SCALE": "2"})
        _, _, w, h = game.client_rect()
        check((w, h) == (768, 730), "drawing area at scale 2 is %dx%d" % (w, h))
        image = game.shot(suite.shot_path("scaled-board"))
        check(suite.same_as_reference(image, "board-x2"),
              "the window differs from the render test's board at twice the scale")
        check(game.shows_picture(image, "blankTraditional", *cell_box(2, 1), scale=2),
              "the empty cell is not its picture in blocks of four")
        # The pointer is in window pixels: the scaled centre of a cell plays that cell.
        x, y = cell_centre(2, 1)
        game.click((2 * x, 2 * y))
        game.wait_for(lambda: game.shows_picture(game.shot(), "ring", *cell_box(2, 1), scale=2),
                      "the ring in the cell clicked")
        game.shot(suite.shot_path("scaled-move"))
        # The place is saved in screen pixels, as at any scale.
        run("xdotool", "windowmove", game.window, "120", "16", env=game.env)
        game.wait_for(lambda: game.frame_position() != (0, 0), "the window to move")
        time.sleep(0.3)
        x, y = game.frame_position()
        check(game.close() == 0, "exit code")
        lines = game.saved_lines()
        check(lines[3:5] == [str(y), str(x)], "saved place %r, the window was at %r"
              % (lines[3:5], (x, y)))

        # Unasked, the scale is the desktop's: Xft.dpi at 192 doubles the window...
        run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
            "Xft.dpi:\t192\n", env=suite.display.env)
        try:
            game = suite.start(suite.config("xft-dpi"))
            _, _, w, h = game.client_rect()
            check((w, h) == (768, 730), "drawing area at Xft.dpi 192 is %dx%d" % (w, h))
            check(game.close() == 0, "exit code")
        finally:
            run("xprop", "-root", "-remove", "RESOURCE_MANAGER", env=suite.display.env)
        # ... and --scale overrides the desktop's.
        game = suite.start(suite.config("overridden"), {"GDK_SCALE": "2"}, args=["--scale", "1"])
        _, _, w, h = game.client_rect()
        check((w, h) == CLIENT, "drawing area with --scale 1 is %dx%d" % (w, h))
        check(game.close() == 0, "exit code")

    def zoom_in_out_and_reset():
        config = suite.config("zoom")
        game = suite.start(config)
        zoom_file = os.path.join(config, "vok", "vudezazivaze", "vudezazivaze.zoom")
        run("xdotool", "windowmove", game.window, "300", "20", env=game.env)
        game.wait_for(lambda: game.frame_position() == (300, 20), "the window to move")
        # Twice the scale is the largest that fits the 1024 x 768 screen; the window larger at
        # (300, 20) moves left and up just enough to stay on it.
        for key, scale in (("ctrl+plus", 2), ("ctrl+equal", 2), ("ctrl+minus", 1),
                           ("ctrl+KP_Subtract", 1), ("ctrl+KP_Add", 2), ("ctrl+0", 1),
                           ("ctrl+plus", 2)):
            game.key(key)
            game.wait_for(lambda: game.client_rect()[2] == 384 * scale, "%s to %d" % (key, scale))
            game.hover((2, 2))
            reference = "board-x2" if scale == 2 else "board"
            check(suite.same_as_reference(game.shot(suite.shot_path("zoom-" + reference)),
                                          reference), "after %s, not the %s frame" % (key, reference))
        (x, y), (left, right, top, bottom) = game.frame_position(), game.frame_extents()
        check(x + 768 + left + right == 1024 and y == min(20, 768 - 730 - top - bottom),
              "the zoomed window at %r, not just inside the screen" % ((x, y),))
        # The pointer follows the scale: the doubled centre of a cell plays that cell.
        game.click(tuple(2 * v for v in cell_centre(1, 1)))
        game.wait_for(lambda: game.shows_picture(game.shot(), "ring", *cell_box(1, 1), scale=2),
                      "the ring in the cell clicked at twice the scale")
        check(game.close() == 0 and len(game.saved_lines()) == 8, "exit code, seven lines")
        # Read back at the next start; a zoom larger than fits comes back as the largest.
        for kept in ("1\n", "3\n"):
            with open(zoom_file, "r+") as f:
                check(f.read() == "1\n", "the zoom file holds %r" % kept)
                f.seek(0)
                f.write(kept)
            game = suite.start(config)
            check(game.client_rect()[2:] == (768, 730), "zoom %r: %r" % (kept, game.client_rect()))
            check(game.close() == 0, "exit code")

    def bad_environments():
        # No display at all, nor a runtime folder: the game's own message, and nothing else.
        env = dict(os.environ, XDG_CONFIG_HOME=suite.config("nodisplay"))
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"):
            env.pop(name, None)
        result = run(suite.args.program, env=env)
        check(result.returncode == 1, "no display: exit code %d" % result.returncode)
        check(result.stderr.startswith("vok-tictactoe:") and result.stderr.count("\n") == 1
              and "display" in result.stderr.lower(), "no display: message %r" % result.stderr)
        # No font: fontconfig with an empty configuration finds nothing.
        empty = os.path.join(suite.temp, "fonts.conf")
        with open(empty, "w") as f:
            f.write('<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n'
                    % os.path.join(suite.temp, "fontcache"))
        env = dict(suite.display.env, XDG_CONFIG_HOME=suite.config("nofont"),
                   FONTCONFIG_FILE=empty)
        result = run(suite.args.program, env=env)
        check(result.returncode == 1, "no font: exit code %d" % result.returncode)
        check("font" in result.stderr, "no font: message %r" % result.stderr)
        # SDL cannot start its video system.
        env = dict(suite.display.env, SDL_VIDEODRIVER="nonexistent")
        result = run(suite.args.program, env=env)
        check(result.returncode == 1, "no video driver: exit code %d" % result.returncode)
        check("tictactoe:" in result.stderr, "no video driver: message %r" % result.stderr)

    def keys_by_place_on_any_layout():
        game = suite.start(suite.config("layout"))
        game.click(cell_centre(0, 0))
        game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's answer")
        # A Russian keyboard: the key in N's place types "т" and still starts a new game.
        run("setxkbmap", "ru", env=suite.display.env)
        try:
            game.key("Cyrillic_te")
            game.wait_for(lambda: game.cells() == [["empty"] * 3] * 3,
                          "the key in N's place to start a new game")
        finally:
            run("setxkbmap", "us", env=suite.display.env)
        check(game.close() == 0, "exit code")

    def idle_sleeps_until_an_event():
        game = suite.start(suite.config("idle"))
        time.sleep(0.5)
        before = game.switches()
        time.sleep(3)
        woken = game.switches() - before
        check(woken < 3, "the idle program woke %d times in 3 s" % woken)
        # And it still answers at once, and still thinks for its pause.
        clicked = time.time()
        game.click(cell_centre(1, 1))
        game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's answer")
        check(time.time() - clicked > 0.25, "the computer answered too soon")
        check(game.close() == 0, "exit code")

    def command_line():
        # No display at all: neither answer needs a window.
        no_display = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        for option, out in (("--version", "Vok TicTacToe 1.2\n"), ("--help", "Usage: ")):
            result = run(suite.args.program, option, env=no_display)
            check(result.returncode == 0 and result.stdout.startswith(out),
                  "%s: exit %d, %r" % (option, result.returncode, result.stdout))
        result = run(suite.args.program, "--frobnicate", env=suite.display.env)
        check(result.returncode == 2 and "--frobnicate" in result.stderr,
              "unknown option: exit %d, %r" % (result.returncode, result.stderr))
        # A scale that is no whole number from 1 to 4, on the command line or in VOK_SCALE.
        for args, env in ((["--scale", "5"], {}), (["--scale"], {}), (["--scale=x"], {}),
                          ([], {"VOK_SCALE": "0.5"})):
            result = run(suite.args.program, *args, env=dict(no_display, **env))
            check(result.returncode == 2 and "1 to 4" in result.stderr,
                  "scale %r %r: exit %d, %r" % (args, env, result.returncode, result.stderr))

    def read_by_a_screen_reader():
        reader, atspi = suite.screen_reader(), suite.screen_reader().atspi
        game = suite.start(suite.config("reader"), reader.env)
        frame = reader.frame(game)
        shown = [(c.getRoleName(), c.name) for c in frame]
        check(frame.name == TITLE and shown == [
            ("label", "Computer IQ: Smart"), ("push button", "Help"),
            ("toggle button", "Translucent"), ("toggle button", "Keep on top"),
            ("status bar", "Your Move"), ("panel", "Board"), ("push button", "New Game"),
            ("push button", "Settings"), ("notification", "")],
            "the frame %r holds %r" % (frame.name, shown))
        # Each cell where the window shows it, in window and in screen coordinates.
        left, top, _, _ = game.client_rect()
        board = item(frame, "panel", "Board")
        for (c, r), cell in zip(sorted(CELLS, key=lambda place: place[::-1]), board):
            box = cell.queryComponent().getExtents(atspi.WINDOW_COORDS)
            screen = cell.queryComponent().getExtents(atspi.DESKTOP_COORDS)
            states = cell.getState()
            check((box.x, box.y, box.width, box.height) == cell_box(c, r) and
                  (screen.x - left, screen.y - top) == (box.x, box.y),
                  "%s at %r, on the screen at %r" % (cell.name, box, screen))
            check(cell.getRoleName() == "push button" and cell.name.endswith(", empty") and
                  all(states.contains(s) for s in (atspi.STATE_ENABLED, atspi.STATE_SENSITIVE,
                                                   atspi.STATE_FOCUSABLE, atspi.STATE_SHOWING)),
                  "%s: %r" % (cell.name, states.getStates()))
        for child in list(frame)[:-1]:
            box = child.queryComponent().getExtents(atspi.WINDOW_COORDS)
            check(box.x >= 0 and box.y >= 0 and box.x + box.width <= CLIENT[0] and
                  box.y + box.height <= CLIENT[1], "%s lies outside the window" % child.name)
        # A toggle pressed through its action.
        translucent = item(frame, "toggle button", "Translucent")
        translucent.queryAction().doAction(0)
        game.wait_for(lambda: translucent.getState().contains(atspi.STATE_PRESSED) and
                      abs(game.opacity() - 190 / 255) < 0.01, "Translucent pressed by its action")
        # Tab until the focus names a cell, and Space plays it; the computer's answer told.
        for _ in range(12):
            game.key("Tab")
            reader.pump(0.2)
            focus = [name for kind, role, name, on in reader.events
                     if kind.endswith(":focused") and on and role == "push button"]
            if focus and focus[-1].endswith(", empty"):
                break
        check(focus and focus[-1].endswith(", empty"), "Tab focused %r" % focus)
        game.key("space")
        mine = focus[-1].replace("empty", "yours (ring)")
        reader.heard(lambda kind, role, name, on: kind.endswith("-name") and name == mine,
                     "the cell Space played")
        news = lambda kind, role, name, on: (kind.endswith(":showing") and on and
                                             role == "notification" and
                                             name.startswith("The computer took the"))
        reader.heard(news, "the news of the computer's answer")
        # A cell played through its action; the computer's answer told and named.
        del reader.events[:]
        cell = next(cell for cell in board if cell.name.endswith(", empty"))
        check(cell.queryAction().getName(0) == "click" and cell.queryAction().doAction(0),
              "the action of %s" % cell.name)
        game.wait_for(lambda: cell.name.endswith(", yours (ring)"), "the ring its action played")
        _, _, told, _ = reader.heard(news, "the news of the computer's move")
        taken = told.split("took the ")[1].split(".")[0]
        check(item(board, name=taken + ", the computer's (cross)") and
              not cell.getState().contains(atspi.STATE_ENABLED),
              "after %r the board reads %r" % (told, [c.name for c in board]))
        # Asleep with a screen reader attached.
        time.sleep(0.5)
        before = game.switches()
        time.sleep(3)
        check(game.switches() - before < 3, "the idle program woke with a screen reader")
        # Fish chosen through its radio button.
        item(frame, "push button", "Settings").queryAction().doAction(0)
        game.wait_for(lambda: item(frame, "panel", "Pieces"), "the settings' lists")
        pieces = item(frame, "panel", "Pieces")
        check(pieces.getState().contains(atspi.STATE_FOCUSABLE),
              "a list, which Tab stops at, is focusable: %r" % pieces.getState().getStates())
        fish = item(pieces, "radio button", "Fish")
        fish.queryAction().doAction(0)
        game.wait_for(lambda: fish.getState().contains(atspi.STATE_CHECKED) and
                      game.marked_row(game.shot(), "pieces", 2), "Fish chosen by its action")
        check(game.close() == 0 and game.saved_lines()[0] == "2" and not game.errors,
              "closed with %r, saved %r" % (game.errors, game.saved_lines()))

    def flooded_by_a_client_of_the_bridge():
        # A client that calls as fast as the bus takes its calls, then one that never reads its
        # replies: the game plays on, its memory stays where it was, and the bridge answers after.
        reader = suite.screen_reader()
        game = suite.start(suite.config("flood"), reader.env)
        frame = reader.frame(game)
        address = os.environ["AT_SPI_BUS_ADDRESS"]
        name = name_of(address, game.process.pid)
        paths = [frame.path] + [c.path for c in frame] + [c.path for c in item(frame, "panel")]

        def rss():
            with open("/proc/%d/status" % game.process.pid) as status:
                return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))
        before = rss()
        readers = threading.Thread(target=flood, args=(address, name, paths, 10000))
        readers.start()
        game.click(cell_centre(0, 0))
        game.wait_for(lambda: "computer" in sum(game.cells(), []), "the answer in the flood", 10)
        readers.join()
        raw, sent = flood(address, name, paths, 10000, read=False)
        game.click(cell_centre(2, 2) if game.cells()[2][2] == "empty" else cell_centre(0, 2))
        game.wait_for(lambda: sum(game.cells(), []).count("computer") == 2,
                      "the answer while a client reads nothing", 10)
        raw.close()
        time.sleep(1)
        grown = rss() - before
        check(grown < 10 * 1024, "the flood left the program %d KiB larger" % grown)
        check(len(call(address, name, frame.path, "GetChildren")[0]) == len(list(frame)),
              "the bridge answers after the flood (%d calls never read)" % sent)
        check(game.close() == 0 and not game.errors, "closed with %r" % game.errors)

    def screen_reader_bus_missing_or_gone():
        # No session bus, one that is not there, and one that goes away in the middle of a game.
        nowhere = "unix:path=" + os.path.join(suite.temp, "no-bus")
        for name, bus in (("none", {"DBUS_SESSION_BUS_ADDRESS": None, "XDG_RUNTIME_DIR": None}),
                          ("nowhere", {"DBUS_SESSION_BUS_ADDRESS": nowhere}), ("killed", None)):
            if not bus:
                killed = session(suite.display.env, os.path.join(suite.temp, "killed-run"))
                bus = killed.env
            game = suite.start(suite.config("bus-" + name), bus)
            # No portal there: the normal look.
            time.sleep(0.3)
            check(suite.same_as_reference(game.shot(), "board"), name + ": not the normal look")
            if name == "killed":
                a11y = call(bus["DBUS_SESSION_BUS_ADDRESS"], "org.a11y.Bus", "/org/a11y/bus",
                            "GetAddress")[0]
                game.wait_for(lambda: call(a11y, "org.a11y.atspi.Registry",
                                           "/org/a11y/atspi/accessible/root", "GetChildren")[0],
                              "the program to join the accessibility bus")
                killed.close()
            game.click(cell_centre(0, 0))
            game.wait_for(lambda: "computer" in sum(game.cells(), []), name + ": the answer")
            check(game.close() == 0 and game.saved_lines()[0] == "0", name + ": not saved")
            check(len(game.errors.splitlines()) == (name == "killed"),
                  "%s: said %r" % (name, game.errors))

    def high_contrast_from_the_portal():
        # Dark on white, light on black once the desktop prefers dark, the normal look again:
        # the game and the screen shown kept throughout.
        bus = session(suite.display.env, os.path.join(suite.temp, "portal-run"))
        settings = portal(bus.env, 1, 0)
        try:
            game = suite.start(suite.config("portal"), bus.env)
            shows = lambda at, colour, what: game.wait_for(
                lambda: game.shot().getpixel(at) == colour, what)
            shows((200, 350), (255, 255, 255), "dark on white")
            game.click(cell_centre(0, 0))
            settings.set("color-scheme", 1)
            shows((200, 350), (0, 0, 0), "light on black")
            game.shot(suite.shot_path("high-contrast-portal-board"))
            game.click(SETTINGS)
            game.hover((195, 300))
            shows((5, 300), (0, 0, 0), "the settings screen, light on black")
            settings.set("contrast", 0)
            game.wait_for(lambda: suite.same_as_reference(game.shot(), "settings"),
                          "the normal look")
            game.click(PLAY)
            check(game.cells()[0][0] == "player", "the game was lost on the way")
            check(game.close() == 0 and game.errors == "", "said %r" % game.errors)
        finally:
            settings.kill()
            bus.close()

    def native_on_wayland():
        # weston's desktop in this tier's Xvfb; the program is given no X display.
        weston = Weston(suite.display, os.path.join(suite.temp, "wayland"))
        try:
            config = suite.config("wayland", ["0", "0", "0", "120", "300", "0", "1"])
            reader = suite.screen_reader()
            game = WaylandGame(weston, suite.args.program, config, suite.reference("board"),
                               reader.env)
            suite.games.append(game)
            weston.shot().save(suite.shot_path("wayland-desktop"))
            # Read by a screen reader, in window coordinates; a cell played through its action.
            corner = item(reader.frame(game), "push button", "top left, empty")
            box = corner.queryComponent().getExtents(reader.atspi.WINDOW_COORDS)
            check((box.x, box.y, box.width, box.height) == cell_box(0, 0),
                  "on Wayland the top left is at %r" % box)
            corner.queryAction().doAction(0)
            game.wait_for(lambda: game.cells()[0][0] == "player", "the ring its action played")
            game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's answer")
            game.key("n")
            game.wait_for(lambda: game.cells() == [["empty"] * 3] * 3, "N to start a new game")
            game.click(cell_centre(1, 1))
            game.wait_for(lambda: game.cells()[1][1] == "player", "the ring in the cell clicked")
            game.wait_for(lambda: "computer" in sum(game.cells(), []), "the computer's answer")
            game.key("n")
            game.wait_for(lambda: game.cells() == [["empty"] * 3] * 3, "N to start a new game")
            # T and the pin keep their state where Wayland has no opacity and no stacking.
            game.click(T_BUTTON)
            game.click(PIN)
            game.wait_for(lambda: game.shows_picture(game.shot(), "letterTTicked", 345, 1, 20, 20)
                          and game.shows_picture(game.shot(), "pinUpright", 365, 1, 20, 20),
                          "T and the pin in their second state")
            game.shot(suite.shot_path("wayland-flags"))
            # Asleep on the compositor's connection.
            time.sleep(0.3)
            before = game.switches()
            time.sleep(2)
            check(game.switches() - before < 3, "the idle program woke on Wayland")
            # The place Wayland never tells is saved as it was read.
            game.process.send_signal(signal.SIGTERM)
            _, errors = game.process.communicate(timeout=5)
            check(game.process.returncode == 0 and not errors,
                  "SIGTERM: exit %d (%s)" % (game.process.returncode, errors.strip()))
            check(game.saved_lines() == ["0", "1", "1", "120", "300", "0", "1", ""],
                  "SIGTERM: saved settings are %r" % game.saved_lines())

            # Without the 3D library a Wayland window's pixels come through, no window at all:
            # one line says so, and there is no game without a window.
            env = dict(weston.env, XDG_CONFIG_HOME=suite.config("no-pixels"),
                       SDL_VIDEO_EGL_DRIVER="/nonexistent")
            result = run(suite.args.program, env=env)
            check(result.returncode == 1 and len(result.stderr.splitlines()) == 1 and
                  "window" in result.stderr,
                  "no pixels: exit %d, %r" % (result.returncode, result.stderr))

            # The compositor goes away: the choices are saved, and the program ends with 1.
            game = WaylandGame(weston, suite.args.program, suite.config("compositor-lost"),
                               suite.reference("board"))
            suite.games.append(game)
            game.click(T_BUTTON)
            game.wait_for(lambda: game.shows_picture(game.shot(), "letterTTicked", 345, 1, 20, 20),
                          "T in its second state")
            weston.close()
            _, errors = game.process.communicate(timeout=5)
            check(game.process.returncode == 1 and "lost the connection to the display" in errors,
                  "compositor lost: exit %d, %r" % (game.process.returncode, errors))
            check(game.saved_lines()[:3] == ["0", "0", "1"],
                  "compositor lost: saved settings are %r" % game.saved_lines())
        finally:
            weston.close()

        # At the compositor's scale of 2 the frame has twice the pixels each way, drawn anew.
        display = Display("1024x1024")
        weston = Weston(display, os.path.join(suite.temp, "wayland-2"), 2, (480, 480))
        try:
            game = WaylandGame(weston, suite.args.program, suite.config("wayland-2"),
                               suite.reference("board-x2"))
            suite.games.append(game)
            game.shot(suite.shot_path("wayland-board-x2"))
            game.click(cell_centre(2, 1))
            game.wait_for(lambda: game.shows_picture(game.shot(), "ring", *cell_box(2, 1), scale=2),
                          "the ring in the cell clicked")
        finally:
            weston.close()
            display.close()

    return [first_start, whole_game_by_clicks, settings_choices_then_restart,
            crafted_settings_file, broken_settings_files, folder_that_cannot_be_created,
            file_size_limit_at_close, session_end_keeps_the_choices,
            help_opens_the_page_or_says_why_not, twice_the_scale, zoom_in_out_and_reset,
            bad_environments,
            keys_by_place_on_any_layout, idle_sleeps_until_an_event, command_line,
            read_by_a_screen_reader, flooded_by_a_client_of_the_bridge,
            screen_reader_bus_missing_or_gone, high_contrast_from_the_portal, native_on_wayland]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", default="e2e")
    parser.add_argument("--reference")
    parser.add_argument("--board", required=True)
    args = parser.parse_args()
    read_board(args.board)

    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "import",
                                 "setxkbmap", "weston", "dbus-run-session",
                                 "/usr/libexec/at-spi-bus-launcher")
               if not shutil.which(tool)]
    # Found, not imported: pyatspi joins a bus when imported.
    missing += [package for module, package in (("PIL", "python3-pil"),
                                                ("pyatspi", "python3-pyatspi"))
                if not importlib.util.find_spec(module)]
    if missing:
        print("skipped: missing " + ", ".join(missing))
        return SKIP

    suite = Suite(args)
    try:
        suite.run(scenarios(suite))
    finally:
        status = suite.finish()
    return status


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(main())
