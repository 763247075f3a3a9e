#!/usr/bin/env python3
"""End-to-end tests of stipple as a user gets it: the build is installed into a fresh
prefix and <prefix>/bin/stipple is run on files made here and on the golden files.

    run_cli_tests.py [--cmake CMAKE] BUILD_DIR SOURCE_DIR WORK_DIR GROUP

GROUP install installs the build into WORK_DIR/prefix; the groups export, import, info,
thumbnail, errors, hostile, build_example and layouts then run the tool installed there, each in a
folder WORK_DIR/GROUP of its own, so they may run side by side. The environment passes through
(the sanitizers' options among it). Exit code 77: a needed tool is missing.
"""

import argparse
import itertools
import contextlib
import gzip
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib
from dataclasses import dataclass, field
from pathlib import Path

SKIPPED = 77
CRLF = "\r\n"
FILE_HEAD = "/*Created by VexlanImageMaker */"
# (--format, golden text code); codes 3 to 5 also have an aligned text.
FORMATS = [("asm8", "code1"), ("cpp", "code2"), ("asm1", "code3"), ("asm2", "code4"),
           ("asm4", "code5"), ("file", "file")]
GOLDEN = ["example", "column", "rocket"]
# RGBA of the values 0..4 in a thumbnail; of transparent only the alpha counts.
THUMB_COLOURS = [(0, 0, 0, 255), (128, 128, 128, 255), (192, 192, 192, 255),
                 (255, 255, 255, 255), (None, None, None, 0)]


class Failed(Exception):
    """A step before the checks went wrong."""


class Skipped(Exception):
    """A tool the group needs is missing."""


# --- pictures as rows of digits, and the files made of them ---

def file_form(name, rows):
    """The text Save writes, built here so that import can be fed any picture."""
    lines = [FILE_HEAD, name + ":", f".byte {len(rows[0])},{len(rows)}  /* Image size*/"]
    return "".join(line + CRLF for line in lines + [".byte " + ",".join(r) for r in rows]).encode()


def stw_bytes(name, rows, size=None):
    """A picture file; `size` overrides the stored width and height for hostile files."""
    width, height = size or (len(rows[0]), len(rows))
    raw_name = name.encode("cp1252")
    raw = struct.pack("<ii", 1, len(raw_name)) + raw_name + struct.pack("<ii", width, height)
    raw += b"".join(struct.pack("<i", int(c)) for row in rows for c in row)
    return raw.replace(b"\n", b"\r\n")  # every 0x0A is stored after an extra 0x0D


def bmp24(rows):
    """A bottom-up 24-bit bitmap of rows of (r, g, b), top row first."""
    stride = (len(rows[0]) * 3 + 3) // 4 * 4
    data = b"".join(b"".join(bytes((b, g, r)) for r, g, b in row).ljust(stride, b"\0")
                    for row in reversed(rows))
    return (b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + struct.pack(
        "<IiiHHIIiiII", 40, len(rows[0]), len(rows), 1, 24, 0, len(data), 2835, 2835, 0, 0) + data)


def png_rgba(rows):
    """An 8-bit RGBA PNG without interlace of rows of (r, g, b, a), top row first."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]),
            len(rows), 8, 6, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def png_bomb(width, height, depth, colour, interlace, zeros):
    """A PNG header for any size, over image data of `zeros` zero bytes compressed."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body))
    packer, data = zlib.compressobj(9), b""
    for start in range(0, zeros, 1 << 20):
        data += packer.compress(bytes(min(1 << 20, zeros - start)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth,
            colour, 0, 0, interlace)) + chunk(b"IDAT", data + packer.flush()) + chunk(b"IEND", b""))


