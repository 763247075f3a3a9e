#pragma once
// Compares a block of the surface raster with rows of colour letters, so that an
// expectation reads like the picture it describes:
//
//     expectRasterBlock(surface, 0, 0, {"GGGGG",
//                                       "GKKKG"});
//
// Each letter names a colour of the legend; '.' matches anything. On a mismatch the test
// fails at the caller's line and prints the expected and the actual block in letters.

#include <initializer_list>
#include <map>
#include <source_location>
#include <span>
#include <string>
#include <string_view>

#include "render/Raster.h"

namespace stipple::testing {

using ColourLegend = std::map<char, Rgb>;

// K black, D 66 % gray, L 33 % gray, W white, T teal (transparent), G grid, R border red.
const ColourLegend& surfaceLegend();

// The raster's block rendered in letters of the legend; '?' for a colour it does not name.
std::string rasterBlockInLetters(const Raster& raster, int left, int top, int width, int height,
                                 const ColourLegend& legend = surfaceLegend());

void expectRasterBlock(const Raster& raster, int left, int top,
                       std::initializer_list<std::string_view> rows,
                       const ColourLegend& legend = surfaceLegend(),
                       std::source_location where = std::source_location::current());
void expectRasterBlock(const Raster& raster, int left, int top,
                       std::span<const std::string_view> rows,
                       const ColourLegend& legend = surfaceLegend(),
                       std::source_location where = std::source_location::current());

}  // namespace stipple::testing
