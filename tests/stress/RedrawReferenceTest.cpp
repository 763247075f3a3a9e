// The surface drawn row by row must be the surface drawn cell by cell: every cell filled
// in column order, then the grid lines, then the border.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "support/EditorFixture.h"

namespace stipple::testing {
namespace {

// Returns the brush left after the last cell, which later single-cell paints start from.
Rgb drawCellByCell(const Editor& ed, Raster& r) {
    const int ps = ed.pixelSize;
    const int W = ed.pictureWidth * ps;
    const int H = ed.pictureHeight * ps;
    r.setLogicalSize(std::max(W + 1, ed.viewWidth), std::max(H + 1, ed.viewHeight));
    Rgb brush = ed.whiteRgb;
    r.fill(brush);
    for (int x = 1; x <= ed.pictureWidth; ++x) {
        for (int y = 1; y <= ed.pictureHeight; ++y) {
            ed.setBrushForValue(ed.pixels[x][y], brush);
            r.fillRect((x - 1) * ps, (y - 1) * ps, x * ps, y * ps, brush);
        }
    }
    if (ed.gridsOn && ps > 3) {
        for (int i = 0; i <= ed.pictureWidth; ++i) {
            r.line(i * ps, 0, i * ps, H, ed.gridRgb);
        }
        for (int j = 0; j <= ed.pictureHeight; ++j) {
            r.line(0, j * ps, W, j * ps, ed.gridRgb);
        }
    }
    if (ed.borderOn) {
        const int corners[4][2] = {{0, 0}, {0, H}, {W, H}, {W, 0}};
        r.closedLine(corners, 4, ed.borderRgb);
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

class RedrawReferenceTest : public EditorFixture {};

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
                ed().pixels[x][y] = value;
            }
        }
        ed().pictureWidth = pick(0, 3) == 0 ? 96 : pick(1, 96);
        ed().pictureHeight = pick(0, 3) == 0 ? 92 : pick(1, 92);
        ed().gridsOn = pick(0, 2) != 0;
        ed().borderOn = pick(0, 1) != 0;
        const int sizes[] = {1, 2, 3, 4, 5, 7, 10, 13, 49};
        ed().setPixelSize(pick(0, 3) == 0 ? pick(1, 49) : sizes[pick(0, 8)]);

        const Rgb brush = drawCellByCell(ed(), *reference);
        expectSameSurface(ed().surface(), *reference);

        // A cell holding a value outside 0..4 is painted with the brush the redraw left.
        ed().pixels[1][1] = 77;
        ed().paintCell(1, 1);
        EXPECT_EQ(ed().surface().pixel(ed().pixelSize - 1, ed().pixelSize - 1), brush);
        if (HasFatalFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace stipple::testing
