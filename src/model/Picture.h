#pragma once
// The picture being edited: its cells in a grid sized for the largest picture, its size
// and the version its file carries.

#include <cstdint>

#include "model/Pixel.h"
#include "model/PixelView.h"

namespace stipple {

struct Picture {
    std::int32_t fileVersion = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // pixels[x][y], 1-based; the cells beyond the size are kept and come back when the
    // picture grows again.
    Pixel pixels[kGridCols][kGridRows] = {};

    // The width x height cells, the size held to what the grid can index.
    PixelView view() const;
    // Takes the size and the cells of `cells`, which must fit the grid; the cells beyond
    // keep their values.
    void assign(const PixelView& cells);
};

}  // namespace stipple
