// Opening a large image for the import: our decoders, which read only the region the
// window shows, against Qt's reader of the same bitmap, which decodes all of it. The files
// are written once per run and removed at exit: 24-bit bottom-up bitmaps of 8000 x 6000
// (144 MB) and 6000 x 4000 (72 MB), and a 6000 x 4000 8-bit RGB PNG, non-interlaced, as
// libpng writes it by default.
#include <benchmark/benchmark.h>
#include <png.h>

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
#include "formats/ImageDecoders.h"
#include "formats/ImageImport.h"
#include "io/FileAccess.h"

namespace stipple::bench {
namespace {

// Never destroyed, so that the removal at exit can still read it.
std::vector<std::string>& filesToRemove() {
    static auto* files = new std::vector<std::string>;
    return *files;
}

std::string tempFile(const std::string& name) {
    if (filesToRemove().empty()) {
        std::atexit([] {
            for (const std::string& file : filesToRemove()) {
                std::remove(file.c_str());
            }
        });
    }
    const char* tmp = std::getenv("TMPDIR");
    filesToRemove().push_back(std::string(tmp != nullptr ? tmp : "/tmp") + "/" + name);
    return filesToRemove().back();
}

// Pixel (x, y) has the colour (y, x, x + y) mod 256 in every file, with noise in the low four
// bits of each channel so that the PNG compresses about as a photograph does (to 59 %).
struct Pixel3 {
    unsigned char red, green, blue;
};
Pixel3 pixelAt(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return {static_cast<unsigned char>(y ^ (h & 15)), static_cast<unsigned char>(x ^ (h >> 4 & 15)),
            static_cast<unsigned char>((x + y) ^ (h >> 8 & 15))};
}

std::string writeBitmap(int width, int height) {
    const std::string path =
        tempFile("stipple-bench-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = stride * height;
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
    put32(18, width);
    put32(22, height);
    header[26] = 1;
    header[28] = 24;
    put32(34, dataSize);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), 54);
    std::vector<char> row(stride);
    for (int r = 0; r < height; ++r) {
        const int y = height - 1 - r;
        for (int x = 0; x < width; ++x) {
            const Pixel3 p = pixelAt(x, y);
            row[3 * x] = static_cast<char>(p.blue);
            row[3 * x + 1] = static_cast<char>(p.green);
            row[3 * x + 2] = static_cast<char>(p.red);
        }
        out.write(row.data(), stride);
    }
    return path;
}

// libpng's default error handling ends the run should the write fail.
std::string writePng(int width, int height) {
    const std::string path =
        tempFile("stipple-bench-" + std::to_string(width) + "x" + std::to_string(height) + ".png");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel3 p = pixelAt(x, y);
            row[3 * x] = p.red;
            row[3 * x + 1] = p.green;
            row[3 * x + 2] = p.blue;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return path;
}

const std::string& largeBitmap() {
    static const std::string path = writeBitmap(8000, 6000);
    return path;
}

const std::string& bitmapOfPngSize() {
    static const std::string path = writeBitmap(6000, 4000);
    return path;
}

const std::string& largePng() {
    static const std::string path = writePng(6000, 4000);
    return path;
}

// Opens the file, decodes the import window's region with the decoder's row and converts
// it, as Open does.
void openForImport(benchmark::State& state, ImageDecoderId id, const std::string& path) {
    const ImageDecoderRow& decoder = imageDecoder(id);
    auto import = std::make_unique<BitmapImport>();
    startHeapPeak();
    for (auto _ : state) {
        FileBytes file(path);
        const ImageDecoding decoding =
            decoder.decode(file, kImportRegionWidth, kImportRegionHeight);
        if (!decoding) {
            state.SkipWithError("the file does not decode");
            break;
        }
        importRegion(decoding.image.view(), *import);
        benchmark::DoNotOptimize(import->importPixels[1][1]);
    }
    state.counters["peak_heap_bytes"] = static_cast<double>(stopHeapPeak());
}

void BM_OpenLargeBitmapOurs(benchmark::State& state) {
    openForImport(state, ImageDecoderId::Bitmap, largeBitmap());
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

// The PNG beside a bitmap of its size: libpng inflates and unfilters the region's rows in
// full width, the bitmap reader only reads their first 273 pixels.
void BM_OpenLargePngOurs(benchmark::State& state) {
    openForImport(state, ImageDecoderId::Png, largePng());
}
BENCHMARK(BM_OpenLargePngOurs)->Unit(benchmark::kMillisecond);

void BM_OpenBitmapOfPngSizeOurs(benchmark::State& state) {
    openForImport(state, ImageDecoderId::Bitmap, bitmapOfPngSize());
}
BENCHMARK(BM_OpenBitmapOfPngSizeOurs)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace stipple::bench
