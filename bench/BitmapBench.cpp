// Opening a large bitmap for the import: our decoder, which reads only the region the
// window shows, against Qt's reader of the same file, which decodes all of it. The file is
// a 24-bit bottom-up 8000 x 6000 bitmap (144 MB) written once per run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <QString>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "Allocations.h"
#include "formats/BitmapConversion.h"
#include "formats/BitmapDecoder.h"
#include "io/FileAccess.h"

namespace stipple::bench {
namespace {

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

// The bitmap file, written on first use and removed at exit.
const std::string& largeBitmap() {
    static const std::string* path = [] {
        const char* tmp = std::getenv("TMPDIR");
        auto* p = new std::string(std::string(tmp != nullptr ? tmp : "/tmp") +
                                  "/stipple-bench-8000x6000.bmp");
        const std::uint32_t stride = (kWidth * 3 + 3) / 4 * 4;
        const std::uint32_t dataSize = stride * kHeight;
        std::vector<unsigned char> header(54, 0);
        auto put32 = [&](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) {
                header[at + i] = static_cast<unsigned char>(v >> (8 * i));
            }
        };
        header[0] = 'B';
        header[1] = 'M';
        put32(2, 54 + dataSize);
        put32(10, 54);
        put32(14, 40);
        put32(18, kWidth);
        put32(22, kHeight);
        header[26] = 1;
        header[28] = 24;
        put32(34, dataSize);
        std::ofstream out(*p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(header.data()), 54);
        std::vector<char> row(stride);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                row[3 * x] = static_cast<char>(x + y);
                row[3 * x + 1] = static_cast<char>(x);
                row[3 * x + 2] = static_cast<char>(y);
            }
            out.write(row.data(), stride);
        }
        std::atexit([] { std::remove(largeBitmap().c_str()); });
        return p;
    }();
    return *path;
}

void BM_OpenLargeBitmapOurs(benchmark::State& state) {
    const std::string& path = largeBitmap();
    auto import = std::make_unique<BitmapImport>();
    startHeapPeak();
    for (auto _ : state) {
        FileBytes file(path);
        const BitmapDecoding decoding = decodeBitmap(file);
        takeImportSize(decoding.bitmap.view(), *import);
        convertBitmap(decoding.bitmap.view(), *import);
        benchmark::DoNotOptimize(import->importPixels[1][1]);
    }
    state.counters["peak_heap_bytes"] = static_cast<double>(stopHeapPeak());
}
BENCHMARK(BM_OpenLargeBitmapOurs)->Unit(benchmark::kMillisecond);

void BM_OpenLargeBitmapQt(benchmark::State& state) {
    const QString path = QString::fromStdString(largeBitmap());
    QImageReader::setAllocationLimit(0);  // the whole 192 MB image, which Qt refuses otherwise
    auto import = std::make_unique<BitmapImport>();
    for (auto _ : state) {
        QImageReader reader(path, "bmp");
        const QImage rgb = reader.read().convertToFormat(QImage::Format_RGB32);
        const RgbView view{reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.width(),
                           rgb.height(), static_cast<int>(rgb.bytesPerLine() / 4)};
        takeImportSize(view, *import);
        convertBitmap(view, *import);
        benchmark::DoNotOptimize(import->importPixels[1][1]);
    }
}
BENCHMARK(BM_OpenLargeBitmapQt)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stipple::bench
