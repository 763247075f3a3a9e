#pragma once
// Cutting a bitmap's intensities into the four gray levels, for the bitmap import.

#include <cstdint>

#include "model/Pixel.h"

namespace stipple {

constexpr int kDefaultLevelStep = 64;
constexpr int kMinLevelStep = 1;
constexpr int kMaxLevelStep = 200;

// The import window's converted picture: the top-left at most 96 x 92 pixels of the
// bitmap, 1-based like the picture's own grid.
struct BitmapImport {
    int importWidth = 0;
    int importHeight = 0;
    int levelStep = kDefaultLevelStep;
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

// (r + g + b) div 3 div levelStep, capped at 3, for every pixel of the import size.
// levelStep outside 1..200 is held to that range.
void convertBitmap(const RgbView& bitmap, BitmapImport& import);

}  // namespace stipple
