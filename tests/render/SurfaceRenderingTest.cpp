#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string_view>
#include <vector>

#include "support/RasterExpect.h"
#include "support/SessionFixture.h"

namespace stipple {
namespace {

using testing::announce;
using testing::takeSnapshot;

using testing::expectRasterBlock;

class SurfaceRenderingTest : public testing::SessionFixture {
  protected:
    const Raster& surface() const { return s().surface(); }

    // Sets the picture size and its cells from rows of pixel values, row by row from the
    // top: "0123" gives black, 66 % gray, 33 % gray, white.
    void setPicture(std::initializer_list<std::string_view> rows) {
        change([&](SessionState& st) { st.picture().height = static_cast<int>(rows.size()); });
        change(
            [&](SessionState& st) { st.picture().width = static_cast<int>(rows.begin()->size()); });
        int y = 1;
        for (std::string_view row : rows) {
            for (int x = 1; x <= static_cast<int>(row.size()); ++x) {
                change([&](SessionState& st) { st.picture().pixels[x][y] = row[x - 1] - '0'; });
            }
            ++y;
        }
    }

    void setSelBuffer(std::initializer_list<std::string_view> rows) {
        change([&](SessionState& st) { st.selection.selHeight = static_cast<int>(rows.size()); });
        change([&](SessionState& st) {
            st.selection.selWidth = static_cast<int>(rows.begin()->size());
        });
        int j = 1;
        for (std::string_view row : rows) {
            for (int i = 1; i <= static_cast<int>(row.size()); ++i) {
                change([&](SessionState& st) { st.selection.selBuffer[i][j] = row[i - 1] - '0'; });
            }
            ++j;
        }
        change([&](SessionState& st) { st.selection.bufferFilled = true; });
    }
};

TEST_F(SurfaceRenderingTest, StartsWithATransparentPictureUnderTheGrid) {
    EXPECT_EQ(surface().width(), 961);
    EXPECT_EQ(surface().height(), 921);
    EXPECT_EQ(host.shownWidth, 96);
    EXPECT_EQ(host.shownHeight, 92);
    EXPECT_EQ(host.shownPixelSize, 10);
    EXPECT_EQ(host.leftSwatch, 0x000000u);
    EXPECT_EQ(host.rightSwatch, 0x008080u);
    EXPECT_TRUE(isChecked(s(), CommandId::ViewGrids));
    EXPECT_FALSE(isChecked(s(), CommandId::ViewBorder));
    EXPECT_GT(host.presentCount, 0);
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(picture().pixels[x][y], kTransparent) << x << ", " << y;
        }
    }

    // The grid takes the first row and column of every 10 x 10 cell.
    expectRasterBlock(surface(), 0, 0,
                      {"GGGGGGGGGGGG",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GTTTTTTTTTGT",  //
                       "GGGGGGGGGGGG",  //
                       "GTTTTTTTTTGT"});
    // The bottom-right corner of the visible part is still inside the picture.
    expectRasterBlock(surface(), 660, 580,
                      {"GGGGGGGGGG",  //
                       "GTTTTTTTTT",  //
                       "GTTTTTTTTT",  //
                       "GTTTTTTTTT",  //
                       "GTTTTTTTTT",  //
                       "GTTTTTTTTT",  //
                       "GTTTTTTTTT"});
}

struct GridCase {
    int pixelSize;
    bool gridsOn;
    std::vector<std::string_view> rows;
};

void PrintTo(const GridCase& c, std::ostream* os) {
    *os << "pixel size " << c.pixelSize << ", grid " << (c.gridsOn ? "on" : "off");
}

class GridTest : public SurfaceRenderingTest, public ::testing::WithParamInterface<GridCase> {};

