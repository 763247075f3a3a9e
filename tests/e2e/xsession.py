"""A private X server with the editor running in it, driven from outside like a user would.

Everything goes through the X server: xdotool moves the pointer, presses buttons and keys,
ImageMagick's `import` takes screenshots, xclip reads the clipboard. Nothing looks inside
the program. There is no window manager, so windows have no frames and the geometry that
xdotool reports is the client area itself.

Every wait polls with a deadline; every process started here is ended here, by its pid.
"""

import os
import re
import select
import shutil
import subprocess
import time

MAIN_CAPTION = "Vexlan Tarn Stippleworkshop"
CLIENT_WIDTH = 742
CLIENT_HEIGHT = 600
SCREEN = (1280, 1024)

# Display colours of the five pixel values.
BLACK = (0x00, 0x00, 0x00)
GRAY66 = (0x80, 0x80, 0x80)
GRAY33 = (0xC0, 0xC0, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)
TEAL = (0x00, 0x80, 0x80)
VALUE_COLOURS = {0: BLACK, 1: GRAY66, 2: GRAY33, 3: WHITE, 4: TEAL}

LSAN_SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir,
                                 "lsan.supp")
REQUIRED_TOOLS = ("Xvfb", "xdotool", "xclip", "import")


class E2EFailure(AssertionError):
    pass


class ProgramEnded(E2EFailure):
    """The program is gone: no wait can succeed any more."""


def missing_tools():
    return [t for t in REQUIRED_TOOLS if shutil.which(t) is None]


def wait_until(what, probe, timeout=10.0, interval=0.05):
    """Calls probe() until it returns something other than None/False; fails after
    timeout seconds saying what was awaited and what probe last saw."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            result = probe()
        except ProgramEnded:
            raise
        except E2EFailure as e:
            result, last = None, str(e)
        if result:
            return result
        if time.monotonic() >= deadline:
            raise E2EFailure(f"timed out after {timeout:.0f} s waiting for {what}"
                             + (f" (last seen: {last})" if last else ""))
        time.sleep(interval)


class Screenshot:
    def __init__(self, ppm):
        fields, pos = [], 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos)
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise E2EFailure(f"unexpected screenshot format {fields}")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise E2EFailure(f"pixel ({x}, {y}) is off the screen")
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def colour_name(rgb):
    for value, colour in VALUE_COLOURS.items():
        if colour == rgb:
            return ["black", "66% gray", "33% gray", "white", "teal"][value]
    return "#%02x%02x%02x" % rgb


class Window:
    """A top-level window found by its caption; x, y is its client area's top-left."""

    def __init__(self, session, wid):
        self.session = session
        self.wid = wid
        self.refresh()

    def refresh(self):
        out = self.session.xdotool("getwindowgeometry", "--shell", self.wid)
        geo = dict(line.split("=", 1) for line in out.split() if "=" in line)
        self.x, self.y = int(geo["X"]), int(geo["Y"])
        self.width, self.height = int(geo["WIDTH"]), int(geo["HEIGHT"])
        return self

    def screen(self, cx, cy):
        return self.x + cx, self.y + cy

    def click(self, cx, cy, button=1):
        self.session.click(*self.screen(cx, cy), button=button)

    def focus(self):
        self.session.xdotool("windowfocus", "--sync", self.wid)

    def key(self, *keys):
        self.focus()
        self.session.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.focus()
        self.session.xdotool("type", "--delay", "15", text)

    def move_to(self, x, y):
        self.session.xdotool("windowmove", "--sync", self.wid, str(x), str(y))
        self.refresh()

    def visible(self):
        return self.wid in self.session.visible_windows()


