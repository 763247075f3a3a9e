#pragma once
// Cutting a bitmap's intensities into the four gray levels, or dithering them, for the
// import of a bitmap or PNG image.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

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

// The import window's converted picture: the top-left at most 96 x 92 pixels of the
// bitmap, 1-based like the picture's own grid.
struct BitmapImport {
    int importWidth = 0;
    int importHeight = 0;
    int levelStep = kDefaultLevelStep;
    Dither dither = Dither::Threshold;
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
// intensity div levelStep capped at 3; with a dither, the level its method gives. A pixel
// whose alpha is below half becomes transparent (and takes no dither error). levelStep
// outside 1..200 is held to that range.
void convertBitmap(const RgbView& bitmap, BitmapImport& import);

}  // namespace stipple
