#pragma once
// The bucket's fill: the region of equal cells around a cell, connected by their sides.

#include <cstdint>

#include "model/Picture.h"

namespace stipple {

class FloodFill {
  public:
    // Sets the 4-connected region of `target` around the 1-based cell (x, y) to `value`;
    // does nothing when the cell lies outside the picture, holds another value, or `value`
    // equals `target`. Allocates nothing.
    void floodRegion(Picture& picture, Pixel value, Pixel target, int x, int y);

  private:
    // Cells still to visit; each cell of the picture is pushed once at most.
    struct Cell {
        std::uint8_t x, y;
    };
    Cell stack_[kMaxPictureWidth * kMaxPictureHeight] = {};
};

}  // namespace stipple
