#include "formats/ImageDecoders.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "formats/BitmapDecoder.h"
#include "formats/GifDecoder.h"
#include "formats/PngDecoder.h"

namespace stipple {

namespace {

// The bitmap row stays first: it is the one that reads a file no row knows.
constexpr std::array kRows = {
    ImageDecoderRow{ImageDecoderId::Bitmap, "bitmap", recognisesBitmap, decodeBitmap,
                    bitmapFaultMessage, kBitmapBudget},
    ImageDecoderRow{ImageDecoderId::Png, "PNG", recognisesPng, decodePng, pngFaultMessage,
                    kPngBudget},
    ImageDecoderRow{
        ImageDecoderId::Gif, "GIF", isGif, decodeGif, gifFaultMessage, {kGifPixelBudget, 0, 0}},
};

}  // namespace

ImageDecoding imageFault(ImageFault fault, std::string detail) {
    ImageDecoding result;
    result.fault = fault;
    result.detail = std::move(detail);
    return result;
}

std::string pastBudget(const DecoderBudget& budget, std::uint64_t width, std::uint64_t height,
                       std::uint64_t inflated, bool interlaced) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (budget.pixels != 0 && width * height > budget.pixels) {
        return "it has " + size + " pixels, past the limit of " + std::to_string(budget.pixels) +
               " pixels";
    }
    if (interlaced && budget.interlacedPixels != 0 && width * height > budget.interlacedPixels) {
        return "it has " + size + " pixels, interlaced, past the limit of " +
               std::to_string(budget.interlacedPixels) + " pixels for an interlaced image";
    }
    if (budget.inflatedBytes != 0 && inflated > budget.inflatedBytes) {
        return "its " + size + " pixels need " + std::to_string(inflated) +
               " bytes inflated, past the limit of " + std::to_string(budget.inflatedBytes) +
               " bytes";
    }
    return {};
}

std::span<const ImageDecoderRow> imageDecoders() {
    return kRows;
}

const ImageDecoderRow& imageDecoder(ImageDecoderId id) {
    for (const ImageDecoderRow& row : kRows) {
        if (row.id == id) {
            return row;
        }
    }
    throw std::invalid_argument("no such image decoder");
}

const ImageDecoderRow* decoderRecognising(ByteSource& file) {
    std::array<std::uint8_t, kRecognisedBytes> head{};
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), head.size()));
    const std::span first(head.data(), count);
    if (!file.read(0, first)) {
        return nullptr;
    }
    for (const ImageDecoderRow& row : kRows) {
        if (row.recognises(first)) {
            return &row;
        }
    }
    return nullptr;
}

const ImageDecoderRow& decoderFor(ByteSource& file) {
    const ImageDecoderRow* row = decoderRecognising(file);
    return row != nullptr ? *row : kRows.front();
}

}  // namespace stipple
