#pragma once
// Writing 8-bit RGBA images as PNG, through libpng.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stipple::cli {

// `rgba` holds width x height pixels, 4 bytes each, rows from the top. Returns the PNG
// file's bytes, or nothing when libpng fails.
std::optional<std::string> encodePng(const std::vector<std::uint8_t>& rgba, int width, int height);

}  // namespace stipple::cli
