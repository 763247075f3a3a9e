#include "editor/SizeInput.h"

#include <algorithm>

#include "model/Pixel.h"

namespace stipple {

namespace {
bool allDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The fields hold at most two characters, but the check must not trust that.
int decimalValue(const std::string& text) {
    int value = 0;
    for (char c : text) {
        value = std::min(value * 10 + (c - '0'), 1000);
    }
    return value;
}
}  // namespace

std::optional<PictureSize> parseSizeInput(const std::string& heightText,
                                          const std::string& widthText) {
    if (heightText.empty() || widthText.empty() || !allDigits(heightText) ||
        !allDigits(widthText)) {
        return std::nullopt;
    }
    const int height = decimalValue(heightText);
    if (height > kMaxPictureHeight || height < 2) {
        return std::nullopt;
    }
    const int width = decimalValue(widthText);
    if (width > kMaxPictureWidth || width < 2) {
        return std::nullopt;
    }
    return PictureSize{width, height};
}

}  // namespace stipple
