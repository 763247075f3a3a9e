#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "support/EditorFixture.h"

namespace stipple {
namespace {

// Everything the undo store keeps: all cells of the grid (shown or hidden) and the size.
struct PictureState {
    std::vector<Pixel> cells;
    int width = 0;
    int height = 0;
    bool operator==(const PictureState&) const = default;
};

PictureState stateOf(const PictureModel& m) {
    const Pixel* first = &m.pixels[0][0];
    return {std::vector<Pixel>(first, first + kGridCols * kGridRows), m.pictureWidth,
            m.pictureHeight};
}

// Makes state k distinct from every other k in its size, in visible cells and in a cell
// that is hidden whenever the picture is not at full size.
void stamp(PictureModel& m, int k) {
    m.pictureWidth = 2 + k % 95;
    m.pictureHeight = 2 + (k * 7) % 91;
    m.pixels[1][1] = k % 5;
    m.pixels[2][1] = k / 5 % 5;
    m.pixels[3][1] = k / 25 % 5;
    m.pixels[kMaxPictureWidth][kMaxPictureHeight] = (k + 2) % 5;
}

using UndoStoreTest = testing::EditorFixture;

TEST_F(UndoStoreTest, StartsEmptyAndUndoDoesNothing) {
    EXPECT_EQ(editor->undoCount, 0);
    EXPECT_FALSE(editor->undoAvailable);
    EXPECT_FALSE(host.undoEnabled);

    editor->pixels[4][4] = kBlack;
    const PictureState before = stateOf(*editor);
    const int presents = host.presentCount;
    editor->undoChange();

    EXPECT_EQ(stateOf(*editor), before);
    EXPECT_EQ(editor->undoCount, 0);
    EXPECT_FALSE(host.undoEnabled);
    EXPECT_EQ(host.presentCount, presents) << "an undo with nothing to undo redraws nothing";
}

TEST_F(UndoStoreTest, KeepsTheFiftyLatestStatesAndDropsTheOldest) {
    std::vector<PictureState> snapshots;
    for (int k = 0; k <= kUndoLevels; ++k) {
        stamp(*editor, k);
        snapshots.push_back(stateOf(*editor));
        editor->takeUndoSnapshot();
    }
    stamp(*editor, 99);
    ASSERT_EQ(editor->undoCount, kUndoLevels);

    for (int i = 1; i <= kUndoLevels; ++i) {
        editor->undoChange();
        const PictureState& expected = snapshots[kUndoLevels + 1 - i];
        ASSERT_EQ(stateOf(*editor), expected) << "undo " << i;
        EXPECT_EQ(editor->undoCount, kUndoLevels - i);
        EXPECT_EQ(host.undoEnabled, i < kUndoLevels) << "undo " << i;
        EXPECT_EQ(editor->undoAvailable, i < kUndoLevels) << "undo " << i;
        EXPECT_EQ(host.shownWidth, expected.width) << "undo " << i;
        EXPECT_EQ(host.shownHeight, expected.height) << "undo " << i;
    }

    // The very first state was dropped: a 51st undo leaves the oldest kept state.
    const int presents = host.presentCount;
    editor->undoChange();
    EXPECT_EQ(stateOf(*editor), snapshots[1]);
    EXPECT_EQ(editor->undoCount, 0);
    EXPECT_EQ(host.presentCount, presents);
}

TEST_F(UndoStoreTest, RestoresTheSizeTogetherWithTheCells) {
    editor->pixels[90][80] = kWhite;
    editor->takeUndoSnapshot();
    editor->pictureWidth = 40;
    editor->pictureHeight = 30;
    editor->pixels[90][80] = kBlack;  // hidden at 40 x 30, still part of the store
    editor->redrawSurface();
    ASSERT_EQ(host.shownWidth, 40);

    editor->undoChange();

    EXPECT_EQ(editor->pictureWidth, 96);
    EXPECT_EQ(editor->pictureHeight, 92);
    EXPECT_EQ(editor->pixels[90][80], kWhite);
    EXPECT_EQ(host.shownWidth, 96);
    EXPECT_EQ(host.shownHeight, 92);
    EXPECT_EQ(editor->surface().width(), 961);
}

TEST_F(UndoStoreTest, UndoAfterClearBringsBackTheLastSnapshotNotThePictureBeforeTheClear) {
    editor->pixels[5][5] = kBlack;
    const PictureState atSnapshot = stateOf(*editor);
    editor->takeUndoSnapshot();
    editor->pixels[6][6] = kWhite;  // changed without a snapshot of its own

    editor->clearPicture();
    EXPECT_EQ(editor->undoCount, 1) << "clearing takes no snapshot";
    editor->undoChange();

    EXPECT_EQ(stateOf(*editor), atSnapshot);
    EXPECT_EQ(editor->pixels[6][6], kTransparent);
}

// Snapshots and undos mixed in any order behave like a stack of at most 50 levels whose
// oldest level falls off, however the levels are stored.
TEST_F(UndoStoreTest, MixedSnapshotsAndUndosBehaveLikeABoundedStack) {
    struct Run {
        char op;  // 'S' snapshot, 'U' undo
        int times;
    };
    const Run script[] = {{'S', 3},  {'U', 2},  {'S', 1},  {'U', 3}, {'S', 50}, {'U', 10},
                          {'S', 20}, {'U', 55}, {'S', 60}, {'U', 7}, {'S', 2},  {'U', 51}};
    std::deque<PictureState> reference;
    int next = 0;
    int step = 0;
    for (const Run& run : script) {
        for (int n = 0; n < run.times; ++n, ++step) {
            if (run.op == 'S') {
                reference.push_front(stateOf(*editor));
                if (reference.size() > kUndoLevels) {
                    reference.pop_back();
                }
                editor->takeUndoSnapshot();
                stamp(*editor, ++next);
            } else {
                const PictureState expected =
                    reference.empty() ? stateOf(*editor) : reference.front();
                if (!reference.empty()) {
                    reference.pop_front();
                }
                editor->undoChange();
                ASSERT_EQ(stateOf(*editor), expected) << "step " << step;
            }
            ASSERT_EQ(editor->undoCount, static_cast<int>(reference.size())) << "step " << step;
            ASSERT_EQ(host.undoEnabled, !reference.empty()) << "step " << step;
            ASSERT_EQ(editor->undoAvailable, !reference.empty()) << "step " << step;
        }
    }
}

TEST_F(UndoStoreTest, ShrinkingHidesCellsAndEnlargingShowsThemUnchanged) {
    editor->pixels[10][10] = kBlack;
    editor->pixels[96][92] = kGray33;
    editor->pictureWidth = 8;
    editor->pictureHeight = 8;
    editor->redrawSurface();
    EXPECT_EQ(editor->surface().pixel(95, 95), 0xFFFFFFu) << "hidden cell is not drawn";

    editor->pictureWidth = 96;
    editor->pictureHeight = 92;
    editor->redrawSurface();
    EXPECT_EQ(editor->pixels[10][10], kBlack);
    EXPECT_EQ(editor->pixels[96][92], kGray33);
    EXPECT_EQ(editor->surface().pixel(95, 95), 0x000000u);
}

TEST_F(UndoStoreTest, ClearingAlsoWritesTheCellsBeyondTheCurrentSize) {
    editor->pixels[10][10] = kBlack;
    editor->pixels[96][92] = kGray33;
    editor->pictureWidth = 8;
    editor->pictureHeight = 8;
    editor->rightColour = kWhite;
    editor->clearPicture();

    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(editor->pixels[x][y], kWhite) << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace stipple
