// Export texts, the picture file and the bitmap conversion of the largest picture.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "BenchHost.h"
#include "formats/BitmapConversion.h"
#include "formats/ExportFormats.h"
#include "formats/ExportText.h"
#include "formats/PictureFile.h"

namespace stipple::bench {
namespace {

void BM_ExportText(benchmark::State& state) {
    BenchSession ed;
    const auto format = static_cast<ExportFormat>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(exportText(ed->picture().view(), "Name", format, false));
    }
}
// By the formats' codes: 1 ASM 8bpp, 2 C++ array, 3 ASM 1bpp, 4 ASM 2bpp, 5 ASM 4bpp.
BENCHMARK(BM_ExportText)->ArgName("format")->DenseRange(1, 5);

void BM_Asm8FileBlock(benchmark::State& state) {
    BenchSession ed;
    for (auto _ : state) {
        benchmark::DoNotOptimize(asm8FileBlock(ed->picture().view(), "Name"));
    }
}
BENCHMARK(BM_Asm8FileBlock);

// Each device target's bytes of the largest picture, as the gas text in hex and as bin.
void BM_ExportTarget(benchmark::State& state) {
    BenchSession ed;
    ExportSettings settings;
    settings.layout = *layoutForTarget(kTargetNames[state.range(0)]);
    settings.base = Base::Hex;
    const ExportFormatRow& row =
        exportFormatRow(state.range(1) == 0 ? ExportFormat::Gas : ExportFormat::Bin);
    state.SetLabel(std::string(kTargetNames[state.range(0)]) + " " + std::string(row.commandName));
    for (auto _ : state) {
        benchmark::DoNotOptimize(row.write(ed->picture().view(), "Name", settings));
    }
}
BENCHMARK(BM_ExportTarget)->ArgNames({"target", "bin"})->ArgsProduct({{0, 1, 2, 3}, {0, 1}});

PictureFileContent largestPictureFile() {
    PictureFileContent content;
    content.nameBytes = "Largest";
    content.width = kMaxPictureWidth;
    content.height = kMaxPictureHeight;
    for (int i = 0; i < kMaxPictureWidth * kMaxPictureHeight; ++i) {
        content.cells.push_back(i % 5);
    }
    return content;
}

void BM_EncodePictureFile(benchmark::State& state) {
    const PictureFileContent content = largestPictureFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodePictureFile(content));
    }
}
BENCHMARK(BM_EncodePictureFile);

void BM_ParsePictureFile(benchmark::State& state) {
    const std::string bytes = encodePictureFile(largestPictureFile());
    for (auto _ : state) {
        benchmark::DoNotOptimize(parsePictureFile(bytes));
    }
}
BENCHMARK(BM_ParsePictureFile);

void BM_ConvertBitmap(benchmark::State& state) {
    std::vector<std::uint32_t> rgb(kMaxPictureWidth * kMaxPictureHeight);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    const RgbView view{rgb.data(), kMaxPictureWidth, kMaxPictureHeight, kMaxPictureWidth};
    auto import = std::make_unique<BitmapImport>();
    takeImportSize(view, *import);
    import->dither = dithers()[static_cast<std::size_t>(state.range(0))].id;
    state.SetLabel(std::string(dithers()[static_cast<std::size_t>(state.range(0))].commandName));
    for (auto _ : state) {
        convertBitmap(view, *import);
        benchmark::ClobberMemory();
    }
}
// By the dithers' order: threshold, Floyd-Steinberg, Atkinson, ordered.
BENCHMARK(BM_ConvertBitmap)->ArgName("dither")->DenseRange(0, 3);

}  // namespace
}  // namespace stipple::bench
