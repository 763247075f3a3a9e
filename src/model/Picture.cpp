#include "model/Picture.h"

#include <algorithm>

namespace stipple {

PixelView Picture::view() const {
    return {pixels, std::clamp(width, 0, kMaxPictureWidth),
            std::clamp(height, 0, kMaxPictureHeight)};
}

}  // namespace stipple
