#!/usr/bin/env python3
"""End-to-end tests: the real program in its own X server, driven with the mouse and the
keyboard, checked by what a user can see or get (screen pixels, the clipboard, saved files).

    run_e2e.py --binary build/asan/stippleworkshop [--work-dir DIR] [SCENARIO ...]

Without scenario names every scenario runs. Each one starts its own Xvfb and its own run
of the program and ends both. A failed scenario leaves SCENARIO-failure.png and the
program's output in the work folder. Exit code 77 means the X tools are missing.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import time
import traceback

# Keeps the source tree free of __pycache__ folders.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from editor import MainWindow  # noqa: E402
from xsession import (VALUE_COLOURS, WHITE, E2EFailure, Window, XSession,  # noqa: E402
                      missing_tools, wait_until)

MAIN_CAPTION = "Vexlan Tarn Stippleworkshop"

DEFAULT_WORK_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                os.pardir, os.pardir, "build", "e2e-results"))
CRLF = b"\r\n"

# The 3 x 2 picture used throughout: row 1 black, white, transparent; row 2 66 % gray,
# 33 % gray, white.
EXAMPLE = ["034", "123"]
ASM8_CLIP = (b"/* format 8 bits per pixel */\r\nName: \r\n.byte 3,2  /* Image size*/\r\n"
             b".byte 0,3,4\r\n.byte 1,2,3\r\n")
CPP_CLIP = b"/*Created by VexlanImageMaker */\r\nName[3][2]={\r\n{0,3,4}\r\n{1,2,3}\r\n}"
ASM8_FILE = (b"/*Created by VexlanImageMaker */\r\nName:\r\n.byte 3,2  /* Image size*/\r\n"
             b".byte 0,3,4\r\n.byte 1,2,3\r\n")


def packed(bits, data_line, name=b"Name"):
    comment = {1: b"/* format 1 bit per pixel */", 2: b"/* format 2 bits per pixel */",
               4: b"/* format 4 bits per pixel */"}[bits]
    return (comment + CRLF + name + b": " + CRLF + b".byte 3,2  /* Image size*/" + CRLF
            + data_line + CRLF)


def wait_file(path, expected, timeout=10):
    seen = [None]

    def probe():
        try:
            with open(path, "rb") as f:
                seen[0] = f.read()
        except OSError:
            seen[0] = None
        return seen[0] == expected
    try:
        wait_until(f"the bytes of {path}", probe, timeout=timeout)
    except E2EFailure:
        raise E2EFailure(f"{path} holds {seen[0]!r}, expected {expected!r}") from None


def answer_file_dialog(session, caption, path, timeout=15):
    """Types a whole path into the name field of Qt's own file dialog and presses Enter.
    The name field's completer may take an Enter; then Enter goes again. Where the dialog
    asks before it replaces a file that exists (a second window of its caption), the answer
    is Yes. Returns whether it asked."""
    dialog = session.wait_window(caption)
    dialog.key("ctrl+a")
    dialog.type(path)
    dialog.key("Return")
    deadline = time.monotonic() + timeout
    next_enter = time.monotonic() + 3
    asked = False
    while dialog.visible():
        session.check_alive()
        now = time.monotonic()
        if now >= deadline:
            raise E2EFailure(f'the dialog "{caption}" did not take {path}')
        question = [w for w in session.find_windows(caption) if w != dialog.wid]
        if question:
            if not asked:
                Window(session, question[-1]).key("alt+y")
            asked = True
            time.sleep(0.2)
            continue
        if now >= next_enter:
            try:
                dialog.key("Return")
            except E2EFailure:
                pass  # closed in the meantime
            next_enter = now + 3
        time.sleep(0.05)
    return asked


def exit_program(session, ui):
    """Exit from the toolbar: the program must end by itself and cleanly, which under the
    sanitizers also means no memory error and no leak. With changes not yet written it
    first asks; Cancel keeps it running, Discard lets it end."""
    before = set(session.find_windows(MAIN_CAPTION))
    ui.toolbar("exit")
    deadline = time.monotonic() + 5
    while session.app_exit_code() is None and time.monotonic() < deadline:
        question = [w for w in session.find_windows(MAIN_CAPTION) if w not in before]
        if question:
            Window(session, question[-1]).key("Escape")  # Cancel
            time.sleep(0.5)
            session.check_alive()
            ui.toolbar("exit")
            again = wait_until("the question before closing, again", lambda: [
                w for w in session.find_windows(MAIN_CAPTION) if w not in before], timeout=5)
            Window(session, again[-1]).key("alt+d")  # Discard
            break
        time.sleep(0.05)
    code = session.wait_app_exit()
    if code != 0:
        raise E2EFailure(f"the program ended with exit code {code}:\n"
                         f"{session.app_output()[-3000:]}")


# -- scenarios ---------------------------------------------------------------------------


def scenario_draw_and_undo(s, ui, tmp):
    # Start state: a transparent picture, left swatch black, right swatch transparent.
    ui.expect_swatches(left=0, right=4)
    ui.expect_cells({(1, 1): 4, (65, 49): 4})  # the last cells in sight beside the scroll bars

    ui.press(2, 2)
    ui.expect_cells({(2, 2): 0, (1, 1): 4, (3, 2): 4})
    ui.drag([(2, 5), (3, 5), (4, 5)], paints=0)

    # A right press on a palette button changes only the right colour.
    ui.palette(3, button=3)
    ui.expect_swatches(left=0, right=3)
    ui.drag([(3, 3), (4, 3), (5, 3), (6, 3)], button=3, paints=3)
    ui.expect_cells({(2, 2): 0, (2, 5): 0, (4, 5): 0, (7, 3): 4, (3, 4): 4})

    # Each stroke is one undo step.
    ui.key("ctrl+z")
    ui.expect_cells({(3, 3): 4, (6, 3): 4, (2, 5): 0, (2, 2): 0})
    ui.key("ctrl+z")
    ui.expect_cells({(2, 5): 4, (3, 5): 4, (4, 5): 4, (2, 2): 0})
    ui.key("ctrl+z")
    ui.expect_cells({(2, 2): 4})
    exit_program(s, ui)


def scenario_bucket_pipe_change_colour(s, ui, tmp):
    # A picture 96 x 5 split by a black column 3.
    ui.quick_size(5, width=False)
    ui.expect_cells({(1, 5): 4, (1, 6): WHITE, (20, 6): WHITE})
    ui.drag([(3, y) for y in range(1, 6)], paints=0)

    ui.palette(2)
    ui.key("F3")
    ui.press(1, 1)
    ui.expect_cells({(1, 1): 2, (2, 5): 2, (3, 3): 0, (4, 1): 4, (40, 5): 4})
    ui.palette(1, button=3)
    ui.expect_swatches(left=2, right=1)
    ui.press(10, 2, button=3)
    ui.expect_cells({(4, 1): 1, (40, 5): 1, (1, 1): 2, (3, 3): 0})

    # Pipe: picks colours into the swatches, the picture stays.
    ui.key("F4")
    ui.press(3, 3, button=3)
    ui.expect_swatches(left=2, right=0)
    ui.press(10, 1)
    ui.expect_swatches(left=1, right=0)
    ui.expect_cells({(10, 1): 1, (3, 3): 0, (1, 1): 2})

    # Change colour: every cell of the pressed value, connected or not.
    ui.key("F5")
    ui.palette(3)
    ui.expect_swatches(left=3)
    ui.press(1, 1)
    ui.expect_cells({(1, 1): 3, (2, 5): 3, (3, 3): 0, (4, 1): 1})
    ui.palette(4, button=3)
    ui.expect_swatches(right=4)
    ui.press(40, 4, button=3)
    ui.expect_cells({(4, 1): 4, (40, 5): 4, (1, 1): 3, (3, 3): 0})

    ui.key("ctrl+z")
    ui.expect_cells({(4, 1): 1, (40, 5): 1, (1, 1): 3})
    ui.key("ctrl+z")
    ui.expect_cells({(1, 1): 2, (2, 5): 2, (4, 1): 1})
    exit_program(s, ui)


def scenario_set_size(s, ui, tmp):
    ui.set_size(7, 5)
    ui.wait_picture_size(7, 5)

    # Refused: the dialog answers "Incorrect Parameters" in a box captioned "Message" and
    # stays open with what was typed.
    ui.key("ctrl+alt+s")
    dialog = s.wait_window("Set Size")
    dialog.type("93")
    dialog.key("Return")
    message = s.wait_window("Message")
    message.key("Return")
    s.wait_window_gone(message)
    if not dialog.visible():
        raise E2EFailure("the Set Size dialog closed after a refused input")
    dialog.key("ctrl+a")
    dialog.type("5")
    dialog.key("Tab")
    dialog.type("1")
    dialog.key("Return")
    message = s.wait_window("Message")
    message.key("Return")
    s.wait_window_gone(message)
    # Cancel leaves the picture as it was.
    dialog.key("Escape")
    s.wait_window_gone(dialog)
    ui.wait_picture_size(7, 5)

    # Set Size is one undo step; the cells keep their values.
    ui.key("ctrl+z")
    ui.expect_cells({(8, 1): 4, (1, 6): 4, (30, 30): 4})
    exit_program(s, ui)


def scenario_toolbar_exports(s, ui, tmp):
    ui.draw_picture(EXAMPLE)
    ui.wait_picture_size(3, 2)
    ui.toolbar("asm8")
    s.wait_clipboard(ASM8_CLIP)
    ui.toolbar("cpp")
    s.wait_clipboard(CPP_CLIP)
    ui.toolbar("asm1")
    s.wait_clipboard(packed(1, b".byte 54"))
    ui.toolbar("asm2")
    s.wait_clipboard(packed(2, b".byte 124,14"))
    ui.toolbar("asm4")
    s.wait_clipboard(packed(4, b".byte 48,20,50"))

    # Aligned up to byte: only the packed formats change.
    ui.toolbar("align")
    ui.toolbar("asm1")
    s.wait_clipboard(packed(1, b".byte 6,6"))
    ui.toolbar("asm2")
    s.wait_clipboard(packed(2, b".byte 60,57"))
    ui.toolbar("asm4")
    s.wait_clipboard(packed(4, b".byte 48,4,33,3"))
    ui.toolbar("asm8")
    s.wait_clipboard(ASM8_CLIP)
    ui.toolbar("align")
    ui.toolbar("asm2")
    s.wait_clipboard(packed(2, b".byte 124,14"))

    # The Move to ClipBoard panel, moved beside the main window, with its own options.
    ui.toolbar("clipboard_panel")
    panel = s.wait_window("Move to ClipBoard...")
    panel.move_to(ui.win.x + ui.win.width + 20, ui.win.y)
    panel.click(141 + 12, 16 + 13)  # BitBtn1: "ASM 8bpp format" is chosen at start
    s.wait_clipboard(ASM8_CLIP)
    panel.click(3 + 5 + 8, 3 + 17 + 8)  # "C++ array format"
    panel.click(141 + 12, 16 + 13)
    s.wait_clipboard(CPP_CLIP)
    panel.click(3 + 5 + 8, 3 + 17 + 17 * 3 + 8)  # "ASM 4bpp format"
    panel.click(6 + 7, 112 + 8)  # "align up to byte"
    panel.click(141 + 12, 16 + 13)
    s.wait_clipboard(packed(4, b".byte 48,4,33,3"))
    # The toolbar keeps its own, unaligned option.
    ui.toolbar("asm4")
    s.wait_clipboard(packed(4, b".byte 48,20,50"))
    exit_program(s, ui)


def scenario_save_and_save_to_end(s, ui, tmp):
    ui.draw_picture(EXAMPLE)
    new_file = os.path.join(tmp, "sprite.s")
    appended = os.path.join(tmp, "sprites.s")

    ui.key("ctrl+a")
    answer_file_dialog(s, "Save As", new_file)
    wait_file(new_file, ASM8_FILE)

    # Save to end twice: the second block starts right after the first.
    ui.key("ctrl+e")
    answer_file_dialog(s, "Save As", appended)
    wait_file(appended, ASM8_FILE)
    ui.toolbar("save_to_end")
    answer_file_dialog(s, "Save As", appended)
    wait_file(appended, ASM8_FILE * 2)

    # Save onto an existing file replaces it; the name goes in as typed.
    ui.set_name("hero sprite")
    ui.key("ctrl+a")
    answer_file_dialog(s, "Save As", appended)
    wait_file(appended, ASM8_FILE.replace(b"Name:", b"hero sprite:"))
    wait_file(new_file, ASM8_FILE)
    exit_program(s, ui)


def picture_file_bytes(name, rows):
    """A picture file as written: little-endian fields, then every 0x0A stored as 0D 0A."""
    cells = [int(ch) for row in rows for ch in row]
    raw = (struct.pack("<ii", 1, len(name)) + name + struct.pack("<ii", len(rows[0]), len(rows))
           + struct.pack(f"<{len(cells)}i", *cells))
    return raw.replace(b"\n", b"\r\n")


def scenario_picture_file(s, ui, tmp):
    rows = ["034", "120"]
    ui.draw_picture(rows)
    ui.set_name("Ab")
    path = os.path.join(tmp, "ab.stw")
    ui.key("ctrl+s")
    answer_file_dialog(s, "Save As", path)
    expected = picture_file_bytes(b"Ab", rows)
    if len(expected) != 42:
        raise E2EFailure("the expected picture file is not 42 bytes")
    wait_file(path, expected)

    # A name of ten characters: its length field holds a 0x0A and grows by one byte.
    ui.set_name("Ten chars!")
    long_name = os.path.join(tmp, "ten.stw")
    ui.toolbar("save")
    answer_file_dialog(s, "Save As", long_name)
    wait_file(long_name, picture_file_bytes(b"Ten chars!", rows))

    # New Picture with the size unchanged clears to the right colour.
    ui.key("ctrl+n")
    dialog = s.wait_window("Set Size")
    dialog.key("Return")
    s.wait_window_gone(dialog)
    ui.expect_picture(["444", "444"])
    ui.set_name("Zz")

    ui.key("ctrl+o")
    answer_file_dialog(s, "Open", path)
    ui.expect_picture(rows)
    ui.wait_picture_size(3, 2)
    ui.toolbar("asm8")
    s.wait_clipboard(b"/* format 8 bits per pixel */\r\nAb: \r\n.byte 3,2  /* Image size*/\r\n"
                     b".byte 0,3,4\r\n.byte 1,2,0\r\n")
    exit_program(s, ui)


# The Select tool panel's buttons, centres in its client area.
SELECT_MODE, PASTE_MODE = (8 + 11, 16 + 11), (40 + 11, 16 + 11)
SAVE_SELECT, CLEAR_SELECT, CUT_OFF = (8 + 11, 56 + 11), (40 + 11, 56 + 11), (72 + 11, 56 + 11)
ROTATE_LEFT, ROTATE_RIGHT = (8 + 11, 96 + 11), (40 + 11, 96 + 11)
# The Move to ClipBoard panel's.
CLIP_PICTURE, CLIP_BOX, CLIP_CPP = (141 + 12, 16 + 13), (141 + 12, 52 + 13), (3 + 5 + 8, 3 + 17 + 8)


def scenario_box_select(s, ui, tmp):
    ui.draw_picture(EXAMPLE)
    ui.set_size(8, 5)
    ui.expect_picture(["03444444", "12344444", "44444444", "44444444", "44444444"])

    ui.tool("box")
    select_panel = s.wait_window("Select tool panel")
    select_panel.move_to(ui.win.x + ui.win.width + 20, ui.win.y + 200)
    ui.toolbar("clipboard_panel")
    clip_panel = s.wait_window("Move to ClipBoard...")
    clip_panel.move_to(ui.win.x + ui.win.width + 20, ui.win.y)
    clip_panel.click(*CLIP_CPP)

    # Capture the 3 x 2 box: its export is the picture's own text.
    ui.drag([(1, 1), (2, 2), (3, 2)])
    clip_panel.click(*CLIP_BOX)
    s.wait_clipboard(CPP_CLIP)

    # A quarter turn clockwise: 2 columns by 3 rows.
    select_panel.click(*ROTATE_RIGHT)
    clip_panel.click(*CLIP_BOX)
    s.wait_clipboard(b"/*Created by VexlanImageMaker */\r\nName[2][3]={\r\n"
                     b"{1,0}\r\n{2,3}\r\n{3,4}\r\n}")

    # Paste: the transparent cell lets the picture show through.
    select_panel.click(*PASTE_MODE)
    ui.press(5, 2)
    ui.expect_picture(["03444444", "12341044", "44442344", "44443444", "44444444"])
    ui.press(7, 4)  # cut off at the bottom edge
    ui.expect_picture(["03444444", "12341044", "44442344", "44443410", "44444423"])
    ui.key("ctrl+z")
    ui.expect_picture(["03444444", "12341044", "44442344", "44443444", "44444444"])

    # Cut off select: the picture becomes the turned box.
    select_panel.click(*CUT_OFF)
    ui.wait_picture_size(2, 3)
    ui.expect_picture(["10", "23", "34"])
    ui.toolbar("asm8")
    s.wait_clipboard(b"/* format 8 bits per pixel */\r\nName: \r\n.byte 2,3  /* Image size*/\r\n"
                     b".byte 1,0\r\n.byte 2,3\r\n.byte 3,4\r\n")
    ui.key("ctrl+z")
    ui.wait_picture_size(8, 5)

    # Save select, under a name typed into the Save Select box.
    select_panel.click(*ROTATE_LEFT)
    select_panel.click(*SAVE_SELECT)
    box = s.wait_window("Save Select...")
    box.type("box")
    box.key("Return")
    s.wait_window_gone(box)
    path = os.path.join(tmp, "box.stw")
    answer_file_dialog(s, "Save As", path)
    wait_file(path, picture_file_bytes(b"box", EXAMPLE))

    # Another tool hides the panel.
    ui.key("F2")
    s.wait_window_gone(select_panel)
    exit_program(s, ui)


def bitmap_file(rows):
    """A 24-bit Windows bitmap, rows of (r, g, b) from the top."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    pixels = b""
    for row in reversed(rows):  # stored bottom-up
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def scenario_bitmap_import(s, ui, tmp):
    # Intensity (r + g + b) div 3; at the start step of 64 it is cut at 64, 128 and 192.
    rows = [[(0, 0, 0), (255, 255, 255), (255, 0, 0), (191, 191, 192), (100, 100, 100)],
            [(128, 128, 128), (64, 64, 64), (63, 63, 63), (200, 200, 200), (255, 255, 255)],
            [(10, 200, 250), (30, 30, 30), (130, 130, 120), (250, 250, 250), (0, 0, 255)]]
    at_64 = ["03121", "21033", "20131"]
    at_max = ["01000", "00011", "00010"]  # any step from 192 up
    path = os.path.join(tmp, "sprite.bmp")
    with open(path, "wb") as f:
        f.write(bitmap_file(rows))

    ui.toolbar("open_bmp")
    window = s.wait_window("Bitmap Image Open Dialog")
    window.click(336 + 37, 232 + 12)  # "Open BMP"
    answer_file_dialog(s, "Open", path)

    def expect_preview(levels):
        where, want = {}, {}
        for y, row in enumerate(levels, start=1):
            for x, ch in enumerate(row, start=1):
                for dx, dy in ((0, 0), (1, 1)):
                    where[(x, y, dx)] = window.screen(328 + 2 * (x - 1) + dx, 24 + 2 * (y - 1) + dy)
                    want[(x, y, dx)] = VALUE_COLOURS[int(ch)]
        ui._expect_pixels("preview", where, want, 10)

    expect_preview(at_64)
    # A middle click puts the slider where it lands: at the bottom, the largest step.
    window.click(8 + 8, 24 + 225 - 18, button=2)
    expect_preview(at_max)
    window.click(504 + 37, 232 + 12)  # "OK"
    s.wait_window_gone(window)
    ui.wait_picture_size(5, 3)
    ui.expect_picture(at_max)
    ui.toolbar("asm8")
    s.wait_clipboard(b"/* format 8 bits per pixel */\r\nName: \r\n.byte 5,3  /* Image size*/\r\n"
                     b".byte 0,1,0,0,0\r\n.byte 0,0,0,1,1\r\n.byte 0,0,0,1,0\r\n")
    exit_program(s, ui)