TEST_P(GridTest, DrawsTheGridOnlyFromPixelSizeFourWhenSwitchedOn) {
    const GridCase& c = GetParam();
    setPicture({"01", "24"});
    change([&](SessionState& st) { st.view.pixelSize = c.pixelSize; });
    change([&](SessionState& st) { st.view.gridsOn = c.gridsOn; });
    s().redrawSurface();

    expectRasterBlock(surface(), 0, 0, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    PixelSizes, GridTest,
    ::testing::Values(GridCase{3,
                               true,
                               {"KKKDDDW",  //
                                "KKKDDDW",  //
                                "KKKDDDW",  //
                                "LLLTTTW",  //
                                "LLLTTTW",  //
                                "LLLTTTW",  //
                                "WWWWWWW"}},
                      // The last line of each direction stops short of the far corner.
                      GridCase{4,
                               true,
                               {"GGGGGGGGGW",  //
                                "GKKKGDDDGW",  //
                                "GKKKGDDDGW",  //
                                "GKKKGDDDGW",  //
                                "GGGGGGGGGW",  //
                                "GLLLGTTTGW",  //
                                "GLLLGTTTGW",  //
                                "GLLLGTTTGW",  //
                                "GGGGGGGGWW",  //
                                "WWWWWWWWWW"}},
                      GridCase{4,
                               false,
                               {"KKKKDDDDW",  //
                                "KKKKDDDDW",  //
                                "KKKKDDDDW",  //
                                "KKKKDDDDW",  //
                                "LLLLTTTTW",  //
                                "LLLLTTTTW",  //
                                "LLLLTTTTW",  //
                                "LLLLTTTTW",  //
                                "WWWWWWWWW"}}));

TEST_F(SurfaceRenderingTest, BorderAtPixelSizeOneLiesInTheExtraColumnAndRow) {
    setPicture({"444", "444"});
    change([&](SessionState& st) { st.view.pixelSize = 1; });
    change([&](SessionState& st) { st.view.borderOn = true; });
    s().redrawSurface();

    // The left and top lines cover the picture's first column and row.
    expectRasterBlock(surface(), 0, 0,
                      {"RRRRW",  //
                       "RTTRW",  //
                       "RRRRW",  //
                       "WWWWW"});
}

TEST_F(SurfaceRenderingTest, BorderCoversTheOutermostGridLines) {
    setPicture({"00", "00"});
    change([&](SessionState& st) { st.view.pixelSize = 4; });
    change([&](SessionState& st) { st.view.borderOn = true; });
    s().redrawSurface();

    expectRasterBlock(surface(), 0, 0,
                      {"RRRRRRRRRW",  //
                       "RKKKGKKKRW",  //
                       "RKKKGKKKRW",  //
                       "RKKKGKKKRW",  //
                       "RGGGGGGGRW",  //
                       "RKKKGKKKRW",  //
                       "RKKKGKKKRW",  //
                       "RKKKGKKKRW",  //
                       "RRRRRRRRRW",  //
                       "WWWWWWWWWW"});
}

TEST_F(SurfaceRenderingTest, SmallPictureStillFillsTheVisibleAreaWithWhiteAround) {
    setPicture({"00", "00"});  // the hidden cells beyond stay transparent in the grid
    change([&](SessionState& st) { st.view.pixelSize = 1; });
    s().redrawSurface();

    EXPECT_EQ(surface().width(), 670);
    EXPECT_EQ(surface().height(), 587);
    expectRasterBlock(surface(), 0, 0, {"KKW", "KKW", "WWW"});
    expectRasterBlock(surface(), 667, 584, {"WWW", "WWW", "WWW"});
}

TEST_F(SurfaceRenderingTest, LargestPictureOverflowsAtPixelSizeTenAndFitsAtFive) {
    change([&](SessionState& st) { st.view.pixelSize = 10; });
    s().redrawSurface();
    EXPECT_EQ(surface().width(), 961);
    EXPECT_EQ(surface().height(), 921);

    change([&](SessionState& st) { st.view.pixelSize = 5; });
    s().redrawSurface();
    EXPECT_EQ(surface().width(), 670);
    EXPECT_EQ(surface().height(), 587);
    // Bottom-right corner of the picture, 480 x 460, with the last grid lines.
    expectRasterBlock(surface(), 475, 454,
                      {"GTTTTGW",  //
                       "GGGGGGW",  //
                       "GTTTTGW",  //
                       "GTTTTGW",  //
                       "GTTTTGW",  //
                       "GTTTTGW",  //
                       "GGGGGWW",  //
                       "WWWWWWW"});
}

TEST_F(SurfaceRenderingTest, InvalidValueTakesTheColourOfTheCellPaintedBeforeIt) {
    // Cells are painted column by column: (1,1), (1,2), (2,1), (2,2), (3,1), (3,2).
    change([&](SessionState& st) { st.picture().width = 3; });
    change([&](SessionState& st) { st.picture().height = 2; });
    change([&](SessionState& st) { st.picture().pixels[1][1] = 9; });  // first cell: white
    change([&](SessionState& st) { st.picture().pixels[1][2] = kBlack; });
    change([&](SessionState& st) { st.picture().pixels[2][1] = -1; });  // after (1,2): black
    change([&](SessionState& st) { st.picture().pixels[2][2] = kGray33; });
    change([&](SessionState& st) { st.picture().pixels[3][1] = kTransparent; });
    change([&](SessionState& st) { st.picture().pixels[3][2] = 5; });  // after (3,1): teal
    change([&](SessionState& st) { st.view.pixelSize = 1; });
    s().redrawSurface();

    expectRasterBlock(surface(), 0, 0, {"WKTW", "KLTW"});
}

TEST_F(SurfaceRenderingTest, SelectionFrameIsNormalisedAndDrawnDashed) {
    change([&](SessionState& st) { st.view.gridsOn = false; });
    change([&](SessionState& st) { st.view.pixelSize = 4; });
    change([&](SessionState& st) { st.selection.frameShown = true; });
    change([&](SessionState& st) { st.selection.selX1 = 5; });
    change([&](SessionState& st) { st.selection.selX2 = 3; });
    change([&](SessionState& st) { st.selection.selY1 = 3; });
    change([&](SessionState& st) { st.selection.selY2 = 3; });
    s().redrawSurface();
    // Drawn as the corners 2, 2 to 6, 4, which a capture stores (BoxSelectionTest); the
    // drawing itself changes nothing.
    EXPECT_EQ(s().selection().selX1, 5);

    // Dashes of four black and two white run from the top-left corner down, along the
    // bottom, up the right side and back along the top.
    const auto expectFrame = [&] {
        expectRasterBlock(surface(), 7, 7,
                          {"TTTTTTTTTTTTTTTTTTT",  //
                           "TKWWKKKKWWKKKKWWKKT",  //
                           "TKTTTTTTTTTTTTTTTKT",  //
                           "TKTTTTTTTTTTTTTTTKT",  //
                           "TKTTTTTTTTTTTTTTTWT",  //
                           "TWTTTTTTTTTTTTTTTWT",  //
                           "TWTTTTTTTTTTTTTTTKT",  //
                           "TKTTTTTTTTTTTTTTTKT",  //
                           "TKTTTTTTTTTTTTTTTKT",  //
                           "TKKWWKKKKWWKKKKWWKT",  //
                           "TTTTTTTTTTTTTTTTTTT"});
    };
    expectFrame();

    // The same corners in order draw the same frame.
    change([&](SessionState& st) { st.selection.normalizeCorners(); });
    s().redrawSurface();
    EXPECT_EQ(s().selection().selX1, 2);
    EXPECT_EQ(s().selection().selX2, 6);
    expectFrame();

    change([&](SessionState& st) { st.selection.frameShown = false; });
    s().redrawSurface();
    expectRasterBlock(surface(), 8, 8, {"TTTTTTTTTTTTTTTTT"});
}

TEST_F(SurfaceRenderingTest, RubberBandDrawsOnlyWhenThePointerEntersAnotherCell) {
    change([&](SessionState& st) { st.view.gridsOn = false; });
    change([&](SessionState& st) { st.view.pixelSize = 4; });
    s().redrawSurface();

    // The remembered cell starts at (0, 0), so a first call there draws nothing.
    int presents = host.presentCount;
    s().drawRubberBand(1, 0, 0, 0);
    EXPECT_EQ(host.presentCount, presents);

    s().drawRubberBand(1, 0, 0, 1);
    EXPECT_GT(host.presentCount, presents);
    EXPECT_EQ(s().renderer().rubberBandCellX(), 0);
    EXPECT_EQ(s().renderer().rubberBandCellY(), 1);
    // Anchor right of and above the pointer: the band still spans both cells.
    expectRasterBlock(surface(), 0, 0,
                      {"KKKWWKKKKT",  //
                       "KTTTTTTTWT",  //
                       "KTTTTTTTWT",  //
                       "KTTTTTTTKT",  //
                       "WTTTTTTTKT",  //
                       "WTTTTTTTKT",  //
                       "KTTTTTTTKT",  //
                       "KTTTTTTTWT",  //
                       "KKWWKKKKWT",  //
                       "TTTTTTTTTT"});

    presents = host.presentCount;
    s().drawRubberBand(1, 0, 0, 1);
    EXPECT_EQ(host.presentCount, presents);

    // Moving on redraws the whole surface, so the old band is gone.
    s().drawRubberBand(1, 0, 1, 0);
    EXPECT_GT(host.presentCount, presents);
    EXPECT_EQ(s().renderer().rubberBandCellX(), 1);
    EXPECT_EQ(s().renderer().rubberBandCellY(), 0);
    expectRasterBlock(surface(), 0, 0,
                      {"TTTTKKKKKT",  //
                       "TTTTK...WT"});
    expectRasterBlock(surface(), 0, 8, {"TTTTTTTTT"});
}

TEST_F(SurfaceRenderingTest, PastePreviewOverThePictureLetsTransparentCellsShowIt) {
    setPicture({"1111", "1111", "1111"});
    setSelBuffer({"34", "42"});
    change([&](SessionState& st) { st.view.pixelSize = 1; });
    s().redrawSurface();

    s().drawPastePreview(1, 1);

    expectRasterBlock(surface(), 0, 0,
                      {"DDDDW",  //
                       "DWDDW",  //
                       "DDLDW",  //
                       "WWWWW"});
    EXPECT_EQ(s().renderer().pastePreviewCellX(), 2);
    EXPECT_EQ(s().renderer().pastePreviewCellY(), 2);
    EXPECT_EQ(picture().pixels[2][2], kGray66) << "the preview leaves the picture alone";
}

TEST_F(SurfaceRenderingTest, PastePreviewBeyondTheEdgeShowsTheWholeBlockInTeal) {
    setPicture({"1111", "1111", "1111"});
    setSelBuffer({"34", "42"});
    change([&](SessionState& st) { st.view.pixelSize = 1; });
    s().redrawSurface();

    s().drawPastePreview(3, 2);

    expectRasterBlock(surface(), 0, 0,
                      {"DDDDW",  //
                       "DDDDW",  //
                       "DDDWT",  //
                       "WWWTL",  //
                       "WWWWW"});
}

TEST_F(SurfaceRenderingTest, PastePreviewCoversTheGridAndRedrawsOnlyOnANewCell) {
    setPicture({"00", "00"});
    setSelBuffer({"3"});
    change([&](SessionState& st) { st.view.pixelSize = 4; });
    s().redrawSurface();

    int presents = host.presentCount;
    s().drawPastePreview(5, 2);  // cell (2, 1)
    EXPECT_GT(host.presentCount, presents);
    expectRasterBlock(surface(), 0, 0,
                      {"GGGGWWWWG",  //
                       "GKKKWWWWG",  //
                       "GKKKWWWWG",  //
                       "GKKKWWWWG",  //
                       "GGGGGGGGG"});

    presents = host.presentCount;
    s().drawPastePreview(7, 3);  // same cell
    EXPECT_EQ(host.presentCount, presents);
}

TEST_F(SurfaceRenderingTest, PastePreviewIgnoresAPointerBeyondThePicture) {
    setPicture({"00", "00"});
    setSelBuffer({"3"});
    change([&](SessionState& st) { st.view.pixelSize = 4; });
    s().redrawSurface();
    s().drawPastePreview(0, 0);
    const int presents = host.presentCount;

    s().drawPastePreview(8, 0);  // cell (3, 1)
    s().drawPastePreview(0, 8);  // cell (1, 3)

    EXPECT_EQ(host.presentCount, presents);
    EXPECT_EQ(s().renderer().pastePreviewCellX(), 1);
    EXPECT_EQ(s().renderer().pastePreviewCellY(), 1);
    expectRasterBlock(surface(), 0, 0, {"WWWWG", "WWWWG"});
}

TEST_F(SurfaceRenderingTest, SwatchesShowTheDisplayColoursOfBothCurrentColours) {
    const Rgb colours[] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x008080};
    for (Pixel value = 0; value <= 4; ++value) {
        change([&](SessionState& st) { st.leftColour = value; });
        change([&](SessionState& st) { st.rightColour = 4 - value; });
        announce(s(), {changed::kColours});
        EXPECT_EQ(host.leftSwatch, colours[value]) << "value " << value;
        EXPECT_EQ(host.rightSwatch, colours[4 - value]) << "value " << value;
    }
}

