#include "model/FloodFill.h"

namespace stipple {

void FloodFill::floodRegion(Picture& picture, Pixel value, Pixel target, int x, int y) {
    if (value == target || x < 1 || y < 1 || x > picture.width || y > picture.height ||
        picture.pixels[x][y] != target) {
        return;
    }
    // A cell is set when it is pushed, so it never matches again and is pushed only once:
    // the stack never holds more cells than the picture has.
    int count = 0;
    auto visit = [&](int cx, int cy) {
        if (picture.pixels[cx][cy] == target) {
            picture.pixels[cx][cy] = value;
            stack_[count++] = {static_cast<std::uint8_t>(cx), static_cast<std::uint8_t>(cy)};
        }
    };
    visit(x, y);
    while (count > 0) {
        const Cell cell = stack_[--count];
        const int cx = cell.x;
        const int cy = cell.y;
        if (cx > 1) {
            visit(cx - 1, cy);
        }
        if (cx < picture.width) {
            visit(cx + 1, cy);
        }
        if (cy > 1) {
            visit(cx, cy - 1);
        }
        if (cy < picture.height) {
            visit(cx, cy + 1);
        }
    }
}

}  // namespace stipple
