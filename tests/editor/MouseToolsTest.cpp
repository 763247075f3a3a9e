#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/Line.h"

#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

class MouseTools : public SessionFixture {
  protected:
    void pressCell(MouseButton b, int cx, int cy) { stipple::press(s(), b, at(cx), at(cy)); }
    void moveToCell(int cx, int cy) { stipple::move(s(), at(cx), at(cy)); }
    void releaseCell(MouseButton b, int cx, int cy) { stipple::release(s(), b, at(cx), at(cy)); }
    // A fresh session with a transparent 8 x 6 picture.
    void restartWith8x6() {
        session.reset();
        host = FakeHost{};
        SetUp();
        resize(8, 6);
    }
};

TEST_F(MouseTools, PenStrokeIsOneUndoStepAndPaintsOnlyReportedCells) {
    pressCell(MouseButton::Left, 2, 3);
    moveToCell(3, 3);
    moveToCell(6, 3);  // a fast move skips cells 4 and 5
    releaseCell(MouseButton::Left, 6, 3);
    EXPECT_EQ(picture().pixels[2][3], kBlack);
    EXPECT_EQ(picture().pixels[3][3], kBlack);
    EXPECT_EQ(picture().pixels[4][3], kTransparent);
    EXPECT_EQ(picture().pixels[5][3], kTransparent);
    EXPECT_EQ(picture().pixels[6][3], kBlack);
    EXPECT_EQ(s().undoCount(), 1);
    // The changed cell shows black inside its grid outline.
    EXPECT_EQ(s().surface().pixel(15, 25), 0x000000u);
    EXPECT_EQ(s().surface().pixel(10, 25), 0xC0DCC0u);

    s().undoChange();
    EXPECT_EQ(picture().pixels[2][3], kTransparent);
    EXPECT_EQ(picture().pixels[6][3], kTransparent);
}

// Pen drags on an 8 x 6 picture, with and without joined strokes: a fast move, a drag out
// of the picture and back, and one along the top edge from outside. Cells given 1-based;
// a cell outside the picture is a pointer position beyond it.
TEST_F(MouseTools, JoinedStrokesPaintEveryCellOnTheWayAndNothingOutside) {
    using Cells = std::vector<std::pair<int, int>>;
    struct Case {
        const char* what;
        Cells path;  // the press, then each move
        bool joined;
        std::vector<std::string> painted;
    };
    const Case cases[] = {
        {"fast move",
         {{1, 2}, {8, 5}},
         false,
         {"........", "#.......", "........", "........", ".......#", "........"}},
        {"fast move",
         {{1, 2}, {8, 5}},
         true,
         {"........", "##......", "..##....", "....##..", "......##", "........"}},
        {"out and back",
         {{6, 2}, {10, 2}, {10, 5}, {4, 5}},
         false,
         {"........", ".....#.#", "........", "........", "...#...#", "........"}},
        {"out and back",
         {{6, 2}, {10, 2}, {10, 5}, {4, 5}},
         true,
         {"........", ".....###", "........", "........", "...#####", "........"}},
        {"along the edge",
         {{1, 1}, {8, 0}, {8, 3}},
         false,
         {"#......#", "........", ".......#", "........", "........", "........"}},
        {"along the edge",
         {{1, 1}, {8, 0}, {8, 3}},
         true,
         {"####...#", ".......#", ".......#", "........", "........", "........"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.joined ? ", joined" : ""));
        restartWith8x6();
        setJoinStrokes(s(), c.joined);
        pressCell(MouseButton::Left, c.path.front().first, c.path.front().second);
        for (std::size_t i = 1; i < c.path.size(); ++i) {
            moveToCell(c.path[i].first, c.path[i].second);
        }
        releaseCell(MouseButton::Left, c.path.back().first, c.path.back().second);
        std::vector<std::string> painted = pictureRows();
        for (std::string& row : painted) {
            for (char& cell : row) {
                cell = cell == '0' ? '#' : '.';
            }
        }
        EXPECT_EQ(painted, c.painted);
        EXPECT_EQ(s().undoCount(), 1);  // one stroke, one step
    }
}

