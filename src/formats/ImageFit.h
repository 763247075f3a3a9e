#pragma once
// Scaling a part of an image to fit a picture's size: down by the mean of the pixels each
// cell covers, up by whole factors, keeping the aspect.

#include <cstdint>
#include <utility>
#include <vector>

#include "formats/BitmapConversion.h"

namespace stipple {

// The size within maxWidth x maxHeight that an image of width x height fits to: the largest
// whole multiple of it that fits, or, when it does not fit, the size scaled down to fit with
// its aspect kept (rounded, at least 1 x 1).
std::pair<int, int> fittedSize(int width, int height, int maxWidth, int maxHeight);

// The source scaled to its fitted size into `out`. Scaled down, a cell is the mean colour of
// the opaque pixels it covers (each source pixel counted in one cell), and transparent when
// fewer than half of them are opaque; scaled up, each pixel becomes a square of cells.
RgbView fitImage(const RgbView& source, int maxWidth, int maxHeight,
                 std::vector<std::uint32_t>& out);

}  // namespace stipple
