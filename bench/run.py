#!/usr/bin/env python3
"""Measures the Linux program and the page, and prints each figure beside what it is measured
against.

    bench/run.py <build folder of the bench preset> [<build folder of the web preset>]

Times are medians of several runs taken side by side in one go, since a shared machine is noisy;
instruction counts come from callgrind and repeat exactly.
"""

import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time


def program(build, name):
    for path in (os.path.join(build, "bench", name), os.path.join(build, name)):
        if os.path.exists(path):
            return path
    sys.exit(f"bench: {name} is not built in {build}")


def row(what, figure, against, goal, met):
    print(f"  {what:<34} {figure:<22} {against:<34} goal {goal:<10} {'met' if met else 'MISSED'}")


# ---- repaint against the floor ----------------------------------------------------------------

def repaints(build):
    out = subprocess.run(
        [program(build, "repaint_bench"), "--benchmark_format=json",
         "--benchmark_repetitions=9", "--benchmark_enable_random_interleaving=true",
         "--benchmark_min_time=0.1"],
        check=True, capture_output=True, text=True).stdout
    times = {}
    for run in json.loads(out)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            times[run["run_name"]] = run["real_time"]  # microseconds
    for scale, named in (("", ""), ("At2", " at twice the scale")):
        for screen in ("Board", "Settings"):
            repaint = times[f"{screen}Repaint{scale}"]
            # At twice the scale both screens are measured against the one floor.
            floor = times[f"BoardFloor{scale}"] if scale else times[f"{screen}Floor"]
            ratio = repaint / floor
            row(f"Repaint, {screen.lower()} screen{named}", f"{repaint:.1f} us",
                f"floor {floor:.1f} us: x{ratio:.2f}", "<= x2", ratio <= 2)
    # What screen readers cost: a Tab key and a frame, each described once and compared as both
    # desktop bridges compare it, against the board's own repaint.
    tab, frame, repaint = times["TabKey"], times["FrameDescribed"], times["BoardRepaint"]
    worse = max(tab, frame) / repaint
    row("Tab key, frame: described, compared", f"{tab:.1f} us, {frame:.1f} us",
        f"repaint {repaint:.1f} us: x{worse:.2f}", "<= x0.25", worse <= 0.25)
    # High contrast against its own floor: the frame filled with the palette's background.
    for scale, named in (("", ""), ("At2", " at twice the scale")):
        for screen in ("Board", "Settings"):
            repaint = times[f"HighContrast{screen}Repaint{scale}"]
            floor = times[f"HighContrastFloor{scale}"]
            ratio = repaint / floor
            row(f"High contrast, {screen.lower()}{named}", f"{repaint:.1f} us",
                f"floor {floor:.1f} us: x{ratio:.2f}", "<= x2", ratio <= 2)


# ---- idle tick in instructions ----------------------------------------------------------------

def idleTick(build, screen, ticks=10000):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}",
                        "--toggle-collect=idleTicks", program(build, "idle_tick"), screen,
                        str(ticks)], check=True, capture_output=True)
        with open(out) as profile:
            total = int(re.search(r"^totals:\s+(\d+)", profile.read(), re.M).group(1))
    perTick = total / ticks
    row(f"Idle timer tick, {screen} screen", f"{perTick:.0f} instructions",
        "callgrind, 10,000 ticks", "<= 2,000", perTick <= 2000)


# ---- the program in a virtual display ---------------------------------------------------------

class Xvfb:
    def __enter__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as answer:
            self.display = ":" + answer.readline().strip()
        return self

    def __exit__(self, *_):
        self.server.terminate()
        self.server.wait()


def environment(display, probe, config, frameFile, exitAfterFirst):
    env = dict(os.environ, DISPLAY=display, LD_PRELOAD=probe, XDG_CONFIG_HOME=config,
               VOK_FIRST_FRAME_FILE=frameFile)
    env.pop("WAYLAND_DISPLAY", None)
    if exitAfterFirst:
        env["VOK_EXIT_AFTER_FIRST_FRAME"] = "1"
    else:
        env.pop("VOK_EXIT_AFTER_FIRST_FRAME", None)
    return env


