#!/usr/bin/env python3
"""The computer's answer to a move, with and without a client flooding the bridge for screen
readers with calls (10,000 of them, sent as fast as the accessibility bus takes them): the
program in Xvfb with a D-Bus session of its own, driven as the Linux end-to-end test drives it,
whose pieces it uses. Prints one JSON line for bench/run.py: {"quiet": [s], "flooded": [s]}.

    bench/flood.py <vok-tictactoe> <board-cells.inc> [ROUNDS]
"""

import json
import os
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "linux"))
import e2e  # noqa: E402  (the end-to-end test's display, session, game and flood)


def answer(game):
    """Seconds from a click in the first cell to the computer's answer shown."""
    clicked = time.monotonic()
    game.click(e2e.cell_centre(0, 0))
    game.wait_for(lambda: "computer" in sum(game.cells(), []), "the answer", 60)
    return time.monotonic() - clicked


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    program, rounds = sys.argv[1], int(sys.argv[3]) if len(sys.argv) == 4 else 5
    e2e.read_board(sys.argv[2])
    folder = tempfile.mkdtemp(prefix="vok-flood-")
    display = e2e.Display()
    reader = e2e.ScreenReader(display, os.path.join(folder, "run"))
    figures = {"quiet": [], "flooded": []}
    try:
        for n in range(rounds):
            for kind in figures:
                config = os.path.join(folder, "%s-%d" % (kind, n))
                os.makedirs(config)
                game = e2e.Game(display, program, config, reader.env)
                try:
                    frame = reader.frame(game)
                    if kind == "flooded":
                        address = os.environ["AT_SPI_BUS_ADDRESS"]
                        name = e2e.name_of(address, game.process.pid)
                        paths = [frame.path] + [c.path for c in frame]
                        flood = threading.Thread(target=e2e.flood,
                                                 args=(address, name, paths, 10000))
                        flood.start()
                        figures[kind].append(answer(game))
                        flood.join()
                    else:
                        figures[kind].append(answer(game))
                finally:
                    game.kill()
    finally:
        reader.close()
        display.close()
    print(json.dumps(figures))


if __name__ == "__main__":
    main()
