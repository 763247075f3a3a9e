#!/usr/bin/env python3
"""Makes docs/screenshot.png: the main window in a private X server, with a sprite drawn
into it cell by cell with the pen, as a user would.

    python3 docs/make_screenshot.py build/release/stippleworkshop
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, os.pardir, "tests", "e2e"))

from editor import MainWindow  # noqa: E402
from xsession import XSession  # noqa: E402

# The blob of the program's icon, as pixel values; '4' stays transparent.
SPRITE = [
    "44444000044444",
    "44400322200444",
    "44033332212044",
    "44033322221044",
    "40320232201104",
    "40220222101104",
    "40222221211104",
    "40121212111104",
    "40112111111104",
    "44000000000044",
    "44411111111444",
]
PIXEL_SIZE = 25
STEP_UP_PIXEL_SIZE = (605 + 8, 33 + 8)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    work = os.path.join(HERE, os.pardir, "build", "screenshot")
    session = XSession(os.path.abspath(sys.argv[1]), os.path.abspath(work), "screenshot")
    try:
        session.start()
        ui = MainWindow(session)
        ui.set_size(len(SPRITE[0]), len(SPRITE))
        for _ in range(PIXEL_SIZE - ui.pixel_size):
            ui.click_client(*STEP_UP_PIXEL_SIZE)
        ui.pixel_size = PIXEL_SIZE
        ui.wait_picture_size(len(SPRITE[0]), len(SPRITE))
        for value in (0, 1, 2, 3):
            ui.palette(value)
            ui.expect_swatches(left=value)
            for y, row in enumerate(SPRITE, start=1):
                for x, ch in enumerate(row, start=1):
                    if ch == str(value):
                        ui.press(x, y)
                        ui.expect_cells({(x, y): value})
        ui.palette(2)
        ui.palette(1, button=3)
        ui.expect_picture(SPRITE)
        ui.expect_swatches(left=2, right=1)
        win = ui.win
        out = os.path.join(HERE, "screenshot.png")
        session.run_tool("import", "-window", "root", "-crop",
                         f"{win.width}x{win.height}+{win.x}+{win.y}", "+repage", out)
        print(out)
    finally:
        session.stop()


if __name__ == "__main__":
    main()
