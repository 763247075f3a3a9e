#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/PictureFile.h"
#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple::testing {
namespace {

class BoxSelection : public SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        selectTool(s(), Tool::Box);
    }
    void drag(int x1, int y1, int x2, int y2) {
        press(s(), MouseButton::Left, at(x1), at(y1));
        move(s(), at(x2), at(y2));
        release(s(), MouseButton::Left, at(x2), at(y2));
    }
    void pasteMode(bool on) { setBoxMode(s(), on ? BoxMode::Paste : BoxMode::Select); }
    void click(int x, int y) {
        press(s(), MouseButton::Left, at(x), at(y));
        release(s(), MouseButton::Left, at(x), at(y));
    }
    static std::vector<std::string> rows(const Pixel (*grid)[kSelDim], int w, int h) {
        std::vector<std::string> out;
        for (int y = 1; y <= h; ++y) {
            std::string row;
            for (int x = 1; x <= w; ++x) {
                row += static_cast<char>('0' + grid[x][y]);
            }
            out.push_back(row);
        }
        return out;
    }
    std::vector<std::string> buffer() const {
        return rows(s().selection().selBuffer, s().selection().selWidth, s().selection().selHeight);
    }
    using Rows = std::vector<std::string>;
};

TEST_F(BoxSelection, DragUpwardsAndLeftCapturesTheEnclosedCells) {
    setPicture({"0000000", "0000000", "0000000", "0000000", "0012300", "0031200", "0023100",
                "0012300", "0000000"});
    drag(5, 5, 3, 8);
    EXPECT_EQ(std::vector<int>(host.boxFields, host.boxFields + 4), (std::vector<int>{3, 5, 5, 8}));
    EXPECT_EQ(buffer(), (Rows{"123", "312", "231", "123"}));
    EXPECT_EQ(s().selection().selX1, 2);
    EXPECT_EQ(s().selection().selX2, 5);
    EXPECT_TRUE(s().selection().frameShown);
    EXPECT_FALSE(s().state().boxDragging);
    EXPECT_EQ(s().undoCount(), 1);  // the press, although nothing changed

    click(2, 2);  // a one-cell box
    EXPECT_EQ(s().selection().selWidth, 1);
    EXPECT_EQ(s().selection().selHeight, 1);
    EXPECT_EQ(host.boxFields[0], 2);
    EXPECT_EQ(host.boxFields[3], 2);
}

TEST_F(BoxSelection, DragPastTheEdgeEndsAtTheLastColumnAndRow) {
    resize(20, 10);
    press(s(), MouseButton::Left, at(18), at(9));
    release(s(), MouseButton::Left, 600, 580);
    EXPECT_EQ(std::vector<int>(host.boxFields, host.boxFields + 4),
              (std::vector<int>{18, 9, 20, 10}));
    EXPECT_EQ(s().selection().selWidth, 3);
    EXPECT_EQ(s().selection().selHeight, 2);
}

TEST_F(BoxSelection, PasteWritesOpaqueCellsInsideThePictureOnly) {
    setPicture({"304", "140", "000"});
    drag(1, 1, 3, 2);  // buffer 304 / 140
    resize(10, 10);
    for (int x = 1; x <= 11; ++x) {
        for (int y = 1; y <= 11; ++y) {
            change([&](SessionState& st) { st.picture().pixels[x][y] = kGray33; });
        }
    }
    pasteMode(true);
    move(s(), at(9), at(9));  // the preview hangs over the edge, teal and all
    EXPECT_EQ(s().surface().pixel(at(11), at(9)), 0x008080u);
    EXPECT_EQ(s().surface().pixel(at(10), at(9)), 0x000000u);
    EXPECT_EQ(s().surface().pixel(at(9), at(10)), 0x808080u);
    EXPECT_EQ(s().surface().pixel(at(10), at(10)), 0xC0C0C0u);  // transparent: picture shows

    click(9, 9);
    EXPECT_EQ(pictureRows()[8], "2222222230");
    EXPECT_EQ(pictureRows()[9], "2222222212");
    EXPECT_EQ(picture().pixels[11][9], kGray33);  // beyond the picture: dropped
    EXPECT_FALSE(s().selection().frameShown);     // the release in paste mode hides the frame
    EXPECT_EQ(s().undoCount(), 2);
}

TEST_F(BoxSelection, PasteBeforeAnyCaptureDoesNothing) {
    pasteMode(true);
    click(3, 3);
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_EQ(picture().pixels[3][3], kTransparent);
    press(s(), MouseButton::Left, -20, -20);  // nor does a press off the surface
    EXPECT_EQ(picture().pixels[1][1], kTransparent);
}

TEST_F(BoxSelection, TwoPastesUndoneNewestFirstUsingTheContentAtCapture) {
    setPicture({"01", "22", "33", "44"});
    resize(8, picture().height);
    drag(1, 1, 2, 1);
    change([&](SessionState& st) {
        st.picture().pixels[1][1] = kWhite;
    });  // drawn over after the capture
    pasteMode(true);
    click(4, 2);
    click(6, 3);
    EXPECT_EQ(pictureRows()[1], "22401444");
    EXPECT_EQ(pictureRows()[2], "33444014");
    s().undoChange();
    EXPECT_EQ(pictureRows()[1], "22401444");
    EXPECT_EQ(pictureRows()[2], "33444444");
    s().undoChange();
    EXPECT_EQ(pictureRows()[1], "22444444");
}

