#pragma once
// How a picture becomes bytes for a device: bits per pixel, the code each value is written
// as, the bit order inside a byte, the scan, the planes and an optional transparency mask.
// The bytes and the map of which cells every byte holds come from one walk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Pixel.h"
#include "model/PixelView.h"

namespace stipple {

// lsb: a byte's first pixel in its lowest bits; msb: in its highest. Either way a code's
// bit 0 is the lowest of the bits it takes.
enum class BitOrder { Lsb, Msb };

// Rows: row by row from the top as one bit stream. Pages: bands of 8 / depth rows, one byte
// per column of a band, the top pixel first. Tiles: 8 x 8 tiles from the left, then from the
// top, row by row inside a tile, each tile row starting a byte.
enum class Scan { Rows, Pages, Tiles };

// Packed: codes side by side. Separate: the picture once per code bit, bit 0 first, each
// scanned as a 1-bit picture. Interleaved (rows and tiles): every 8 pixels of a row, or of a
// tile's row, give one byte per code bit, bit 0's byte first; every row starts a new group,
// with or without align, and bits for cells beyond its end are 0. The mask plane follows
// align as a 1-bit picture does.
enum class Planes { Packed, Separate, Interleaved };

struct ByteLayout {
    int depth = 8;                                // 1, 2, 4 or 8 bits per pixel
    std::array<int, 5> levels = {0, 1, 2, 3, 4};  // code per value, indexed by the value
    BitOrder order = BitOrder::Lsb;
    Scan scan = Scan::Rows;
    bool align = false;  // rows only: every row starts a byte
    Planes planes = Planes::Packed;
    bool mask = false;  // a 1-bit plane after the image, 1 for every cell not transparent

    bool operator==(const ByteLayout&) const = default;
};

// The codes that give the plain row packing at `depth`; {} for a depth not supported.
std::array<int, 5> defaultLevels(int depth);

// The device targets by name, and the layout each names. The last three are named after
// the libraries that draw them and bring those libraries' syntax too.
constexpr std::string_view kTargetNames[] = {
    "gameboy", "ssd1306", "gfx-bitmap", "epaper-4gray", "xbm", "adafruit-gfx", "arduboy"};
std::optional<ByteLayout> layoutForTarget(std::string_view target);
// The command-line name of the syntax a target brings; "" for one that brings none.
std::string_view syntaxOfTarget(std::string_view target);

// Why `layout` cannot be used, or "" when it can.
std::string layoutProblem(const ByteLayout& layout);

// One bit of a byte that holds a cell: cell (x, y), 1-based, and its code bit at bit
// `byteBit` (0 = least significant). A mask bit has codeBit kMaskBit.
struct BitPlace {
    int x;
    int y;
    int codeBit;
    int byteBit;
};
constexpr int kMaskBit = -1;
using ByteCells = std::vector<BitPlace>;

// For each byte of a width x height picture, the bits that hold cells; bits not listed are
// 0. A byte made only of padding has an empty list. An invalid layout gives no bytes.
std::vector<ByteCells> byteMap(int width, int height, const ByteLayout& layout);

// The number of bytes the layout gives for a width x height picture.
std::size_t layoutByteCount(int width, int height, const ByteLayout& layout);

// The picture's bytes, none for an invalid layout. A value outside 0..4 is written as code 0.
std::vector<std::uint8_t> layoutBytes(const PixelView& source, const ByteLayout& layout);

// Cells row by row from the top, or why the bytes could not be read.
struct LayoutReading {
    std::vector<Pixel> cells;
    std::string error;
};

// Reads the cells back. A code shared by several values reads as the first of black, 66 %
// gray, 33 % gray, white, transparent; a mask, when present, restores transparent. Refuses
// a byte count other than the layout's and a code that no value is written as.
LayoutReading readLayoutBytes(const std::vector<std::uint8_t>& bytes, int width, int height,
                              const ByteLayout& layout);

}  // namespace stipple
