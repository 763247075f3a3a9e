#include "editor/SurfaceGeometry.h"

#include <algorithm>

namespace stipple {

SurfaceScroll SurfaceGeometry::scroll() const {
    // The grid's last line lies one pixel beyond the last cell.
    const int width = width_ * view_.pixelSize + 1;
    const int height = height_ * view_.pixelSize + 1;
    SurfaceScroll s;
    // One bar can take the room that makes the other needed: look twice.
    for (int pass = 0; pass < 2; ++pass) {
        s.shownWidth = view_.roomWidth - (s.vertical ? kScrollBarThickness : 0);
        s.shownHeight = view_.roomHeight - (s.horizontal ? kScrollBarThickness : 0);
        s.horizontal = width > s.shownWidth;
        s.vertical = height > s.shownHeight;
    }
    s.shownWidth = view_.roomWidth - (s.vertical ? kScrollBarThickness : 0);
    s.shownHeight = view_.roomHeight - (s.horizontal ? kScrollBarThickness : 0);
    s.maxX = std::max(0, width - s.shownWidth);
    s.maxY = std::max(0, height - s.shownHeight);
    return s;
}

int SurfaceGeometry::scrollX() const {
    return std::clamp(view_.scrollX, 0, scroll().maxX);
}

int SurfaceGeometry::scrollY() const {
    return std::clamp(view_.scrollY, 0, scroll().maxY);
}

}  // namespace stipple
