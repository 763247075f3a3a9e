#pragma once
// The table of image decoders that the import reads with. A row knows its files by their
// first bytes, decodes only the top-left region it is asked for and words its own refusals;
// a new kind of image is one row and its functions.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/BitmapConversion.h"
#include "io/ByteSource.h"

namespace stipple {

// One decoded image: its whole size and the pixels of its top-left region. A decoder of
// animations gives its first frame here and every frame beside it.
struct DecodedImage {
    int width = 0;  // the whole image's size
    int height = 0;
    // The top-left region, at most the size asked for: 0xAARRGGBB words, rows from the top.
    int regionWidth = 0;
    int regionHeight = 0;
    std::vector<std::uint32_t> pixels;
    // An animation's frames, each composed as it shows, in the region's size (the first one
    // also in `pixels`), and how long each shows in hundredths of a second; empty for a still.
    std::vector<std::vector<std::uint32_t>> frames;
    std::vector<int> frameDelays;

    RgbView view() const { return {pixels.data(), regionWidth, regionHeight, regionWidth}; }
};

enum class ImageFault {
    None,
    NotAnImage,   // not a file of the decoder's kind at all, or one whose header cannot be right
    Unsupported,  // a real image of a kind the decoder does not read
    CutOff,       // the file ends before the image does
    ReadFailed,   // the file could not be read; the byte source knows why
    TooLarge,     // past the decoder's budget; the detail names the size and the limit
};

struct ImageDecoding {
    DecodedImage image;
    ImageFault fault = ImageFault::None;
    // What is cut off, not supported or wrong, in the decoder's words; often empty.
    std::string detail;

    explicit operator bool() const { return fault == ImageFault::None; }
};

// A refusal of the given kind.
ImageDecoding imageFault(ImageFault fault, std::string detail = {});

enum class ImageDecoderId { Bitmap, Png, Gif };

// What a decoder may take on, checked from a file's header before it decodes; an image past
// it is refused as TooLarge at once. 0 is no limit beyond the decoder's own.
struct DecoderBudget {
    std::uint64_t pixels = 0;         // width x height of the whole image
    std::uint64_t inflatedBytes = 0;  // what compressed data may inflate to for the region
    // An interlaced image's earlier passes are all decoded, whatever the region.
    std::uint64_t interlacedPixels = 0;
};

// A bitmap decodes only its region's rows, or walks a run-length stream no longer than the
// file, so its cost is bounded already; the budget keeps every decoder to a size a photo
// has: 100 megapixels.
constexpr DecoderBudget kBitmapBudget{100'000'000, 0, 0};
// A PNG of up to 100 megapixels, 40 when interlaced. Its image data must be inflated from
// the start down to the region's last row: for a non-interlaced image only the region's
// rows, for an interlaced one the first six passes whole and the region's rows of the last,
// about half the image. At most 96 MiB inflate, enough for a 6000 x 4000 photo with alpha;
// each stays well under a second.
constexpr DecoderBudget kPngBudget{100'000'000, 96u << 20, 40'000'000};

// The detail of a TooLarge refusal of an image of width x height that needs `inflated`
// bytes inflated; empty when it is within the budget.
std::string pastBudget(const DecoderBudget& budget, std::uint64_t width, std::uint64_t height,
                       std::uint64_t inflated = 0, bool interlaced = false);

// The most first bytes a row looks at to know its files.
constexpr std::size_t kRecognisedBytes = 8;

struct ImageDecoderRow {
    ImageDecoderId id;
    std::string_view name;  // as a message names the kind: "bitmap", "PNG"
    // True when a file with these first bytes (fewer where the file is shorter) is of this kind.
    bool (*recognises)(std::span<const std::uint8_t> firstBytes);
    // The top-left at most maxWidth x maxHeight pixels of the file.
    ImageDecoding (*decode)(ByteSource& file, int maxWidth, int maxHeight);
    // Why the file `shownPath` was refused. Not for ReadFailed, which the byte source words.
    std::string (*faultMessage)(const ImageDecoding& decoding, std::string_view shownPath);
    DecoderBudget budget;
};

std::span<const ImageDecoderRow> imageDecoders();
const ImageDecoderRow& imageDecoder(ImageDecoderId id);

// The row that knows the file by its first bytes; nothing when none does or they cannot be
// read.
const ImageDecoderRow* decoderRecognising(ByteSource& file);

// The row that reads the file for the import: the one that knows it, else the bitmap
// decoder, whose refusal then tells the user that the file is no image.
const ImageDecoderRow& decoderFor(ByteSource& file);

}  // namespace stipple
