#include "formats/BitmapConversion.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace stipple {

namespace {

constexpr std::array<DitherRow, 4> kDithers = {{
    {Dither::Threshold, "threshold", "Threshold"},
    {Dither::FloydSteinberg, "floyd-steinberg", "Floyd\u2013Steinberg"},
    {Dither::Atkinson, "atkinson", "Atkinson"},
    {Dither::Ordered, "ordered", "Ordered 4 \u00D7 4 (Bayer)"},
}};

// The grays the editor shows for black, 66 % gray, 33 % gray and white.
constexpr int kLevelGray[4] = {0, 128, 192, 255};

// How far the dithers move the brightness per step of the level step from its default:
// a smaller step brightens, as it does for the cut.
constexpr int kBrightnessPerStep = 2;

int intensityOf(std::uint32_t argb) {
    return static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF)) / 3;
}

bool transparentPixel(std::uint32_t argb) {
    return (argb >> 24) < 0x80;
}

int nearestLevel(int gray) {
    int best = 0;
    for (int level = 1; level < 4; ++level) {
        if (std::abs(gray - kLevelGray[level]) < std::abs(gray - kLevelGray[best])) {
            best = level;
        }
    }
    return best;
}

// Where a pixel's error goes: (dx, dy, share); shares are out of `whole`.
struct Spread {
    int dx, dy, share;
};
constexpr Spread kFloydSteinberg[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
constexpr Spread kAtkinson[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};

// Error diffusion left to right, top to bottom. Errors are kept in 1/16 gray steps in a
// frame two cells wider on each side, so that no edge needs a test.
template <std::size_t N>
void diffuse(const RgbView& bitmap, BitmapImport& import, int width, int height, int brightness,
             const Spread (&spread)[N], int whole) {
    static thread_local int error[kMaxPictureHeight + 3][kMaxPictureWidth + 4];
    for (int y = 0; y < height + 3; ++y) {
        std::fill_n(error[y], width + 4, 0);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            if (transparentPixel(argb)) {
                import.importPixels[x + 1][y + 1] = kTransparent;
                continue;
            }
            const int wanted = 16 * (intensityOf(argb) + brightness) + error[y][x + 2];
            const int level = nearestLevel(std::clamp(wanted, 0, 16 * 255) / 16);
            import.importPixels[x + 1][y + 1] = static_cast<Pixel>(level);
            const int left = wanted - 16 * kLevelGray[level];
            for (const Spread& s : spread) {
                error[y + s.dy][x + 2 + s.dx] += left * s.share / whole;
            }
        }
    }
}

// The 4 x 4 Bayer matrix: the order in which the cells of a block take the upper level.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

void ordered(const RgbView& bitmap, BitmapImport& import, int width, int height, int brightness) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            if (transparentPixel(argb)) {
                import.importPixels[x + 1][y + 1] = kTransparent;
                continue;
            }
            const int gray = std::clamp(intensityOf(argb) + brightness, 0, 255);
            int lower = 0;
            while (lower < 2 && gray >= kLevelGray[lower + 1]) {
                ++lower;
            }
            // The share of the way to the upper level, against the cell's place in the
            // matrix: 16 * (gray - low) / (high - low) > matrix + 1/2.
            const int low = kLevelGray[lower];
            const int high = kLevelGray[lower + 1];
            const bool upper = 32 * (gray - low) > (2 * kBayer[y % 4][x % 4] + 1) * (high - low);
            import.importPixels[x + 1][y + 1] = static_cast<Pixel>(lower + (upper ? 1 : 0));
        }
    }
}

}  // namespace

std::span<const DitherRow> dithers() {
    return kDithers;
}

std::optional<Dither> ditherNamed(std::string_view commandName) {
    for (const DitherRow& row : kDithers) {
        if (row.commandName == commandName) {
            return row.id;
        }
    }
    return std::nullopt;
}

void takeImportSize(const RgbView& bitmap, BitmapImport& import) {
    import.importWidth = std::clamp(bitmap.width, 0, kMaxPictureWidth);
    import.importHeight = std::clamp(bitmap.height, 0, kMaxPictureHeight);
}

void convertBitmap(const RgbView& bitmap, BitmapImport& import) {
    const int step = std::clamp(import.levelStep, kMinLevelStep, kMaxLevelStep);
    const int width = std::min(import.importWidth, bitmap.width);
    const int height = std::min(import.importHeight, bitmap.height);
    const int brightness = kBrightnessPerStep * (kDefaultLevelStep - step);
    switch (import.dither) {
        case Dither::FloydSteinberg:
            diffuse(bitmap, import, width, height, brightness, kFloydSteinberg, 16);
            return;
        case Dither::Atkinson:
            diffuse(bitmap, import, width, height, brightness, kAtkinson, 8);
            return;
        case Dither::Ordered:
            ordered(bitmap, import, width, height, brightness);
            return;
        case Dither::Threshold:
            break;
    }
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            import.importPixels[x + 1][y + 1] =
                transparentPixel(argb) ? kTransparent : std::min(intensityOf(argb) / step, 3);
        }
    }
}

}  // namespace stipple
