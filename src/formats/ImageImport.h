#pragma once
// The one import pipeline of the import window and `stipple import`: the region of a bitmap
// or PNG file that the window shows decoded, then taken into the four levels by the cut or
// a dither.

#include <string>
#include <string_view>

#include "formats/BitmapConversion.h"
#include "formats/BitmapDecoder.h"
#include "io/ByteSource.h"

namespace stipple {

struct ImageDecoding {
    BitmapDecoding decoding;
    bool png = false;  // which decoder read it, by the file's first bytes
    explicit operator bool() const { return static_cast<bool>(decoding); }
};

// Decodes the top-left at most maxWidth x maxHeight pixels of a PNG file, or else of a
// bitmap file.
ImageDecoding decodeImportImage(ByteSource& file, int maxWidth = kBitmapRegionWidth,
                                int maxHeight = kBitmapRegionHeight);

// Why the file `shownPath` was refused, in the words of its decoder. Not for ReadFailed.
std::string importFaultMessage(const ImageDecoding& image, std::string_view shownPath);

// The import size from the region (at most 96 x 92), then every pixel of it converted with
// the import's dither and step.
void importRegion(const RgbView& region, BitmapImport& import);

}  // namespace stipple
