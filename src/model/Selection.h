#pragma once
// The box tool's selection: the corners of the dragged box, the box in cells, and the
// selection buffer that a capture fills and that paste, crop, the turns, the box export and
// Save select work on.

#include <cstdint>

#include "model/Picture.h"
#include "model/PixelView.h"

namespace stipple {

struct BoxCorners {
    std::int32_t x1, y1, x2, y2;
};

struct Selection {
    // Corners of the box as grid lines, 0-based: the box runs from line selX1 to line selX2.
    // They are kept as the mouse left them until normalizeCorners puts them in order.
    std::int32_t selX1 = 0, selY1 = 0, selX2 = 0, selY2 = 0;
    // The box in cells, 1-based and inclusive.
    std::int32_t boxLeft = 0, boxTop = 0, boxRight = 0, boxBottom = 0;
    // selBuffer[a][b], a = 1..selWidth, b = 1..selHeight; meaningful once bufferFilled.
    Pixel selBuffer[kSelDim][kSelDim] = {};
    std::int32_t selWidth = 0, selHeight = 0;
    bool bufferFilled = false;
    // Whether the dashed frame around the box shows on the surface.
    bool frameShown = false;

    // Puts the corners in order so that selX1 < selX2 and selY1 < selY2: corners met in the
    // wrong order are swapped, each moving one line outwards, and equal ones become a
    // one-cell box.
    void normalizeCorners();
    // The corners as normalizeCorners would leave them.
    BoxCorners normalizedCorners() const;
    // Takes the box in cells from the corners.
    void boxFromCorners();
    // Takes the box from the (normalised) corners and copies its cells into the buffer.
    void capture(const Picture& picture);

    // The turns and flips of the buffer; each does nothing before the first capture.
    void rotateLeft();
    void rotateRight();
    void flipHorizontally();  // mirrors the rows: top becomes bottom
    void flipVertically();    // mirrors the columns: left becomes right

    // Whether the buffer fits a picture: only a quarter-turned box can be too tall.
    bool fitsAPicture() const { return selHeight <= kMaxPictureHeight; }
    // The buffer's selWidth x selHeight cells, held to what it can index.
    PixelView view() const;

  private:
    enum class Turn { Left, Right, MirrorRows, MirrorColumns };
    void turn(Turn turn);

    Pixel turnBuffer_[kSelDim][kSelDim] = {};
};

}  // namespace stipple