def decode_png(data):
    """(width, height, rows of RGBA tuples) of an 8-bit RGBA PNG without interlace."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Failed("no PNG signature")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if struct.unpack_from(">I", data, pos + 8 + length)[0] != zlib.crc32(kind + body):
            raise Failed(f"bad CRC in the {kind} chunk")
        header = struct.unpack(">IIBBBBB", body) if kind == b"IHDR" else header
        idat += body if kind == b"IDAT" else b""
        pos += 12 + length
    width, height, *form = header
    if form != [8, 6, 0, 0, 0]:
        raise Failed(f"not 8-bit RGBA without interlace: {header}")
    raw, stride = zlib.decompress(idat), width * 4
    previous, rows = bytearray(stride), []
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:][:stride])
        for i in range(stride):
            a, b, c = (line[i - 4], previous[i], previous[i - 4]) if i >= 4 else (0, previous[i], 0)
            p = a + b - c
            paeth = min((abs(p - a), 0, a), (abs(p - b), 1, b), (abs(p - c), 2, c))[2]
            line[i] = (line[i] + [0, a, b, (a + b) // 2, paeth][kind]) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return width, height, rows


# --- the installed tool run over a table of cases ---

@dataclass
class Case:
    label: str
    args: list
    status: int = 0
    stdin: bytes = b""
    stdout: bytes = b""
    stderr: str = ""  # the first line
    before: dict = field(default_factory=dict)  # files written first
    after: dict = field(default_factory=dict)   # files' bytes afterwards; None: absent
    user: list = field(default_factory=list)    # a prefix running the tool as someone else


class Group:
    def __init__(self, options, name):
        self.source = Path(options.source_dir)
        self.data = self.source / "tests" / "data"
        self.tmp = Path(options.work_dir).resolve() / name
        self.prefix = Path(options.work_dir).resolve() / "prefix"
        self.failures, self.cmake, self.build_dir = [], options.cmake, options.build_dir
        shutil.rmtree(self.prefix if name == "install" else self.tmp, ignore_errors=True)
        self.tmp.mkdir(parents=True, exist_ok=True)
        self.bin = self.prefix / "bin"
        self.stipple = str(self.bin / "stipple")
        if name != "install" and not os.path.exists(self.stipple):
            raise Failed(f"{self.stipple} is missing: run the group install first")

    def path(self, name, content=None):
        path = self.tmp / name
        path.parent.mkdir(parents=True, exist_ok=True)
        if content is not None:
            path.write_bytes(content)
        return str(path)

    def picture(self, name):
        """(name, rows) of a golden picture: `name=...`, then rows of digits."""
        lines = (self.data / "export" / f"{name}.picture").read_text().splitlines()
        return lines[0][len("name="):], lines[1:]

    def golden(self, picture, code, align=False):
        aligned = ".aligned" if align and code in ("code3", "code4", "code5") else ""
        return (self.data / "export" / f"{picture}.{code}{aligned}.txt").read_bytes()

    def expect(self, what, got, want):
        if got != want:
            self.failures.append(f"{what}:\n    got  {got!r:.600}\n    want {want!r:.600}")

    def tool(self, args, stdin=b"", user=()):
        """`stdin` is the bytes to feed, or a Path of the file to give as standard input."""
        with open(stdin, "rb") if isinstance(stdin, Path) else contextlib.nullcontext() as f:
            done = subprocess.run([*user, self.stipple, *args], input=None if f else stdin,
                                  stdin=f, capture_output=True, timeout=60)
        return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")

    def run_cases(self, cases):
        for case in cases:
            for path, content in case.before.items():
                Path(path).write_bytes(content)
            status, out, err = self.tool(case.args, case.stdin, case.user)
            what = f"[{case.label}] stipple {' '.join(case.args)}"
            self.expect(f"{what}: exit status (stderr {err!r})", status, case.status)
            self.expect(f"{what}: standard output", out, case.stdout)
            # A refusal is one line; a usage error is followed by the usage line.
            lines = err.splitlines() or [""]
            self.expect(f"{what}: standard error", lines[0], case.stderr)
            self.expect(f"{what}: after the message", [line[:6] for line in lines[1:2]]
                        if case.status == 2 else lines[1:], ["usage:"] if case.status == 2 else [])
            for path, content in case.after.items():
                self.expect(f"{what}: {path}",
                            Path(path).read_bytes() if os.path.exists(path) else None, content)


def run(argv, **kwargs):
    done = subprocess.run(argv, capture_output=True, text=True, timeout=120, **kwargs)
    if done.returncode != 0:
        raise Failed(f"{' '.join(map(str, argv))} failed with {done.returncode}:\n"
                     f"{done.stdout}{done.stderr}")
    return done.stdout


# --- the groups ---

def test_install(g):
    run([g.cmake, "--install", g.build_dir, "--prefix", str(g.prefix)])
    manual = g.prefix / "share" / "man" / "man1" / "stipple.1.gz"
    g.expect("the installed manual page", gzip.decompress(manual.read_bytes()),
             (g.source / "resources" / "stipple.1").read_bytes())
    status, out, _ = g.tool(["--version"])
    g.expect("stipple --version", (status, out[:8]), (0, b"stipple "))


def test_export(g):
    pictures = {n: g.picture(n) for n in GOLDEN}
    files = {n: g.path(f"{n}.stw", stw_bytes(*pictures[n])) for n in GOLDEN}
    # A full-size picture holding each golden one, the rocket in the bottom-right corner;
    # a box around one exports as that picture alone would.
    corners = {"example": (1, 1), "column": (50, 40), "rocket": (78, 80)}
    big = [[str((x * 7 + y * 3) % 5) for x in range(96)] for y in range(92)]
    for n, (left, top) in corners.items():
        for y, row in enumerate(pictures[n][1]):
            big[top - 1 + y][left - 1:left - 1 + len(row)] = row
    big_file = g.path("big.stw", stw_bytes("Big", ["".join(row) for row in big]))

    cases = []
    for n, (name, rows) in pictures.items():
        left, top = corners[n]
        right, bottom = left + len(rows[0]) - 1, top + len(rows) - 1
        for (fmt, code), align in [(f, a) for f in FORMATS for a in (False, True)]:
            options = ["--format", fmt] + ["--align"] * align
            # Dragged either way, a box takes the same cells.
            box = (right, bottom, left, top) if align else (left, top, right, bottom)
            label, want = f"{n} {fmt}{' aligned' * align}", g.golden(n, code, align)
            cases += [Case(label, options + [files[n]], stdout=want),
                      Case(f"{label}, a box", options + ["--box", ",".join(map(str, box)),
                                                         "--name", name, big_file], stdout=want)]
    texts = b"".join(g.golden(n, "code1") for n in GOLDEN)
    out, added, created = g.path("out.s"), g.path("added.s"), g.path("created.s")
    column = Path(files["column"]).read_bytes()
    cases += [
        Case("asm8 by default, one text after the other", list(files.values()), stdout=texts),
        Case("- reads standard input", [files["example"], "-", files["rocket"]],
             stdin=column, stdout=texts),
        Case("-o replaces a longer file", ["-o", out, *files.values()],
             before={out: b"an older and longer text\r\n" * 100}, after={out: texts}),
        Case("--append adds after the last byte", [files["example"], "--append", added],
             before={added: b"no line end"},
             after={added: b"no line end" + g.golden("example", "code1")}),
        Case("--append creates a missing file", ["--append=" + created, "--format=file", "-"],
             stdin=column, after={created: g.golden("column", "file")}),
    ]
    for case in cases:
        case.args.insert(0, "export")
    g.run_cases(cases)


GRAYS = [[(v, v, v) for v in (0, 63, 64, 127, 128, 191, 192, 255)],
         # intensities 63, 127, 191 (not rounded up), 85, 85, 85, 170, 2
         [(64, 64, 63), (128, 128, 127), (192, 192, 191), (255, 0, 0), (0, 255, 0),
          (0, 0, 255), (255, 255, 0), (3, 2, 2)]]
GRAY_LEVELS = {1: ["03333333", "33333332"], 64: ["00112233", "01211120"],
               100: ["00011112", "01100010"], 200: ["00000001", "00000000"]}


def test_import(g):
    cases = []
    for bitmap in sorted((g.data / "bitmaps" / "g").glob("*.bmp")):
        out = g.path(f"g/{bitmap.stem}.stw")
        levels = bitmap.with_suffix(".levels").read_text().split()
        cases.append(Case(bitmap.name, ["-o", out, str(bitmap)],
                          after={out: stw_bytes(bitmap.stem, levels)}))
    grays = g.path("in/grays.bmp", bmp24(GRAYS))
    for step, levels in GRAY_LEVELS.items():
        out = g.path(f"grays{step}.stw")
        cases.append(Case(f"--step {step}", ["--step", str(step), "-o", out, grays],
                          after={out: stw_bytes("grays", levels)}))
    # A PNG: alpha below half is transparent, the rest cut as a bitmap's pixels are.
    png = png_rgba([[(0, 0, 0, 255), (255, 255, 255, 127), (128, 128, 128, 128)],
                    [(64, 64, 64, 255), (200, 200, 200, 0), (255, 255, 255, 255)]])
    out = g.path("png.stw")
    cases.append(Case("a PNG image", ["-o", out, g.path("in/png.png", png)],
                      after={out: stw_bytes("png", ["042", "143"])}))
    cut = g.path("in/cut.png", png[:60])
    cases.append(Case("a PNG image cut off", ["-o", out, cut], status=1,
                      stderr=f'stipple import: The PNG image "{cut}" is cut off: the file ends '
                      'in the image data.',
                      after={out: stw_bytes("png", ["042", "143"])}))
    # Gray 160 lies halfway between the grays shown for 66 % and 33 % gray.
    flat = g.path("in/flat.bmp", bmp24([[(160, 160, 160)] * 4] * 4))
    for dither, levels in [("threshold", ["2222"] * 4),
                           ("ordered", ["2121", "1212", "2121", "1212"]),
                           ("floyd-steinberg", None)]:
        out = g.path(f"flat-{dither}.stw")
        want = stw_bytes("flat", levels) if levels else None
        cases.append(Case(f"--dither {dither}", ["--dither", dither, "-o", out, flat],
                          after={out: want} if want else {}))
    cases.append(Case("an unknown dither", ["--dither", "diffuse", "-o", g.path("x.stw"), flat],
                      status=2, stderr="stipple import: unknown dither diffuse (threshold, "
                      "floyd-steinberg, atkinson or ordered)"))
    out = g.path("named.stw")
    cases += [Case("a bitmap on standard input is called Name", ["-o", out, "-"],
                   stdin=bmp24(GRAYS), after={out: stw_bytes("Name", GRAY_LEVELS[64])}),
              Case("--name", ["--name", "Café", "-o", out, grays],
                   after={out: stw_bytes("Café", GRAY_LEVELS[64])})]

    # Texts back to pictures, from a file and from standard input. Width 10 is the byte
    # 0x0A, which the picture file stores after an extra 0x0D.
    pictures = {n: g.picture(n) for n in GOLDEN}
    pictures["ten"] = ("Café 10", [f"{y % 5}4{y % 3}0123401" for y in range(10)])
    texts = {(n, "file"): file_form(*pictures[n]) for n in pictures}
    texts |= {(n, "asm8"): g.golden(n, "code1") for n in GOLDEN}
    texts |= {(n, "cpp"): g.golden(n, "code2") for n in GOLDEN}
    for (n, fmt), text in texts.items():
        source, out = g.path(f"text/{n}.{fmt}.txt", text), g.path(f"text/{n}.{fmt}.stw")
        want = {out: stw_bytes(*pictures[n])}
        cases += [Case(f"{n} from the {fmt} text", ["-o", out, source], after=want),
                  Case(f"{n} from the {fmt} text on standard input", ["-o", out, "-"],
                       stdin=text, after=want)]
    for case in cases:
        case.args.insert(0, "import")
    # ... and out again as the same texts.
    cases += [Case(f"{n} {fmt} round trip",
                   ["export", "--format", fmt, g.path(f"text/{n}.{fmt}.stw")], stdout=text)
              for (n, fmt), text in texts.items()]
    # The packed texts keep only the codes, so what comes back exports to the same text.
    for n, (fmt, code), align in itertools.product(
            GOLDEN, [("asm1", "code3"), ("asm2", "code4"), ("asm4", "code5")], (False, True)):
        source = g.path(f"text/{n}.{fmt}{align}.txt", g.golden(n, code, align))
        out = g.path(f"text/{n}.{fmt}{align}.stw")
        cases += [Case(f"{n} {fmt} align {align} imported",
                       ["import", *(["--align"] if align else []), "-o", out, source]),
                  Case(f"{n} {fmt} align {align} out again",
                       ["export", "--format", fmt, *(["--align"] if align else []), out],
                       stdout=g.golden(n, code, align))]
    g.run_cases(cases)


def test_info(g):
    example = g.path("example.stw", stw_bytes("Name", ["034", "123"]))
    odd_name = 'a "quoted" \\ é\tname'
    text = (f"{example}\n  name: Name\n  size: 3 x 2\n"
            "  pixels: 1 black, 1 66 % gray, 1 33 % gray, 2 white, 1 transparent\n"
            "  #.~\n  =-.\n"
            "  legend:  # black  = 66 % gray  - 33 % gray  . white  ~ transparent\n")
    objects = [{"file": example, "name": "Name", "width": 3, "height": 2,
                "counts": {"black": 1, "gray66": 1, "gray33": 1, "white": 2, "transparent": 1},
                "rows": ["#.~", "=-."]},
               {"file": "standard input", "name": odd_name, "width": 2, "height": 2,
                "counts": {"black": 1, "gray66": 0, "gray33": 0, "white": 0, "transparent": 3},
                "rows": ["~~", "~#"]}]
    for label, args, stdin, want in [
            ("text", [example], b"", text),
            ("two pictures as text", [example, example], b"", text + "\n" + text),
            ("json, a name to escape, standard input", ["--json", example, "-"],
             stw_bytes(odd_name, ["44", "40"]), objects),
            ("json of nothing but refusals", ["--json", g.path("missing.stw")], b"", [])]:
        status, out, err = g.tool(["info", *args], stdin)
        what = f"[{label}] stipple info {' '.join(args)}"
        g.expect(f"{what}: exit status (stderr {err!r})", status, 1 if want == [] else 0)
        try:
            got = json.loads(out) if isinstance(want, list) else out.decode()
        except ValueError as error:
            got = f"not JSON ({error}): {out!r}"
        g.expect(what, got, want)


def test_thumbnail(g):
    pictures = {n: g.picture(n)[1] for n in ("example", "rocket")}
    pictures["full"] = [str(y % 5) * 96 for y in range(92)]
    # (picture, --size, the side of a cell in the image)
    for n, size, cell in [("example", None, 42), ("example", "10", 3), ("example", "2", 1),
                          ("rocket", "300", 15), ("full", None, 1), ("full", "200", 2)]:
        rows, png = pictures[n], g.path(f"{n}-{size}.png", b"an older file")
        picture = g.path(f"{n}.stw", stw_bytes("", rows))
        args = ["thumbnail"] + (["--size", size] if size else []) + [picture, png]
        status, _, err = g.tool(args)
        g.expect(f"{' '.join(args)}: exit status (stderr {err!r})", status, 0)
        try:
            width, height, pixels = decode_png(Path(png).read_bytes())
        except (Failed, zlib.error, struct.error, TypeError) as error:
            g.failures.append(f"{png}: {error}")
            continue
        g.expect(f"{png}: size", (width, height), (len(rows[0]) * cell, len(rows) * cell))
        wrong = [(x, y, pixels[y][x]) for y in range(height) for x in range(width)
                 if any(want not in (None, got) for want, got in
                        zip(THUMB_COLOURS[int(rows[y // cell][x // cell])], pixels[y][x]))]
        g.expect(f"{png}: pixels of the wrong colour", wrong[:3], [])


def test_errors(g):
    good = g.path("good.stw", stw_bytes("Name", ["034", "123"]))
    wide = g.path("wide.stw", stw_bytes("", ["0" * 97]))
    five = g.path("five.stw", stw_bytes("", ["050"]))
    short = g.path("short.stw", stw_bytes("", ["03", "12"], size=(3, 2)))
    missing, nowhere = g.path("missing.stw"), str(g.tmp / "no" / "folder" / "out.s")
    example_text = str(g.data / "export" / "example.file.txt")
    bad_bitmap = str(g.data / "bitmaps" / "b" / "badbitcount.bmp")
    kept = b"what was there before\r\n"
    out, png, stw = g.path("out.s"), g.path("out.png"), g.path("out.stw")
    before, untouched = {out: kept, stw: kept}, {out: kept, png: None, stw: kept}
    # Root writes anything, so root runs the write-protected case as nobody, who may not
    # write into a folder of root's.
    locked, user = g.path("locked/out.s", kept), []
    if os.geteuid() != 0:
        Path(locked).chmod(0o444)
    elif shutil.which("setpriv") and all(p.stat().st_mode & 1 for p in [g.tmp, *g.tmp.parents]):
        user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
    else:
        print("note: the write-protected case is left out: setpriv is missing, or user "
              "nobody cannot reach the work folder")
        locked = None

    head = [FILE_HEAD, "Name:", ".byte 3,2  /* Image size*/"]
    row = 'expected ".byte" and 3 values from 0 to 4, one row of the picture'
    refused_texts = [
        ("a value of 5", head + [".byte 0,3,4", ".byte 1,2,5"], f"line 5: {row}"),
        ("a row missing", head + [".byte 0,3,4"],
         f"line 5: {row}; the text ends after 1 of its 2 rows"),
        ("more after the last row", head + [".byte 0,3,4", ".byte 1,2,3", "", "x"],
         "line 7: expected the end of the text after the last row"),
        ("width 97", head[:2] + [".byte 97,1  /* Image size*/"], 'line 3: expected ".byte W,H  '
         '/* Image size*/" with a width of 1 to 96 and a height of 1 to 92'),
        ("a 1-bit text without its bytes", g.golden("example", "code3").decode().splitlines()[:3],
         "line 4: the text holds 0 bytes; 1 or, aligned, 2 are needed"),
        ("a C++ array short of a row", g.golden("example", "code2").decode().splitlines()[:3],
         "line 4: expected {3 values from 0 to 4}, one row of the picture")]
    cases = []
    for i, (label, lines, reason) in enumerate(refused_texts):
        text = g.path(f"text{i}.txt", "".join(line + CRLF for line in lines).encode())
        cases.append(Case(label, ["import", "-o", stw, text], 1, before=before, after=untouched,
                          stderr=f'stipple import: Could not import "{text}": {reason}.'))
    cases += [
        Case("a missing file", ["export", "-o", out, missing], 1, before=before, after=untouched,
             stderr=f'stipple export: Could not open "{missing}": No such file or directory.'),
        Case("width 97", ["info", wide], 1, stderr=f'stipple info: Could not open "{wide}": '
             'the width is 97; a picture is 1 to 96 pixels wide.'),
        Case("a pixel value of 5", ["thumbnail", five, png], 1, after=untouched,
             stderr=f'stipple thumbnail: Could not open "{five}": the pixel in column 2, row 1 '
                    'has the value 5; pixel values are 0 to 4.'),
        Case("cells missing", ["export", "--append", out, short], 1, before=before,
             after=untouched, stderr=f'stipple export: The picture file "{short}" is cut off: '
                                     'it ends after 4 of its 6 pixels.'),
        Case("not a bitmap", ["import", "-o", stw, bad_bitmap], 1, after=untouched,
             stderr=f'stipple import: Could not import "{bad_bitmap}": Bitmap image is not valid.'),
        Case("one good input, one bad", ["export", "-o", out, good, missing], 1, before=before,
             after={out: g.golden("example", "code1")},
             stderr=f'stipple export: Could not open "{missing}": No such file or directory.'),
        Case("-o, no folder", ["export", "-o", nowhere, good], 1, after={nowhere: None},
             stderr=f'stipple export: Could not save "{nowhere}": No such file or directory.'),
        Case("--append, no folder", ["export", "--append", nowhere, good], 1,
             stderr=f'stipple export: Could not add to "{nowhere}": No such file or directory.'),
        Case("a file as folder", ["import", "-o", good + "/x.stw", example_text], 1,
             stderr=f'stipple import: Could not save "{good}/x.stw": Not a directory.'),
        Case("unknown command", ["paint", good], 2, stderr="stipple: unknown command paint"),
        Case("unknown option", ["export", good, "--colour", "-o", out], 2, before=before,
             after=untouched, stderr="stipple export: unknown option --colour"),
        Case("unknown format", ["export", "--format", "asm3", "-o", out, good], 2,
             after=untouched, stderr="stipple export: unknown format asm3"),
        Case("a box outside", ["export", "--box", "1,1,4,2", "-o", out, good], 2, after=untouched,
             stderr=f'stipple export: the box 1,1,4,2 lies outside the picture "{good}" of 3 x 2'),
        Case("a value missing", ["export", good, "--format"], 2,
             stderr="stipple export: the option --format needs a value"),
        Case("step 0", ["import", "--step", "0", "-o", stw, good], 2, after=untouched,
             stderr="stipple import: the step must be a number from 1 to 200"),
    ]
    if locked:
        cases.append(Case("write-protected", ["export", "-o", locked, good], 1, user=user,
                          stderr=f'stipple export: Could not save "{locked}": Permission denied.',
                          after={locked: kept}))
    g.run_cases(cases)


def test_hostile(g):
    """Inputs that made the tool write onto its input, write texts it cannot read back, refuse
    a good bitmap or drive the terminal."""
    pic_bytes, bmp_bytes = stw_bytes("Pic", ["034", "123"]), bmp24(GRAYS)
    pic, bmp, out = g.path("pic.stw", pic_bytes), g.path("pic.bmp", bmp_bytes), g.path("o.stw")
    link, two = g.path("link"), g.path("two.stw", stw_bytes("a\nb", ["0"]))
    os.symlink(pic, link)
    block, blanks = file_form("Pic", ["034", "123"]), 200000  # 400 kB of empty lines
    late = g.path("late.txt", block + b"\r\n" * blanks + block)
    huge, cr_text = g.path("huge.txt", block + b"\r\n" * 600000), g.path("cr.txt", file_form(
        "a\rb", ["0"]))
    latin = g.path(os.fsdecode(b"caf\xe9.bmp"), bmp_bytes)
    escape = g.path("esc.stw", stw_bytes("\x1b]0;x\x07", ["3"]))
    kept = {pic: pic_bytes, bmp: bmp_bytes, out: None}

    def onto(command, output, input_):
        return (f'stipple {command}: The output "{output}" is the same file as the input '
                f'"{input_}"; nothing was written.')

    def refused(command, file, why):
        return f'stipple {command}: Could not {command} "{file}": {why}'

    line_break = "it holds a line break."
    over = f"it is {len(block) + 1200000} bytes long; a text can have at most 1048576 bytes " \
        "(1 MiB)."
    late_end = f"line {6 + blanks}: the text of another picture starts here; only the text of " \
        "one picture can be read."
    info = (f"{escape}\n  name: \\x1b]0;x\\x07\n  size: 1 x 1\n  pixels: 0 black, 0 66 % gray, "
            "0 33 % gray, 1 white, 0 transparent\n  .\n  legend:  # black  = 66 % gray  - 33 % "
            "gray  . white  ~ transparent\n").encode()
    cases = [
        Case("-o onto an input", ["export", "-o", pic, bmp, pic], 1, after=kept,
             stderr=onto("export", pic, pic)),
        Case("--append onto an input", ["export", "--append", pic, pic], 1, after=kept,
             stderr=onto("export", pic, pic)),
        Case("through a link", ["export", "-o", link, pic], 1, after=kept,
             stderr=onto("export", link, pic)),
        Case("onto standard input", ["export", "-o", pic, "-"], 1, stdin=Path(pic), after=kept,
             stderr=onto("export", pic, "standard input")),
        Case("thumbnail onto its input", ["thumbnail", pic, link], 1, after=kept,
             stderr=onto("thumbnail", link, pic)),
        Case("import onto its input", ["import", "-o", bmp, bmp], 1, after=kept,
             stderr=onto("import", bmp, bmp)),
        Case("--name with LF", ["export", "--name", "two\nlines", pic], 1, stderr=refused(
            "export", pic, f'The name "two\\nlines" cannot go into a text: {line_break}')),
        Case("a stored name with LF", ["export", "--format", "file", two], 1, stderr=refused(
            "export", two, f'The name "a\\nb" cannot go into a text: {line_break}')),
        Case("a text's name with CR", ["import", "-o", out, cr_text], 1, after=kept,
             stderr=refused("import", cr_text, 'The name "a\\rb" cannot be saved in a picture '
                                               f'file: {line_break}')),
        Case("a second picture late", ["import", "-o", out, late], 1, after=kept,
             stderr=refused("import", late, late_end)),
        Case("over the limit", ["import", "-o", out, huge], 1, after=kept,
             stderr=refused("import", huge, over)),
        Case("over the limit on standard input", ["import", "-o", out, "-"], 1, after=kept,
             stdin=Path(huge), stderr=refused("import", "standard input", "it holds more than "
                                              "1048576 bytes; a text can have at most 1048576 "
                                              "bytes (1 MiB).")),
        Case("a Japanese file name", ["import", "-o", out, g.path("日本.bmp", bmp_bytes)],
             after={out: stw_bytes("__", GRAY_LEVELS[64])}),
        Case("a file name not UTF-8", ["import", "-o", out, latin],
             after={out: stw_bytes("caf_", GRAY_LEVELS[64])}),
        Case("--name outside Windows-1252", ["import", "--name", "日本", "-o", pic, bmp], 1,
             after={pic: pic_bytes}, stderr=refused("import", bmp, 'The name "日本" cannot be saved in a '
                                        'picture file: the character "日" (U+65E5) has no place '
                                        'in Windows-1252.')),
        Case("info escapes the name", ["info", escape], stdout=info),
        Case("a missing file's name escaped", ["export", str(g.tmp / "a\n\x1b[2J")], 1,
             stderr=f'stipple export: Could not open "{g.tmp}/a\\n\\x1b[2J": No such file or '
                    'directory.'),
        Case("an option escaped", ["info", "--\x1b[2J", pic], 2,
             stderr="stipple info: unknown option --\\x1b[2J"),
    ]
    g.run_cases(cases)
    # JSON stays valid UTF-8: a byte that is not UTF-8 comes as \xe9.
    odd = g.path(os.fsdecode(b"caf\xe9.stw"), stw_bytes("\x1b\u2026\n", ["4"]))
    status, got, err = g.tool(["info", "--json", odd])
    try:
        got = [(o["file"], o["name"]) for o in json.loads(got.decode("utf-8"))]
    except (ValueError, KeyError, TypeError) as error:
        got = f"not JSON ({error}): {got!r}"
    g.expect(f"info --json {odd!r} (stderr {err!r})", (status, got),
             (0, [(f"{g.tmp}/caf\\xe9.stw", "\x1b\u2026\n")]))


def test_limits(g):
    """Image bombs, standard input past its kind's limit, invisible characters and failed
    writes to standard output."""
    out, pic = g.path("out.stw"), g.path("pic.stw", stw_bytes("Pic", ["034", "123"]))

    def too_large(file, why, kind="PNG image"):
        return f'stipple import: The {kind} "{file}" is too large to import: {why}.'

    bombs = [  # name, header fields, zero bytes of data, the refusal or None for imported
        ("gray-40000-adam7.png", (40000, 40000, 8, 0, 1), 1000,
         "it has 40000 x 40000 pixels, past the limit of 100000000 pixels"),
        ("gray1-10000-adam7.png", (10000, 10000, 1, 0, 1), 1000, "it has 10000 x 10000 pixels, "
         "interlaced, past the limit of 40000000 pixels for an interlaced image"),
        ("rgba16-4096-adam7.png", (4096, 6144, 16, 6, 1), 1000, "its 4096 x 6144 pixels need "
         "102179118 bytes inflated, past the limit of 100663296 bytes"),
        ("rgba16-wide.png", (1000000, 100, 16, 6, 0), 1000, "its 1000000 x 100 pixels need "
         "736000092 bytes inflated, past the limit of 100663296 bytes"),
        # 100 MB of rows in 100 kB: only the region's rows are inflated.
        ("gray-10000.png", (10000, 10000, 8, 0, 0), 10001 * 10000, None),
        ("gray-4000-adam7.png", (4000, 4000, 8, 0, 1), 16_007_500, None)]
    cases = []
    for name, fields, zeros, why in bombs:
        file = g.path(name, png_bomb(*fields, zeros))
        cases.append(Case(name, ["import", "-o", out, file], 1 if why else 0,
                          stderr=too_large(file, why) if why else "",
                          after={} if why else {out: stw_bytes(name[:-4], ["0" * 96] * 92)}))
    absurd = g.path("absurd.bmp", b"BM" + struct.pack("<IHHIIiiHHIIiiII", 0, 0, 0, 54, 40,
                    0x7FFFFFFF, -0x7FFFFFFF, 1, 24, 0, 0, 0, 0, 0, 0))
    cases.append(Case("absurd bitmap", ["import", "-o", out, absurd], 1, stderr=too_large(
        absurd, "it has 2147483647 x 2147483647 pixels, past the limit of 100000000 pixels",
        "bitmap")))

    # Standard input at its kind's limit and one byte past it.
    block = file_form("Pic", ["034", "123"])
    at_limit = block + b"\r\n" * ((1048576 - len(block)) // 2)
    at_limit += b"\n" * (1048576 - len(at_limit))
    over = ('stipple import: Could not import "standard input": it holds more than 1048576 '
            'bytes; a text can have at most 1048576 bytes (1 MiB).')
    already = 'is a picture file already; stipple export writes its texts.'
    cases += [
        Case("a text of 1 MiB", ["import", "-o", out, "-"], stdin=at_limit,
             after={out: stw_bytes("Pic", ["034", "123"])}),
        Case("a text past 1 MiB", ["import", "-o", out, "-"], 1, stdin=at_limit + b"\n",
             stderr=over),
        Case("a picture file", ["import", "-o", out, pic], 1, stderr=f'stipple import: "{pic}" '
             f'{already}'),
        Case("a picture file on standard input", ["import", "-o", out, "-"], 1,
             stdin=Path(pic), stderr=f'stipple import: "standard input" {already}')]

    # Every format character is shown escaped, in a message, in info and in --json.
    marks = ["\u202a", "\u202e", "\u2066", "\u2069", "\u200e", "\u200f", "\u061c", "\u200b",
             "\u200d", "\ufeff", "\u2028", "\u2029"]
    for mark in marks:
        shown = f"\\u{{{ord(mark):04X}}}"
        missing = str(g.tmp / f"a{mark}b.stw")
        cases.append(Case(f"U+{ord(mark):04X} in a message", ["export", missing], 1,
                          stderr=f'stipple export: Could not open "{g.tmp}/a{shown}b.stw": No '
                                 'such file or directory.'))
        file = g.path(f"f{mark}.stw", stw_bytes("", ["3"]))
        status, got, err = g.tool(["info", file])
        g.expect(f"info of U+{ord(mark):04X}", got.decode().splitlines()[0],
                 f"{g.tmp}/f{shown}.stw")
        status, got, err = g.tool(["info", "--json", file])
        g.expect(f"info --json of U+{ord(mark):04X}", (f"\\u{ord(mark):04x}" in got.decode(),
                 json.loads(got)[0]["file"]), (True, file))
    g.run_cases(cases)

    # A failed write to standard output: a full device, a pipe with no reader.
    reader, writer = os.pipe()
    os.close(reader)
    for label, args, stdout, want in [
            ("--help", ["--help"], "/dev/full", "stipple: Could not write to standard output: "
             "No space left on device."),
            ("export --help", ["export", "--help"], "/dev/full", "stipple export: Could not "
             "write to standard output: No space left on device."),
            ("export", ["export", pic], "/dev/full", "stipple export: Could not write to "
             "standard output: No space left on device."),
            ("export into a closed pipe", ["export", pic], writer, "stipple export: Could not "
             "write to standard output: Broken pipe.")]:
        with open(stdout, "wb") if isinstance(stdout, str) else open(os.dup(stdout), "wb") as f:
            done = subprocess.run([g.stipple, *args], stdout=f, stderr=subprocess.PIPE,
                                  timeout=60)
        g.expect(label, (done.returncode, done.stderr.decode().splitlines()), (1, [want]))
    os.close(writer)


def readme_block(readme, language):
    """A fenced block of the README's section on stipple in builds, exactly as written."""
    section = readme.split("## In a build: `stipple`\n", 1)[1].split("\n## ", 1)[0]
    return re.search(f"^```{language}\n(.*?)^```$", section, re.S | re.M).group(1)


