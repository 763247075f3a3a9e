// Drawing the surface and the user's edits on the largest picture. Actions that redraw
// are measured at the smallest, the usual and the largest pixel size.
#include <benchmark/benchmark.h>

#include "Allocations.h"
#include "BenchHost.h"

namespace stipple::bench {
namespace {

void atPixelSizes(benchmark::internal::Benchmark* b) {
    b->ArgName("pixelSize")->Arg(1)->Arg(10)->Arg(49);
}

void BM_RedrawSurface(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    toggleBorder(*ed);
    for (auto _ : state) {
        ed->redrawSurface();
    }
}
BENCHMARK(BM_RedrawSurface)->Apply(atPixelSizes);

// A left press with the pen: one undo snapshot and one cell repainted, announced once.
void BM_PenPress(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    Pixel colour = kBlack;
    const std::size_t allocationsBefore = allocationCount();
    for (auto _ : state) {
        testing::changeState(*ed, [colour](SessionState& st) { st.leftColour = colour; });
        press(*ed, MouseButton::Left, 5, 5);
        release(*ed, MouseButton::Left, 5, 5);
        colour = colour == kBlack ? kWhite : kBlack;
    }
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocationCount() - allocationsBefore),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PenPress)->Apply(atPixelSizes);

// A move while the left button is held: the cell under the pointer changes colour.
void BM_PenMove(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    press(*ed, MouseButton::Left, 0, 0);
    Pixel colour = kBlack;
    for (auto _ : state) {
        testing::changeState(*ed, [colour](SessionState& st) { st.leftColour = colour; });
        move(*ed, 5, 5);
        colour = colour == kBlack ? kWhite : kBlack;
    }
}
BENCHMARK(BM_PenMove)->Apply(atPixelSizes);

void BM_TakeUndoSnapshot(benchmark::State& state) {
    BenchSession ed;
    for (int i = 0; i < kUndoLevels; ++i) {
        testing::takeSnapshot(*ed);
    }
    for (auto _ : state) {
        testing::takeSnapshot(*ed);
    }
}
BENCHMARK(BM_TakeUndoSnapshot);

// Undo with all 50 levels in use; the level it takes is put back outside the timing.
void BM_UndoChange(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    for (int i = 0; i < kUndoLevels; ++i) {
        testing::takeSnapshot(*ed);
    }
    for (auto _ : state) {
        ed->undoChange();
        state.PauseTiming();
        testing::takeSnapshot(*ed);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoChange)->Apply(atPixelSizes);

// Left presses at the top-left cell with the colour alternating between black and white.
void pressAlternatingColours(benchmark::State& state, BenchSession& ed) {
    Pixel colour = kBlack;
    for (auto _ : state) {
        testing::changeState(*ed, [colour](SessionState& st) { st.leftColour = colour; });
        press(*ed, MouseButton::Left, 0, 0);
        release(*ed, MouseButton::Left, 0, 0);
        colour = colour == kBlack ? kWhite : kBlack;
    }
}

// A bucket press on a uniform picture: snapshot, a fill of every cell, full redraw. The
// colours alternate so that every press fills the whole picture.
void BM_BucketPress(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    setRightColour(*ed, kWhite);
    testing::changeState(*ed, fillPicture);
    selectTool(*ed, Tool::Bucket);
    pressAlternatingColours(state, ed);
}
BENCHMARK(BM_BucketPress)->Apply(atPixelSizes);

// Change colour: every cell of one value is replaced, then a full redraw.
void BM_ChangeColourPress(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    selectTool(*ed, Tool::ChangeColour);
    pressAlternatingColours(state, ed);
}
BENCHMARK(BM_ChangeColourPress)->Apply(atPixelSizes);

// A box drag over the whole picture: press, one move (rubber band), release (capture).
void BM_BoxCapture(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    selectTool(*ed, Tool::Box);
    const int far = 96 * ed->pixelSize();
    int step = 0;
    for (auto _ : state) {
        press(*ed, MouseButton::Left, 0, 0);
        move(*ed, far - 1 - (step++ & 1) * ed->pixelSize(), far);
        release(*ed, MouseButton::Left, far, far);
    }
}
BENCHMARK(BM_BoxCapture)->Apply(atPixelSizes);

// Captures the whole picture with the box tool and turns to paste mode.
void copyWholePictureForPaste(BenchSession& ed) {
    selectTool(*ed, Tool::Box);
    const int far = 96 * ed->pixelSize();
    press(*ed, MouseButton::Left, 0, 0);
    release(*ed, MouseButton::Left, far, far);
    setBoxMode(*ed, BoxMode::Paste);
}

// A paste of a whole-picture box: snapshot, copy, full redraw.
void BM_PastePress(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    copyWholePictureForPaste(ed);
    for (auto _ : state) {
        press(*ed, MouseButton::Left, 0, 0);
        release(*ed, MouseButton::Left, 0, 0);
    }
}
BENCHMARK(BM_PastePress)->Apply(atPixelSizes);

// The paste preview following the pointer from one cell to the next.
void BM_PastePreviewMove(benchmark::State& state) {
    BenchSession ed(static_cast<int>(state.range(0)));
    copyWholePictureForPaste(ed);
    int step = 0;
    for (auto _ : state) {
        move(*ed, (step++ & 1) * ed->pixelSize(), 0);
    }
}
BENCHMARK(BM_PastePreviewMove)->Apply(atPixelSizes);

void BM_RotateRight(benchmark::State& state) {
    BenchSession ed;
    selectTool(*ed, Tool::Box);
    press(*ed, MouseButton::Left, 0, 0);
    release(*ed, MouseButton::Left, 960, 920);
    for (auto _ : state) {
        rotateRight(*ed);
    }
}
BENCHMARK(BM_RotateRight);

}  // namespace
}  // namespace stipple::bench
