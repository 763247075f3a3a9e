#include "model/Selection.h"

#include <algorithm>
#include <cstdlib>

namespace stipple {

void Selection::normalizeCorners() {
    if (selX1 >= selX2) {
        const int oldX1 = selX1;
        selX1 = selX2 - 1;
        selX2 = oldX1 + 1;
    }
    if (selY1 >= selY2) {
        const int oldY1 = selY1;
        selY1 = selY2 - 1;
        selY2 = oldY1 + 1;
    }
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
