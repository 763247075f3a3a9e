#include "export/Packer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "export/ExportTestSupport.h"
#include "support/EditorFixture.h"

namespace stipple {
namespace {

using Bytes = std::vector<int>;

Bytes packedBytes(const Editor& ed, int depth) {
    const std::uint8_t* store = depth == 1 ? ed.packed1 : depth == 2 ? ed.packed2 : ed.packed4;
    return Bytes(store + 1, store + 1 + ed.packedCount);
}

TEST(MergeCodeTest, WritesOnlyItsOwnFieldAndAllOfIt) {
    EXPECT_EQ(setBit(0xFF, 8, false), 0x7F);
    EXPECT_EQ(setBit(0x00, 1, true), 0x01);
    EXPECT_EQ(mergeCode1(0xFF, 3, kGray66), 0xFB);
    EXPECT_EQ(mergeCode1(0x00, 8, kTransparent), 0x80);
    EXPECT_EQ(mergeCode2(0xFF, 2, kGray66), 0xF7) << "both bits of the field are written";
    EXPECT_EQ(mergeCode2(0x00, 4, kTransparent), 0xC0) << "transparent packs as white";
    EXPECT_EQ(mergeCode4(0x00, 2, kTransparent), 0x40);
    EXPECT_EQ(mergeCode4(0xFF, 1, kTransparent), 0xF4);
    EXPECT_EQ(mergeCode4(0x00, 2, kWhite), 0x30);
}

struct PackCase {
    std::vector<std::string> rows;
    int depth;
    Bytes unaligned;
    Bytes aligned;
};

using PackerTest = testing::EditorFixture;

// The 3 x 2 example is among the golden export files.
TEST_F(PackerTest, WorkedExamplesFromPictureAndBox) {
    const std::vector<PackCase> cases = {
        {{"44", "01"}, 4, {68, 16}, {68, 16}},
        {{"44", "01"}, 2, {79}, {15, 4}},
        {{"44", "01"}, 1, {3}, {3, 0}},
        {{"303030304"}, 1, {85, 1}, {85, 1}},
    };
    for (const PackCase& c : cases) {
        testing::setPicture(ed(), c.rows);
        testing::setBox(ed(), c.rows);
        for (ExportSource source : {ExportSource::Picture, ExportSource::SelectedBox}) {
            SCOPED_TRACE(c.rows[0] + " depth " + std::to_string(c.depth) +
                         (source == ExportSource::Picture ? " picture" : " box"));
            ed().packPixels(source, c.depth, false);
            EXPECT_EQ(packedBytes(ed(), c.depth), c.unaligned);
            ed().packPixels(source, c.depth, true);
            EXPECT_EQ(packedBytes(ed(), c.depth), c.aligned);
        }
    }
}

// Places every code at its bit offset in one long bit string, the way the format is
// described rather than the way the packer walks it.
Bytes referencePacking(const PictureModel& m, int depth, bool align) {
    const int w = m.pictureWidth, h = m.pictureHeight;
    const int rowBits = align ? (w * depth + 7) / 8 * 8 : w * depth;
    Bytes bytes((rowBits * h + 7) / 8, 0);
    for (int y = 1; y <= h; ++y) {
        for (int x = 1; x <= w; ++x) {
            const int v = m.pixels[x][y];
            const int code = depth == 1 ? (v >= 2) : depth == 2 ? (v == 4 ? 3 : v) : v;
            const int bit = (y - 1) * rowBits + (x - 1) * depth;
            bytes[bit / 8] |= code << (bit % 8);
        }
    }
    return bytes;
}

TEST_F(PackerTest, BoundarySizesMatchTheBitStream) {
    std::mt19937 random(7);
    for (int w : {1, 7, 8, 9, 15, 16, 17, 96}) {
        for (int h : {1, 92}) {
            ed().pictureWidth = w;
            ed().pictureHeight = h;
            for (int x = 1; x <= w; ++x) {
                for (int y = 1; y <= h; ++y) {
                    ed().pixels[x][y] = static_cast<Pixel>(random() % 5);
                }
            }
            for (int depth : {1, 2, 4}) {
                for (bool align : {false, true}) {
                    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " depth " +
                                 std::to_string(depth) + (align ? " aligned" : ""));
                    ed().packPixels(ExportSource::Picture, depth, align);
                    EXPECT_EQ(packedBytes(ed(), depth), referencePacking(ed(), depth, align));
                }
            }
        }
    }
}

TEST_F(PackerTest, NoBitOfALargerEarlierExportSurvives) {
    const std::vector<std::string> small = {"012332100", "301230123"};
    testing::FakeHost freshHost;
    Editor fresh(freshHost);
    fresh.FormCreate();
    testing::setPicture(fresh, small);

    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ed().pixels[x][y] = kTransparent;
        }
    }
    for (int depth : {1, 2, 4}) {
        ed().pictureWidth = kMaxPictureWidth;
        ed().pictureHeight = kMaxPictureHeight;
        ed().packPixels(ExportSource::Picture, depth, true);
        testing::setPicture(ed(), small);
        for (bool align : {false, true}) {
            ed().packPixels(ExportSource::Picture, depth, align);
            fresh.packPixels(ExportSource::Picture, depth, align);
            EXPECT_EQ(packedBytes(ed(), depth), packedBytes(fresh, depth))
                << "depth " << depth << (align ? " aligned" : "");
        }
    }
}

TEST_F(PackerTest, QuarterTurnedFullBoxFitsEveryStore) {
    ed().selWidth = kMaxPictureHeight;
    ed().selHeight = kMaxPictureWidth;
    for (int x = 1; x <= ed().selWidth; ++x) {
        for (int y = 1; y <= ed().selHeight; ++y) {
            ed().selBuffer[x][y] = kTransparent;
        }
    }
    struct Expect {
        int depth, count, lastByte;
    };
    for (Expect e : {Expect{1, 1152, 0x0F}, Expect{2, 2208, 0xFF}, Expect{4, 4416, 0x44}}) {
        ed().packPixels(ExportSource::SelectedBox, e.depth, true);
        ASSERT_EQ(ed().packedCount, e.count) << "depth " << e.depth;
        EXPECT_EQ(packedBytes(ed(), e.depth).back(), e.lastByte) << "depth " << e.depth;
    }
}

}  // namespace
}  // namespace stipple