def scenario_export_window(s, ui, tmp):
    """The Export window follows the pen, and its command line gives what it copies."""
    ui.draw_picture(EXAMPLE)
    ui.key("ctrl+shift+e")
    window = s.wait_window("Export")
    window.move_to(ui.win.x + ui.win.width + 20, ui.win.y)
    for label, item in (("alt+f", "GNU"), ("alt+t", "gameboy"), ("alt+b", "hex")):
        window.key(label)
        window.type(item)
    picture = os.path.join(tmp, "example.stw")
    stipple = os.path.join(os.path.dirname(os.path.abspath(s.binary)), "stipple")

    def command_output(rows):
        with open(picture, "wb") as f:
            f.write(picture_file_bytes(b"Name", rows))
        def copied():
            window.key("alt+m", "ctrl+a", "ctrl+c")
            seen = s.clipboard()
            return seen is not None and seen.startswith(b"stipple export ")
        wait_until("the command line", copied)
        words = s.clipboard().decode().split(" ")
        if words[-1] != "PICTURE.stw":
            raise E2EFailure(f"the command line ends in {words[-1]}")
        done = subprocess.run([stipple, *words[1:-1], picture], capture_output=True, check=True)
        return done.stdout

    want = command_output(EXAMPLE)
    if b"depth 2 levels 3,2,1,0,0 order msb scan tiles" not in want:
        raise E2EFailure(f"the command line does not name the gameboy layout: {want!r}")
    def copy_gives(text):
        window.key("alt+c")
        return s.clipboard() == text
    wait_until("the copied text", lambda: copy_gives(want))
    # One press of the pen and the text follows: cell (2, 1) white becomes black.
    ui.palette(0)
    ui.press(2, 1)
    ui.expect_cells({(2, 1): 0})
    want = command_output(["004", "123"])
    wait_until("the copied text after the press", lambda: copy_gives(want))
    window.key("Escape")
    s.wait_window_gone(window)
    exit_program(s, ui)


