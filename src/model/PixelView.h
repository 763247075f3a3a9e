#pragma once
// A read-only rectangle of pixel values, cell (x, y) with x = 1..width and y = 1..height,
// over a picture's grid or a selection buffer. It only points: the grid must outlive it.

#include "model/Pixel.h"

namespace stipple {

class PixelView {
  public:
    PixelView() = default;
    PixelView(const Pixel (*grid)[kGridRows], int width, int height)
        : picture_(grid), width_(width), height_(height) {}
    PixelView(const Pixel (*grid)[kSelDim], int width, int height)
        : box_(grid), width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Pixel at(int x, int y) const { return picture_ != nullptr ? picture_[x][y] : box_[x][y]; }

  private:
    const Pixel (*picture_)[kGridRows] = nullptr;
    const Pixel (*box_)[kSelDim] = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace stipple
