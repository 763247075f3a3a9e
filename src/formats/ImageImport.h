#pragma once
// The one import pipeline of the import window and `stipple import`: the region of an image
// file that the window shows, decoded by the row of the image decoders that knows the file,
// then taken into the four levels by the cut or a dither.

#include <string>
#include <string_view>

#include "formats/BitmapConversion.h"
#include "formats/ImageDecoders.h"
#include "io/ByteSource.h"

namespace stipple {

// The part of an image that the import window shows; the conversion takes the top-left
// 96 x 92 of it.
constexpr int kImportRegionWidth = 273;
constexpr int kImportRegionHeight = 223;

struct LoadedImage {
    ImageDecoding decoding;
    // The one message to tell the user why the file was refused; empty when it loaded.
    std::string problem;

    explicit operator bool() const { return problem.empty(); }
    const DecodedImage& image() const { return decoding.image; }
};

// Decodes the top-left at most maxWidth x maxHeight pixels of the image file, with the
// decoder that knows it or else the bitmap decoder. A refusal is worded by that decoder,
// naming the file as `shownPath`; a failed read by the byte source.
LoadedImage loadImportImage(ByteSource& file, std::string_view shownPath,
                            int maxWidth = kImportRegionWidth, int maxHeight = kImportRegionHeight);

// The same for the file at `path`; a folder, or a file that cannot be opened, is refused
// before anything is read.
LoadedImage loadImportImage(const std::string& path, std::string_view shownPath,
                            int maxWidth = kImportRegionWidth, int maxHeight = kImportRegionHeight);

// The import size from the region (at most 96 x 92), then every pixel of it converted with
// the import's dither and step.
void importRegion(const RgbView& region, BitmapImport& import);

}  // namespace stipple
