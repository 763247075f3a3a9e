// Any bytes as a bitmap file (read by our own decoder) or, built with STIPPLE_FUZZ_PNG, as
// a PNG image, decoded by that row of the image decoders as the import reads it, then cut into gray
// levels. A refusal must be one of the known faults with a message; a decoded region must fit what
// was asked (a bitmap's pixels all opaque) and convert to levels that match its pixels, transparent
// where alpha is below half; the import must then leave a picture of the import's size.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "FuzzHost.h"
#include "editor/FileCommands.h"
#include "editor/Session.h"
#include "formats/BitmapConversion.h"
#include "formats/ImageDecoders.h"
#include "formats/ImageImport.h"

namespace stipple::fuzz {
namespace {

#ifdef STIPPLE_FUZZ_PNG
constexpr ImageDecoderId kDecoder = ImageDecoderId::Png;
constexpr bool kAlwaysOpaque = false;
#else
constexpr ImageDecoderId kDecoder = ImageDecoderId::Bitmap;
constexpr bool kAlwaysOpaque = true;
#endif

struct Run {
    FuzzHost host;
    std::unique_ptr<Session> session = std::make_unique<Session>(host);
    std::unique_ptr<BitmapImport> import = std::make_unique<BitmapImport>();

    Run() { startSmallSession(*session); }
};

// The check itself gives the fuzzer nothing to learn from; keep it out of the coverage.
__attribute__((no_sanitize("coverage"))) void checkConversion(const DecodedImage& bitmap,
                                                              const BitmapImport& import) {
    for (int x = 1; x <= import.importWidth; ++x) {
        for (int y = 1; y <= import.importHeight; ++y) {
            const std::uint32_t c =
                bitmap.pixels[static_cast<std::size_t>(y - 1) * bitmap.regionWidth + x - 1];
            const int intensity =
                static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)) / 3;
            const int level =
                (c >> 24) < 0x80 ? kTransparent : std::min(intensity / import.levelStep, 3);
            FUZZ_CHECK(import.importPixels[x][y] == level);
        }
    }
}

}  // namespace
}  // namespace stipple::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stipple;
    static fuzz::Run run;

    MemoryBytes bytes(std::span(data, size));
    const ImageDecoderRow& decoder = imageDecoder(fuzz::kDecoder);
    const ImageDecoding decoding = decoder.decode(bytes, kImportRegionWidth, kImportRegionHeight);
    if (!decoding) {
        FUZZ_CHECK(decoding.fault == ImageFault::NotAnImage ||
                   decoding.fault == ImageFault::Unsupported ||
                   decoding.fault == ImageFault::CutOff || decoding.fault == ImageFault::TooLarge);
        FUZZ_CHECK(!decoder.faultMessage(decoding, "fuzz").empty());
        return 0;
    }
    const DecodedImage& bitmap = decoding.image;
    FUZZ_CHECK(bitmap.width >= 1 && bitmap.height >= 1);
    FUZZ_CHECK(bitmap.regionWidth == std::min(bitmap.width, kImportRegionWidth));
    FUZZ_CHECK(bitmap.regionHeight == std::min(bitmap.height, kImportRegionHeight));
    FUZZ_CHECK(bitmap.pixels.size() ==
               static_cast<std::size_t>(bitmap.regionWidth) * bitmap.regionHeight);
    for (const std::uint32_t pixel : bitmap.pixels) {
        FUZZ_CHECK(!fuzz::kAlwaysOpaque || (pixel & 0xFF000000u) == 0xFF000000u);
    }

    BitmapImport& import = *run.import;
    takeImportSize(bitmap.view(), import);
    FUZZ_CHECK(import.importWidth == std::min(bitmap.width, kMaxPictureWidth));
    FUZZ_CHECK(import.importHeight == std::min(bitmap.height, kMaxPictureHeight));

    // The start step and one taken from the bytes, 1..200.
    const int steps[] = {kDefaultLevelStep,
                         size > 0 ? kMinLevelStep + data[size - 1] % kMaxLevelStep : 7};
    for (const int step : steps) {
        import.levelStep = step;
        convertBitmap(bitmap.view(), import);
        fuzz::checkConversion(bitmap, import);
    }

    applyBitmapImport(*run.session, import);
    const Picture& picture = run.session->picture();
    FUZZ_CHECK(picture.width == import.importWidth && picture.height == import.importHeight);
    for (int x = 1; x <= picture.width; ++x) {
        for (int y = 1; y <= picture.height; ++y) {
            FUZZ_CHECK(picture.pixels[x][y] >= kBlack && picture.pixels[x][y] <= kTransparent);
        }
    }
    return 0;
}