TEST_F(BoxSelection, RotatedFiveByTwoBoxCropsToTwoByFive) {
    setPicture({"01234", "12340", "00000"});
    drag(1, 1, 5, 2);
    rotateRight(s());
    EXPECT_EQ(buffer(), (Rows{"10", "21", "32", "43", "04"}));
    cropToSelection(s());
    EXPECT_EQ(pictureRows(), (Rows{"10", "21", "32", "43", "04"}));
    EXPECT_EQ(host.shownWidth, 2);
    EXPECT_EQ(host.shownHeight, 5);
    EXPECT_EQ(s().selection().selX2, 2);
    EXPECT_EQ(s().selection().selY2, 5);
    EXPECT_EQ(host.boxFields[2], 5);  // the panel still shows the captured box
    EXPECT_EQ(s().undoCount(), 2);
    s().undoChange();
    EXPECT_EQ(pictureRows(), (Rows{"01234", "12340", "00000"}));

    rotateLeft(s());
    EXPECT_EQ(buffer(), (Rows{"01234", "12340"}));
}

TEST_F(BoxSelection, TurnsAndFlipsGiveBackTheBuffer) {
    setPicture({"0123", "3214", "4400"});
    drag(1, 1, 4, 3);
    const Rows original = buffer();
    flipVertically(s());
    EXPECT_EQ(buffer(), (Rows{"3210", "4123", "0044"}));
    flipVertically(s());
    EXPECT_EQ(buffer(), original);
    flipHorizontally(s());
    EXPECT_EQ(buffer(), (Rows{"4400", "3214", "0123"}));
    flipHorizontally(s());
    EXPECT_EQ(buffer(), original);
    rotateLeft(s());
    EXPECT_EQ(buffer(), (Rows{"340", "210", "124", "034"}));
    for (int i = 0; i < 3; ++i) {
        rotateLeft(s());
    }
    EXPECT_EQ(buffer(), original);
    for (int i = 0; i < 4; ++i) {
        rotateRight(s());
    }
    EXPECT_EQ(buffer(), original);
    EXPECT_EQ(s().undoCount(), 1);  // only the capture's press
    EXPECT_EQ(pictureRows(), (Rows{"0123", "3214", "4400"}));
}

TEST_F(BoxSelection, OperationsBeforeTheFirstCaptureDoNothing) {
    change([&](SessionState& st) { st.picture().pixels[1][1] = kBlack; });
    clearBox(s());
    cropToSelection(s());
    rotateLeft(s());
    rotateRight(s());
    flipHorizontally(s());
    flipVertically(s());
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_EQ(s().selection().selWidth, 0);
    EXPECT_EQ(picture().width, 96);
    EXPECT_EQ(picture().pixels[1][1], kBlack);
}

TEST_F(BoxSelection, ClearEmptiesTheLastCapturedBoxEvenWhenHidden) {
    setPicture({"00000", "00000", "00000", "00000", "00000"});
    drag(2, 2, 4, 5);
    pasteMode(true);
    click(5, 5);  // hides the frame
    clearBox(s());
    EXPECT_EQ(pictureRows(), (Rows{"00000", "04440", "04440", "04440", "04440"}));
    EXPECT_EQ(s().undoCount(), 3);
    click(1, 1);  // the buffer still holds the captured cells
    EXPECT_EQ(pictureRows()[1], "00040");
}

TEST_F(BoxSelection, SaveAfterRotateHoldsTheSwappedSize) {
    TempFolder dir;
    setPicture({"01234", "12340"});
    drag(1, 1, 5, 2);
    rotateLeft(s());
    host.saveSelectAnswer = "Turned";
    host.saveFileAnswer = (dir / "turned.stw").string();
    saveSelectionAs(s());
    const PictureFileReading read = parsePictureFile(readFile(dir / "turned.stw"));
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.content.nameBytes, "Turned");
    EXPECT_EQ(read.content.width, 2);
    EXPECT_EQ(read.content.height, 5);
    EXPECT_EQ(read.content.cells, (std::vector<Pixel>{4, 0, 3, 4, 2, 3, 1, 2, 0, 1}));
}

TEST_F(BoxSelection, CropAndSaveOfABoxTallerThanAPictureAreRefused) {
    for (int x = 1; x <= 96; ++x) {
        change([&](SessionState& st) { st.picture().pixels[x][1] = x % 4; });
    }
    setPixelSize(s(), 6);
    drag(1, 1, 96, 3);
    rotateRight(s());
    ASSERT_EQ(s().selection().selHeight, 96);
    host.saveSelectAnswer = "Tall";
    host.saveFileAnswer = std::string(STIPPLE_TEST_TMP_DIR) + "/never-written.stw";
    struct Command {
        const char* action;
        void (*run)(Session&);
    };
    for (const Command c :
         {Command{"cutting it off", &cropToSelection}, Command{"saving it", &saveSelectionAs}}) {
        SCOPED_TRACE(c.action);
        host.messages.clear();
        c.run(s());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].first,
                  std::string("The box is 96 rows high; a picture can be at most 92 rows high. "
                              "Turn the box back before ") +
                      c.action + ".");
        EXPECT_EQ(picture().width, 96);
        EXPECT_EQ(picture().height, 92);
        EXPECT_EQ(s().undoCount(), 1) << "no snapshot";
        EXPECT_TRUE(host.saveSelectShown.empty()) << "no name asked for";
        EXPECT_TRUE(host.savePresets.empty()) << "no file dialog";
        EXPECT_EQ(s().selection().selHeight, 96) << "the box stays for paste and export";
    }
    EXPECT_FALSE(std::filesystem::exists(*host.saveFileAnswer));

    rotateLeft(s());
    cropToSelection(s());
    EXPECT_EQ(picture().width, 96);
    EXPECT_EQ(picture().height, 3);
    EXPECT_EQ(picture().pixels[5][1], 1);
}

}  // namespace
}  // namespace stipple::testing
