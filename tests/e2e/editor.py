"""The main window as a user meets it: where its controls are and what they show.

Positions are client pixels of the window layout (below the menu bar); the toolbar's
buttons are found on the screen, since their spacing is the style's.
"""

from xsession import VALUE_COLOURS, WHITE, E2EFailure, colour_name, wait_until

SURFACE = (70, 67)  # Image1
SWATCH_LEFT = (4 + 12, 34 + 12)  # centres of Col and ColRight
SWATCH_RIGHT = (33 + 12, 34 + 12)
PALETTE = {  # value -> centre of its 17 x 17 button
    4: (4 + 8, 68 + 8),
    3: (20 + 8, 68 + 8),
    2: (36 + 8, 68 + 8),
    1: (4 + 8, 84 + 8),
    0: (20 + 8, 84 + 8),
}
TOOLS = {  # centres of the 23 x 22 tool buttons
    "pen": (3 + 11, 108 + 11),
    "bucket": (27 + 11, 108 + 11),
    "pipe": (3 + 11, 132 + 11),
    "change": (27 + 11, 132 + 11),
    "box": (3 + 11, 156 + 11),
}
GRID = (0xC0, 0xDC, 0xC0)
NAME_FIELD = (113 + 60, 36 + 10)
# Left to right, separators left out.
TOOLBAR = ("new", "open", "open_bmp", "save", "save_to_end", "undo", "clipboard_panel",
           "align", "cpp", "asm1", "asm2", "asm4", "asm8", "set_size", "clear", "grids",
           "border", "exit")
QUICK_ROWS = (2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 50, 70)


