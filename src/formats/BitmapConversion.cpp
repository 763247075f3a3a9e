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

// The grays the editor shows and the levels that show them: all four, or black and white.
struct Aims {
    int count;
    int gray[4];
    Pixel level[4];
};
constexpr Aims kFourGrays{4, {0, 128, 192, 255}, {kBlack, kGray66, kGray33, kWhite}};
constexpr Aims kTwoGrays{2, {0, 255}, {kBlack, kWhite}};

const Aims& aimsOf(Grays grays) {
    return grays == Grays::Two ? kTwoGrays : kFourGrays;
}

// How far the dithers move the brightness per step of the level step from its default:
// a smaller step brightens, as it does for the cut.
constexpr int kBrightnessPerStep = 2;

int intensityOf(std::uint32_t argb) {
    return static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF)) / 3;
}

bool transparentPixel(std::uint32_t argb) {
    return (argb >> 24) < 0x80;
}

// The index of the aim nearest to `gray`.
int nearestAim(const Aims& aims, int gray) {
    int best = 0;
    for (int i = 1; i < aims.count; ++i) {
        if (std::abs(gray - aims.gray[i]) < std::abs(gray - aims.gray[best])) {
            best = i;
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
    const Aims& aims = aimsOf(import.grays);
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
            const int aim = nearestAim(aims, std::clamp(wanted, 0, 16 * 255) / 16);
            import.importPixels[x + 1][y + 1] = aims.level[aim];
            const int left = wanted - 16 * aims.gray[aim];
            for (const Spread& s : spread) {
                error[y + s.dy][x + 2 + s.dx] += left * s.share / whole;
            }
        }
    }
}

// The 4 x 4 Bayer matrix: the order in which the cells of a block take the upper level.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

void ordered(const RgbView& bitmap, BitmapImport& import, int width, int height, int brightness) {
    const Aims& aims = aimsOf(import.grays);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            if (transparentPixel(argb)) {
                import.importPixels[x + 1][y + 1] = kTransparent;
                continue;
            }
            const int gray = std::clamp(intensityOf(argb) + brightness, 0, 255);
            int lower = 0;
            while (lower < aims.count - 2 && gray >= aims.gray[lower + 1]) {
                ++lower;
            }
            // The share of the way to the upper level, against the cell's place in the
            // matrix: 16 * (gray - low) / (high - low) > matrix + 1/2.
            const int low = aims.gray[lower];
            const int high = aims.gray[lower + 1];
            const bool upper = 32 * (gray - low) > (2 * kBayer[y % 4][x % 4] + 1) * (high - low);
            import.importPixels[x + 1][y + 1] = aims.level[lower + (upper ? 1 : 0)];
        }
    }
}

int squaredDistance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (const int shift : {16, 8, 0}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

// Each opaque pixel takes the level of the nearest of the colours: the same colour, unless
// a fit has averaged pixels into one that is none of them.
void exact(const RgbView& bitmap, BitmapImport& import, int width, int height) {
    const ExactColours& colours = import.colours;
    // Colours that exact colours cannot take give nothing: every pixel transparent.
    const int count = colours.count <= static_cast<int>(import.grays) ? colours.count : 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            if (transparentPixel(argb) || count == 0) {
                import.importPixels[x + 1][y + 1] = kTransparent;
                continue;
            }
            int best = 0;
            for (int i = 1; i < count; ++i) {
                if (squaredDistance(argb, colours.colours[i]) <
                    squaredDistance(argb, colours.colours[best])) {
                    best = i;
                }
            }
            import.importPixels[x + 1][y + 1] = colours.levels[best];
        }
    }
}

int colourSum(std::uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF));
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
    if (import.exactColours) {
        exact(bitmap, import, width, height);
        return;
    }
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
    const bool twoGrays = import.grays == Grays::Two;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            const int level = std::min(intensityOf(argb) / step, 3);
            import.importPixels[x + 1][y + 1] = transparentPixel(argb) ? kTransparent
                                                : twoGrays ? (level >= 2 ? kWhite : kBlack)
                                                           : level;
        }
    }
}

void countColours(const RgbView& view, std::vector<std::uint32_t>& found) {
    for (int y = 0; y < view.height; ++y) {
        const std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
        std::uint32_t last = 0xFFFFFFFFu;  // no opaque colour: rows repeat colours in runs
        for (int x = 0; x < view.width; ++x) {
            if (transparentPixel(row[x]) || (row[x] & 0xFFFFFF) == last) {
                continue;
            }
            last = row[x] & 0xFFFFFF;
            const auto at = std::lower_bound(found.begin(), found.end(), last);
            if (at == found.end() || *at != last) {
                found.insert(at, last);
                if (found.size() > std::size_t(kCountedColours)) {
                    return;
                }
            }
        }
    }
}

ExactColours exactColoursOf(std::vector<std::uint32_t> found, Grays grays) {
    ExactColours result;
    result.count = static_cast<int>(std::min(found.size(), std::size_t(kCountedColours) + 1));
    if (result.count > static_cast<int>(grays)) {
        return result;
    }
    std::sort(found.begin(), found.end(), [](std::uint32_t a, std::uint32_t b) {
        return colourSum(a) != colourSum(b) ? colourSum(a) < colourSum(b) : a < b;
    });
    static constexpr Pixel kLevelsOf[5][4] = {{},
                                              {kBlack},
                                              {kBlack, kWhite},
                                              {kBlack, kGray66, kWhite},
                                              {kBlack, kGray66, kGray33, kWhite}};
    const int taken = std::min(result.count, 4);  // grays is at most four
    for (int i = 0; i < taken; ++i) {
        result.colours[i] = found[i];
        result.levels[i] = kLevelsOf[taken][i];
    }
    // A lone colour keeps its side of mid-gray.
    if (result.count == 1 && colourSum(found[0]) >= 3 * 128) {
        result.levels[0] = kWhite;
    }
    return result;
}

}  // namespace stipple
