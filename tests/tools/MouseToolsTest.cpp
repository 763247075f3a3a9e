#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/EditorFixture.h"

namespace stipple::testing {
namespace {

class MouseTools : public EditorFixture {
  protected:
    void press(MouseButton b, int cx, int cy) { ed().Image1MouseDown(b, at(cx), at(cy)); }
    void move(int cx, int cy) { ed().Image1MouseMove(at(cx), at(cy)); }
    void release(MouseButton b, int cx, int cy) { ed().Image1MouseUp(b, at(cx), at(cy)); }
};

TEST_F(MouseTools, PenStrokeIsOneUndoStepAndPaintsOnlyReportedCells) {
    press(MouseButton::Left, 2, 3);
    move(3, 3);
    move(6, 3);  // a fast move skips cells 4 and 5
    release(MouseButton::Left, 6, 3);
    EXPECT_EQ(ed().pixels[2][3], kBlack);
    EXPECT_EQ(ed().pixels[3][3], kBlack);
    EXPECT_EQ(ed().pixels[4][3], kTransparent);
    EXPECT_EQ(ed().pixels[5][3], kTransparent);
    EXPECT_EQ(ed().pixels[6][3], kBlack);
    EXPECT_EQ(ed().undoCount, 1);
    // The changed cell shows black inside its grid outline.
    EXPECT_EQ(ed().surface().pixel(15, 25), 0x000000u);
    EXPECT_EQ(ed().surface().pixel(10, 25), 0xC0DCC0u);

    ed().undoChange();
    EXPECT_EQ(ed().pixels[2][3], kTransparent);
    EXPECT_EQ(ed().pixels[6][3], kTransparent);
}

TEST_F(MouseTools, PressOnSameColourChangesNothingButAddsALevel) {
    ed().pixels[4][4] = kBlack;
    ed().redrawSurface();
    const int presentsBefore = host.presentCount;
    press(MouseButton::Left, 4, 4);
    EXPECT_EQ(ed().undoCount, 1);
    EXPECT_EQ(host.presentCount, presentsBefore);  // nothing repainted
    EXPECT_TRUE(host.undoEnabled);
}

TEST_F(MouseTools, PressOutsideThePictureAddsALevelOnly) {
    ed().quickSizeWidth(10);
    ed().Image1MouseDown(MouseButton::Left, 10 * 10 + 5, 5);
    EXPECT_EQ(ed().undoCount, 1);
    EXPECT_EQ(ed().pixels[11][1], kTransparent);
}

TEST_F(MouseTools, ButtonFlagsFollowTheLastPress) {
    ed().rightColour = kWhite;
    press(MouseButton::Left, 1, 1);
    press(MouseButton::Right, 1, 2);  // without releasing the left button
    EXPECT_FALSE(ed().leftDown);
    EXPECT_TRUE(ed().rightDown);
    move(5, 5);
    EXPECT_EQ(ed().pixels[5][5], kWhite);
    release(MouseButton::Left, 5, 5);  // does not stop the right-button drawing
    move(6, 5);
    EXPECT_EQ(ed().pixels[6][5], kWhite);

    press(MouseButton::Middle, 7, 7);
    EXPECT_FALSE(ed().leftDown);
    EXPECT_FALSE(ed().rightDown);
    move(8, 8);
    EXPECT_EQ(ed().pixels[7][7], kTransparent);
    EXPECT_EQ(ed().pixels[8][8], kTransparent);
}

TEST_F(MouseTools, DragBeyondTheEdgesPaintsTheEdgeCells) {
    ed().quickSizeWidth(20);
    ed().quickSizeHeight(10);
    press(MouseButton::Left, 5, 4);
    ed().Image1MouseMove(20 * 10 + 300, at(4));  // far right of the picture
    EXPECT_EQ(ed().pixels[20][4], kBlack);
    EXPECT_EQ(ed().pixels[21][4], kTransparent);
    ed().Image1MouseMove(-40, -40);
    EXPECT_EQ(ed().pixels[1][1], kBlack);
    ed().Image1MouseMove(at(3), 5000);
    EXPECT_EQ(ed().pixels[3][10], kBlack);
}

TEST_F(MouseTools, StatusBarShowsZeroBasedCellsOnMovesOnly) {
    ed().Image1MouseMove(0, 0);
    EXPECT_EQ(host.status[0], "X: 0");
    EXPECT_EQ(host.status[1], "Y: 0");
    // The closing grid line at the right edge counts as the last column.
    ed().Image1MouseMove(96 * 10, 35);
    EXPECT_EQ(host.status[0], "X: 95");
    EXPECT_EQ(host.status[1], "Y: 3");
    press(MouseButton::Left, 50, 50);
    EXPECT_EQ(host.status[0], "X: 95");
}

TEST_F(MouseTools, PipePicksFromTheWholeGridWithoutAnUndoLevel) {
    ed().selectTool(Tool::Pipe);
    ed().pixels[3][3] = kWhite;
    press(MouseButton::Right, 3, 3);
    EXPECT_EQ(ed().rightColour, kWhite);
    EXPECT_EQ(host.rightSwatch, 0xFFFFFFu);
    EXPECT_EQ(ed().leftColour, kBlack);
    EXPECT_EQ(ed().undoCount, 0);

    ed().pixels[96][10] = kGray33;  // column 96 of a 96-column picture
    press(MouseButton::Left, 96, 10);
    EXPECT_EQ(ed().leftColour, kGray33);

    // A hidden cell beyond the picture but within the grid's room is picked too.
    ed().quickSizeWidth(10);
    ed().pixels[40][2] = kGray66;
    press(MouseButton::Left, 40, 2);
    EXPECT_EQ(ed().leftColour, kGray66);

    // Dragging with the pipe keeps picking; beyond the grid's room nothing is picked.
    ed().setPixelSize(1);
    ed().Image1MouseDown(MouseButton::Left, 200, 5);
    EXPECT_EQ(ed().leftColour, kGray66);
    EXPECT_EQ(ed().undoCount, 0);
}

TEST_F(MouseTools, ChangeColourReplacesEveryEqualCellInOneStep) {
    ed().selectTool(Tool::ChangeColour);
    ed().pixels[1][1] = kWhite;
    ed().pixels[50][60] = kWhite;  // not connected to the first
    ed().pixels[96][92] = kWhite;
    ed().leftColour = kBlack;
    press(MouseButton::Left, 50, 60);
    EXPECT_EQ(ed().pixels[1][1], kBlack);
    EXPECT_EQ(ed().pixels[50][60], kBlack);
    EXPECT_EQ(ed().pixels[96][92], kBlack);
    EXPECT_EQ(ed().pixels[2][2], kTransparent);
    EXPECT_EQ(ed().undoCount, 1);

    ed().undoChange();
    EXPECT_EQ(ed().pixels[50][60], kWhite);
}

TEST_F(MouseTools, ChangeColourPressedBesideThePictureChangesNothing) {
    ed().selectTool(Tool::ChangeColour);
    ed().quickSizeWidth(10);
    ed().quickSizeHeight(8);
    for (const auto& [cx, cy] : {std::pair{11, 1}, std::pair{30, 5}, std::pair{5, 9}}) {
        SCOPED_TRACE(std::to_string(cx) + "," + std::to_string(cy));
        const int before = ed().undoCount;
        press(MouseButton::Left, cx, cy);
        EXPECT_EQ(ed().undoCount, before + 1) << "the press keeps its undo level";
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                ASSERT_EQ(ed().pixels[x][y], kTransparent) << x << "," << y;
            }
        }
    }
}

TEST_F(MouseTools, ChangeColourOnTheCurrentColourStillRedrawsAndAddsALevel) {
    ed().selectTool(Tool::ChangeColour);
    ed().leftColour = kTransparent;
    const int presentsBefore = host.presentCount;
    press(MouseButton::Left, 5, 5);
    EXPECT_EQ(ed().undoCount, 1);
    EXPECT_GT(host.presentCount, presentsBefore);
}

TEST_F(MouseTools, MovesWithBucketOrChangeColourDoNothing) {
    ed().selectTool(Tool::ChangeColour);
    press(MouseButton::Left, 1, 1);
    ed().pixels[9][9] = kWhite;
    move(9, 9);
    EXPECT_EQ(ed().pixels[9][9], kWhite);
    EXPECT_EQ(ed().undoCount, 1);
}

}  // namespace
}  // namespace stipple::testing
