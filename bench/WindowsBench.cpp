// The windows' own work: the Export window's update after one pen press on the largest
// picture, beside a full redraw of the surface, the import window's preview after a change
// of dithering for the largest import region, and the Frames window's update after a pen
// press in a set of the largest frames and on a glyph of a font with its sample line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <cstdlib>

#include "BenchHost.h"
#include "editor/FrameCommands.h"
#include "formats/OutlineFont.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ExportWindow.h"
#include "ui/FramesViews.h"
#include "ui/FramesWindow.h"
#include "ui/MainWindow.h"
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

// A pen press at the first cell, black and white in turn.
void penPress(Session& session, Pixel& colour) {
    testing::changeState(session, [colour](SessionState& st) { st.leftColour = colour; });
    press(session, MouseButton::Left, 5, 5);
    release(session, MouseButton::Left, 5, 5);
    colour = colour == kBlack ? kWhite : kBlack;
}

const char* const kFormats[] = {"gas", "asm8", "cpp", "c", "bin"};

// The window's own part: the press is made with the window deaf, then told to it.
void BM_ExportWindowUpdate(benchmark::State& state) {
    OpenWindow open(kFormats[state.range(0)]);
    state.SetLabel(kFormats[state.range(0)]);
    Session& session = *open.ed;
    session.unsubscribe(open.window.preview());
    Pixel colour = kBlack;
    for (auto _ : state) {
        state.PauseTiming();
        penPress(session, colour);
        state.ResumeTiming();
        open.window.preview().sessionChanged(session, Changes::cell(1, 1));
    }
    session.subscribe(open.window.preview());
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
        penPress(*open.ed, colour);
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

// A photo-like bitmap larger than the region the import window shows, loaded once; each
// iteration chooses the next dithering, which converts and draws the preview again.
void BM_ImportPreviewDitherChange(benchmark::State& state) {
    BenchSession ed;
    ui::BitmapImportDialog dialog(*ed);
    QImage photo(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            const int v = (x * 255 / photo.width() + (x * y) % 37) % 256;
            photo.setPixel(x, y, qRgb(v, (v + y) % 256, (255 - v + x) % 256));
        }
    }
    const QString path = QDir::temp().filePath(QStringLiteral("stipple-bench-photo.bmp"));
    photo.save(path, "BMP");
    dialog.loadBitmapFile(path);
    auto* choice = dialog.findChild<QComboBox*>(QStringLiteral("DitherChoice"));
    int next = 0;
    for (auto _ : state) {
        next = (next + 1) % choice->count();
        choice->setCurrentIndex(next);
    }
    QFile::remove(path);
}
BENCHMARK(BM_ImportPreviewDitherChange)->Unit(benchmark::kMicrosecond);

// The main window with the Frames window open on a set of `frames` frames of 96 x 92.
struct OpenFramesWindow {
    ui::MainWindow form;
    Session& session = form.session();
    ui::FramesWindow& frames = form.framesWindow();
    explicit OpenFramesWindow(int count) {
        testing::changeState(session, [](SessionState& st) {
            st.picture().width = kMaxPictureWidth;
            st.picture().height = kMaxPictureHeight;
        });
        for (int i = 1; i < count; ++i) {
            duplicateFrame(session);
        }
        form.show();
        frames.show();
        QApplication::processEvents();
    }
};

// The window's own part of a pen press, told to it and painted (the sample line too, in a
// font): the press is made with the window deaf.
void timeFramesWindowUpdates(benchmark::State& state, OpenFramesWindow& open) {
    Session& session = open.session;
    session.unsubscribe(open.frames);
    Pixel colour = kBlack;
    for (auto _ : state) {
        state.PauseTiming();
        penPress(session, colour);
        state.ResumeTiming();
        open.frames.sessionChanged(session, Changes::cell(1, 1));
        open.frames.strip().repaint();
        if (session.document().font) {
            open.frames.sample().repaint();
        }
    }
    session.subscribe(open.frames);
}

void BM_FramesWindowUpdate(benchmark::State& state) {
    OpenFramesWindow open(static_cast<int>(state.range(0)));
    timeFramesWindowUpdates(state, open);
}
BENCHMARK(BM_FramesWindowUpdate)
    ->ArgName("frames")
    ->Arg(16)
    ->Arg(256)
    ->Unit(benchmark::kMicrosecond);

// The same on the glyph "o" of a 95-glyph font made at 12 pixels, whose sample line ("The
// quick brown fox jumps") shows it.
void BM_FontSampleUpdate(benchmark::State& state) {
    OpenFramesWindow open(1);
    FramesChange change;
    change.kind = FramesChange::Kind::Replace;
    change.whole = renderOutlineFont(
                       {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", "", 12, 32, 126, 2})
                       .font;
    open.session.changeFrames(change);
    selectFrame(open.session, 'o' - 32);
    QApplication::processEvents();
    timeFramesWindowUpdates(state, open);
}
BENCHMARK(BM_FontSampleUpdate)->Unit(benchmark::kMicrosecond);

// New frame in a set of 255 with the Frames window open, then undone outside the timing.
void BM_NewFrameInLargeSet(benchmark::State& state) {
    OpenFramesWindow open(255);
    for (auto _ : state) {
        newFrame(open.session);
        QApplication::processEvents();
        state.PauseTiming();
        open.session.undoChange();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewFrameInLargeSet)->Unit(benchmark::kMicrosecond);

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
