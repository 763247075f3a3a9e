#pragma once
// Our own reader of Windows and OS/2 bitmap files, a row of the image decoders. It decodes
// only the top-left region it is asked for: rows outside it are skipped where the rows are
// stored uncompressed, so a bitmap of any size opens in about the time of its region, with
// memory bounded by it. It never reads outside the file's bytes, and every pixel it returns
// is defined and opaque: pixels a compressed file skips are black.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/ImageDecoders.h"
#include "io/ByteSource.h"

namespace stipple {

// True when the first bytes are "BM", as every bitmap file begins.
bool recognisesBitmap(std::span<const std::uint8_t> firstBytes);

// Decodes the top-left at most maxWidth x maxHeight pixels of the bitmap file.
ImageDecoding decodeBitmap(ByteSource& file, int maxWidth, int maxHeight);

// The message that tells the user why the file `shownPath` was refused; a file that is no
// bitmap at all is told in words that name no file. Not for ReadFailed, which the byte
// source words.
std::string bitmapFaultMessage(const ImageDecoding& decoding, std::string_view shownPath);

// That message for a file that is no bitmap.
inline constexpr std::string_view kNotABitmapMessage = "Bitmap image is not valid.";

}  // namespace stipple
