#pragma once
// Packing of pixel values at 1, 2 or 4 bits per pixel. Pixels go row by row from the top,
// each row from the left; inside a byte the first pixel takes the least significant bits.

#include <cstdint>
#include <span>

#include "model/Pixel.h"
#include "model/PixelView.h"

namespace stipple {

// Returns `byte` with bit k-1 (k = 1..8) set when `on`, else cleared.
constexpr std::uint8_t setBit(std::uint8_t byte, int k, bool on) {
    const auto mask = static_cast<std::uint8_t>(1u << (k - 1));
    return static_cast<std::uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

// Position p = 1..8: 33 % gray, white and transparent are 1; black and 66 % gray are 0.
constexpr std::uint8_t mergeCode1(std::uint8_t byte, int p, Pixel value) {
    return setBit(byte, p, value >= 2);
}

// Position p = 1..4: the 2-bit code (transparent counts as white) replaces both bits.
constexpr std::uint8_t mergeCode2(std::uint8_t byte, int p, Pixel value) {
    const int code = value >= kWhite ? 3 : (value < 0 ? 0 : value);
    byte = setBit(byte, 2 * p - 1, (code & 1) != 0);
    return setBit(byte, 2 * p, (code & 2) != 0);
}

// Position p = 1..2: the nibble holds the value itself. For 0..3 only its low half is
// written (the high half of a fresh byte is already 0); transparent gives 0100.
constexpr std::uint8_t mergeCode4(std::uint8_t byte, int p, Pixel value) {
    if (value == kTransparent) {
        return mergeCode2(mergeCode2(byte, 2 * p - 1, 0), 2 * p, 1);
    }
    return mergeCode2(byte, 2 * p - 1, value);
}

// Bytes that packing w x h pixels at `depth` bits fills; with `alignToByte` every row
// starts a fresh byte.
constexpr int packedByteCount(int w, int h, int depth, bool alignToByte) {
    if (w <= 0 || h <= 0 || (depth != 1 && depth != 2 && depth != 4)) {
        return 0;
    }
    const int perByte = 8 / depth;
    if (alignToByte) {
        return h * ((w + perByte - 1) / perByte);
    }
    return (w * h + perByte - 1) / perByte;
}

// The largest sources are the whole picture (96 x 92) and a quarter-turned box (92 x 96).
constexpr int largestPacking(int depth) {
    const int picture = packedByteCount(kMaxPictureWidth, kMaxPictureHeight, depth, true);
    const int turnedBox = packedByteCount(kMaxPictureHeight, kMaxPictureWidth, depth, true);
    return picture > turnedBox ? picture : turnedBox;
}
static_assert(largestPacking(1) == 1152);
static_assert(largestPacking(2) == 2208);
static_assert(largestPacking(4) == 4416);

// A store that holds the packing of any picture or box at `depth`, from index 1.
constexpr int packingStoreSize(int depth) {
    return largestPacking(depth) + 1;
}

// Packs the view into store[1..] (store[0] is never used) and returns the number of bytes
// filled. Every filled byte starts at 0. A view that would not fit is not packed and 0 is
// returned; pictures and boxes never get there.
int packRows(const PixelView& source, int depth, bool alignToByte, std::span<std::uint8_t> store);

}  // namespace stipple