// Bresenham cells in every octant, both ends included; where the line passes between two
// cells it steps diagonally.
TEST(LineCells, EveryOctantAndEqualEnds) {
    using Cells = std::vector<std::pair<int, int>>;
    const std::vector<std::tuple<int, int, int, int, Cells>> cases = {
        {3, 3, 3, 3, {{3, 3}}},
        {1, 1, 4, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {1, 1, 1, 3, {{1, 1}, {1, 2}, {1, 3}}},
        {1, 1, 5, 3, {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}}},
        {1, 1, 3, 5, {{1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}}},
        {5, 1, 1, 3, {{5, 1}, {4, 2}, {3, 2}, {2, 3}, {1, 3}}},
        {3, 1, 1, 5, {{3, 1}, {2, 2}, {2, 3}, {1, 4}, {1, 5}}},
        {5, 3, 1, 1, {{5, 3}, {4, 2}, {3, 2}, {2, 1}, {1, 1}}},
        {4, 4, 1, 1, {{4, 4}, {3, 3}, {2, 2}, {1, 1}}},
        {1, 4, 4, 1, {{1, 4}, {2, 3}, {3, 2}, {4, 1}}},
        {1, 2, 7, 1, {{1, 2}, {2, 2}, {3, 2}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}},
    };
    for (const auto& [x0, y0, x1, y1, want] : cases) {
        Cells got;
        forEachLineCell(x0, y0, x1, y1, [&](int x, int y) { got.emplace_back(x, y); });
        EXPECT_EQ(got, want) << x0 << "," << y0 << " to " << x1 << "," << y1;
    }
}

TEST_F(MouseTools, ShiftPressDrawsALineFromTheLastPenCellAsOneStep) {
    setPicture({"44444", "44444", "44444"});
    // Without an earlier pen cell a shift-press paints the one cell.
    stipple::press(s(), MouseButton::Left, at(2), at(1), kShiftHeld);
    releaseCell(MouseButton::Left, 2, 1);
    change([&](SessionState& st) { st.rightColour = kWhite; });
    stipple::press(s(), MouseButton::Right, at(5), at(3), kShiftHeld);
    releaseCell(MouseButton::Right, 5, 3);
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"43444", "44334", "44443"}));
    EXPECT_EQ(s().undoCount(), 2);
    s().undoChange();
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"40444", "44444", "44444"}));
    // A new picture starts without a pen cell (it is cleared to the right colour, white).
    host.sizeAnswer = true;
    host.answerWidth = 5;
    host.answerHeight = 3;
    newPicture(s());
    stipple::press(s(), MouseButton::Left, at(1), at(1), kShiftHeld);
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"03333", "33333", "33333"}));
}

TEST_F(MouseTools, PressOnSameColourChangesNothingButAddsALevel) {
    change([&](SessionState& st) { st.picture().pixels[4][4] = kBlack; });
    s().redrawSurface();
    const int presentsBefore = host.presentCount;
    pressCell(MouseButton::Left, 4, 4);
    EXPECT_EQ(s().undoCount(), 1);
    EXPECT_EQ(host.presentCount, presentsBefore);  // nothing repainted
    EXPECT_TRUE(isEnabled(s(), CommandId::Undo));
}

TEST_F(MouseTools, PressOutsideThePictureAddsALevelOnly) {
    resize(10, picture().height);
    stipple::press(s(), MouseButton::Left, 10 * 10 + 5, 5);
    EXPECT_EQ(s().undoCount(), 1);
    EXPECT_EQ(picture().pixels[11][1], kTransparent);
}

TEST_F(MouseTools, ButtonFlagsFollowTheLastPress) {
    change([&](SessionState& st) { st.rightColour = kWhite; });
    pressCell(MouseButton::Left, 1, 1);
    pressCell(MouseButton::Right, 1, 2);  // without releasing the left button
    EXPECT_FALSE(s().state().leftDown);
    EXPECT_TRUE(s().state().rightDown);
    moveToCell(5, 5);
    EXPECT_EQ(picture().pixels[5][5], kWhite);
    releaseCell(MouseButton::Left, 5, 5);  // does not stop the right-button drawing
    moveToCell(6, 5);
    EXPECT_EQ(picture().pixels[6][5], kWhite);

    pressCell(MouseButton::Middle, 7, 7);
    EXPECT_FALSE(s().state().leftDown);
    EXPECT_FALSE(s().state().rightDown);
    moveToCell(8, 8);
    EXPECT_EQ(picture().pixels[7][7], kTransparent);
    EXPECT_EQ(picture().pixels[8][8], kTransparent);
}

TEST_F(MouseTools, DragBeyondTheEdgesPaintsTheEdgeCells) {
    resize(20, 10);
    pressCell(MouseButton::Left, 5, 4);
    stipple::move(s(), 20 * 10 + 300, at(4));  // far right of the picture
    EXPECT_EQ(picture().pixels[20][4], kBlack);
    EXPECT_EQ(picture().pixels[21][4], kTransparent);
    stipple::move(s(), -40, -40);
    EXPECT_EQ(picture().pixels[1][1], kBlack);
    stipple::move(s(), at(3), 5000);
    EXPECT_EQ(picture().pixels[3][10], kBlack);
}

