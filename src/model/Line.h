#pragma once
// The cells of a straight line between two cells, both ends included: a Bresenham line,
// one cell per step along the longer axis.

#include <cstdlib>

namespace stipple {

// Calls cell(x, y) for every cell from (x0, y0) to (x1, y1), in order.
template <typename Cell>
void forEachLineCell(int x0, int y0, int x1, int y1, Cell&& cell) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        cell(x0, y0);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        const int twice = 2 * error;
        // A tie steps along both axes.
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

}  // namespace stipple
