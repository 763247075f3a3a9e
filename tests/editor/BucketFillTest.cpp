#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple::testing {
namespace {

class BucketFill : public SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        selectTool(s(), Tool::Bucket);
        change([&](SessionState& st) { st.leftColour = kWhite; });
    }
    void pressAt(int x, int y) { press(s(), MouseButton::Left, at(x), at(y)); }
};

TEST_F(BucketFill, LargestUniformPictureFillsFromAnyCellInOneRedraw) {
    setPixelSize(s(), 5);
    const int starts[][2] = {{1, 1}, {96, 92}, {48, 46}, {96, 1}};
    Pixel value = kWhite;
    for (const auto& start : starts) {
        change([&](SessionState& st) { st.leftColour = value; });
        const int presents = host.presentCount;
        pressAt(start[0], start[1]);
        EXPECT_EQ(host.presentCount, presents + 1);
        int changed = 0;
        for (int x = 1; x <= 96; ++x) {
            for (int y = 1; y <= 92; ++y) {
                changed += picture().pixels[x][y] == value;
            }
        }
        EXPECT_EQ(changed, 96 * 92) << start[0] << "," << start[1];
        value = value == kWhite ? kBlack : kWhite;
    }
    EXPECT_EQ(s().undoCount(), 4);
}

TEST_F(BucketFill, CheckerboardChangesOnlyThePressedCell) {
    setPicture({"0303", "3030", "0303"});
    change([&](SessionState& st) { st.leftColour = kGray33; });
    pressAt(2, 2);
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"0303", "3230", "0303"}));
}

TEST_F(BucketFill, DiagonalRingHoldsTheFillInside) {
    setPicture({"3333333",  //
                "3330333", "3303033", "3033303", "3303033", "3330333", "3333333"});
    change([&](SessionState& st) { st.leftColour = kGray66; });
    pressAt(4, 4);
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"3333333",  //
                                                       "3330333", "3301033", "3011103", "3301033",
                                                       "3330333", "3333333"}));
    pressAt(1, 1);  // and from outside, the inside stays
    EXPECT_EQ(pictureRows()[3], "1011101");
    EXPECT_EQ(pictureRows()[0], "1111111");
}

TEST_F(BucketFill, RegionStopsAtThePictureEdges) {
    resize(10, 8);  // the whole grid is transparent
    change([&](SessionState& st) { st.picture().pixels[5][3] = kBlack; });
    pressAt(10, 8);
    EXPECT_EQ(picture().pixels[1][1], kWhite);
    EXPECT_EQ(picture().pixels[10][8], kWhite);
    EXPECT_EQ(picture().pixels[5][3], kBlack);
    EXPECT_EQ(picture().pixels[11][1], kTransparent);
    EXPECT_EQ(picture().pixels[1][9], kTransparent);
    EXPECT_EQ(picture().pixels[11][9], kTransparent);
}

TEST_F(BucketFill, PressesThatFillNothingStillAddALevelButDoNotRedraw) {
    resize(10, 8);
    change([&](SessionState& st) { st.leftColour = kTransparent; });
    const int presents = host.presentCount;
    pressAt(3, 3);                              // same colour
    press(s(), MouseButton::Left, 10 * 10, 5);  // right of the picture
    press(s(), MouseButton::Left, 5, 8 * 10);   // below it
    change([&](SessionState& st) { st.leftColour = kWhite; });
    press(s(), MouseButton::Left, -3, 5);  // left of the surface
    press(s(), MouseButton::Left, 5, -3);
    EXPECT_EQ(host.presentCount, presents);
    EXPECT_EQ(s().undoCount(), 5);
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(picture().pixels[x][y], kTransparent);
        }
    }
    change([](SessionState& st) {
        st.flood.floodRegion(st.picture(), kTransparent, kTransparent, 1,
                             1);                                          // value = target: no-op
        st.flood.floodRegion(st.picture(), kWhite, kTransparent, 11, 1);  // beyond the picture
    });
    EXPECT_EQ(picture().pixels[1][1], kTransparent);
    EXPECT_EQ(picture().pixels[11][1], kTransparent);
}

TEST_F(BucketFill, RightButtonFillsWithTheRightColour) {
    setPicture({"440", "404", "044"});
    change([&](SessionState& st) { st.rightColour = kGray33; });
    press(s(), MouseButton::Right, at(1), at(1));
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"220", "204", "044"}));
    s().undoChange();
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"440", "404", "044"}));
}

}  // namespace
}  // namespace stipple::testing
