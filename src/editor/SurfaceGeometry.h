#pragma once
// Where things lie on the editing surface: which cell a surface pixel falls in and where a
// cell is drawn, how far the surface is scrolled, and the strips the scroll bars take of the
// room the window gives it. Surface pixels count from the surface's top-left, scrolled or not;
// cells are 1-based.

#include "render/SurfaceRenderer.h"

namespace stipple {

constexpr int kScrollBarThickness = 16;

// Which scroll bars the surface needs in the room, how much of the surface then shows, and
// how far it can scroll.
struct SurfaceScroll {
    bool horizontal = false;
    bool vertical = false;
    int shownWidth = 0;
    int shownHeight = 0;
    int maxX = 0;
    int maxY = 0;
};

struct CellRect {
    int left, top, size;  // surface pixels
};

class SurfaceGeometry {
  public:
    // Reads `view`, which must outlive it.
    SurfaceGeometry(const ViewSettings& view, int pictureWidth, int pictureHeight)
        : view_(view), width_(pictureWidth), height_(pictureHeight) {}

    int pixelSize() const { return view_.pixelSize; }

    // The 1-based cell a surface position falls in, whether or not the picture has it;
    // positions left of or above the surface give cell 0 or less.
    int cellX(int x) const { return floorDiv(x) + 1; }
    int cellY(int y) const { return floorDiv(y) + 1; }
    // Whether the position lies on a cell of the picture; with `cellX`, `cellY` the cell it
    // falls in, as cellX() and cellY() give it.
    bool inPicture(int x, int y, int& cellX, int& cellY) const {
        cellX = this->cellX(x);
        cellY = this->cellY(y);
        return x >= 0 && y >= 0 && cellX <= width_ && cellY <= height_;
    }
    bool inPicture(int x, int y) const {
        int cx = 0, cy = 0;
        return inPicture(x, y, cx, cy);
    }
    // The position held to the picture's area: a move or release beyond it counts at its
    // nearest edge.
    int heldX(int x) const { return held(x, width_); }
    int heldY(int y) const { return held(y, height_); }

    // Where the 1-based cell is drawn.
    CellRect cell(int x, int y) const {
        return {(x - 1) * view_.pixelSize, (y - 1) * view_.pixelSize, view_.pixelSize};
    }

    // The scroll bars in the room, and the scroll position held to their reach.
    SurfaceScroll scroll() const;
    int scrollX() const;
    int scrollY() const;
    // A position in the room (the window's pixels over the surface) on the surface.
    int surfaceX(int roomX) const { return roomX + view_.scrollX; }
    int surfaceY(int roomY) const { return roomY + view_.scrollY; }

  private:
    int floorDiv(int position) const {
        return position >= 0 ? position / view_.pixelSize
                             : -((-position + view_.pixelSize - 1) / view_.pixelSize);
    }
    int held(int position, int cells) const {
        const int limit = cells * view_.pixelSize;
        return position >= limit ? limit - 1 : position < 0 ? 0 : position;
    }

    const ViewSettings& view_;
    int width_;
    int height_;
};

}  // namespace stipple
