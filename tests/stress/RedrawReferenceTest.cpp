// The surface drawn row by row must be the surface drawn cell by cell: every cell filled
// in column order, then the grid lines, then the border.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

// Returns the brush left after the last cell, which later single-cell paints start from.
Rgb drawCellByCell(const Session& session, Raster& r) {
    const Picture& p = session.picture();
    const SurfaceRenderer& renderer = session.renderer();
    const ViewSettings& view = renderer.view;
    const ColourTable& colours = renderer.colours();
    const int ps = view.pixelSize;
    const int W = p.width * ps;
    const int H = p.height * ps;
    r.setLogicalSize(std::max(W + 1, view.scrollX + view.viewWidth),
                     std::max(H + 1, view.scrollY + view.viewHeight));
    Rgb brush = colours.values[kWhite];
    r.fill(brush);
    for (int x = 1; x <= p.width; ++x) {
        for (int y = 1; y <= p.height; ++y) {
            renderer.setBrushForValue(p.pixels[x][y], brush);
            r.fillRect((x - 1) * ps, (y - 1) * ps, x * ps, y * ps, brush);
        }
    }
    if (view.gridsOn && ps > 3) {
        for (int i = 0; i <= p.width; ++i) {
            r.line(i * ps, 0, i * ps, H, colours.gridRgb);
        }
        for (int j = 0; j <= p.height; ++j) {
            r.line(0, j * ps, W, j * ps, colours.gridRgb);
        }
    }
    if (view.borderOn) {
        const int corners[4][2] = {{0, 0}, {0, H}, {W, H}, {W, 0}};
        r.closedLine(corners, 4, colours.borderRgb);
    }
    return brush;
}

void expectSameSurface(const Raster& actual, const Raster& expected) {
    ASSERT_EQ(actual.width(), expected.width());
    ASSERT_EQ(actual.height(), expected.height());
    constexpr int kWords = Raster::kStoredWidth * Raster::kStoredHeight;
    if (std::memcmp(actual.bits(), expected.bits(), kWords * 4) == 0) {
        return;
    }
    for (int i = 0; i < kWords; ++i) {
        ASSERT_EQ(actual.bits()[i], expected.bits()[i])
            << "at " << i % Raster::kStoredWidth << ", " << i / Raster::kStoredWidth;
    }
}

class RedrawReferenceTest : public SessionFixture {};

TEST_F(RedrawReferenceTest, RandomPicturesSizesAndViewsMatchTheCellByCellDrawing) {
    std::mt19937 random(20240611);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto reference = std::make_unique<Raster>();
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        // Runs of equal cells, now and then a value outside 0..4 (drawn with the brush of
        // the cell before it), the largest and the smallest sizes.
        const int runLength = pick(1, 12);
        Pixel value = 0;
        for (int x = 0; x <= kMaxPictureWidth; ++x) {
            for (int y = 0; y <= kMaxPictureHeight; ++y) {
                if (pick(1, runLength) == 1) {
                    value = pick(0, 40) == 0 ? pick(-3, 9) : pick(0, 4);
                }
                change([&](SessionState& st) { st.picture().pixels[x][y] = value; });
            }
        }
        change([&](SessionState& st) { st.picture().width = pick(0, 3) == 0 ? 96 : pick(1, 96); });
        change([&](SessionState& st) { st.picture().height = pick(0, 3) == 0 ? 92 : pick(1, 92); });
        change([&](SessionState& st) { st.view.gridsOn = pick(0, 2) != 0; });
        change([&](SessionState& st) { st.view.borderOn = pick(0, 1) != 0; });
        const int sizes[] = {1, 2, 3, 4, 5, 7, 10, 13, 49};
        setPixelSize(s(), pick(0, 3) == 0 ? pick(1, 49) : sizes[pick(0, 8)]);
        // Scrolled now and then, anywhere the scroll bars reach.
        const SurfaceScroll range = s().geometry().scroll();
        const bool scrolled = pick(0, 2) == 0 && (range.maxX > 0 || range.maxY > 0);
        change([&](SessionState& st) {
            st.view.scrollX = scrolled ? pick(0, range.maxX) : 0;
            st.view.scrollY = scrolled ? pick(0, range.maxY) : 0;
        });
        announce(s(), Changes{changed::kView});
        reference->setOrigin(s().view().scrollX, s().view().scrollY);

        const Rgb brush = drawCellByCell(s(), *reference);
        expectSameSurface(s().surface(), *reference);

        // A cell holding a value outside 0..4 is painted with the brush the redraw left.
        change([&](SessionState& st) { st.picture().pixels[1][1] = 77; });
        announce(s(), Changes::cell(1, 1));
        // (At pixel size 1 that pixel lies under the border, which goes over the cell.)
        if (!scrolled && !(s().view().borderOn && s().pixelSize() == 1)) {
            EXPECT_EQ(s().surface().pixel(s().pixelSize() - 1, s().pixelSize() - 1), brush);
        }
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace stipple::testing
