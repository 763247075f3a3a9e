#!/usr/bin/env python3
"""Writes g/<name>.levels for every good bitmap: the gray level at step 64 of each pixel
of its top-left 96 x 92, decoded without the program's own reader."""
import pathlib
import struct
import subprocess

HERE = pathlib.Path(__file__).resolve().parent
STEP = 64


def rgb_by_imagemagick(path):
    ppm = subprocess.run(["convert", f"{path}[0]", "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    magic, size, _maxval, data = ppm.split(b"\n", 3)
    assert magic == b"P6"
    width, height = map(int, size.split())
    return width, height, lambda x, y: tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])


def scale(value, mask):
    if mask == 0:
        return 0
    shift = (mask & -mask).bit_length() - 1
    top = mask >> shift
    return (((value & mask) >> shift) * 255 + top // 2) // top


def rgb_of_16_bit_file(path):
    data = path.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    header_size, width, height, _planes, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    assert bpp == 16
    masks = (0x7C00, 0x03E0, 0x001F)
    if compression == 3:
        masks = struct.unpack_from("<III", data, 54 if header_size == 40 else 14 + 40)
    top_down = height < 0
    height = abs(height)
    stride = (width * 16 + 31) // 32 * 4

    def pixel(x, y):
        row = y if top_down else height - 1 - y
        value, = struct.unpack_from("<H", data, offset + row * stride + 2 * x)
        return tuple(scale(value, m) for m in masks)
    return width, height, pixel


def main():
    for path in sorted((HERE / "g").glob("*.bmp")):
        bpp, = struct.unpack_from("<H", path.read_bytes(), 28)
        width, height, pixel = (rgb_of_16_bit_file if bpp == 16 else rgb_by_imagemagick)(path)
        rows = []
        for y in range(min(height, 92)):
            rows.append("".join(str(min(sum(pixel(x, y)) // 3 // STEP, 3))
                                for x in range(min(width, 96))))
        path.with_suffix(".levels").write_text("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