def scenario_frames_window(s, ui, tmp):
    """Two frames drawn, the first under the second as onion skin, played in the window."""
    ui.win.move_to(0, ui.win.y)
    ui.press(1, 1)
    ui.key("ctrl+shift+f")
    frames = s.wait_window("Frames")
    frames.move_to(ui.win.width + 10, ui.win.y)
    frames.key("alt+n")  # a blank second frame becomes current
    ui.expect_cells({(1, 1): 4})
    ui.press(2, 2)
    frames.key("alt+o")
    ui.expect_cells({(1, 1): (0x00, 0x55, 0x55), (2, 2): 0, (3, 3): 4})
    s.save_screenshot(os.path.join(tmp, "onion.png"))

    # Playing changes what the player shows, never the frame on the surface.
    frames.key("alt+p")
    seen = set()

    def player_changes():
        shot = s.screenshot()
        seen.add(bytes(b for y in range(frames.height // 2, frames.height, 4)
                       for x in range(0, min(frames.width, 1280 - frames.x), 4)
                       for b in shot.pixel(frames.x + x, frames.y + y)))
        return len(seen) >= 2
    wait_until("the player to show another frame", player_changes)
    s.save_screenshot(os.path.join(tmp, "playing.png"))
    frames.key("alt+s")
    ui.expect_cells({(2, 2): 0, (1, 1): (0x00, 0x55, 0x55)})
    frames.key("ctrl+Prior")
    ui.expect_cells({(1, 1): 0, (2, 2): 4})
    frames.key("Escape")
    s.wait_window_gone(frames)
    exit_program(s, ui)


SCENARIOS = {
    "draw_and_undo": scenario_draw_and_undo,
    "bucket_pipe_change_colour": scenario_bucket_pipe_change_colour,
    "set_size": scenario_set_size,
    "toolbar_exports": scenario_toolbar_exports,
    "save_and_save_to_end": scenario_save_and_save_to_end,
    "picture_file": scenario_picture_file,
    "box_select": scenario_box_select,
    "bitmap_import": scenario_bitmap_import,
    "export_window": scenario_export_window,
    "frames_window": scenario_frames_window,
}


def run_scenario(name, binary, work_dir):
    tmp = os.path.join(work_dir, f"{name}.files")
    shutil.rmtree(tmp, ignore_errors=True)
    os.makedirs(tmp)
    failure_shot = os.path.join(work_dir, f"{name}-failure.png")
    if os.path.exists(failure_shot):
        os.remove(failure_shot)
    session = XSession(binary, work_dir, name)
    started = time.monotonic()
    try:
        session.start()
        SCENARIOS[name](session, MainWindow(session), tmp)
        print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
        return True
    except Exception:  # noqa: BLE001 - every failure is reported the same way
        print(f"FAIL {name} ({time.monotonic() - started:.1f} s)", flush=True)
        traceback.print_exc()
        if session.display:
            session.save_screenshot(failure_shot)
            print(f"screenshot: {failure_shot}")
        output = session.app_output()
        if output:
            print(f"program output:\n{output[-4000:]}")
        return False
    finally:
        session.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", help="the stippleworkshop program to drive")
    parser.add_argument("--work-dir", default=DEFAULT_WORK_DIR,
                        help="where screenshots, logs and saved files go (default: %(default)s)")
    parser.add_argument("--list", action="store_true", help="print the scenario names")
    parser.add_argument("scenarios", nargs="*", help="scenarios to run (default: all)")
    args = parser.parse_args()
    if args.list:
        print(";".join(SCENARIOS))
        return 0
    if not args.binary:
        parser.error("--binary is required")
    unknown = [n for n in args.scenarios if n not in SCENARIOS]
    if unknown:
        parser.error(f"unknown scenario(s): {', '.join(unknown)}")
    missing = missing_tools()
    if missing:
        print(f"skipped: missing {', '.join(missing)} (scripts/install-deps.sh installs them)")
        return 77
    binary = os.path.abspath(args.binary)
    work_dir = os.path.abspath(args.work_dir)
    os.makedirs(work_dir, exist_ok=True)
    passed = failed = 0
    for name in args.scenarios or list(SCENARIOS):
        if run_scenario(name, binary, work_dir):
            passed += 1
        else:
            failed += 1
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
