#pragma once
// A read-only rectangle of pixel values, cell (x, y) with x = 1..width and y = 1..height,
// over a picture's grid, a selection buffer or cells stored row by row. It only points:
// the cells must outlive it.

#include "model/Pixel.h"

namespace stipple {

class PixelView {
  public:
    PixelView() = default;
    // A grid addressed [x][y] from 1, as the picture and the selection buffer are.
    PixelView(const Pixel (*grid)[kGridRows], int width, int height)
        : first_(&grid[1][1]),
          columnStep_(kGridRows),
          rowStep_(1),
          width_(width),
          height_(height) {}
    PixelView(const Pixel (*grid)[kSelDim], int width, int height)
        : first_(&grid[1][1]), columnStep_(kSelDim), rowStep_(1), width_(width), height_(height) {}
    // Cells row by row from the top, each row from the left.
    static PixelView rowByRow(const Pixel* cells, int width, int height) {
        PixelView view;
        view.first_ = cells;
        view.columnStep_ = 1;
        view.rowStep_ = width;
        view.width_ = width;
        view.height_ = height;
        return view;
    }

    int width() const { return width_; }
    int height() const { return height_; }
    Pixel at(int x, int y) const { return first_[(x - 1) * columnStep_ + (y - 1) * rowStep_]; }

  private:
    const Pixel* first_ = nullptr;
    int columnStep_ = 0;
    int rowStep_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace stipple
