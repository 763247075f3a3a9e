#pragma once
// A plain 32-bit RGB raster for the editing surface. It stores only the visible
// 670 x 587 part, from its origin on (the surface scrolled); the logical size may be larger
// and everything beyond the stored part is clipped. Every position is logical. All drawing
// follows one rule: right and bottom edges, and the end point of a line, are excluded.

#include <cstdint>

#include "model/Pixel.h"

namespace stipple {

enum class PenStyle { Solid, Dashed };

class Raster {
  public:
    static constexpr int kStoredWidth = 670;
    static constexpr int kStoredHeight = 587;

    // Dashes of the dashed pen: this many pixels drawn, then this many left out.
    static constexpr int kDashOn = 4;
    static constexpr int kDashOff = 2;

    Raster();
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    void setLogicalSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    // The logical position of the stored part's top-left pixel; 0, 0 unless scrolled.
    void setOrigin(int x, int y);
    int originX() const { return originX_; }
    int originY() const { return originY_; }

    void fill(Rgb colour);
    // Fills x in [left, right) and y in [top, bottom).
    void fillRect(int left, int top, int right, int bottom, Rgb colour);
    // A line from (x0, y0) up to but not including (x1, y1). Dashed lines draw their gaps
    // in the gap colour so that they stay visible on any picture.
    void line(int x0, int y0, int x1, int y1, Rgb colour, PenStyle style = PenStyle::Solid);
    // The closed line through the given corners and back to the first; the dash pattern
    // runs on around the corners.
    void closedLine(const int (*corners)[2], int count, Rgb colour,
                    PenStyle style = PenStyle::Solid);
    // Copies the stored part of row `from` into the rows [top, bottom); rows outside the
    // logical size or the stored part are left out.
    void copyRow(int from, int top, int bottom);
    // Outside the logical size, and beyond the stored part, reads give 0.
    Rgb pixel(int x, int y) const;

    // The stored part, row by row: bits()[j * kStoredWidth + i] is logical pixel
    // (originX() + i, originY() + j).
    const std::uint32_t* bits() const { return bits_; }
    static constexpr int bytesPerLine() { return kStoredWidth * 4; }

    static constexpr Rgb kDashGapRgb = 0xFFFFFF;

  private:
    bool stored(int x, int y) const;
    void plot(int x, int y, Rgb colour);
    void drawLine(int x0, int y0, int x1, int y1, Rgb colour, PenStyle style, int& dashPhase);

    int width_ = kStoredWidth;
    int height_ = kStoredHeight;
    int originX_ = 0;
    int originY_ = 0;
    // kStoredWidth x kStoredHeight words, zeroed; see the constructor.
    std::uint32_t* bits_;
};

}  // namespace stipple
