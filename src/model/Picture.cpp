#include "model/Picture.h"

#include <algorithm>

namespace stipple {

PixelView Picture::view() const {
    return {pixels, std::clamp(width, 0, kMaxPictureWidth),
            std::clamp(height, 0, kMaxPictureHeight)};
}

void Picture::assign(const PixelView& cells) {
    width = cells.width();
    height = cells.height();
    for (int x = 1; x <= width; ++x) {
        for (int y = 1; y <= height; ++y) {
            pixels[x][y] = cells.at(x, y);
        }
    }
}

}  // namespace stipple
