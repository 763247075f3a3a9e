#pragma once
// The check the Set Size dialog makes before it accepts its two fields.

#include <optional>
#include <string>

namespace stipple {

struct PictureSize {
    int width;
    int height;
};

// Both texts must be non-empty and all decimal digits; the height must be 2..92 and the
// width 2..96. Returns the size when the input is acceptable.
std::optional<PictureSize> parseSizeInput(const std::string& heightText,
                                          const std::string& widthText);

}  // namespace stipple
