#include <gtest/gtest.h>

#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

using Commands = SessionFixture;

TEST_F(Commands, PaletteReactsToLeftAndRightPressOnly) {
    pressPaletteColour(s(), MouseButton::Right, kWhite);
    EXPECT_EQ(s().rightColour(), kWhite);
    EXPECT_EQ(s().leftColour(), kBlack);
    EXPECT_EQ(host.rightSwatch, 0xFFFFFFu);
    EXPECT_EQ(host.leftSwatch, 0x000000u);
    pressPaletteColour(s(), MouseButton::Middle, kGray33);
    EXPECT_EQ(s().rightColour(), kWhite);
    EXPECT_EQ(s().leftColour(), kBlack);
    pressPaletteColour(s(), MouseButton::Left, kGray66);
    EXPECT_EQ(s().leftColour(), kGray66);
    EXPECT_EQ(host.leftSwatch, 0x808080u);
}

TEST_F(Commands, QuickSizeKeepsCellsAndIsAStepEach) {
    change([&](SessionState& st) { st.picture().pixels[96][92] = kWhite; });
    change([&](SessionState& st) { st.picture().pixels[50][50] = kBlack; });
    setPictureWidth(s(), 2);
    setPictureHeight(s(), 2);
    EXPECT_EQ(host.shownWidth, 2);
    EXPECT_EQ(host.shownHeight, 2);
    setPictureWidth(s(), 96);
    setPictureHeight(s(), 92);
    EXPECT_EQ(picture().pixels[96][92], kWhite);
    EXPECT_EQ(picture().pixels[50][50], kBlack);
    EXPECT_EQ(s().undoCount(), 4);
}

TEST_F(Commands, StepButtonsStopAtTheirLimitsButAlwaysSnapshot) {
    struct Case {
        bool width;
        int delta;
        int from;
        int expected;
    };
    const Case cases[] = {
        {true, +1, 94, 95}, {true, +1, 95, 95},  {true, +1, 96, 96},  {true, -1, 3, 2},
        {true, -1, 2, 2},   {false, +1, 90, 91}, {false, +1, 91, 91}, {false, -1, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.width ? "width " : "height ") << c.from
                                          << (c.delta > 0 ? " up" : " down"));
        change([&](SessionState& st) {
            (c.width ? st.picture().width : st.picture().height) = c.from;
        });
        const int levels = s().undoCount();
        if (c.width) {
            (c.delta > 0 ? widthUp : widthDown)(s());
        } else {
            (c.delta > 0 ? heightUp : heightDown)(s());
        }
        EXPECT_EQ(c.width ? picture().width : picture().height, c.expected);
        EXPECT_EQ(s().undoCount(), levels + 1);
        // The snapshot holds the size from before the step.
        EXPECT_EQ(s().undoLevels().levelSize(1)[c.width ? 0 : 1], c.from);
    }
}

TEST_F(Commands, PixelSizeStaysWithinOneTo49) {
    setPixelSize(s(), 1);
    pixelSizeDown(s());
    EXPECT_EQ(s().pixelSize(), 1);
    setPixelSize(s(), 48);
    pixelSizeUp(s());
    pixelSizeUp(s());
    EXPECT_EQ(s().pixelSize(), 49);
    EXPECT_EQ(host.shownPixelSize, 49);
    EXPECT_EQ(s().undoCount(), 0);
}

TEST_F(Commands, ViewTogglesKeepMenuAndToolbarInStep) {
    toggleGrids(s());
    EXPECT_FALSE(s().view().gridsOn);
    EXPECT_FALSE(isChecked(s(), CommandId::ViewGrids));
    EXPECT_EQ(s().surface().pixel(10, 5), 0x008080u);  // no grid line any more
    toggleBorder(s());
    EXPECT_TRUE(isChecked(s(), CommandId::ViewBorder));
    EXPECT_EQ(s().surface().pixel(0, 5), 0xFF0000u);
    toggleGrids(s());
    EXPECT_TRUE(isChecked(s(), CommandId::ViewGrids));
}

TEST_F(Commands, ClearImageFillsTheWholeGridAsOneUndoStep) {
    resize(10, 10);
    change([&](SessionState& st) { st.rightColour = kBlack; });
    takeSnapshot(s());
    change([&](SessionState& st) { st.picture().pixels[3][3] = kWhite; });
    takeSnapshot(s());
    change([&](SessionState& st) { st.picture().pixels[4][4] = kWhite; });
    clearImage(s());
    resize(96, 92);
    EXPECT_EQ(picture().pixels[96][92], kBlack);
    EXPECT_EQ(picture().pixels[1][1], kBlack);
    EXPECT_EQ(s().undoCount(), 3);
    // Undo brings back both strokes, then the first alone.
    s().undoChange();
    EXPECT_EQ(picture().pixels[3][3], kWhite);
    EXPECT_EQ(picture().pixels[4][4], kWhite);
    EXPECT_EQ(picture().width, 10);
    s().undoChange();
    EXPECT_EQ(picture().pixels[4][4], kTransparent);
}

TEST_F(Commands, ChoosingAToolShowsThePanelAndTheBoxModeForTheBoxToolOnly) {
    change([&](SessionState& st) { st.selection.frameShown = true; });
    selectTool(s(), Tool::Box);
    EXPECT_EQ(s().tool(), Tool::Box);
    EXPECT_TRUE(isChecked(s(), CommandId::SelectBox));
    EXPECT_TRUE(s().selectMode());
    EXPECT_FALSE(s().pasteMode());
    EXPECT_TRUE(s().selection().frameShown);

    setBoxMode(s(), BoxMode::Paste);
    selectTool(s(), Tool::Box);
    EXPECT_TRUE(s().pasteMode());
    EXPECT_FALSE(s().selectMode());

    selectTool(s(), Tool::Pen);
    EXPECT_EQ(s().tool(), Tool::Pen);
    EXPECT_FALSE(s().selection().frameShown);
    EXPECT_FALSE(s().pasteMode());
    EXPECT_FALSE(s().selectMode());
    EXPECT_FALSE(isChecked(s(), CommandId::SelectBox));
}

TEST_F(Commands, SetSizeAppliesAfterOkAsOneUndoStep) {
    change([&](SessionState& st) { st.picture().pixels[90][90] = kWhite; });
    host.sizeAnswer = false;
    askAndSetSize(s());
    EXPECT_EQ(host.askedWidth, 96);
    EXPECT_EQ(host.askedHeight, 92);
    EXPECT_EQ(s().undoCount(), 0);

    host.sizeAnswer = true;
    host.answerWidth = 12;
    host.answerHeight = 7;
    askAndSetSize(s());
    EXPECT_EQ(picture().width, 12);
    EXPECT_EQ(picture().height, 7);
    EXPECT_EQ(host.shownWidth, 12);
    EXPECT_EQ(s().undoCount(), 1);
    EXPECT_EQ(picture().pixels[90][90], kWhite);
    s().undoChange();
    EXPECT_EQ(picture().width, 96);
    EXPECT_EQ(picture().height, 92);
}

}  // namespace
}  // namespace stipple::testing
