#include "formats/ImageFit.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace stipple {

namespace {

bool opaque(std::uint32_t argb) {
    return (argb >> 24) >= 0x80;
}

// One column of sums of an output row: colour of the opaque pixels, how many are opaque,
// how many there are.
struct CellSum {
    std::uint64_t r = 0, g = 0, b = 0;
    std::uint32_t opaque = 0, all = 0;
};

void scaleDown(const RgbView& source, int width, int height, std::uint32_t* out) {
    // Source column x lies in output column columnOf[x]: floor(x * width / source.width).
    std::vector<int> columnOf(static_cast<std::size_t>(source.width));
    for (int x = 0; x < source.width; ++x) {
        columnOf[x] = static_cast<int>(std::int64_t(x) * width / source.width);
    }
    std::array<CellSum, kMaxPictureWidth> sums;
    for (int row = 0; row < height; ++row) {
        sums.fill({});
        const int top = static_cast<int>(std::int64_t(row) * source.height / height);
        const int bottom = static_cast<int>(std::int64_t(row + 1) * source.height / height);
        for (int y = top; y < bottom; ++y) {
            const std::uint32_t* line = source.pixels + std::ptrdiff_t(y) * source.stride;
            for (int x = 0; x < source.width; ++x) {
                CellSum& sum = sums[columnOf[x]];
                ++sum.all;
                if (opaque(line[x])) {
                    ++sum.opaque;
                    sum.r += (line[x] >> 16) & 0xFF;
                    sum.g += (line[x] >> 8) & 0xFF;
                    sum.b += line[x] & 0xFF;
                }
            }
        }
        for (int column = 0; column < width; ++column) {
            const CellSum& sum = sums[column];
            std::uint32_t& cell = out[std::ptrdiff_t(row) * width + column];
            if (2 * sum.opaque < sum.all) {
                cell = 0;
                continue;
            }
            const auto mean = [&](std::uint64_t total) {
                return static_cast<std::uint32_t>((total + sum.opaque / 2) / sum.opaque);
            };
            cell = 0xFF000000u | mean(sum.r) << 16 | mean(sum.g) << 8 | mean(sum.b);
        }
    }
}

}  // namespace

std::pair<int, int> fittedSize(int width, int height, int maxWidth, int maxHeight) {
    if (width < 1 || height < 1 || maxWidth < 1 || maxHeight < 1) {
        return {0, 0};
    }
    if (width <= maxWidth && height <= maxHeight) {
        const int factor = std::min(maxWidth / width, maxHeight / height);
        return {factor * width, factor * height};
    }
    const std::int64_t w = width, h = height;
    // Whichever side is the tighter fit takes its whole length; the other is rounded.
    if (std::int64_t(maxWidth) * h <= std::int64_t(maxHeight) * w) {
        const auto other = static_cast<int>((2 * h * maxWidth + w) / (2 * w));
        return {maxWidth, std::clamp(other, 1, maxHeight)};
    }
    const auto other = static_cast<int>((2 * w * maxHeight + h) / (2 * h));
    return {std::clamp(other, 1, maxWidth), maxHeight};
}

RgbView fitImage(const RgbView& source, int maxWidth, int maxHeight,
                 std::vector<std::uint32_t>& out) {
    const auto [width, height] =
        fittedSize(source.width, source.height, std::min(maxWidth, kMaxPictureWidth),
                   std::min(maxHeight, kMaxPictureHeight));
    out.assign(static_cast<std::size_t>(width) * height, 0);
    if (width == 0) {
        return {out.data(), 0, 0, 0};
    }
    if (width < source.width || height < source.height) {
        scaleDown(source, width, height, out.data());
    } else {
        const int factor = width / source.width;
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* line = source.pixels + std::ptrdiff_t(y / factor) * source.stride;
            for (int x = 0; x < width; ++x) {
                out[std::size_t(y) * width + x] = line[x / factor];
            }
        }
    }
    return {out.data(), width, height, width};
}

}  // namespace stipple