def test_build_example(g):
    missing = [tool for tool in ("as", "objcopy", "make") if not shutil.which(tool)]
    if missing:
        raise Skipped(f"{', '.join(missing)} not found")
    readme = (g.source / "README.md").read_text()
    project = g.tmp / "proj"
    (project / "sprites").mkdir(parents=True)
    (project / "CMakeLists.txt").write_text(readme_block(readme, "cmake"))
    (project / "Makefile").write_text(readme_block(readme, "make"))
    sprites = {"ship": ["0123", "4321", "3333"], "rocket": g.picture("rocket")[1], "dot": ["4"]}
    for name, rows in sprites.items():
        text = g.path(f"{name}.txt", file_form("Stored name", rows))
        run([g.stipple, "import", "-o", str(project / "sprites" / f"{name}.stw"), text])
    env = dict(os.environ, PATH=f"{g.bin}{os.pathsep}{os.environ.get('PATH', '')}")
    run([g.cmake, "-S", str(project), "-B", str(project / "build")], env=env)
    run([g.cmake, "--build", str(project / "build")], env=env)
    run(["make", "-C", str(project)], env=env)
    for name in sprites:
        _, want, _ = g.tool(["export", "--format", "asm2", "--name", name,
                             str(project / "sprites" / f"{name}.stw")])
        # The size line and the packed bytes, as the assembler must lay them out.
        values = [int(v) for line in want.decode().split(CRLF) if line.startswith(".byte ")
                  for v in line[6:].split("  ")[0].split(",")]
        for source in (project / "build" / f"{name}.s", project / "sprites" / f"{name}.s"):
            g.expect(f"{source}", source.read_bytes() if source.exists() else None, want)
            if source.exists():
                run(["as", "-o", f"{source}.o", str(source)])
                run(["objcopy", "-O", "binary", "-j", ".text", f"{source}.o", f"{source}.bin"])
                g.expect(f"{source}: the assembled bytes",
                         list(Path(f"{source}.bin").read_bytes()), values)