class MainWindow:
    def __init__(self, session):
        self.s = session
        self.win = session.main
        self.pixel_size = 10
        self._toolbar = None

    # -- coordinates -----------------------------------------------------------------

    def screen(self, cx, cy):
        """Screen position of a client position (below the menu bar)."""
        return self.win.x + cx, self.win.y + self.s.menu_height + cy

    def cell_centre(self, x, y):
        ps = self.pixel_size
        return self.screen(SURFACE[0] + (x - 1) * ps + ps // 2,
                           SURFACE[1] + (y - 1) * ps + ps // 2)

    def click_client(self, cx, cy, button=1):
        self.s.click(*self.screen(cx, cy), button=button)
        self.s.park_pointer()

    # -- keyboard --------------------------------------------------------------------

    def key(self, *keys):
        self.win.key(*keys)

    # -- toolbar ---------------------------------------------------------------------

    def toolbar_buttons(self):
        """Finds the 18 toolbar buttons by their icons on the screen: runs of columns that
        differ from the toolbar's background; the narrow runs are separators."""
        if self._toolbar is None:
            found = []

            def probe():
                found[:] = self._find_toolbar_buttons()
                return len(found) == len(TOOLBAR)
            try:
                wait_until("the toolbar", probe)
            except E2EFailure:
                raise E2EFailure(f"found {len(found)} toolbar buttons, expected "
                                 f"{len(TOOLBAR)}: {found}") from None
            self._toolbar = {name: ((a + b) // 2, 14) for name, (a, b) in zip(TOOLBAR, found)}
        return self._toolbar

    def _find_toolbar_buttons(self):
        shot = self.s.screenshot()
        x0, y0 = self.screen(0, 0)
        background = shot.pixel(x0 + 1, y0 + 2)
        runs, start = [], None
        for cx in range(0, 742):
            marked = any(shot.pixel(x0 + cx, y0 + cy) != background for cy in range(7, 22))
            if marked and start is None:
                start = cx
            if not marked and start is not None:
                runs.append((start, cx - 1))
                start = None
        # A pressed button's frame can stand apart from its icon by a column or two.
        merged = []
        for r in (r for r in runs if r[1] - r[0] >= 7):
            if merged and r[0] - merged[-1][1] <= 3:
                merged[-1] = (merged[-1][0], r[1])
            else:
                merged.append(r)
        return merged

    def toolbar(self, name):
        self.click_client(*self.toolbar_buttons()[name])

    # -- left column -----------------------------------------------------------------

    def palette(self, value, button=1):
        self.click_client(*PALETTE[value], button=button)

    def tool(self, name):
        self.click_client(*TOOLS[name])

    def quick_size(self, value, width):
        if value in (92, 96):
            top = 455
        else:
            top = 211 + 16 * QUICK_ROWS.index(value)
        self.click_client(4 + 13 if width else 36 + 13, top + 8)

    def set_name(self, text):
        # Ctrl+A is a menu shortcut of the window (Save), so select with the keys.
        self.click_client(*NAME_FIELD)
        self.key("End", "shift+Home", "BackSpace")
        if text:
            self.win.type(text)

    # -- surface ---------------------------------------------------------------------

    def press(self, x, y, button=1):
        self.s.move(*self.cell_centre(x, y))
        self.s.xdotool("mousedown", str(button))
        self.s.xdotool("mouseup", str(button))
        self.s.park_pointer()

    def drag(self, cells, button=1, paints=None):
        """Presses on the first cell, moves through the others and releases on the last.
        With paints (a pixel value or a colour), waits after each move until the cell shows
        it, so that no move is merged into the next."""
        self.s.move(*self.cell_centre(*cells[0]))
        self.s.xdotool("mousedown", str(button))
        try:
            if paints is not None:
                self.expect_cells({cells[0]: paints})
            for cell in cells[1:]:
                self.s.move(*self.cell_centre(*cell))
                if paints is not None:
                    self.expect_cells({cell: paints})
        finally:
            self.s.xdotool("mouseup", str(button))
        self.s.park_pointer()

    def cell_colour(self, shot, x, y):
        return shot.pixel(*self.cell_centre(x, y))

    def expect_cells(self, expected, timeout=10):
        """expected maps (x, y) cells to a colour or a pixel value; waits until every cell
        shows it."""
        want = {c: VALUE_COLOURS[v] if isinstance(v, int) else v for c, v in expected.items()}
        self._expect_pixels("cells", {c: self.cell_centre(*c) for c in want}, want, timeout)

    def expect_picture(self, rows, timeout=10):
        """rows: strings of pixel values, row 1 first, e.g. ["034", "123"]; '.' is the
        white beyond the picture."""
        expected = {}
        for y, row in enumerate(rows, start=1):
            for x, ch in enumerate(row, start=1):
                expected[(x, y)] = WHITE if ch == "." else VALUE_COLOURS[int(ch)]
        self.expect_cells(expected, timeout)

    def expect_swatches(self, left=None, right=None, timeout=10):
        want, where = {}, {}
        for name, value, centre in (("left", left, SWATCH_LEFT), ("right", right, SWATCH_RIGHT)):
            if value is not None:
                want[name] = VALUE_COLOURS[value]
                where[name] = self.screen(*centre)
        self._expect_pixels("swatches", where, want, timeout)

    def _expect_pixels(self, what, where, want, timeout):
        wrong = {}

        def probe():
            self.s.check_alive()
            shot = self.s.screenshot()
            wrong.clear()
            for key, pos in where.items():
                seen = shot.pixel(*pos)
                if seen != want[key]:
                    wrong[key] = seen
            return not wrong
        try:
            wait_until(what, probe, timeout=timeout)
        except E2EFailure:
            detail = ", ".join(f"{k}: {colour_name(v)} instead of {colour_name(want[k])}"
                               for k, v in sorted(wrong.items()))
            raise E2EFailure(f"{what} wrong: {detail}") from None

    # -- pictures --------------------------------------------------------------------

    def draw_picture(self, rows):
        """Sets the size with Set Size and draws rows of pixel values (transparent cells
        are left as they are) with the pen and the left button."""
        self.set_size(len(rows[0]), len(rows))
        self.key("F2")
        for value in (0, 1, 2, 3):
            cells = [(x, y) for y, row in enumerate(rows, start=1)
                     for x, ch in enumerate(row, start=1) if ch == str(value)]
            if not cells:
                continue
            self.palette(value)
            self.expect_swatches(left=value)
            for cell in cells:
                self.press(*cell)
                self.expect_cells({cell: value})
        self.expect_picture(rows)

    def set_size(self, width, height):
        self.key("ctrl+alt+s")
        dialog = self.s.wait_window("Set Size")
        # The height field has the focus and its text is selected; Tab selects the width's.
        dialog.type(str(height))
        dialog.key("Tab")
        dialog.type(str(width))
        dialog.key("Return")
        self.s.wait_window_gone(dialog)

    def wait_picture_size(self, width, height):
        """The picture's closing grid lines stand at its right and bottom edges, and beyond
        them the surface is white."""
        ps = self.pixel_size
        right, bottom = SURFACE[0] + width * ps, SURFACE[1] + height * ps
        where = {
            "right grid line": self.screen(right, SURFACE[1] + ps // 2),
            "right of the picture": self.screen(right + ps // 2, SURFACE[1] + ps // 2),
            "bottom grid line": self.screen(SURFACE[0] + ps // 2, bottom),
            "below the picture": self.screen(SURFACE[0] + ps // 2, bottom + ps // 2),
        }
        want = {"right grid line": GRID, "right of the picture": WHITE,
                "bottom grid line": GRID, "below the picture": WHITE}
        self._expect_pixels(f"edges of a {width} x {height} picture", where, want, 10)
