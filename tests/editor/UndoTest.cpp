#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "support/SessionFixture.h"

namespace stipple {
namespace {

using testing::announce;
using testing::takeSnapshot;

// Everything the undo store keeps: all cells of the grid (shown or hidden) and the size.
struct PictureState {
    std::vector<Pixel> cells;
    int width = 0;
    int height = 0;
    bool operator==(const PictureState&) const = default;
};

PictureState stateOf(const Picture& m) {
    const Pixel* first = &m.pixels[0][0];
    return {std::vector<Pixel>(first, first + kGridCols * kGridRows), m.width, m.height};
}

// Makes state k distinct from every other k in its size, in visible cells and in a cell
// that is hidden whenever the picture is not at full size.
void stamp(Picture& m, int k) {
    m.width = 2 + k % 95;
    m.height = 2 + (k * 7) % 91;
    m.pixels[1][1] = k % 5;
    m.pixels[2][1] = k / 5 % 5;
    m.pixels[3][1] = k / 25 % 5;
    m.pixels[kMaxPictureWidth][kMaxPictureHeight] = (k + 2) % 5;
}

using UndoStoreTest = testing::SessionFixture;

TEST_F(UndoStoreTest, StartsEmptyAndUndoDoesNothing) {
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_FALSE(isEnabled(s(), CommandId::Undo));

    change([&](SessionState& st) { st.picture().pixels[4][4] = kBlack; });
    const PictureState before = stateOf(picture());
    const int presents = host.presentCount;
    s().undoChange();

    EXPECT_EQ(stateOf(picture()), before);
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_FALSE(isEnabled(s(), CommandId::Undo));
    EXPECT_EQ(host.presentCount, presents) << "an undo with nothing to undo redraws nothing";
}

TEST_F(UndoStoreTest, KeepsTheFiftyLatestStatesAndDropsTheOldest) {
    std::vector<PictureState> snapshots;
    for (int k = 0; k <= kUndoLevels; ++k) {
        change([&](SessionState& st) { stamp(st.picture(), k); });
        snapshots.push_back(stateOf(picture()));
        takeSnapshot(s());
    }
    change([&](SessionState& st) { stamp(st.picture(), 99); });
    ASSERT_EQ(s().undoCount(), kUndoLevels);

    for (int i = 1; i <= kUndoLevels; ++i) {
        s().undoChange();
        const PictureState& expected = snapshots[kUndoLevels + 1 - i];
        ASSERT_EQ(stateOf(picture()), expected) << "undo " << i;
        EXPECT_EQ(s().undoCount(), kUndoLevels - i);
        EXPECT_EQ(isEnabled(s(), CommandId::Undo), i < kUndoLevels) << "undo " << i;
        EXPECT_EQ(s().undoCount() > 0, i < kUndoLevels) << "undo " << i;
        EXPECT_EQ(host.shownWidth, expected.width) << "undo " << i;
        EXPECT_EQ(host.shownHeight, expected.height) << "undo " << i;
    }

    // The very first state was dropped: a 51st undo leaves the oldest kept state.
    const int presents = host.presentCount;
    s().undoChange();
    EXPECT_EQ(stateOf(picture()), snapshots[1]);
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_EQ(host.presentCount, presents);
}

TEST_F(UndoStoreTest, RestoresTheSizeTogetherWithTheCells) {
    change([&](SessionState& st) { st.picture().pixels[90][80] = kWhite; });
    takeSnapshot(s());
    change([&](SessionState& st) { st.picture().width = 40; });
    change([&](SessionState& st) { st.picture().height = 30; });
    change([&](SessionState& st) {
        st.picture().pixels[90][80] = kBlack;
    });  // hidden at 40 x 30, still part of the store
    announce(s(), {changed::kSize});
    ASSERT_EQ(host.shownWidth, 40);

    s().undoChange();

    EXPECT_EQ(picture().width, 96);
    EXPECT_EQ(picture().height, 92);
    EXPECT_EQ(picture().pixels[90][80], kWhite);
    EXPECT_EQ(host.shownWidth, 96);
    EXPECT_EQ(host.shownHeight, 92);
    EXPECT_EQ(s().surface().width(), 961);
}

TEST_F(UndoStoreTest, UndoAfterClearBringsBackTheLastSnapshotNotThePictureBeforeTheClear) {
    change([&](SessionState& st) { st.picture().pixels[5][5] = kBlack; });
    const PictureState atSnapshot = stateOf(picture());
    takeSnapshot(s());
    change([&](SessionState& st) {
        st.picture().pixels[6][6] = kWhite;
    });  // changed without a snapshot of its own

    change([](SessionState& st) { fillPicture(st); });
    EXPECT_EQ(s().undoCount(), 1) << "clearing takes no snapshot";
    s().undoChange();

    EXPECT_EQ(stateOf(picture()), atSnapshot);
    EXPECT_EQ(picture().pixels[6][6], kTransparent);
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
                reference.push_front(stateOf(picture()));
                if (reference.size() > kUndoLevels) {
                    reference.pop_back();
                }
                takeSnapshot(s());
                change([&](SessionState& st) { stamp(st.picture(), ++next); });
            } else {
                const PictureState expected =
                    reference.empty() ? stateOf(picture()) : reference.front();
                if (!reference.empty()) {
                    reference.pop_front();
                }
                s().undoChange();
                ASSERT_EQ(stateOf(picture()), expected) << "step " << step;
            }
            ASSERT_EQ(s().undoCount(), static_cast<int>(reference.size())) << "step " << step;
            ASSERT_EQ(isEnabled(s(), CommandId::Undo), !reference.empty()) << "step " << step;
            ASSERT_EQ(s().undoCount() > 0, !reference.empty()) << "step " << step;
        }
    }
}

TEST_F(UndoStoreTest, ShrinkingHidesCellsAndEnlargingShowsThemUnchanged) {
    change([&](SessionState& st) { st.picture().pixels[10][10] = kBlack; });
    change([&](SessionState& st) { st.picture().pixels[96][92] = kGray33; });
    change([&](SessionState& st) { st.picture().width = 8; });
    change([&](SessionState& st) { st.picture().height = 8; });
    s().redrawSurface();
    EXPECT_EQ(s().surface().pixel(95, 95), 0xFFFFFFu) << "hidden cell is not drawn";

    change([&](SessionState& st) { st.picture().width = 96; });
    change([&](SessionState& st) { st.picture().height = 92; });
    s().redrawSurface();
    EXPECT_EQ(picture().pixels[10][10], kBlack);
    EXPECT_EQ(picture().pixels[96][92], kGray33);
    EXPECT_EQ(s().surface().pixel(95, 95), 0x000000u);
}

TEST_F(UndoStoreTest, ClearingAlsoWritesTheCellsBeyondTheCurrentSize) {
    change([&](SessionState& st) { st.picture().pixels[10][10] = kBlack; });
    change([&](SessionState& st) { st.picture().pixels[96][92] = kGray33; });
    change([&](SessionState& st) { st.picture().width = 8; });
    change([&](SessionState& st) { st.picture().height = 8; });
    change([&](SessionState& st) { st.rightColour = kWhite; });
    change([](SessionState& st) { fillPicture(st); });

    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(picture().pixels[x][y], kWhite) << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace stipple