# --- device layouts ---

def pack(codes, depth):
    """The codes 8 / depth to a byte, the first in the highest bits, the last byte padded."""
    n = 8 // depth
    codes = codes + [0] * (-len(codes) % n)
    return [sum(c << (8 - depth * (k + 1)) for k, c in enumerate(codes[i:i + n]))
            for i in range(0, len(codes), n)]


# The targets' options, and a layout of our own whose rows need not fill their bytes.
LAYOUTS = {**{t: ["--target", t] for t in ("gameboy", "ssd1306", "gfx-bitmap", "epaper-4gray")},
           "interleaved-rows": ["--depth", "2", "--levels", "3,2,1,0,0", "--order", "msb",
                                "--planes", "interleaved"]}


def target_bytes(target, rows):
    """The bytes each layout takes, worked out here without the tool."""
    dark = [[(1, 1, 0, 0, 0)[int(c)] for c in row] for row in rows]
    gray = [[(3, 2, 1, 0, 0)[int(c)] for c in row] for row in rows]
    w, h = len(rows[0]), len(rows)
    if target == "interleaved-rows":  # every row anew: 8 pixels give a byte per code bit
        return [pack([c >> bit & 1 for c in row[left:left + 8]], 1)[0]
                for row in gray for left in range(0, w, 8) for bit in (0, 1)]
    if target in ("gfx-bitmap", "epaper-4gray"):
        return [b for row in (dark if target == "gfx-bitmap" else gray)
                for b in pack(row, 1 if target == "gfx-bitmap" else 2)]
    if target == "ssd1306":
        return [sum(dark[y][x] << (y - top) for y in range(top, min(top + 8, h)))
                for top in range(0, h, 8) for x in range(w)]
    # gameboy: 8 x 8 tiles, per tile row the byte of the codes' low bits, then the high bits'
    return [pack([(gray[y][x] if y < h and x < w else 0) >> bit & 1
                  for x in range(left, left + 8)], 1)[0]
            for top in range(0, h, 8) for left in range(0, w, 8)
            for y in range(top, top + 8) for bit in (0, 1)]


