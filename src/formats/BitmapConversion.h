#pragma once
// Cutting a bitmap's intensities into the four gray levels (or black and white), dithering
// them, or taking each of a few colours as one level, for the import of an image.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Pixel.h"

namespace stipple {

constexpr int kDefaultLevelStep = 64;
constexpr int kMinLevelStep = 1;
constexpr int kMaxLevelStep = 200;

// How intensities become the four levels. Threshold cuts at multiples of the level step;
// the others aim at the grays the editor shows (0, 128, 192, 255) so that a region keeps
// its mean gray, the level step moving the brightness (none at the default step).
enum class Dither { Threshold, FloydSteinberg, Atkinson, Ordered };

struct DitherRow {
    Dither id;
    std::string_view commandName;  // stipple import --dither
    std::string_view label;        // the import window's choice
};
std::span<const DitherRow> dithers();
std::optional<Dither> ditherNamed(std::string_view commandName);

// The levels the cut and every dither aim at: the four grays, or black and white only for
// a 1-bit display.
enum class Grays { Four = 4, Two = 2 };

// A part of an image in its pixels, from (0, 0) at its top-left corner.
struct ImageRegion {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ImageRegion&) const = default;
};

// The most colours exact colours count before saying "more than".
constexpr int kCountedColours = 256;

// The distinct opaque colours of an image (alpha below half is transparent), darker to
// lighter by intensity, each with the level it takes.
struct ExactColours {
    int count = 0;                           // past kCountedColours it stays at kCountedColours + 1
    std::array<std::uint32_t, 4> colours{};  // 0x00RRGGBB; the first min(count, 4)
    std::array<Pixel, 4> levels{};
};

// What the import takes and how, and its converted picture, 1-based like the picture's own
// grid.
struct BitmapImport {
    int importWidth = 0;
    int importHeight = 0;
    int levelStep = kDefaultLevelStep;
    Dither dither = Dither::Threshold;
    Grays grays = Grays::Four;
    // The part of the image taken; none: from its top-left corner.
    std::optional<ImageRegion> region;
    // Scaled to fit within this size (at most 96 x 92), keeping the aspect; none: the
    // top-left 96 x 92 of the region, pixel for pixel.
    std::optional<std::pair<int, int>> fit;
    // Each colour as one level, instead of the cut or a dither; the pipeline fills
    // `colours` from the region.
    bool exactColours = false;
    ExactColours colours;
    Pixel importPixels[kGridCols][kGridRows] = {};
};

// Pixels as 0xAARRGGBB words, rows from the top, `stride` words apart.
struct RgbView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Sets the import size from the bitmap's size, held to 96 x 92.
void takeImportSize(const RgbView& bitmap, BitmapImport& import);

// Every pixel of the import size from its intensity (r + g + b) div 3: with Threshold,
// intensity div levelStep capped at 3 (with two grays: white from twice the step, the
// middle cut); with a dither, the level its method gives among the grays. With exact
// colours, the level of the nearest of `colours` (transparent when there are more of them
// than the grays). A pixel whose alpha is below half becomes
// transparent (and takes no dither error). levelStep outside 1..200 is held to that range.
void convertBitmap(const RgbView& bitmap, BitmapImport& import);

// Adds the view's distinct opaque colours to `found` (kept sorted, at most
// kCountedColours + 1 of them).
void countColours(const RgbView& view, std::vector<std::uint32_t>& found);

// The colours found, darker to lighter, with their levels when there are at most as many as
// the grays: one colour is black when darker than mid-gray, else white; two black and white;
// three black, 66 % gray and white; four every level.
ExactColours exactColoursOf(std::vector<std::uint32_t> found, Grays grays);

}  // namespace stipple
