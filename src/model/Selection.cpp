#include "model/Selection.h"

#include <algorithm>
#include <cstdlib>

namespace stipple {

namespace {

void order(std::int32_t& first, std::int32_t& second) {
    if (first >= second) {
        const std::int32_t oldFirst = first;
        first = second - 1;
        second = oldFirst + 1;
    }
}

}  // namespace

void Selection::normalizeCorners() {
    order(selX1, selX2);
    order(selY1, selY2);
}

BoxCorners Selection::normalizedCorners() const {
    BoxCorners c{selX1, selY1, selX2, selY2};
    order(c.x1, c.x2);
    order(c.y1, c.y2);
    return c;
}

void Selection::boxFromCorners() {
    boxLeft = selX1 + 1;
    boxTop = selY1 + 1;
    boxRight = selX2;
    boxBottom = selY2;
}

void Selection::capture(const Picture& picture) {
    boxFromCorners();
    selWidth = std::abs(boxRight - boxLeft) + 1;
    selHeight = std::abs(boxBottom - boxTop) + 1;
    for (int a = 1; a <= selWidth; ++a) {
        for (int b = 1; b <= selHeight; ++b) {
            selBuffer[a][b] = picture.pixels[boxLeft + a - 1][boxTop + b - 1];
        }
    }
    bufferFilled = true;
}

PixelView Selection::view() const {
    return {selBuffer, std::clamp(selWidth, 0, kSelDim - 1), std::clamp(selHeight, 0, kSelDim - 1)};
}

void Selection::rotateLeft() {
    turn(Turn::Left);
}

void Selection::rotateRight() {
    turn(Turn::Right);
}

void Selection::flipHorizontally() {
    turn(Turn::MirrorRows);
}

void Selection::flipVertically() {
    turn(Turn::MirrorColumns);
}

void Selection::turn(Turn turn) {
    if (!bufferFilled) {
        return;
    }
    const int W = selWidth;
    const int H = selHeight;
    for (int a = 1; a <= W; ++a) {
        for (int b = 1; b <= H; ++b) {
            turnBuffer_[a][b] = selBuffer[a][b];
        }
    }
    if (turn == Turn::Left || turn == Turn::Right) {
        selWidth = H;
        selHeight = W;
    }
    // New cell (a, b) comes from the old cell (oldA, oldB).
    for (int a = 1; a <= selWidth; ++a) {
        for (int b = 1; b <= selHeight; ++b) {
            int oldA = a, oldB = b;
            switch (turn) {
                case Turn::Left:
                    oldA = W + 1 - b;
                    oldB = a;
                    break;
                case Turn::Right:
                    oldA = b;
                    oldB = H + 1 - a;
                    break;
                case Turn::MirrorRows:
                    oldB = H + 1 - b;
                    break;
                case Turn::MirrorColumns:
                    oldA = W + 1 - a;
                    break;
            }
            selBuffer[a][b] = turnBuffer_[oldA][oldB];
        }
    }
}

}  // namespace stipple