def text_values(text):
    """The numbers of each of a text's byte lines, in any syntax and base."""
    bases = {"0x": 16, "$": 16, "0b": 2, "%": 2}
    return [[int(t[2:] if t[:2] in bases else t[1:] if t[:1] in bases else t,
                 bases.get(t[:2], bases.get(t[:1], 10)))
             for t in line.split(" ", 1)[1].replace(",", " ").split()]
            for line in text.split("\n") if line.startswith((".byte ", "db ", "    "))]


def test_layouts(g):
    files = {n: g.path(f"{n}.stw", stw_bytes(*g.picture(n))) for n in GOLDEN}
    # In hex and binary each syntax also goes through an assembler or a compiler from
    # Debian, when it is here: (the tools, the commands from source to the raw bytes).
    builders = {
        "gas": (["as", "objcopy"], lambda s, b: [["as", "-o", f"{s}.o", s],
                                                 ["objcopy", "-O", "binary", "-j", ".text",
                                                  f"{s}.o", b]]),
        "c": (["gcc", "objcopy"], lambda s, b: [["gcc", "-c", "-o", f"{s}.o", s],
                                                ["objcopy", "-O", "binary", "-j", ".rodata",
                                                 f"{s}.o", b]]),
        "ca65": (["ca65", "ld65"], lambda s, b: [["ca65", "-o", f"{s}.o", s],
                                                 ["ld65", "-t", "none", "-o", b, f"{s}.o"]]),
        "db": (["pasmo"], lambda s, b: [["pasmo", s, b]]),
    }
    for n, target in [(n, t) for n in GOLDEN for t in LAYOUTS]:
        args = ["export", *LAYOUTS[target], "--name", n, files[n]]
        status, raw, err = g.tool(args + ["--syntax", "bin"])
        g.expect(f"{n} {target}: the bytes ({err})", (status, list(raw)),
                 (0, target_bytes(target, g.picture(n)[1])))
        # What import reads back exports to the same bytes; a text keeps the name.
        rows, back = g.picture(n)[1], g.path(f"{n}-{target}-back.stw")
        for syntax in ("gas", "ca65", "db", "c", "bin"):
            source = g.path(f"{n}-{target}-in.{syntax}",
                            g.tool(args + ["--syntax", syntax, "--base", "hex"])[1])
            bin_args = [*LAYOUTS[target], "--size", f"{len(rows[0])},{len(rows)}"]
            status, _, err = g.tool(["import", *(bin_args if syntax == "bin" else []), "-o", back,
                                     source])
            info = g.tool(["info", back])[1].decode().split("\n")[1]
            g.expect(f"{n} {target} {syntax}: imported ({err})",
                     (status, g.tool(["export", *LAYOUTS[target], "--syntax", "bin", back])[1],
                      info),
                     (0, raw, f"  name: {n if syntax != 'bin' else f'{n}-{target}-in'}"))
        for syntax, base in [(s, b) for s in ("gas", "ca65", "db", "c")
                             for b in ("dec", "hex", "bin")]:
            _, text, _ = g.tool(args + ["--syntax", syntax, "--base", base, "--preview"])
            lines = [line for line in text_values(text.decode()) if line]
            g.expect(f"{n} {target} {syntax} {base}: the values, at most 16 a line",
                     ([v for line in lines for v in line], max(map(len, lines), default=0)),
                     (list(raw), min(8 if base == "bin" else 16, len(raw))))
            tools, steps = builders[syntax]
            if base != "dec" and all(map(shutil.which, tools)):
                source = g.path(f"{n}-{target}-{base}.{syntax}", text)
                for step in steps(source, f"{source}.bin"):
                    run(step)
                g.expect(f"{source}: the built bytes", Path(f"{source}.bin").read_bytes(), raw)
    g.run_cases([Case(label, ["export", *args, files["column"]], status, stdout=out, stderr=err)
                 for label, args, status, out, err in [
        ("an option after --target overrides it", ["--target", "gameboy", "--depth", "1",
         "--syntax", "bin"], 0, bytes([0x80, 0, 0x80, 0, 0, 0, 0, 0]), ""),
        # The column 3, 0, 4 at 1 bit: codes 101, then with --mask the mask 110.
        ("--mask alone", ["--depth", "1", "--mask", "--syntax", "bin"], 0, b"\x05\x03", ""),
        ("--mask no", ["--depth", "1", "--mask", "no", "--syntax", "bin"], 0, b"\x05", ""),
        ("--format with a layout", ["--format", "cpp", "--scan", "rows"], 2, b"",
         "stipple export: --format cannot be given with the layout options"),
        ("unknown target", ["--target", "nes"], 2, b"", "stipple export: unknown target nes")]])
    out = g.path("layout-import.stw")
    g.run_cases([Case(label, ["import", *args, "-o", out, files["column"]], status, stderr=err,
                      after={out: None}) for label, args, status, err in [
        ("bin of a wrong byte count", ["--depth", "1", "--size", "8,1"], 1,
         f"stipple import: Could not import \"{files['column']}\": 8 x 1 cells take 1 bytes in "
         f"this layout, not {len(Path(files['column']).read_bytes())}."),
        ("bin without --size", ["--target", "ssd1306"], 2,
         "stipple import: bin bytes need the picture's size (--size W,H)")]])


def stws_bytes(name, rate, frames):
    """A set file of (name, rows) frames."""
    raw = b"\x89STWSET\x9a" + struct.pack("<ii", 1, len(name)) + name.encode("cp1252")
    raw += struct.pack("<ii", rate, len(frames))
    for frame in frames:
        picture = stw_bytes(*frame)
        raw += struct.pack("<i", len(picture)) + picture
    return raw


def test_sets(g):
    frames = [("a", ["0123", "4444"]), ("b", ["3", "0"])]
    walk = g.path("walk.stws", stws_bytes("walk", 12, frames))
    singles = [g.path(f"{name}.stw", stw_bytes(name, rows)) for name, rows in frames]
    status, out, err = g.tool(["info", walk])
    g.expect(f"stipple info of a set ({err})", (status, out.decode()),
             (0, f"{walk}\n  set: walk\n  frame rate: 12 a second\n  frames: 2\n"
                 "  frame 1: 4 x 2 a\n  frame 2: 1 x 2 b\n"))
    # A frame exports as its picture file does; the editor's texts of all frames follow
    # one another as the frames' own texts.
    for options in (["--format", "asm2"], ["--format", "file"], ["--target", "gameboy"],
                    ["--depth", "1", "--syntax", "c", "--mask"]):
        own = [g.tool(["export", *options, single])[1] for single in singles]
        for n in (1, 2):
            got = g.tool(["export", *options, "--frame", str(n), walk])
            g.expect(f"export {options} --frame {n}", got[:2], (0, own[n - 1]))
        if options[0] == "--format":
            g.expect(f"export {options} of the set", g.tool(["export", *options, walk])[:2],
                     (0, own[0] + own[1]))
    status, out, err = g.tool(["export", "--frame", "3", walk])
    g.expect("a frame beyond the set", (status, err.splitlines()[0]),
             (2, f'stipple export: the set "{walk}" has 2 frames, not 3'))
    # The thumbnail of a set is its first frame's.
    thumbs = [g.path(f"{n}.png") for n in ("set", "first")]
    g.tool(["thumbnail", walk, thumbs[0]])
    g.tool(["thumbnail", singles[0], thumbs[1]])
    g.expect("the thumbnail of a set", Path(thumbs[0]).read_bytes(), Path(thumbs[1]).read_bytes())
    cut = g.path("walk.stws", stws_bytes("walk", 12, frames)[:-5])
    status, out, err = g.tool(["info", cut])
    g.expect("a cut-off set is refused in one line", (status, len(err.splitlines())), (1, 1))
    # A sheet and a GIF become sets; a set written to a picture file is refused.
    if shutil.which("convert"):
        sheet, gif = g.path("sheet.png"), g.path("anim.gif")
        run(["convert", "-size", "40x20", "xc:none", "-fill", "black", "-draw",
             "rectangle 0,0 9,9", "-draw", "rectangle 30,10 39,19", "PNG32:" + sheet])
        run(["convert", "-delay", "50", "-size", "4x4", "xc:black", "xc:white", gif])
        for args, status, frames in [
                (["--frames", "10,10", sheet], 0, 8), (["--frames", "10,10", "--skip-empty", sheet],
                                                       0, 2), ([gif], 0, 2)]:
            out = g.path("out.stws")
            got = g.tool(["import", "-o", out, *args])[0]
            info = g.tool(["info", out])[1].decode() if got == 0 else ""
            g.expect(f"import {args}", (got, len(re.findall(r"^  frame \d", info, re.M))),
                     (status, frames))
            if args == [gif]:
                g.expect("the GIF's delays give the rate", "frame rate: 2 a second" in info, True)
        g.expect("frames into a picture file",
                 g.tool(["import", "--frames", "10,10", "-o", g.path("x.stw"), sheet])[0], 2)
        g.expect("an animation into a picture file",
                 g.tool(["import", "-o", g.path("x.stw"), gif])[0], 1)

