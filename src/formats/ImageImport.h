#pragma once
// The one import pipeline of the import window and `stipple import`: the part of an image
// file that the import needs, decoded by the row of the image decoders that knows the file,
// then its region, fitted to a picture's size when asked, taken into the levels by the cut,
// a dither or its exact colours.

#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// As much as a decoder is asked for to decode the whole image.
constexpr int kWholeImage = std::numeric_limits<int>::max();

// How much of the image, from its top-left corner, the import needs decoded: down to the
// region's bottom-right corner (at least the default); with a fit and no region, the whole
// image; otherwise the default.
std::pair<int, int> decodedSizeFor(const BitmapImport& import, int defaultWidth, int defaultHeight);

// Why the import's region is no part of an image of width x height; empty when it is, or
// when there is no region.
std::string regionProblem(const BitmapImport& import, int width, int height);

// The import's region of the decoded pixels (held to them), or all of them.
RgbView regionOf(const RgbView& decoded, const BitmapImport& import);

// Why exact colours cannot take the colours found: "17 colours, more than the four that
// exact colours take".
std::string tooManyColours(const BitmapImport& import);

// Takes the exact colours of the views into import.colours when they are asked for; false
// when there are more of them than the grays.
bool takeExactColours(std::span<const RgbView> views, BitmapImport& import);

// The part itself, or, with a fit, the part scaled into `buffer` to fit.
RgbView fittedPart(const RgbView& part, const BitmapImport& import,
                   std::vector<std::uint32_t>& buffer);

// One part of an image, its region already taken: fitted when asked, then its import size
// (at most 96 x 92) and every pixel converted with the import's settings and colours.
void importRegion(const RgbView& part, BitmapImport& import);

// The whole pipeline for a still image (or an animation's first frame): its region, the
// exact colours, the fit and the levels. Why it cannot be taken, or empty.
std::string importImage(const DecodedImage& image, BitmapImport& import);

}  // namespace stipple
