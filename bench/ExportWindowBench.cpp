// The Export window's update after one pen press on the largest picture, beside what the
// press costs without the window and a full redraw of the surface.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "BenchHost.h"
#include "ui/ExportWindow.h"
#include "ui/SurfaceWidget.h"

namespace stipple::bench {
namespace {

// The window open on the largest picture, in the format given by its command-line name.
struct OpenWindow {
    BenchSession ed;
    ui::SurfaceWidget surface;
    ui::ExportWindow window{*ed, surface, nullptr};
    explicit OpenWindow(const char* format) {
        window.show();
        QApplication::processEvents();
        window.setFormatNamed(format);
    }
};

const char* const kFormats[] = {"gas", "asm8", "cpp", "c", "bin"};

// The window's own part: the press is made with the window deaf, then told to it.
void BM_ExportWindowUpdate(benchmark::State& state) {
    OpenWindow open(kFormats[state.range(0)]);
    state.SetLabel(kFormats[state.range(0)]);
    Session& session = *open.ed;
    session.unsubscribe(open.window);
    Pixel colour = kBlack;
    for (auto _ : state) {
        state.PauseTiming();
        testing::changeState(session, [colour](SessionState& st) { st.leftColour = colour; });
        press(session, MouseButton::Left, 5, 5);
        release(session, MouseButton::Left, 5, 5);
        colour = colour == kBlack ? kWhite : kBlack;
        state.ResumeTiming();
        open.window.sessionChanged(session, Changes::cell(1, 1));
    }
    session.subscribe(open.window);
}
BENCHMARK(BM_ExportWindowUpdate)
    ->ArgName("format")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMicrosecond);

// The whole press with the window listening, and the redraw it is set against.
void BM_PenPressWithExportWindow(benchmark::State& state) {
    OpenWindow open("gas");
    Pixel colour = kBlack;
    for (auto _ : state) {
        testing::changeState(*open.ed, [colour](SessionState& st) { st.leftColour = colour; });
        press(*open.ed, MouseButton::Left, 5, 5);
        release(*open.ed, MouseButton::Left, 5, 5);
        colour = colour == kBlack ? kWhite : kBlack;
    }
}
BENCHMARK(BM_PenPressWithExportWindow)->Unit(benchmark::kMicrosecond);

void BM_RedrawBesideExportWindow(benchmark::State& state) {
    BenchSession ed;
    for (auto _ : state) {
        ed->redrawSurface();
    }
}
BENCHMARK(BM_RedrawBesideExportWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace stipple::bench

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
