#!/usr/bin/env python3
"""Writes the PNG test files of this folder and, for each pattern file, <name>.rgba: the
pixels a reader must give, as 0xAARRGGBB words, one line per row from the top.

Every colour type at every bit depth it allows, each also Adam7-interlaced (<name>-adam7.png,
whose pixels are those of <name>.rgba), shows the same 11 x 7 pattern: grays rising from
black at the top left to white at the bottom right, so that the import cuts them into all
four levels, and, where the file has alpha, the last three columns fading out to fully
transparent. Rows use the five filters in turn. 16-bit samples lie up to 128 steps off
v * 257, so that rounding them to 8 bits gives v and cutting off their low byte does not.
The bad files are made from the good ones; tall.png is 300 x 6000 gray.

Uses only zlib and struct, so the files do not depend on any PNG writer, and writes the
same bytes every time: python3 make_pngs.py
"""
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
WIDTH, HEIGHT = 11, 7
SIGNATURE = b"\x89PNG\r\n\x1a\n"
GRAY, RGB, PALETTE, GRAY_ALPHA, RGBA = 0, 2, 3, 4, 6
CHANNELS = {GRAY: 1, RGB: 3, PALETTE: 1, GRAY_ALPHA: 2, RGBA: 4}
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def gray(x, y):
    return round(255 * (x + WIDTH * y) / (WIDTH * HEIGHT - 1))


def colour(g):
    return g, g * 7 // 8, min(255, g + 24)


def alpha(x, _y):
    return (255, 255, 255, 255, 255, 255, 255, 255, 170, 85, 0)[x]


def wide(value, x, y, channel):
    """The 16-bit sample whose rounding to 8 bits is `value`."""
    offset = (x * 37 + y * 71 + channel * 53) % 257 - 128
    return min(65535, max(0, value * 257 + offset))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filtered(row, previous, kind, step):
    out = bytearray([kind])
    for i, v in enumerate(row):
        a = row[i - step] if i >= step else 0
        b = previous[i]
        c = previous[i - step] if i >= step else 0
        predictor = (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]
        out.append((v - predictor) & 0xFF)
    return bytes(out)


def pack(samples, depth):
    """Samples of one row as bytes: below 8 bits the leftmost in the high bits."""
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out = bytearray()
    per_byte = 8 // depth
    for i in range(0, len(samples), per_byte):
        byte = 0
        for k in range(per_byte):
            s = samples[i + k] if i + k < len(samples) else 0
            byte |= s << (8 - depth * (k + 1))
        out.append(byte)
    return bytes(out)


