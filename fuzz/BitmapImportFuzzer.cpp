// Any bytes as a bitmap file, read the way the import window reads them (Qt's bitmap
// reader only, into 32-bit RGB), then cut into gray levels: the import size must fit the
// picture, every level must be 0..3 and match the pixel it came from, and the import must
// leave a picture of that size.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QtGlobal>
#include <cstdint>
#include <memory>

#include "FuzzHost.h"
#include "editor/FileCommands.h"
#include "editor/Session.h"
#include "formats/BitmapConversion.h"

namespace stipple::fuzz {
namespace {

// The window allows far more; the fuzzer keeps each run quick instead.
constexpr qint64 kMaxFuzzedPixels = 1 << 20;

struct Run {
    FuzzHost host;
    std::unique_ptr<Session> session = std::make_unique<Session>(host);
    std::unique_ptr<BitmapImport> import = std::make_unique<BitmapImport>();

    Run() {
        // Qt's reader warns about every broken file; the fuzzer needs only its results.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        session->start();
        session->renderer.view.viewWidth = 1;
        session->renderer.view.viewHeight = 1;
        session->renderer.view.pixelSize = 1;
    }
};

// The check itself gives the fuzzer nothing to learn from; keep it out of the coverage.
__attribute__((no_sanitize("coverage"))) void checkConversion(const QImage& rgb,
                                                              const BitmapImport& import) {
    for (int x = 1; x <= import.importWidth; ++x) {
        for (int y = 1; y <= import.importHeight; ++y) {
            const QRgb c = rgb.pixel(x - 1, y - 1);
            const int intensity = (qRed(c) + qGreen(c) + qBlue(c)) / 3;
            const int level = std::min(intensity / import.levelStep, 3);
            FUZZ_CHECK(import.importPixels[x][y] == level);
        }
    }
}

}  // namespace
}  // namespace stipple::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stipple;
    static fuzz::Run run;

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QSize imageSize = reader.size();
    if (!imageSize.isValid() || imageSize.isEmpty() ||
        qint64{imageSize.width()} * imageSize.height() > fuzz::kMaxFuzzedPixels) {
        return 0;
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) {
        return 0;
    }
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        return 0;
    }
    const RgbView view{reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.width(),
                       rgb.height(), static_cast<int>(rgb.bytesPerLine() / 4)};

    BitmapImport& import = *run.import;
    takeImportSize(view, import);
    FUZZ_CHECK(import.importWidth >= 1 && import.importWidth <= kMaxPictureWidth);
    FUZZ_CHECK(import.importHeight >= 1 && import.importHeight <= kMaxPictureHeight);
    FUZZ_CHECK(import.importWidth == std::min(rgb.width(), kMaxPictureWidth));
    FUZZ_CHECK(import.importHeight == std::min(rgb.height(), kMaxPictureHeight));

    // The start step and one taken from the bytes, 1..200.
    const int steps[] = {kDefaultLevelStep,
                         size > 0 ? kMinLevelStep + data[size - 1] % kMaxLevelStep : 7};
    for (const int step : steps) {
        import.levelStep = step;
        convertBitmap(view, import);
        fuzz::checkConversion(rgb, import);
    }

    applyBitmapImport(*run.session, import);
    const Picture& picture = run.session->picture;
    FUZZ_CHECK(picture.width == import.importWidth && picture.height == import.importHeight);
    for (int x = 1; x <= picture.width; ++x) {
        for (int y = 1; y <= picture.height; ++y) {
            FUZZ_CHECK(picture.pixels[x][y] >= kBlack && picture.pixels[x][y] <= kWhite);
        }
    }
    return 0;
}