class XSession:
    """One Xvfb with one run of the program in it."""

    def __init__(self, binary, work_dir, name):
        self.binary = binary
        self.work_dir = work_dir
        self.name = name
        self.xvfb = None
        self.app = None
        self.display = None
        self.app_log = os.path.join(work_dir, f"{name}.app.log")
        os.makedirs(work_dir, exist_ok=True)

    # -- processes -------------------------------------------------------------------

    def start(self):
        self._start_xvfb()
        home = os.path.join(self.work_dir, f"{self.name}.home")
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(os.path.join(home, "runtime"), mode=0o700)
        env = dict(os.environ)
        env.update({
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
            # Qt's file dialog keeps its history in the user's settings: keep it per run.
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, "config"),
            "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
            "QT_ACCESSIBILITY": "0",
            "NO_AT_BRIDGE": "1",
        })
        env.pop("SESSION_MANAGER", None)
        # A sanitized build reports leaks at exit; the system libraries' own are known.
        env.setdefault("LSAN_OPTIONS", f"suppressions={LSAN_SUPPRESSIONS}:print_suppressions=0")
        with open(self.app_log, "wb") as log:
            self.app = subprocess.Popen([self.binary], env=env, stdin=subprocess.DEVNULL,
                                        stdout=log, stderr=subprocess.STDOUT,
                                        cwd=self.work_dir)
        self.main = self.wait_window(MAIN_CAPTION, timeout=30)
        if self.main.width != CLIENT_WIDTH:
            raise E2EFailure(f"main window is {self.main.width} wide, expected {CLIENT_WIDTH}")
        # The main window holds the menu bar above its 742 x 600 client area.
        self.menu_height = self.main.height - CLIENT_HEIGHT
        if not 10 <= self.menu_height <= 60:
            raise E2EFailure(f"implausible menu bar height {self.menu_height}")
        return self

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                 f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
            os.close(write_fd)
            write_fd = None
            number = b""
            deadline = time.monotonic() + 15
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_fd], [], [], left)[0]:
                    raise E2EFailure("Xvfb did not report its display number")
                chunk = os.read(read_fd, 16)
                if not chunk:
                    raise E2EFailure("Xvfb ended before reporting its display number")
                number += chunk
            self.display = ":" + number.decode().strip()
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

    def app_exit_code(self):
        return self.app.poll() if self.app else None

    def wait_app_exit(self, timeout=20):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EFailure(f"the program did not end within {timeout} s") from None

    def stop(self):
        for proc in (self.app, self.xvfb):
            if proc is None or proc.poll() is not None:
                continue
            proc.terminate()
            try:
                proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(timeout=10)

    def app_output(self):
        try:
            with open(self.app_log, "r", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    # -- X tools ---------------------------------------------------------------------

    def _env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def run_tool(self, *args, timeout=15, check=True, stdin=None):
        try:
            proc = subprocess.run(list(args), env=self._env(), capture_output=True,
                                  timeout=timeout, input=stdin)
        except subprocess.TimeoutExpired:
            raise E2EFailure(f"{' '.join(args)} did not finish within {timeout} s") from None
        if check and proc.returncode != 0:
            raise E2EFailure(f"{' '.join(args)} failed: {proc.stderr.decode(errors='replace')}")
        return proc

    def xdotool(self, *args):
        return self.run_tool("xdotool", *args).stdout.decode()

    def visible_windows(self):
        proc = self.run_tool("xdotool", "search", "--onlyvisible", "--name", ".", check=False)
        return proc.stdout.decode().split()

    def find_windows(self, caption):
        pattern = "^" + re.escape(caption) + "$"
        proc = self.run_tool("xdotool", "search", "--onlyvisible", "--name", pattern,
                             check=False)
        return proc.stdout.decode().split()

    def wait_window(self, caption, timeout=10):
        def probe():
            self.check_alive()
            ids = self.find_windows(caption)
            if not ids:
                return None
            w = Window(self, ids[-1])
            return w if w.width > 1 and w.height > 1 else None
        return wait_until(f'a window "{caption}"', probe, timeout=timeout)

    def wait_window_gone(self, window, timeout=10):
        wait_until(f"window {window.wid} to close",
                   lambda: self.check_alive() or not window.visible(), timeout=timeout)

    def check_alive(self):
        code = self.app_exit_code()
        if code is not None:
            raise ProgramEnded(f"the program ended (exit code {code}):\n"
                               f"{self.app_output()[-3000:]}")

    def screenshot(self):
        proc = self.run_tool("import", "-window", "root", "-depth", "8", "ppm:-")
        return Screenshot(proc.stdout)

    def save_screenshot(self, path):
        self.run_tool("import", "-window", "root", path, check=False)

    def clipboard(self):
        proc = self.run_tool("xclip", "-o", "-selection", "clipboard", check=False, timeout=10)
        return proc.stdout if proc.returncode == 0 else None

    def wait_clipboard(self, expected, timeout=10):
        seen = []

        def probe():
            seen[:] = [self.clipboard()]
            return seen[0] == expected
        try:
            wait_until("the clipboard text", probe, timeout=timeout)
        except E2EFailure:
            raise E2EFailure(f"clipboard holds {seen[0]!r}, expected {expected!r}") from None

    # -- pointer ---------------------------------------------------------------------

    def move(self, x, y):
        self.xdotool("mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", str(button))

    def park_pointer(self):
        """Out of every window, so that no tooltip or hover stays up."""
        self.move(SCREEN[0] - 2, SCREEN[1] - 2)
