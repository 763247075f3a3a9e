// The bucket: fills the region of equal values around the pressed cell.
#include "app/Editor.h"

namespace stipple {

void Editor::bucketFill(Pixel value, int X, int Y) {
    if (X < 0 || Y < 0) {
        return;
    }
    const int x = X / pixelSize + 1;
    const int y = Y / pixelSize + 1;
    if (x > pictureWidth || y > pictureHeight) {
        return;
    }
    const Pixel target = pixels[x][y];
    if (value == target) {
        return;
    }
    floodRegion(value, target, x, y);
    redrawSurface();
}

void Editor::floodRegion(Pixel value, Pixel target, int x, int y) {
    if (value == target || x < 1 || y < 1 || x > pictureWidth || y > pictureHeight ||
        pixels[x][y] != target) {
        return;
    }
    // A cell is set when it is pushed, so it never matches again and is pushed only once:
    // the stack never holds more cells than the picture has.
    int count = 0;
    auto visit = [&](int cx, int cy) {
        if (pixels[cx][cy] == target) {
            pixels[cx][cy] = value;
            floodStack_[count++] = {static_cast<std::uint8_t>(cx), static_cast<std::uint8_t>(cy)};
        }
    };
    visit(x, y);
    while (count > 0) {
        const FloodCell cell = floodStack_[--count];
        const int cx = cell.x;
        const int cy = cell.y;
        if (cx > 1) {
            visit(cx - 1, cy);
        }
        if (cx < pictureWidth) {
            visit(cx + 1, cy);
        }
        if (cy > 1) {
            visit(cx, cy - 1);
        }
        if (cy < pictureHeight) {
            visit(cx, cy + 1);
        }
    }
}

}  // namespace stipple
