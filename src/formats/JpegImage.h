#pragma once
// Decoding of a JPEG held in memory into 8-bit RGB, through libjpeg.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stipple {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows from the top
};

// Returns nothing when the data is not a JPEG libjpeg can decode; `error` then says why.
std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size,
                                   std::string* error = nullptr);

}  // namespace stipple
