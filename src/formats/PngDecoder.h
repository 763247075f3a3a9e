#pragma once
// PNG images for the import, a row of the image decoders, decoded with libpng. Of a
// non-interlaced image only the region's rows are decoded; of an interlaced one the first six
// passes whole and the last down to the region, with memory bounded by the region and one
// row. An image past kPngBudget is refused before any of its data is inflated.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/ImageDecoders.h"
#include "io/ByteSource.h"

namespace stipple {

// True when the first bytes are the eight of the PNG signature.
bool recognisesPng(std::span<const std::uint8_t> firstBytes);

// Decodes the top-left at most maxWidth x maxHeight pixels of the PNG file as 0xAARRGGBB
// words, of any colour type and depth: alpha as the file gives it, or from its tRNS chunk,
// else 0xFF; 16-bit samples rounded to the nearest 8-bit value (v * 255 / 65535).
// NotAnImage: no PNG signature (empty detail) or libpng's reason; Unsupported: wider or
// taller than 1,000,000 pixels; TooLarge: past kPngBudget; CutOff: the detail says where the
// file ends.
ImageDecoding decodePng(ByteSource& file, int maxWidth, int maxHeight);

// The message that tells the user why the PNG file `shownPath` was refused. Not for
// ReadFailed, which the byte source words.
std::string pngFaultMessage(const ImageDecoding& decoding, std::string_view shownPath);

}  // namespace stipple
