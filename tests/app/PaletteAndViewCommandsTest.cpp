#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace stipple::testing {
namespace {

using Commands = EditorFixture;

TEST_F(Commands, PaletteReactsToLeftAndRightPressOnly) {
    ed().paletteMouseDown(MouseButton::Right, kWhite);
    EXPECT_EQ(ed().rightColour, kWhite);
    EXPECT_EQ(ed().leftColour, kBlack);
    EXPECT_EQ(host.rightSwatch, 0xFFFFFFu);
    EXPECT_EQ(host.leftSwatch, 0x000000u);
    ed().paletteMouseDown(MouseButton::Middle, kGray33);
    EXPECT_EQ(ed().rightColour, kWhite);
    EXPECT_EQ(ed().leftColour, kBlack);
    ed().paletteMouseDown(MouseButton::Left, kGray66);
    EXPECT_EQ(ed().leftColour, kGray66);
    EXPECT_EQ(host.leftSwatch, 0x808080u);
}

TEST_F(Commands, QuickSizeKeepsCellsAndTakesNoSnapshot) {
    ed().pixels[96][92] = kWhite;
    ed().pixels[50][50] = kBlack;
    ed().quickSizeWidth(2);
    ed().quickSizeHeight(2);
    EXPECT_EQ(host.shownWidth, 2);
    EXPECT_EQ(host.shownHeight, 2);
    ed().quickSizeWidth(96);
    ed().quickSizeHeight(92);
    EXPECT_EQ(ed().pixels[96][92], kWhite);
    EXPECT_EQ(ed().pixels[50][50], kBlack);
    EXPECT_EQ(ed().undoCount, 0);
    EXPECT_FALSE(host.undoEnabled);
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
        int& size = c.width ? ed().pictureWidth : ed().pictureHeight;
        size = c.from;
        const int levels = ed().undoCount;
        if (c.width) {
            ed().stepPictureWidth(c.delta);
        } else {
            ed().stepPictureHeight(c.delta);
        }
        EXPECT_EQ(size, c.expected);
        EXPECT_EQ(ed().undoCount, levels + 1);
        // The snapshot holds the size from before the step.
        EXPECT_EQ(ed().undoLevelSize(1)[c.width ? 0 : 1], c.from);
    }
}

TEST_F(Commands, PixelSizeStaysWithinOneTo49) {
    ed().setPixelSize(1);
    ed().stepPixelSize(-1);
    EXPECT_EQ(ed().pixelSize, 1);
    ed().setPixelSize(48);
    ed().stepPixelSize(+1);
    ed().stepPixelSize(+1);
    EXPECT_EQ(ed().pixelSize, 49);
    EXPECT_EQ(host.shownPixelSize, 49);
    EXPECT_EQ(ed().undoCount, 0);
}

TEST_F(Commands, ViewTogglesKeepMenuAndToolbarInStep) {
    ed().toggleGrids();
    EXPECT_FALSE(ed().gridsOn);
    EXPECT_FALSE(host.gridsChecked);
    EXPECT_EQ(ed().surface().pixel(10, 5), 0x008080u);  // no grid line any more
    ed().toggleBorder();
    EXPECT_TRUE(host.borderChecked);
    EXPECT_EQ(ed().surface().pixel(0, 5), 0xFF0000u);
    ed().toggleGrids();
    EXPECT_TRUE(host.gridsChecked);
}

TEST_F(Commands, ClearImageFillsTheWholeGridAsOneUndoStep) {
    ed().quickSizeWidth(10);
    ed().quickSizeHeight(10);
    ed().rightColour = kBlack;
    ed().takeUndoSnapshot();
    ed().pixels[3][3] = kWhite;
    ed().takeUndoSnapshot();
    ed().pixels[4][4] = kWhite;
    ed().clearImage();
    ed().quickSizeWidth(96);
    ed().quickSizeHeight(92);
    EXPECT_EQ(ed().pixels[96][92], kBlack);
    EXPECT_EQ(ed().pixels[1][1], kBlack);
    EXPECT_EQ(ed().undoCount, 3);
    // Undo brings back both strokes, then the first alone.
    ed().undoChange();
    EXPECT_EQ(ed().pixels[3][3], kWhite);
    EXPECT_EQ(ed().pixels[4][4], kWhite);
    EXPECT_EQ(ed().pictureWidth, 10);
    ed().undoChange();
    EXPECT_EQ(ed().pixels[4][4], kTransparent);
}

TEST_F(Commands, ChoosingAToolSetsExactlyItsFlag) {
    ed().selectionShown = true;
    ed().selectTool(Tool::Box);
    EXPECT_TRUE(ed().toolBox);
    EXPECT_TRUE(host.selectPanelVisible);
    EXPECT_TRUE(ed().selectMode);
    EXPECT_FALSE(ed().pasteMode);
    EXPECT_TRUE(ed().selectionShown);

    host.pastePressed = true;
    ed().selectTool(Tool::Box);
    EXPECT_TRUE(ed().pasteMode);
    EXPECT_FALSE(ed().selectMode);

    ed().selectTool(Tool::Pen);
    EXPECT_TRUE(ed().toolPen);
    EXPECT_FALSE(ed().toolBox);
    EXPECT_FALSE(ed().selectionShown);
    EXPECT_FALSE(ed().pasteMode);
    EXPECT_FALSE(ed().selectMode);
    EXPECT_FALSE(host.selectPanelVisible);

    const Tool tools[] = {Tool::Pen, Tool::Bucket, Tool::Pipe, Tool::ChangeColour, Tool::Box};
    for (Tool t : tools) {
        ed().selectTool(t);
        const int on =
            ed().toolPen + ed().toolBucket + ed().toolPipe + ed().toolChangeColour + ed().toolBox;
        EXPECT_EQ(on, 1);
    }
}

TEST_F(Commands, SetSizeAppliesAfterOkAsOneUndoStep) {
    ed().pixels[90][90] = kWhite;
    host.sizeAnswer = false;
    ed().SetSize1Click();
    EXPECT_EQ(host.askedWidth, 96);
    EXPECT_EQ(host.askedHeight, 92);
    EXPECT_EQ(ed().undoCount, 0);

    host.sizeAnswer = true;
    host.answerWidth = 12;
    host.answerHeight = 7;
    ed().SetSize1Click();
    EXPECT_EQ(ed().pictureWidth, 12);
    EXPECT_EQ(ed().pictureHeight, 7);
    EXPECT_EQ(host.shownWidth, 12);
    EXPECT_EQ(ed().undoCount, 1);
    EXPECT_EQ(ed().pixels[90][90], kWhite);
    ed().undoChange();
    EXPECT_EQ(ed().pictureWidth, 96);
    EXPECT_EQ(ed().pictureHeight, 92);
}

}  // namespace
}  // namespace stipple::testing