def rel_bytes(path):
    """The bytes of the data records of an sdcc object with one area of bytes."""
    data = bytearray()
    for line in Path(path).read_text().splitlines():
        if line.startswith("T "):
            values = [int(v, 16) for v in line.split()[1:]]
            at = values[0] | values[1] << 8 | values[2] << 16
            data[at:at + len(values) - 3] = bytes(values[3:])
    return bytes(data)


def test_targets(g):
    """Each library's text, fed to what its users feed it to, holds the bytes of bin."""
    rows = ["".join(str((x * 3 + y * 7 + x * y) % 5) for x in range(11)) for y in range(10)]
    frames = [(f"f{i}", rows[i:] + rows[:i]) for i in range(3)]
    picture = g.path("ship.stw", stw_bytes("ship", rows))
    walk = g.path("walk.stws", stws_bytes("walk", 8, frames))
    have = {tool: shutil.which(tool) is not None
            for tool in ("convert", "gcc", "avr-gcc", "avr-objcopy", "sdcc")}

    def export(*args, source=picture):
        status, out, err = g.tool(["export", *args, source])
        if status != 0:
            raise Failed(f"stipple export {' '.join(args)}: {err}")
        return out

    def built(name, text, program):
        """What a C program that includes the text writes."""
        source = g.path(f"{name}.h", text)
        main = g.path(f"{name}-main.c", f'#include <stdio.h>\n#include "{source}"\n'
                      f"int main(void) {{ {program} return 0; }}\n".encode())
        run(["gcc", "-Wall", "-Werror", "-o", f"{main}.out", main])
        return subprocess.run([f"{main}.out"], capture_output=True, check=True).stdout

    def put(array, count=None):
        return f"fwrite({array}, 1, {count or f'sizeof {array}'}, stdout);"

    # xbm: ImageMagick reads the black cells back, of a picture and of a set's first frame.
    if have["convert"]:
        for name, source, cells in [("ship", picture, rows), ("walk", walk, frames[0][1])]:
            xbm = g.path(f"{name}.xbm", export("--target", "xbm", source=source))
            shown = run(["convert", xbm, "txt:-"])
            black = {tuple(map(int, m)) for m in re.findall(r"^(\d+),(\d+): .*#000000", shown, re.M)}
            want = {(x, y) for y, row in enumerate(cells) for x, c in enumerate(row) if c in "01"}
            g.expect(f"{name}.xbm read by ImageMagick: the black cells", black, want)
    for target in ("xbm", "adafruit-gfx", "arduboy"):
        for mask in ([], ["--mask"]):
            raw = export("--target", target, *mask, "--syntax", "bin")
            text = export("--target", target, *mask)
            image = len(export("--target", target, "--syntax", "bin"))
            label = "ship_bits" if target == "xbm" else "ship"
            want = raw
            if target == "arduboy":  # the size, then each image byte with its mask byte
                pairs = zip(raw[:image], raw[image:]) if mask else [(b,) for b in raw]
                want = bytes([11, 10] + [b for pair in pairs for b in pair])
            if have["gcc"]:
                program = put(label) + (put(label.replace("ship", "ship_mask"))
                                        if mask and target != "arduboy" else "")
                g.expect(f"{target} {mask} built with gcc", built(f"{target}{len(mask)}",
                                                                  text, program), want)
            if target != "xbm" and have["avr-gcc"] and have["avr-objcopy"]:
                # Each array in a section of its own, read in the order of the text.
                source = g.path(f"avr-{target}{len(mask)}.c", text)
                run(["avr-gcc", "-mmcu=atmega328p", "-Os", "-fdata-sections", "-c", "-o",
                     f"{source}.o", source])
                flash = b""
                for array in ["ship"] + (["ship_mask"] if mask and target != "arduboy" else []):
                    run(["avr-objcopy", "-O", "binary", "-j", f".progmem.data.{array}",
                         f"{source}.o", f"{source}.{array}.bin"])
                    flash += Path(f"{source}.{array}.bin").read_bytes()
                g.expect(f"{target} {mask} in the AVR's program memory", flash, want)
    # The C syntax through sdcc for the Z80.
    if have["sdcc"]:
        for target in ("ssd1306", "gameboy"):
            source = g.path(f"z80-{target}.c", export("--target", target, "--syntax", "c"))
            run(["sdcc", "-mz80", "-c", "-o", f"{source}.rel", source])
            g.expect(f"{target} c built by sdcc", rel_bytes(f"{source}.rel"),
                     export("--target", target, "--syntax", "bin"))
    # python, in every layout, run by python3; of a set, its table walks to each frame.
    for layout in (["--target", "ssd1306"], ["--target", "gameboy", "--mask"], ["--depth", "4"]):
        for source, frame_count in ((picture, 1), (walk, 3)):
            text = g.path("sprite.py", export(*layout, "--syntax", "python", source=source))
            name = "ship" if frame_count == 1 else "walk"
            got = run([sys.executable, "-c", f"exec(open({text!r}).read()); "
                       f"import sys; sys.stdout.write({name}.hex() + ' ' + "
                       f"repr(globals().get('{name}_offsets')))"])
            data, offsets = got.split(" ", 1)
            data = bytes.fromhex(data)
            if frame_count == 1:
                g.expect(f"python {layout}", data, export(*layout, "--syntax", "bin"))
                continue
            offsets = eval(offsets)
            for n in range(frame_count):
                g.expect(f"python {layout} frame {n + 1} by its offsets",
                         data[offsets[n]:offsets[n + 1]],
                         export(*layout, "--syntax", "bin", "--frame", str(n + 1), source=walk))
    # Of a set in C for drawBitmap, the table walks to each frame's own bytes.
    if have["gcc"]:
        text = export("--target", "adafruit-gfx", source=walk)
        walked = built("walk-gfx", text, "for (int i = 0; i < WALK_FRAMES; ++i) "
                       "fwrite(walk + walk_offsets[i], 1, walk_offsets[i + 1] - walk_offsets[i], "
                       "stdout);")
        g.expect("adafruit-gfx of a set walked by its offsets", walked,
                 b"".join(export("--target", "adafruit-gfx", "--syntax", "bin", "--frame", str(n),
                                 source=walk) for n in (1, 2, 3)))


def test_fit(g):
    if not shutil.which("convert"):
        raise Skipped("ImageMagick's convert is missing")
    photo, four, five = g.path("photo.png"), g.path("four.png"), g.path("five.png")
    # 640 x 480: black left half, white right half.
    run(["convert", "-size", "320x480", "xc:black", "-size", "320x480", "xc:white", "+append",
         photo])
    # Four colours in one row of 4 (two of them reddish, so brightness alone would merge them),
    # then a fifth.
    colours = ["#000080", "#ff0000", "#ff4040", "#ffffff"]
    run(["convert", *[f"xc:{c}" for c in colours], "+append", "PNG24:" + four])
    run(["convert", *[f"xc:{c}" for c in colours + ["#00ff00"]], "+append", "PNG24:" + five])

    def imported(args, source):
        out = g.path("out.stw")
        status, _, err = g.tool(["import", *args, "-o", out, source])
        info = g.tool(["info", out])[1].decode() if status == 0 else ""
        return status, err.splitlines()[0] if err else "", info

    def size_and_counts(info):
        return re.search(r"size: (.*)", info).group(1), re.search(r"pixels: (.*)", info).group(1)

    status, err, info = imported(["--fit", "96,92"], photo)
    g.expect(f"a 640 x 480 fitted ({err})", (status, *size_and_counts(info)),
             (0, "96 x 72", "3456 black, 0 66 % gray, 0 33 % gray, 3456 white, 0 transparent"))
    status, err, info = imported(["--region", "310,0,20,5"], photo)
    g.expect(f"a region ({err})", (status, *size_and_counts(info)),
             (0, "20 x 5", "50 black, 0 66 % gray, 0 33 % gray, 50 white, 0 transparent"))
    status, err, info = imported(["--exact"], four)
    g.expect(f"exact colours ({err})", (status, *size_and_counts(info)),
             (0, "4 x 1", "1 black, 1 66 % gray, 1 33 % gray, 1 white, 0 transparent"))
    g.expect("the level of each colour", info.splitlines()[-2].strip(), "#=-.")
    g.expect("a fifth colour", imported(["--exact"], five)[:2],
             (1, f'stipple import: Could not import "{five}": it has 5 colours, more than the '
                 'four that exact colours take.'))
    # A photo with every gray: two grays leave only black and white, whatever the dither.
    ramp = g.path("ramp.png")
    run(["convert", "-size", "300x200", "gradient:black-white", ramp])
    for dither in ("threshold", "floyd-steinberg", "atkinson", "ordered"):
        status, err, info = imported(["--fit", "96,92", "--grays", "2", "--dither", dither], ramp)
        counts = size_and_counts(info)[1] if status == 0 else err
        g.expect(f"--grays 2 --dither {dither}",
                 re.search(r" 0 66 % gray, 0 33 % gray, ", counts) is not None, True)
    g.expect("a region outside the image", imported(["--region", "600,470,41,10", "--fit",
                                                     "96,92"], photo)[:2],
             (1, f'stipple import: Could not import "{photo}": the region 600,470,41,10 is not '
                 'within the image, which is 640 x 480 pixels.'))
    for args, why in [(["--fit", "97,2"], "the fit must be W,H of 1 to 96 by 1 to 92"),
                      (["--grays", "3"], "the grays must be 2 or 4"),
                      (["--region", "0,0,100,10"],
                       "a region is at most 96 x 92 pixels without --fit or --frames"),
                      (["--exact", "--step", "40"],
                       "--exact takes the colours as they are, without --dither or --step")]:
        g.expect(f"usage {args}", imported(args, photo)[:2], (2, f"stipple import: {why}"))