struct PaintCellCase {
    int pixelSize;
    bool gridsOn;
    std::vector<std::string_view> rows;
};

void PrintTo(const PaintCellCase& c, std::ostream* os) {
    *os << "pixel size " << c.pixelSize << ", grid " << (c.gridsOn ? "on" : "off");
}

class PaintCellTest : public SurfaceRenderingTest,
                      public ::testing::WithParamInterface<PaintCellCase> {};

TEST_P(PaintCellTest, RepaintsOneCellWithItsOutline) {
    const PaintCellCase& c = GetParam();
    setPicture({"44", "44"});
    change([&](SessionState& st) { st.view.pixelSize = c.pixelSize; });
    change([&](SessionState& st) { st.view.gridsOn = c.gridsOn; });
    s().redrawSurface();
    change([&](SessionState& st) {
        st.picture().pixels[1][1] = kWhite;
    });  // changed in the model only: stays as drawn
    change([&](SessionState& st) { st.picture().pixels[2][1] = kBlack; });
    host.shownWidth = -1;
    const int presents = host.presentCount;

    announce(s(), Changes::cell(2, 1));

    EXPECT_EQ(host.presentCount, presents + 1);
    EXPECT_EQ(host.shownWidth, -1) << "no full redraw";
    expectRasterBlock(surface(), 0, 0, c.rows);
}

INSTANTIATE_TEST_SUITE_P(GridOrNot, PaintCellTest,
                         ::testing::Values(PaintCellCase{4,
                                                         true,
                                                         {"GGGGGGGGG",  //
                                                          "GTTTGKKKG",  //
                                                          "GTTTGKKKG",  //
                                                          "GTTTGKKKG",  //
                                                          "GGGGGGGGG",  //
                                                          "GTTTGTTTG"}},
                                           PaintCellCase{4,
                                                         false,
                                                         {"TTTTKKKKW",  //
                                                          "TTTTKKKKW",  //
                                                          "TTTTKKKKW",  //
                                                          "TTTTKKKKW",  //
                                                          "TTTTTTTTW"}},
                                           PaintCellCase{3,
                                                         true,
                                                         {"TTTKKKW",  //
                                                          "TTTKKKW",  //
                                                          "TTTKKKW",  //
                                                          "TTTTTTW"}}));

}  // namespace
}  // namespace stipple
