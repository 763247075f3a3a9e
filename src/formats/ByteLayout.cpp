#include "formats/ByteLayout.h"

#include <cstddef>

namespace stipple {

namespace {

constexpr const char* kValueNames[5] = {"black", "66 % gray", "33 % gray", "white", "transparent"};

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// Visits every cell as (x, y, group, k): the cell is pixel k of byte group `group` when a
// byte holds `perByte` pixels. With the rows scan, `rowsStart` starts every row on a new
// group. Returns the number of groups, padding included.
template <typename Visit>
std::size_t scanGroups(int width, int height, Scan scan, bool rowsStart, int perByte,
                       Visit&& visit) {
    const int n = perByte;
    switch (scan) {
        case Scan::Rows:
            if (rowsStart) {
                const int rowGroups = ceilDiv(width, n);
                for (int y = 1; y <= height; ++y) {
                    for (int x = 1; x <= width; ++x) {
                        visit(x, y, (y - 1) * rowGroups + (x - 1) / n, (x - 1) % n);
                    }
                }
                return static_cast<std::size_t>(height * rowGroups);
            }
            for (int y = 1; y <= height; ++y) {
                for (int x = 1; x <= width; ++x) {
                    const int p = (y - 1) * width + (x - 1);
                    visit(x, y, p / n, p % n);
                }
            }
            return static_cast<std::size_t>(ceilDiv(width * height, n));
        case Scan::Pages:
            for (int y = 1; y <= height; ++y) {
                for (int x = 1; x <= width; ++x) {
                    visit(x, y, (y - 1) / n * width + (x - 1), (y - 1) % n);
                }
            }
            return static_cast<std::size_t>(ceilDiv(height, n) * width);
        case Scan::Tiles: {
            const int across = ceilDiv(width, 8);
            const int perTileRow = 8 / n;
            for (int y = 1; y <= height; ++y) {
                for (int x = 1; x <= width; ++x) {
                    const int tile = (y - 1) / 8 * across + (x - 1) / 8;
                    const int tileRow = tile * 8 + (y - 1) % 8;
                    visit(x, y, tileRow * perTileRow + (x - 1) % 8 / n, (x - 1) % 8 % n);
                }
            }
            return static_cast<std::size_t>(across * ceilDiv(height, 8) * 8 * perTileRow);
        }
    }
    return 0;
}

// Where bit `codeBit` of pixel k lands when a byte holds `8 / bits` codes of `bits` bits.
int byteBitOf(BitOrder order, int bits, int k, int codeBit) {
    return (order == BitOrder::Lsb ? bits * k : 8 - bits * (k + 1)) + codeBit;
}

// The one walk behind the bytes, the map and the reading: calls place(byte, BitPlace) for
// every bit that holds a cell and returns the number of bytes. An invalid layout has none.
template <typename Place>
std::size_t walkLayout(int width, int height, const ByteLayout& layout, Place&& place) {
    if (width <= 0 || height <= 0 || !layoutProblem(layout).empty()) {
        return 0;
    }
    const int d = layout.depth;
    const BitOrder order = layout.order;
    const Scan scan = layout.scan;
    std::size_t offset = 0;
    switch (layout.planes) {
        case Planes::Packed:
            offset = scanGroups(width, height, scan, layout.align, 8 / d,
                                [&](int x, int y, int g, int k) {
                                    for (int c = 0; c < d; ++c) {
                                        place(static_cast<std::size_t>(g),
                                              BitPlace{x, y, c, byteBitOf(order, d, k, c)});
                                    }
                                });
            break;
        case Planes::Separate:
            for (int c = 0; c < d; ++c) {
                const std::size_t plane = offset;
                offset += scanGroups(width, height, scan, layout.align, 8,
                                     [&](int x, int y, int g, int k) {
                                         place(plane + static_cast<std::size_t>(g),
                                               BitPlace{x, y, c, byteBitOf(order, 1, k, 0)});
                                     });
            }
            break;
        case Planes::Interleaved:
            // A group of d bytes never spans two rows: every row starts one.
            offset = static_cast<std::size_t>(d) *
                     scanGroups(width, height, scan, true, 8, [&](int x, int y, int g, int k) {
                         for (int c = 0; c < d; ++c) {
                             place(static_cast<std::size_t>(g * d + c),
                                   BitPlace{x, y, c, byteBitOf(order, 1, k, 0)});
                         }
                     });
            break;
    }
    if (layout.mask) {
        const std::size_t plane = offset;
        offset += scanGroups(width, height, scan, layout.align, 8, [&](int x, int y, int g, int k) {
            place(plane + static_cast<std::size_t>(g),
                  BitPlace{x, y, kMaskBit, byteBitOf(order, 1, k, 0)});
        });
    }
    return offset;
}

int codeOf(const ByteLayout& layout, Pixel value) {
    return value >= kBlack && value <= kTransparent ? layout.levels[static_cast<std::size_t>(value)]
                                                    : 0;
}

}  // namespace

std::array<int, 5> defaultLevels(int depth) {
    switch (depth) {
        case 1:
            return {0, 0, 1, 1, 1};
        case 2:
            return {0, 1, 2, 3, 3};
        case 4:
        case 8:
            return {0, 1, 2, 3, 4};
        default:
            return {};
    }
}

std::optional<ByteLayout> layoutForTarget(std::string_view target) {
    // These targets give the dark values the set codes.
    if (target == "gameboy") {
        return ByteLayout{2,     {3, 2, 1, 0, 0},     BitOrder::Msb, Scan::Tiles,
                          false, Planes::Interleaved, false};
    }
    if (target == "ssd1306") {
        return ByteLayout{1,     {1, 1, 0, 0, 0}, BitOrder::Lsb, Scan::Pages,
                          false, Planes::Packed,  false};
    }
    if (target == "gfx-bitmap") {
        return ByteLayout{1,    {1, 1, 0, 0, 0}, BitOrder::Msb, Scan::Rows,
                          true, Planes::Packed,  false};
    }
    if (target == "epaper-4gray") {
        return ByteLayout{2,    {3, 2, 1, 0, 0}, BitOrder::Msb, Scan::Rows,
                          true, Planes::Packed,  false};
    }
    // The first pixel of a row in a byte's lowest bit, every row from a new byte.
    if (target == "xbm") {
        return ByteLayout{1,    {1, 1, 0, 0, 0}, BitOrder::Lsb, Scan::Rows,
                          true, Planes::Packed,  false};
    }
    if (target == "adafruit-gfx") {
        return layoutForTarget("gfx-bitmap");
    }
    // Vertical bytes in bands of eight rows, the top pixel in the lowest bit.
    if (target == "arduboy") {
        return layoutForTarget("ssd1306");
    }
    return std::nullopt;
}

std::string_view syntaxOfTarget(std::string_view target) {
    return target == "xbm" || target == "adafruit-gfx" || target == "arduboy" ? target : "";
}

std::string layoutProblem(const ByteLayout& layout) {
    const int d = layout.depth;
    if (d != 1 && d != 2 && d != 4 && d != 8) {
        return "the depth must be 1, 2, 4 or 8 bits per pixel, not " + std::to_string(d);
    }
    const int largest = (1 << d) - 1;
    for (std::size_t v = 0; v < layout.levels.size(); ++v) {
        const int level = layout.levels[v];
        if (level < 0 || level > largest) {
            return "the level for " + std::string(kValueNames[v]) + " is " + std::to_string(level) +
                   ", but " + std::to_string(d) + " bits per pixel hold codes 0 to " +
                   std::to_string(largest);
        }
    }
    if (layout.planes == Planes::Interleaved && layout.scan == Scan::Pages) {
        return "interleaved planes need the rows or the tiles scan, not pages";
    }
    return "";
}

std::vector<ByteCells> byteMap(int width, int height, const ByteLayout& layout) {
    std::vector<ByteCells> map;
    const std::size_t count =
        walkLayout(width, height, layout, [&](std::size_t byte, const BitPlace& bit) {
            if (byte >= map.size()) {
                map.resize(byte + 1);
            }
            map[byte].push_back(bit);
        });
    map.resize(count);
    return map;
}

std::size_t layoutByteCount(int width, int height, const ByteLayout& layout) {
    return walkLayout(width, height, layout, [](std::size_t, const BitPlace&) {});
}

std::vector<std::uint8_t> layoutBytes(const PixelView& source, const ByteLayout& layout) {
    std::vector<std::uint8_t> bytes;
    const int width = source.width();
    const int height = source.height();
    if (layout.planes == Planes::Packed && width > 0 && height > 0 &&
        layoutProblem(layout).empty()) {
        // Whole codes a cell at a time, at the places the walk gives their bits.
        bytes.assign(layoutByteCount(width, height, layout), 0);
        const int d = layout.depth;
        const std::size_t image = scanGroups(
            width, height, layout.scan, layout.align, 8 / d, [&](int x, int y, int g, int k) {
                bytes[static_cast<std::size_t>(g)] |= static_cast<std::uint8_t>(
                    codeOf(layout, source.at(x, y)) << byteBitOf(layout.order, d, k, 0));
            });
        if (layout.mask) {
            scanGroups(
                width, height, layout.scan, layout.align, 8, [&](int x, int y, int g, int k) {
                    if (source.at(x, y) != kTransparent) {
                        bytes[image + static_cast<std::size_t>(g)] |=
                            static_cast<std::uint8_t>(1u << byteBitOf(layout.order, 1, k, 0));
                    }
                });
        }
        return bytes;
    }
    // Room for every bit and a padded row or band, so that the walk rarely grows it.
    bytes.reserve(static_cast<std::size_t>(width * height * (layout.depth + 1) / 8 +
                                           8 * (width + height) + 64));
    const std::size_t count = walkLayout(
        source.width(), source.height(), layout, [&](std::size_t byte, const BitPlace& bit) {
            const Pixel value = source.at(bit.x, bit.y);
            const bool on = bit.codeBit == kMaskBit ? value != kTransparent
                                                    : ((codeOf(layout, value) >> bit.codeBit) & 1);
            if (byte >= bytes.size()) {
                bytes.resize(byte + 1);
            }
            if (on) {
                bytes[byte] = static_cast<std::uint8_t>(bytes[byte] | (1u << bit.byteBit));
            }
        });
    bytes.resize(count);
    return bytes;
}

LayoutReading readLayoutBytes(const std::vector<std::uint8_t>& bytes, int width, int height,
                              const ByteLayout& layout) {
    LayoutReading reading;
    if (width < 1 || height < 1) {
        reading.error = "the picture has no cells";
        return reading;
    }
    reading.error = layoutProblem(layout);
    if (!reading.error.empty()) {
        return reading;
    }
    const std::size_t count = layoutByteCount(width, height, layout);
    if (bytes.size() != count) {
        reading.error = std::to_string(width) + " x " + std::to_string(height) + " cells take " +
                        std::to_string(count) + " bytes in this layout, not " +
                        std::to_string(bytes.size());
        return reading;
    }
    const auto cellCount = static_cast<std::size_t>(width * height);
    std::vector<int> codes(cellCount, 0);
    std::vector<bool> opaque(cellCount, true);
    walkLayout(width, height, layout, [&](std::size_t byte, const BitPlace& bit) {
        const auto cell = static_cast<std::size_t>((bit.y - 1) * width + (bit.x - 1));
        const int on = (bytes[byte] >> bit.byteBit) & 1;
        if (bit.codeBit == kMaskBit) {
            opaque[cell] = on != 0;
        } else {
            codes[cell] |= on << bit.codeBit;
        }
    });
    reading.cells.assign(cellCount, kTransparent);
    for (std::size_t cell = 0; cell < cellCount; ++cell) {
        if (!opaque[cell]) {
            continue;
        }
        Pixel value = kBlack;
        while (value <= kTransparent &&
               layout.levels[static_cast<std::size_t>(value)] != codes[cell]) {
            ++value;
        }
        if (value > kTransparent) {
            reading.cells.clear();
            reading.error = "cell (" + std::to_string(cell % static_cast<std::size_t>(width) + 1) +
                            ", " + std::to_string(cell / static_cast<std::size_t>(width) + 1) +
                            ") holds code " + std::to_string(codes[cell]) +
                            ", which no value is written as";
            return reading;
        }
        reading.cells[cell] = value;
    }
    return reading;
}

}  // namespace stipple