# A font's glyphs as FreeType reads them: "ascent A descent D", then per code point
# "code width rows left top advance" and the rows of bits as # and .
FREETYPE_DUMP = r"""
#include <ft2build.h>
#include FT_FREETYPE_H
#include <stdio.h>
int main(int argc, char **argv) {
    FT_Library lib;
    FT_Face face;
    if (argc != 2 || FT_Init_FreeType(&lib) || FT_New_Face(lib, argv[1], 0, &face)) return 2;
    if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0)) return 3;
    printf("ascent %ld descent %ld\n", face->size->metrics.ascender >> 6,
           -(face->size->metrics.descender >> 6));
    FT_UInt index;
    for (FT_ULong code = FT_Get_First_Char(face, &index); index != 0;
         code = FT_Get_Next_Char(face, code, &index)) {
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT)) return 4;
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap *b = &g->bitmap;
        printf("%lu %u %u %d %d %ld", code, b->width, b->rows, g->bitmap_left, g->bitmap_top,
               g->advance.x >> 6);
        for (unsigned y = 0; y < b->rows; ++y) {
            putchar(' ');
            for (unsigned x = 0; x < b->width; ++x)
                putchar(b->buffer[y * b->pitch + x / 8] & (0x80 >> x % 8) ? '#' : '.');
        }
        putchar('\n');
    }
    return 0;
}
"""

# The structs as the GFX font's users declare them, and a string drawn the way their
# drawChar walks them: each glyph's bits one stream, the first pixel in the highest bit.
GFX_DRAW = r"""
#include <stdint.h>
#include <stdio.h>
#include <string.h>
typedef struct { uint16_t bitmapOffset; uint8_t width, height, xAdvance; int8_t xOffset, yOffset; } GFXglyph;
typedef struct { uint8_t *bitmap; GFXglyph *glyph; uint16_t first, last; uint8_t yAdvance; } GFXfont;
#include FONT_TEXT
static char canvas[CANVAS_H][CANVAS_W + 1];
int main(void) {
    const GFXfont *f = &FONT;
    const char *s = STRING;
    int x = PEN_X;
    for (int y = 0; y < CANVAS_H; ++y) memset(canvas[y], '.', CANVAS_W);
    for (; *s; ++s) {
        unsigned char c = (unsigned char)*s;
        if (c < f->first || c > f->last) continue;
        const GFXglyph *g = f->glyph + (c - f->first);
        uint16_t bo = g->bitmapOffset;
        uint8_t bits = 0, bit = 0;
        for (int yy = 0; yy < g->height; yy++)
            for (int xx = 0; xx < g->width; xx++) {
                if (!(bit++ & 7)) bits = f->bitmap[bo++];
                if (bits & 0x80) canvas[BASELINE + g->yOffset + yy][x + g->xOffset + xx] = '#';
                bits <<= 1;
            }
        x += g->xAdvance;
    }
    for (int y = 0; y < CANVAS_H; ++y) puts(canvas[y]);
    return 0;
}
"""


# A string drawn from a font's device array the way a custom renderer would: each code
# point's glyph from the offsets, placed by the box tables or the constants of one value.
ARRAY_DRAW = r"""
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include FONT_TEXT
#ifdef F_WIDTH
#define W(i) F_WIDTH
#else
#define W(i) F_widths[i]
#endif
#ifdef F_HEIGHT
#define H(i) F_HEIGHT
#else
#define H(i) F_heights[i]
#endif
#ifdef F_XOFFSET
#define XO(i) F_XOFFSET
#else
#define XO(i) F_xoffsets[i]
#endif
#ifdef F_YOFFSET
#define YO(i) F_YOFFSET
#else
#define YO(i) F_yoffsets[i]
#endif
static char canvas[CANVAS_H][CANVAS_W + 1];
int main(void) {
    const char *s = STRING;
    int x = PEN_X;
    for (int y = 0; y < CANVAS_H; ++y) memset(canvas[y], '.', CANVAS_W);
    for (; *s; ++s) {
        int c = (unsigned char)*s;
        if (c < F_FIRST || c > F_LAST) continue;
        int i = c - F_FIRST, stride = (W(i) + 7) / 8;
        const uint8_t *p = F + F_offsets[i];
        for (int yy = 0; yy < H(i); yy++)
            for (int xx = 0; xx < W(i); xx++)
                if (p[yy * stride + xx / 8] & (0x80 >> xx % 8))
                    canvas[BASELINE - YO(i) + yy][x + XO(i) + xx] = '#';
        x += F_advances[i];
    }
    for (int y = 0; y < CANVAS_H; ++y) puts(canvas[y]);
    return 0;
}
"""


def trimmed(drawing):
    """The rows of # and . without the blank rows and columns around the ink."""
    rows = [r for r in drawing.splitlines() if "#" in r]
    if not rows:
        return []
    left = min(r.index("#") for r in rows)
    right = max(r.rindex("#") for r in rows) + 1
    return [r[left:right] for r in rows]


def bdf_glyphs(text):
    """{code: (advance, width, height, x offset, bottom offset, rows of # and .)} of a BDF."""
    glyphs, lines = {}, iter(text.splitlines())
    for line in lines:
        if line.startswith("ENCODING "):
            code = int(line.split()[1])
        elif line.startswith("DWIDTH "):
            advance = int(line.split()[1])
        elif line.startswith("BBX "):
            w, h, xo, yo = map(int, line.split()[1:])
        elif line == "BITMAP":
            rows = [(lambda hex_: bin(int(hex_, 16) | 1 << 4 * len(hex_))[3:][:w])(next(lines))
                    .replace("1", "#").replace("0", ".") for _ in range(h)]
            glyphs[code] = (advance, w, h, xo, yo, rows)
    return glyphs


def draw_bdf(glyphs, string, pen, baseline, size):
    """The string as the BDF's boxes place it: left edge at pen + x, bottom row y over it."""
    width, height = size
    canvas = [["."] * width for _ in range(height)]
    for c in string.encode("latin-1"):
        if c not in glyphs:
            continue
        advance, w, h, xo, yo, rows = glyphs[c]
        for y, row in enumerate(rows):
            for x, bit in enumerate(row):
                if bit == "#":
                    canvas[baseline - (yo + h) + y][pen + xo + x] = "#"
        pen += advance
    return "".join("".join(row) + "\n" for row in canvas)


def font_stws(name, ascent, descent, glyphs):
    """A font set file of (code, advance, x offset, y offset, rows) glyphs."""
    raw = b"\x89STWSET\x9a" + struct.pack("<ii", 3, len(name)) + name.encode("cp1252")
    raw += struct.pack("<ii", 8, len(glyphs))
    for code, _, _, _, rows in glyphs:
        picture = stw_bytes(f"g{code}", rows)
        raw += struct.pack("<i", len(picture)) + picture
    raw += struct.pack("<iii", ascent, descent, ascent + descent)
    return raw + b"".join(struct.pack("<iiii", *glyph[:4]) for glyph in glyphs)