def waitForFile(path, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if os.path.exists(path) and os.path.getsize(path) > 0:
            return True
        time.sleep(0.01)
    return False


def contextSwitches(pid):
    """Every time any of the process's threads gave up or lost the processor: its wake-ups."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as status:
            total += sum(int(n) for n in re.findall(r"ctxt_switches:\s+(\d+)", status.read()))
    return total


def cpuNanoseconds(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
            total += int(stat.read().split()[0])
    return total


def startUp(path, display, probe, config):
    """Seconds from starting the process to its first frame, and its peak memory in KiB."""
    frameFile = os.path.join(config, "first-frame")
    if os.path.exists(frameFile):
        os.remove(frameFile)
    env = environment(display, probe, config, frameFile, True)
    started = time.monotonic()
    child = subprocess.Popen([path], env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = status
    with open(frameFile) as shown:
        first = float(shown.read())
    return first - started, usage.ru_maxrss


def inDisplay(build):
    game, minimal = program(build, "vok-tictactoe"), program(build, "minimal_window")
    probe = program(build, "libfirst_frame_probe.so")
    with Xvfb() as x, tempfile.TemporaryDirectory() as config:
        # Start-up and memory, the two programs in turn.
        samples = {game: [], minimal: []}
        for _ in range(7):
            for path in (game, minimal):
                samples[path].append(startUp(path, x.display, probe, config))
        gameTime = statistics.median(s[0] for s in samples[game])
        minimalTime = statistics.median(s[0] for s in samples[minimal])
        gameMemory = statistics.median(s[1] for s in samples[game])
        minimalMemory = statistics.median(s[1] for s in samples[minimal])
        ratio = gameTime / minimalTime
        row("Start to first frame", f"{gameTime * 1000:.0f} ms",
            f"minimal SDL2 {minimalTime * 1000:.0f} ms: x{ratio:.2f}", "<= x1.5", ratio <= 1.5)
        ratio = gameMemory / minimalMemory
        row("Peak memory to first frame", f"{gameMemory / 1024:.1f} MiB",
            f"minimal SDL2 {minimalMemory / 1024:.1f} MiB: x{ratio:.2f}", "<= x1.5",
            ratio <= 1.5)

        # Idle: the program waits for the player for ten seconds.
        frameFile = os.path.join(config, "first-frame")
        os.remove(frameFile)
        child = subprocess.Popen([game], env=environment(x.display, probe, config, frameFile,
                                                         False),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            if not waitForFile(frameFile, 20):
                sys.exit("bench: the program showed no frame")
            time.sleep(1)
            before, start = cpuNanoseconds(child.pid), time.monotonic()
            switches = contextSwitches(child.pid)
            time.sleep(10)
            used, elapsed = cpuNanoseconds(child.pid) - before, time.monotonic() - start
            wakeUps = (contextSwitches(child.pid) - switches) / elapsed
            with open(f"/proc/{child.pid}/status") as status:
                peak = int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1))
        finally:
            child.send_signal(signal.SIGTERM)
            child.wait(timeout=20)
        share = 100 * used / (elapsed * 1e9)
        row("Idle CPU in Xvfb, 10 s", f"{share:.2f} % of a core", "absolute", "< 1 %",
            share < 1)
        row("Idle wake-ups in Xvfb, 10 s", f"{wakeUps:.1f} per second", "context switches",
            "< 1", wakeUps < 1)
        print(f"  {'(its peak after 11 s idle)':<34} {peak / 1024:.1f} MiB")


# ---- a move answered while the bridge for screen readers is flooded ---------------------------

def floodAnswer(build, rounds=5):
    """The computer's answer to a move with 10,000 calls of a client of the accessibility bus
    arriving meanwhile, against the same answer without them (bench/flood.py, in Xvfb)."""
    out = subprocess.run(
        ["/usr/bin/python3", os.path.join(os.path.dirname(os.path.abspath(__file__)), "flood.py"),
         program(build, "vok-tictactoe"), os.path.join(build, "tests", "board-cells.inc"),
         str(rounds)], check=True, capture_output=True, text=True).stdout
    figures = json.loads(out.splitlines()[-1])
    flooded = statistics.median(figures["flooded"])
    quiet = statistics.median(figures["quiet"])
    row("A move answered in a flood", f"{flooded * 1000:.0f} ms",
        f"without it {quiet * 1000:.0f} ms: x{flooded / quiet:.2f}", "< 10 s", flooded < 10)


# ---- the page's tasks before its first frame ---------------------------------------------------

def pageTasks(web, loads=9):
    """The page on a phone's screen with the processor slowed four times: the longest task before
    the first frame, a median over several loads, beside the time to that frame."""
    out = subprocess.run(
        ["node", os.path.join(os.path.dirname(os.path.abspath(__file__)), "page_tasks.mjs"),
         os.path.join(web, "site"), os.path.join(web, "node"), str(loads)],
        check=True, capture_output=True, text=True).stdout
    figures = json.loads(out.splitlines()[-1])
    longest = statistics.median(figures["longest"])
    first = statistics.median(figures["first"])
    row("Page at 1/4 speed: longest task", f"{longest:.0f} ms",
        f"before the first frame, at {first:.0f} ms", "<= 50 ms", longest <= 50)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    for tool in ("valgrind", "Xvfb"):
        if not shutil.which(tool):
            sys.exit(f"bench: {tool} is needed (make deps installs it)")
    print("Vok TicTacToe measurements (Release build of the Linux program)")
    repaints(build)
    idleTick(build, "board")
    idleTick(build, "settings")
    inDisplay(build)
    floodAnswer(build)
    if len(sys.argv) == 3:
        pageTasks(os.path.abspath(sys.argv[2]))


if __name__ == "__main__":
    main()
