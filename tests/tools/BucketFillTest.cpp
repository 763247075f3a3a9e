#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/ExportTestSupport.h"
#include "support/EditorFixture.h"

namespace stipple::testing {
namespace {

class BucketFill : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ed().selectTool(Tool::Bucket);
        ed().leftColour = kWhite;
    }
    void pressAt(int x, int y) { ed().Image1MouseDown(MouseButton::Left, at(x), at(y)); }
    // The picture as rows of digits.
    std::vector<std::string> picture() const {
        std::vector<std::string> rows;
        for (int y = 1; y <= editor->pictureHeight; ++y) {
            std::string row;
            for (int x = 1; x <= editor->pictureWidth; ++x) {
                row += static_cast<char>('0' + editor->pixels[x][y]);
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(BucketFill, LargestUniformPictureFillsFromAnyCellInOneRedraw) {
    ed().setPixelSize(5);
    const int starts[][2] = {{1, 1}, {96, 92}, {48, 46}, {96, 1}};
    Pixel value = kWhite;
    for (const auto& start : starts) {
        ed().leftColour = value;
        const int presents = host.presentCount;
        pressAt(start[0], start[1]);
        EXPECT_EQ(host.presentCount, presents + 1);
        int changed = 0;
        for (int x = 1; x <= 96; ++x) {
            for (int y = 1; y <= 92; ++y) {
                changed += ed().pixels[x][y] == value;
            }
        }
        EXPECT_EQ(changed, 96 * 92) << start[0] << "," << start[1];
        value = value == kWhite ? kBlack : kWhite;
    }
    EXPECT_EQ(ed().undoCount, 4);
}

TEST_F(BucketFill, CheckerboardChangesOnlyThePressedCell) {
    setPicture(ed(), {"0303", "3030", "0303"});
    ed().leftColour = kGray33;
    pressAt(2, 2);
    EXPECT_EQ(picture(), (std::vector<std::string>{"0303", "3230", "0303"}));
}

TEST_F(BucketFill, DiagonalRingHoldsTheFillInside) {
    setPicture(ed(), {"3333333",  //
                      "3330333", "3303033", "3033303", "3303033", "3330333", "3333333"});
    ed().leftColour = kGray66;
    pressAt(4, 4);
    EXPECT_EQ(picture(), (std::vector<std::string>{"3333333",  //
                                                   "3330333", "3301033", "3011103", "3301033",
                                                   "3330333", "3333333"}));
    pressAt(1, 1);  // and from outside, the inside stays
    EXPECT_EQ(picture()[3], "1011101");
    EXPECT_EQ(picture()[0], "1111111");
}

TEST_F(BucketFill, RegionStopsAtThePictureEdges) {
    ed().quickSizeWidth(10);
    ed().quickSizeHeight(8);  // the whole grid is transparent
    ed().pixels[5][3] = kBlack;
    pressAt(10, 8);
    EXPECT_EQ(ed().pixels[1][1], kWhite);
    EXPECT_EQ(ed().pixels[10][8], kWhite);
    EXPECT_EQ(ed().pixels[5][3], kBlack);
    EXPECT_EQ(ed().pixels[11][1], kTransparent);
    EXPECT_EQ(ed().pixels[1][9], kTransparent);
    EXPECT_EQ(ed().pixels[11][9], kTransparent);
}

TEST_F(BucketFill, PressesThatFillNothingStillAddALevelButDoNotRedraw) {
    ed().quickSizeWidth(10);
    ed().quickSizeHeight(8);
    ed().leftColour = kTransparent;
    const int presents = host.presentCount;
    pressAt(3, 3);                                        // same colour
    ed().Image1MouseDown(MouseButton::Left, 10 * 10, 5);  // right of the picture
    ed().Image1MouseDown(MouseButton::Left, 5, 8 * 10);   // below it
    ed().leftColour = kWhite;
    ed().Image1MouseDown(MouseButton::Left, -3, 5);  // left of the surface
    ed().Image1MouseDown(MouseButton::Left, 5, -3);
    EXPECT_EQ(host.presentCount, presents);
    EXPECT_EQ(ed().undoCount, 5);
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(ed().pixels[x][y], kTransparent);
        }
    }
    ed().floodRegion(kTransparent, kTransparent, 1, 1);  // value equal to target: no-op
    ed().floodRegion(kWhite, kTransparent, 11, 1);       // beyond the picture
    EXPECT_EQ(ed().pixels[1][1], kTransparent);
    EXPECT_EQ(ed().pixels[11][1], kTransparent);
}

TEST_F(BucketFill, RightButtonFillsWithTheRightColour) {
    setPicture(ed(), {"440", "404", "044"});
    ed().rightColour = kGray33;
    ed().Image1MouseDown(MouseButton::Right, at(1), at(1));
    EXPECT_EQ(picture(), (std::vector<std::string>{"220", "204", "044"}));
    ed().undoChange();
    EXPECT_EQ(picture(), (std::vector<std::string>{"440", "404", "044"}));
}

}  // namespace
}  // namespace stipple::testing