def test_fonts(g):
    for tool in ("bdftopcf", "pcf2bdf", "gcc", "pkg-config"):
        if not shutil.which(tool):
            raise Skipped(f"{tool} is missing")
    flags = run(["pkg-config", "--cflags", "--libs", "freetype2"]).split()
    dump_c = g.path("ftdump.c", FREETYPE_DUMP.encode())
    run(["gcc", "-o", g.path("ftdump"), dump_c, *flags])

    def freetype(path):
        return run([g.path("ftdump"), path])

    def compiled(bdf):
        """bdftopcf's font of the BDF, which it must take without a word."""
        done = subprocess.run(["bdftopcf", "-o", f"{bdf}.pcf", bdf], capture_output=True,
                              text=True, timeout=60)
        g.expect(f"bdftopcf {bdf}", (done.returncode, done.stdout + done.stderr), (0, ""))
        return f"{bdf}.pcf"

    def exported(form, source, *args):
        status, out, err = g.tool(["export", "--font", form, *args, source])
        if status != 0:
            raise Failed(f"stipple export --font {form} {source}: {err}")
        return out

    # Fonts of X11: read in and written back, FreeType finds the same glyphs and metrics.
    fonts = []
    for font in ("6x13-ISO8859-1", "5x7"):
        packed = Path("/usr/share/fonts/X11/misc") / f"{font}.pcf.gz"
        if not packed.exists():
            raise Skipped(f"{packed} is missing (xfonts-base)")
        pcf = g.path(f"{font}.pcf", gzip.decompress(packed.read_bytes()))
        run(["pcf2bdf", "-o", g.path(f"{font}.bdf"), pcf])
        stws = g.path(f"{font}.stws")
        status, _, err = g.tool(["import", "-o", stws, g.path(f"{font}.bdf")])
        g.expect(f"import {font}.bdf ({err})", status, 0)
        ours = g.path(f"{font}-back.bdf", exported("bdf", stws))
        g.expect(f"{font}: its glyphs and metrics through our BDF", freetype(compiled(ours)),
                 freetype(pcf))
        fonts.append(stws)
    # A set drawn here, grays and all: FreeType reads each glyph as the set holds it.
    rows_of = [["0123", "4100", "3333"], ["1"], ["02424020", "2"*8, "11111111", "0"*9 + "3"],
               ["4"*17, "0" + "4"*16], ["3"]]
    made = [(0x41 + i, 3 + i, i - 2, 5 - i, rows) for i, rows in enumerate(rows_of)]
    made[3] = (0x100, 20, -1, 3, made[3][4])
    made = [(c, a, x, y, [r.ljust(max(map(len, rows)), "3") for r in rows])
            for c, a, x, y, rows in made]
    tiny = g.path("tiny.stws", font_stws("Tiny", 6, 2, made))
    want = ["ascent 6 descent 2"] + [
        f"{c} {len(rows[0])} {len(rows)} {x} {y} {a} " +
        " ".join("".join("#" if v in "01" else "." for v in r) for r in rows)
        for c, a, x, y, rows in sorted(made)]
    tiny_bdf = g.path("tiny.bdf", exported("bdf", tiny))
    g.expect("a made font through bdftopcf and FreeType", freetype(compiled(tiny_bdf)).split("\n"),
             want + [""])
    # The GFX text: compiled, and a string drawn from its structs as from the BDF's boxes.
    have_avr = shutil.which("avr-gcc") is not None
    for source, string in [(fonts[0], "Hello, gfx! {~}\xe9"), (tiny, "ABCE")]:
        text = exported("gfx", source, "--name", "Face")
        glyphs = bdf_glyphs(exported("bdf", source).decode())
        header = g.path("face.h", text)
        size = (sum(glyphs[c][0] for c in string.encode("latin-1") if c in glyphs) + 40, 40)
        defines = [f"-DFONT_TEXT=\"{header}\"", "-DFONT=Face", f"-DCANVAS_W={size[0]}",
                   f"-DCANVAS_H={size[1]}", "-DPEN_X=10", "-DBASELINE=20",
                   "-DSTRING=\"" + "".join(f"\\x{ord(c):02x}" for c in string) + "\""]
        draw = g.path("draw.c", GFX_DRAW.encode())
        run(["gcc", "-Wall", "-Wextra", "-Werror", *defines, "-o", g.path("draw"), draw])
        g.expect(f"{string!r} drawn from the GFX structs", run([g.path("draw")]),
                 draw_bdf(glyphs, string, 10, 20, size))
        if have_avr:
            run(["avr-gcc", "-mmcu=atmega328p", "-Os", "-Wall", "-Werror", *defines, "-c",
                 "-o", g.path("draw.o"), draw])
    # An outline font rendered into a set: bdftopcf takes its BDF, FreeType finds its glyphs'
    # boxes and advances, and a string drawn from its GFX structs and from its device array
    # is the sample line info draws.
    mono = g.path("mono12.stws")
    status, _, err = g.tool(["font", "--family", "DejaVu Sans Mono", "--size", "12", "--range",
                             "0x20-U+007E", "-o", mono])
    g.expect(f"stipple font ({err})", status, 0)
    info = json.loads(g.tool(["info", "--json", mono])[1])[0]
    g.expect("a glyph for each code point", [f["codePoint"] for f in info["frames"]],
             list(range(32, 127)))
    boxes = [f"{f['codePoint']} {f['width']} {f['height']} {f['xOffset']} {f['yOffset']} "
             f"{f['advance']}" for f in info["frames"]]
    found = freetype(compiled(g.path("mono12.bdf", exported("bdf", mono)))).splitlines()
    g.expect("the made font's boxes through bdftopcf and FreeType",
             [" ".join(line.split()[:6]) for line in found[1:]], boxes)
    sample_string = "Hello, gfx! {~}"
    for source, string in [(mono, sample_string), (fonts[0], "Hello, gfx! {~}\xe9")]:
        status, out, _ = g.tool(["info", "--json", "--sample", string, source])
        sample = json.loads(out)[0]["sample"]["rows"]
        want = trimmed("\n".join(r.translate(str.maketrans("#=-.~", "##..."))
                                 for r in sample))
        defines = [f"-DCANVAS_W={len(sample[0]) + 40}", "-DCANVAS_H=60", "-DPEN_X=20",
                   "-DBASELINE=30",
                   "-DSTRING=\"" + "".join(f"\\x{ord(c):02x}" for c in string) + "\""]
        for walker, args in [(GFX_DRAW, ["--font", "gfx"]),
                             (ARRAY_DRAW, ["--syntax", "c", "--depth", "1", "--levels",
                                           "1,1,0,0,0", "--order", "msb", "--align"])]:
            status, text, err = g.tool(["export", *args, "--name", "F", source])
            g.expect(f"export {args} ({err})", status, 0)
            header = g.path("drawn.h", text)
            c_file = g.path("drawn.c", walker.encode())
            run(["gcc", "-Wall", "-Wextra", "-Werror", f"-DFONT_TEXT=\"{header}\"", "-DFONT=F",
                 *defines, "-o", g.path("drawn"), c_file])
            g.expect(f"{string!r} from {args[:2]} of {source} is the sample line",
                     trimmed(run([g.path("drawn")])), want)
    g.run_cases([
        Case("a font both by file and family", ["font", "--family", "x", "--file", "y", "-o",
                                               g.path("x.stws")], status=2,
             stderr="stipple font: either --file or --family is needed, not both"),
        Case("a range backwards", ["font", "--family", "x", "--range", "90-80", "-o",
                                   g.path("x.stws")], status=2,
             stderr="stipple font: the range must be A-B, two code points from 0 to 1114111 "
                    "(0x10FFFF) with A not after B"),
        Case("a font into a picture file", ["font", "--family", "x", "-o", g.path("x.stw")],
             status=2, stderr="stipple font: a font set goes into a set file: -o FONT.stws"),
        Case("a family fontconfig lacks", ["font", "--family", "No Such Family", "-o",
                                           g.path("x.stws")], status=1,
             stderr='stipple font: Could not make a font of "No Such Family": fontconfig finds '
                    'no font of the family "No Such Family" (its nearest is "DejaVu Sans").'),
    ])
    # What a font is not, and what cannot be a font.
    walk = g.path("walk.stws", stws_bytes("walk", 8, [("a", ["01"])]))
    bad = g.path("bad.bdf", b"STARTFONT 2.1\nCHARS 1\nSTARTCHAR A\nBBX 120 4 0 0\n")
    g.run_cases([
        Case("a set that is no font", ["export", "--font", "gfx", walk], status=1,
             stderr=f'stipple export: Could not export "{walk}" as a font: it is not a font set '
                    "(stipple import makes one of a BDF font)."),
        Case("an unknown form", ["export", "--font", "pcf", tiny], status=2,
             stderr="stipple export: unknown font form pcf (bdf or gfx)"),
        Case("a font and a layout", ["export", "--font", "bdf", "--target", "xbm", tiny], status=2,
             stderr="stipple export: --font writes a whole font: not with --format, the layout "
                    "options, --box or --frame"),
        Case("a glyph too large", ["import", "-o", g.path("x.stws"), bad], status=1,
             stderr=f'stipple import: Could not import "{bad}": line 4: the glyph "A" is 120 x 4 '
                    "pixels; a glyph is at most 96 x 92."),
        Case("a font into a picture file", ["import", "-o", g.path("x.stw"), g.path("5x7.bdf")],
             status=1, stderr=f'stipple import: Could not import "{g.path("5x7.bdf")}": it is a '
                              "font; write it to a set file (-o FONT.stws)."),
    ])
    status, out, _ = g.tool(["info", tiny])
    g.expect("info of a font", out.decode().splitlines()[4:7],
             ["  font: ascent 6, descent 2, line height 8",
              "  glyph U+0041: 4 x 3, advance 3, offset -2,5 g65",
              "  glyph U+0042: 1 x 1, advance 4, offset -1,4 g66"])


GROUPS = {"install": test_install, "export": test_export, "import": test_import, "info": test_info,
          "thumbnail": test_thumbnail, "errors": test_errors, "hostile": test_hostile,
          "limits": test_limits, "build_example": test_build_example, "layouts": test_layouts,
          "sets": test_sets, "targets": test_targets, "fit": test_fit,
          "fonts": test_fonts}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("build_dir")
    parser.add_argument("source_dir")
    parser.add_argument("work_dir")
    parser.add_argument("group", choices=GROUPS)
    options = parser.parse_args()
    # File names made of bytes that are not UTF-8 show in failures as escapes.
    sys.stdout.reconfigure(errors="backslashreplace")
    # Leaks fail a sanitized build's run, also outside ./test.
    os.environ.setdefault("ASAN_OPTIONS", "detect_leaks=1")
    os.environ.setdefault("LSAN_OPTIONS", f"suppressions={options.source_dir}/tests/lsan.supp")
    try:
        if not shutil.which(options.cmake):
            raise Skipped(f"{options.cmake} not found")
        group = Group(options, options.group)
        GROUPS[options.group](group)
        failures = group.failures
    except Skipped as reason:
        print(f"skipped: {reason}")
        return SKIPPED
    except (Failed, OSError, subprocess.SubprocessError) as error:
        failures = [f"{type(error).__name__}: {error}"]
    for failure in failures:
        print(f"FAIL {failure}")
    print(f"{options.group}: {'FAILED' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
