#include "formats/BitmapConversion.h"

#include <algorithm>

namespace stipple {

void takeImportSize(const RgbView& bitmap, BitmapImport& import) {
    import.importWidth = std::clamp(bitmap.width, 0, kMaxPictureWidth);
    import.importHeight = std::clamp(bitmap.height, 0, kMaxPictureHeight);
}

void convertBitmap(const RgbView& bitmap, BitmapImport& import) {
    const int step = std::clamp(import.levelStep, kMinLevelStep, kMaxLevelStep);
    const int width = std::min(import.importWidth, bitmap.width);
    const int height = std::min(import.importHeight, bitmap.height);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint32_t argb = bitmap.pixels[y * bitmap.stride + x];
            const int intensity =
                static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF)) / 3;
            import.importPixels[x + 1][y + 1] = std::min(intensity / step, 3);
        }
    }
}

}  // namespace stipple
