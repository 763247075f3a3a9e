#pragma once
// Pixel values and the sizes every picture array is made for. Coordinates are 1-based:
// x = 1..width counts columns from the left, y = 1..height rows from the top; index 0 of
// every dimension is never part of a picture.

#include <cstdint>

namespace stipple {

using Pixel = std::int32_t;  // 0 black, 1 66 % gray, 2 33 % gray, 3 white, 4 transparent
using Rgb = std::uint32_t;   // 0x00RRGGBB

constexpr Pixel kBlack = 0;
constexpr Pixel kGray66 = 1;
constexpr Pixel kGray33 = 2;
constexpr Pixel kWhite = 3;
constexpr Pixel kTransparent = 4;

// How each value shows on screen, indexed by the value: black, the two grays, white and
// teal for transparent.
constexpr Rgb kDisplayColours[5] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x008080};

constexpr int kMaxPictureWidth = 96;
constexpr int kMaxPictureHeight = 92;
constexpr int kGridCols = kMaxPictureWidth + 1;   // 97, index 0 unused
constexpr int kGridRows = kMaxPictureHeight + 1;  // 93, index 0 unused
constexpr int kSelDim = 97;  // a box of the full width still fits after a quarter turn
constexpr int kUndoLevels = 50;
constexpr int kMaxPixelSize = 49;

}  // namespace stipple