TEST_F(MouseTools, StatusBarShowsZeroBasedCellsOnMovesOnly) {
    stipple::move(s(), 0, 0);
    EXPECT_EQ(host.status[0], "X: 0");
    EXPECT_EQ(host.status[1], "Y: 0");
    // The closing grid line at the right edge counts as the last column.
    stipple::move(s(), 96 * 10, 35);
    EXPECT_EQ(host.status[0], "X: 95");
    EXPECT_EQ(host.status[1], "Y: 3");
    pressCell(MouseButton::Left, 50, 50);
    EXPECT_EQ(host.status[0], "X: 95");
}

TEST_F(MouseTools, PipePicksFromTheWholeGridWithoutAnUndoLevel) {
    selectTool(s(), Tool::Pipe);
    change([&](SessionState& st) { st.picture().pixels[3][3] = kWhite; });
    pressCell(MouseButton::Right, 3, 3);
    EXPECT_EQ(s().rightColour(), kWhite);
    EXPECT_EQ(host.rightSwatch, 0xFFFFFFu);
    EXPECT_EQ(s().leftColour(), kBlack);
    EXPECT_EQ(s().undoCount(), 0);

    change([&](SessionState& st) {
        st.picture().pixels[96][10] = kGray33;
    });  // column 96 of a 96-column picture
    pressCell(MouseButton::Left, 96, 10);
    EXPECT_EQ(s().leftColour(), kGray33);

    // A hidden cell beyond the picture but within the grid's room is picked too.
    resize(10, picture().height);
    change([&](SessionState& st) { st.picture().pixels[40][2] = kGray66; });
    pressCell(MouseButton::Left, 40, 2);
    EXPECT_EQ(s().leftColour(), kGray66);

    // Dragging with the pipe keeps picking; beyond the grid's room nothing is picked.
    setPixelSize(s(), 1);
    stipple::press(s(), MouseButton::Left, 200, 5);
    EXPECT_EQ(s().leftColour(), kGray66);
    EXPECT_EQ(s().undoCount(), 0);
}

TEST_F(MouseTools, ChangeColourReplacesEveryEqualCellInOneStep) {
    selectTool(s(), Tool::ChangeColour);
    change([&](SessionState& st) { st.picture().pixels[1][1] = kWhite; });
    change([&](SessionState& st) {
        st.picture().pixels[50][60] = kWhite;
    });  // not connected to the first
    change([&](SessionState& st) { st.picture().pixels[96][92] = kWhite; });
    change([&](SessionState& st) { st.leftColour = kBlack; });
    pressCell(MouseButton::Left, 50, 60);
    EXPECT_EQ(picture().pixels[1][1], kBlack);
    EXPECT_EQ(picture().pixels[50][60], kBlack);
    EXPECT_EQ(picture().pixels[96][92], kBlack);
    EXPECT_EQ(picture().pixels[2][2], kTransparent);
    EXPECT_EQ(s().undoCount(), 1);

    s().undoChange();
    EXPECT_EQ(picture().pixels[50][60], kWhite);
}

TEST_F(MouseTools, ChangeColourPressedBesideThePictureChangesNothing) {
    selectTool(s(), Tool::ChangeColour);
    resize(10, 8);
    for (const auto& [cx, cy] : {std::pair{11, 1}, std::pair{30, 5}, std::pair{5, 9}}) {
        SCOPED_TRACE(std::to_string(cx) + "," + std::to_string(cy));
        const int before = s().undoCount();
        pressCell(MouseButton::Left, cx, cy);
        EXPECT_EQ(s().undoCount(), before + 1) << "the press keeps its undo level";
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                ASSERT_EQ(picture().pixels[x][y], kTransparent) << x << "," << y;
            }
        }
    }
}

TEST_F(MouseTools, ChangeColourOnTheCurrentColourStillRedrawsAndAddsALevel) {
    selectTool(s(), Tool::ChangeColour);
    change([&](SessionState& st) { st.leftColour = kTransparent; });
    const int presentsBefore = host.presentCount;
    pressCell(MouseButton::Left, 5, 5);
    EXPECT_EQ(s().undoCount(), 1);
    EXPECT_GT(host.presentCount, presentsBefore);
}

TEST_F(MouseTools, MovesWithBucketOrChangeColourDoNothing) {
    selectTool(s(), Tool::ChangeColour);
    pressCell(MouseButton::Left, 1, 1);
    change([&](SessionState& st) { st.picture().pixels[9][9] = kWhite; });
    moveToCell(9, 9);
    EXPECT_EQ(picture().pixels[9][9], kWhite);
    EXPECT_EQ(s().undoCount(), 1);
}

}  // namespace
}  // namespace stipple::testing
