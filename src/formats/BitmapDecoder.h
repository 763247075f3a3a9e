#pragma once
// Our own reader of Windows and OS/2 bitmap files. It decodes only the top-left region it
// is asked for: rows outside it are skipped where the rows are stored uncompressed, so a
// bitmap of any size opens in about the time of its region, with memory bounded by it.
// It never reads outside the file's bytes, and every pixel it returns is defined: pixels a
// compressed file skips are black.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/BitmapConversion.h"
#include "io/ByteSource.h"

namespace stipple {

// The part of a bitmap that the import window shows; its conversion takes the top-left
// 96 x 92 of it.
constexpr int kBitmapRegionWidth = 273;
constexpr int kBitmapRegionHeight = 223;

struct DecodedBitmap {
    int width = 0;  // the whole bitmap's size
    int height = 0;
    // The top-left region, at most the size asked for: 0xFFRRGGBB words, rows from the top.
    int regionWidth = 0;
    int regionHeight = 0;
    std::vector<std::uint32_t> pixels;

    RgbView view() const { return {pixels.data(), regionWidth, regionHeight, regionWidth}; }
};

enum class BitmapFault {
    None,
    NotABitmap,   // not a bitmap file at all, or one whose header cannot be right
    Unsupported,  // a real bitmap of a kind this reader does not decode
    CutOff,       // the file ends before the bitmap does
    ReadFailed,   // the file could not be read; the byte source knows why
};

struct BitmapDecoding {
    DecodedBitmap bitmap;
    BitmapFault fault = BitmapFault::None;
    // What is cut off or not supported, e.g. "JPEG compression"; empty otherwise.
    std::string detail;

    explicit operator bool() const { return fault == BitmapFault::None; }
};

// Decodes the top-left at most maxWidth x maxHeight pixels of the bitmap file.
BitmapDecoding decodeBitmap(ByteSource& file, int maxWidth = kBitmapRegionWidth,
                            int maxHeight = kBitmapRegionHeight);

// The message that tells the user why the file `shownPath` was refused. Not for
// ReadFailed, which the byte source words.
std::string bitmapFaultMessage(const BitmapDecoding& decoding, std::string_view shownPath);

}  // namespace stipple