def image_data(sample, width, height, colour_type, depth, interlaced):
    """The zlib stream of the filtered rows; sample(x, y) gives a pixel's samples."""
    step = max(1, CHANNELS[colour_type] * depth // 8)
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    raw = bytearray()
    row_number = 0
    for x0, y0, dx, dy in passes:
        xs, ys = range(x0, width, dx), range(y0, height, dy)
        if not xs or not ys:
            continue
        previous = None
        for y in ys:
            row = pack([s for x in xs for s in sample(x, y)], depth)
            previous = previous or bytes(len(row))
            raw += filtered(row, previous, row_number % 5, step)
            previous = row
            row_number += 1
    return zlib.compress(bytes(raw), 9)


def png(width, height, colour_type, depth, idat, interlaced=False, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, int(interlaced))
    return (SIGNATURE + chunk(b"IHDR", header) + extra + chunk(b"IDAT", idat) +
            chunk(b"IEND", b""))


def words(pixel):
    """The expected rows as text: pixel(x, y) gives (r, g, b, a)."""
    return "".join(" ".join("%02X%02X%02X%02X" % (a, r, g, b)
                            for r, g, b, a in (pixel(x, y) for x in range(WIDTH))) + "\n"
                   for y in range(HEIGHT))


def pattern_files():
    """name -> (colour type, depth, samples of a pixel, expected rgba of a pixel, chunks)"""
    files = {}
    for depth in (1, 2, 4, 8, 16):
        top = (1 << depth) - 1 if depth < 16 else 255
        if depth == 16:
            samples = lambda x, y: [wide(gray(x, y), x, y, 0)]
            expected = lambda x, y: (gray(x, y),) * 3 + (255,)
        else:
            samples = lambda x, y, top=top: [round(top * gray(x, y) / 255)]
            expected = lambda x, y, top=top: (round(top * gray(x, y) / 255) * 255 // top,) * 3 + (
                255,)
        files[f"gray{depth}"] = (GRAY, depth, samples, expected, b"")
    for depth in (8, 16):
        if depth == 8:
            files["gray-alpha8"] = (GRAY_ALPHA, 8, lambda x, y: [gray(x, y), alpha(x, y)],
                                    lambda x, y: (gray(x, y),) * 3 + (alpha(x, y),), b"")
            files["rgb8"] = (RGB, 8, lambda x, y: list(colour(gray(x, y))),
                             lambda x, y: colour(gray(x, y)) + (255,), b"")
            files["rgba8"] = (RGBA, 8, lambda x, y: list(colour(gray(x, y))) + [alpha(x, y)],
                              lambda x, y: colour(gray(x, y)) + (alpha(x, y),), b"")
        else:
            files["gray-alpha16"] = (
                GRAY_ALPHA, 16, lambda x, y: [wide(gray(x, y), x, y, 0), wide(alpha(x, y), x, y, 1)],
                lambda x, y: (gray(x, y),) * 3 + (alpha(x, y),), b"")
            files["rgb16"] = (RGB, 16,
                              lambda x, y: [wide(c, x, y, k) for k, c in enumerate(colour(gray(x, y)))],
                              lambda x, y: colour(gray(x, y)) + (255,), b"")
            files["rgba16"] = (
                RGBA, 16, lambda x, y: [wide(c, x, y, k) for k, c in
                                        enumerate(colour(gray(x, y)) + (alpha(x, y),))],
                lambda x, y: colour(gray(x, y)) + (alpha(x, y),), b"")
    for depth in (1, 2, 4, 8):
        n = 1 << depth
        entries = [colour(round(255 * i / (n - 1))) for i in range(n)]
        plte = chunk(b"PLTE", b"".join(bytes(e) for e in entries))
        index = lambda x, y, n=n: round((n - 1) * gray(x, y) / 255)
        files[f"palette{depth}"] = (PALETTE, depth, lambda x, y, index=index: [index(x, y)],
                                    lambda x, y, index=index, entries=entries: entries[
                                        index(x, y)] + (255,), plte)
        if depth in (4, 8):
            # Fewer alphas than entries: the entries past them stay opaque.
            alphas = [255] * (n - 3) + [128, 0]
            trns = chunk(b"tRNS", bytes(alphas))
            files[f"palette{depth}-trns"] = (
                PALETTE, depth, lambda x, y, index=index: [index(x, y)],
                lambda x, y, index=index, entries=entries, alphas=alphas: entries[index(x, y)] + (
                    alphas[index(x, y)] if index(x, y) < len(alphas) else 255,), plte + trns)
    # Gray and colour keys: the pixels of exactly that value are transparent.
    two = lambda x, y: round(3 * gray(x, y) / 255)
    files["gray2-trns"] = (GRAY, 2, lambda x, y: [two(x, y)],
                           lambda x, y: (two(x, y) * 85,) * 3 + (0 if two(x, y) == 1 else 255,),
                           chunk(b"tRNS", struct.pack(">H", 1)))
    files["gray8-trns"] = (GRAY, 8, lambda x, y: [gray(x, y)],
                           lambda x, y: (gray(x, y),) * 3 + (0 if gray(x, y) == 255 else 255,),
                           chunk(b"tRNS", struct.pack(">H", 255)))
    key16 = wide(gray(5, 3), 5, 3, 0)
    files["gray16-trns"] = (
        GRAY, 16, lambda x, y: [wide(gray(x, y), x, y, 0)],
        lambda x, y: (gray(x, y),) * 3 + (0 if wide(gray(x, y), x, y, 0) == key16 else 255,),
        chunk(b"tRNS", struct.pack(">H", key16)))
    key8 = colour(gray(2, 1))
    files["rgb8-trns"] = (RGB, 8, lambda x, y: list(colour(gray(x, y))),
                          lambda x, y: colour(gray(x, y)) + (0 if colour(gray(x, y)) == key8 else 255,),
                          chunk(b"tRNS", struct.pack(">HHH", *key8)))
    rgb16 = lambda x, y: [wide(c, x, y, k) for k, c in enumerate(colour(gray(x, y)))]
    key16rgb = rgb16(4, 5)
    files["rgb16-trns"] = (RGB, 16, rgb16,
                           lambda x, y: colour(gray(x, y)) + (0 if rgb16(x, y) == key16rgb else 255,),
                           chunk(b"tRNS", struct.pack(">HHH", *key16rgb)))
    return files


def main():
    for old in list(HERE.glob("*.png")) + list(HERE.glob("*.rgba")):
        old.unlink()
    files = pattern_files()
    rgb8 = b""
    for name, (colour_type, depth, samples, expected, extra) in files.items():
        for interlaced in (False, True):
            idat = image_data(samples, WIDTH, HEIGHT, colour_type, depth, interlaced)
            data = png(WIDTH, HEIGHT, colour_type, depth, idat, interlaced, extra)
            (HERE / f"{name}{'-adam7' if interlaced else ''}.png").write_bytes(data)
            if name == "rgb8" and not interlaced:
                rgb8 = data
        (HERE / f"{name}.rgba").write_text(words(expected))

    # Large enough that the import takes only its top-left region.
    tall = image_data(lambda x, y: [(x + 3 * y) % 256], 300, 6000, GRAY, 8, False)
    (HERE / "tall.png").write_bytes(png(300, 6000, GRAY, 8, tall))

    idat_at = rgb8.index(b"IDAT") - 4
    idat_length, = struct.unpack_from(">I", rgb8, idat_at)
    iend_at = rgb8.index(b"IEND") - 4
    rgb_idat = image_data(files["rgb8"][2], WIDTH, HEIGHT, RGB, 8, False)
    bad = {
        "bad-not-png": b"GIF89a" + rgb8[6:],
        "bad-cut-header": rgb8[:20],
        "bad-cut-before-idat": rgb8[:idat_at],
        "bad-cut-idat": rgb8[:idat_at + 8 + idat_length // 2],
        "bad-crc": rgb8[:29] + bytes([rgb8[29] ^ 0x01]) + rgb8[30:],
        "bad-no-iend": rgb8[:iend_at],
        "bad-zero-width": png(0, HEIGHT, RGB, 8, rgb_idat),
        "bad-huge": png(2000000, 3000000, RGB, 8, rgb_idat),
    }
    for name, data in bad.items():
        (HERE / f"{name}.png").write_bytes(data)


if __name__ == "__main__":
    main()
