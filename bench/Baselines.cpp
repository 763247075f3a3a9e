// What the editor's work is measured against: copying one picture and filling the
// visible surface with a plain loop.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "model/Picture.h"
#include "render/Raster.h"

namespace stipple::bench {
namespace {

void BM_BaselineMemcpyPicture(benchmark::State& state) {
    auto from = std::make_unique<Picture>();
    auto to = std::make_unique<Picture>();
    for (auto _ : state) {
        std::memcpy(to->pixels, from->pixels, sizeof from->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sizeof from->pixels));
}
BENCHMARK(BM_BaselineMemcpyPicture);

void BM_BaselineFillSurface(benchmark::State& state) {
    constexpr int kWords = Raster::kStoredWidth * Raster::kStoredHeight;
    auto bits = std::make_unique<std::uint32_t[]>(kWords);
    std::uint32_t value = 0xFFFFFFFFu;
    for (auto _ : state) {
        std::uint32_t* p = bits.get();
        for (int i = 0; i < kWords; ++i) {
            p[i] = value;
        }
        benchmark::ClobberMemory();
        value ^= 0x00FFFFFFu;
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}
BENCHMARK(BM_BaselineFillSurface);

}  // namespace
}  // namespace stipple::bench
