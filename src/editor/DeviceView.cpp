#include "editor/DeviceView.h"

#include <algorithm>
#include <array>

namespace stipple {

namespace {

constexpr std::array<std::string_view, 5> kWords = {"As the target shows", "Lit on black (OLED)",
                                                    "Four greens (Game Boy)", "E-paper grays",
                                                    "Black on white"};

std::uint32_t mix(std::uint32_t from, std::uint32_t to, int part, int whole) {
    std::uint32_t colour = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>(from >> shift & 0xFF);
        const int b = static_cast<int>(to >> shift & 0xFF);
        colour |= static_cast<std::uint32_t>(a + (b - a) * part / whole) << shift;
    }
    return colour;
}

// The colour of `code` at a depth whose highest code is `top`.
std::uint32_t colourOf(int code, int top, DeviceColours colours) {
    switch (colours) {
        case DeviceColours::LitOnBlack:
            return mix(0xFF000000u, 0xFFD8ECFFu, code, top);
        case DeviceColours::GreenShades: {
            static constexpr std::uint32_t kGreens[] = {0xFF9BBC0Fu, 0xFF8BAC0Fu, 0xFF306230u,
                                                        0xFF0F380Fu};
            return kGreens[code * 3 / top];
        }
        case DeviceColours::PaperGrays:
            return mix(0xFFE8E6DCu, 0xFF202020u, code, top);
        default:
            return mix(0xFFFFFFFFu, 0xFF000000u, code, top);
    }
}

}  // namespace

std::span<const std::string_view> deviceColourWords() {
    return kWords;
}

DeviceColours coloursOfTarget(std::string_view target) {
    if (target == "ssd1306" || target == "arduboy") {
        return DeviceColours::LitOnBlack;
    }
    if (target == "gameboy") {
        return DeviceColours::GreenShades;
    }
    if (target == "epaper-4gray") {
        return DeviceColours::PaperGrays;
    }
    return DeviceColours::BlackOnWhite;
}

DeviceImage deviceImage(std::span<const std::uint8_t> bytes, const std::vector<ByteCells>& map,
                        int width, int height, const ByteLayout& layout, DeviceColours colours) {
    DeviceImage image;
    if (width < 1 || height < 1) {
        return image;
    }
    image.width = width;
    image.height = height;
    const auto cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<int> codes(cells, 0);
    // Without a mask every cell shows.
    std::vector<bool> shown(cells, !layout.mask);
    const std::size_t count = std::min(bytes.size(), map.size());
    for (std::size_t b = 0; b < count; ++b) {
        for (const BitPlace& place : map[b]) {
            if (place.x < 1 || place.x > width || place.y < 1 || place.y > height) {
                continue;
            }
            const auto at = static_cast<std::size_t>((place.y - 1) * width + place.x - 1);
            const bool bit = (bytes[b] >> place.byteBit & 1) != 0;
            if (place.codeBit == kMaskBit) {
                shown[at] = bit;
            } else if (bit) {
                codes[at] |= 1 << place.codeBit;
            }
        }
    }
    const int top = (1 << std::clamp(layout.depth, 1, 8)) - 1;
    image.pixels.resize(cells);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto at = static_cast<std::size_t>(y * width + x);
            // Masked out: what is behind shows, drawn as a checker of two grays.
            image.pixels[at] = shown[at]             ? colourOf(codes[at], top, colours)
                               : (x / 2 + y / 2) % 2 ? 0xFF9A9A9Au
                                                     : 0xFF6A6A6Au;
        }
    }
    return image;
}

}  // namespace stipple
