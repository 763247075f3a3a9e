#pragma once
// PNG images for the import, decoded with libpng into the same region as bitmaps. Of a
// non-interlaced image only the region's rows are decoded, so its size costs nothing; an
// interlaced one is decoded whole, with memory bounded by the region and one row.

#include <string>
#include <string_view>

#include "formats/BitmapDecoder.h"
#include "io/ByteSource.h"

namespace stipple {

// True when the file starts with the eight bytes of the PNG signature.
bool isPng(ByteSource& file);

// Decodes the top-left at most maxWidth x maxHeight pixels of the PNG file as 0xAARRGGBB
// words, of any colour type and depth: alpha as the file gives it, or from its tRNS chunk,
// else 0xFF; 16-bit samples rounded to the nearest 8-bit value (v * 255 / 65535).
// NotABitmap: no PNG signature (empty detail) or libpng's reason; Unsupported: wider or
// taller than 1,000,000 pixels; CutOff: the detail says where the file ends.
BitmapDecoding decodePng(ByteSource& file, int maxWidth = kBitmapRegionWidth,
                         int maxHeight = kBitmapRegionHeight);

// The message that tells the user why the PNG file `shownPath` was refused. Not for
// ReadFailed, which the byte source words.
std::string pngFaultMessage(const BitmapDecoding& decoding, std::string_view shownPath);

}  // namespace stipple
