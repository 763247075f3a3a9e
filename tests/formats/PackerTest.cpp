#include "formats/Packer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/Picture.h"
#include "model/Selection.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

using Bytes = std::vector<int>;

// Packs into `store` and returns the bytes filled.
Bytes packInto(std::vector<std::uint8_t>& store, const PixelView& view, int depth, bool align) {
    const int count = packRows(view, depth, align, store);
    return Bytes(store.begin() + 1, store.begin() + 1 + count);
}

Bytes packed(const PixelView& view, int depth, bool align) {
    std::vector<std::uint8_t> store(packingStoreSize(depth));
    return packInto(store, view, depth, align);
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

// The 3 x 2 example is among the golden export files.
TEST(PackerTest, WorkedExamplesFromPictureAndBox) {
    const std::vector<PackCase> cases = {
        {{"44", "01"}, 4, {68, 16}, {68, 16}},
        {{"44", "01"}, 2, {79}, {15, 4}},
        {{"44", "01"}, 1, {3}, {3, 0}},
        {{"303030304"}, 1, {85, 1}, {85, 1}},
    };
    auto picture = std::make_unique<Picture>();
    auto selection = std::make_unique<Selection>();
    for (const PackCase& c : cases) {
        testing::setPicture(*picture, c.rows);
        testing::setBox(*selection, c.rows);
        for (const PixelView& view : {picture->view(), selection->view()}) {
            SCOPED_TRACE(c.rows[0] + " depth " + std::to_string(c.depth));
            EXPECT_EQ(packed(view, c.depth, false), c.unaligned);
            EXPECT_EQ(packed(view, c.depth, true), c.aligned);
        }
    }
}

// Places every code at its bit offset in one long bit string, the way the format is
// described rather than the way the packer walks it.
Bytes referencePacking(const Picture& m, int depth, bool align) {
    const int w = m.width, h = m.height;
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

TEST(PackerTest, BoundarySizesMatchTheBitStream) {
    std::mt19937 random(7);
    auto picture = std::make_unique<Picture>();
    for (int w : {1, 7, 8, 9, 15, 16, 17, 96}) {
        for (int h : {1, 92}) {
            picture->width = w;
            picture->height = h;
            for (int x = 1; x <= w; ++x) {
                for (int y = 1; y <= h; ++y) {
                    picture->pixels[x][y] = static_cast<Pixel>(random() % 5);
                }
            }
            for (int depth : {1, 2, 4}) {
                for (bool align : {false, true}) {
                    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " depth " +
                                 std::to_string(depth) + (align ? " aligned" : ""));
                    EXPECT_EQ(packed(picture->view(), depth, align),
                              referencePacking(*picture, depth, align));
                }
            }
        }
    }
}

TEST(PackerTest, NoBitOfALargerEarlierPackingSurvives) {
    auto small = std::make_unique<Picture>();
    testing::setPicture(*small, {"012332100", "301230123"});
    auto large = std::make_unique<Picture>();
    large->width = kMaxPictureWidth;
    large->height = kMaxPictureHeight;
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            large->pixels[x][y] = kTransparent;
        }
    }
    for (int depth : {1, 2, 4}) {
        for (bool align : {false, true}) {
            std::vector<std::uint8_t> store(packingStoreSize(depth));
            packInto(store, large->view(), depth, true);
            EXPECT_EQ(packInto(store, small->view(), depth, align),
                      packed(small->view(), depth, align))
                << "depth " << depth << (align ? " aligned" : "");
        }
    }
}

TEST(PackerTest, QuarterTurnedFullBoxFitsEveryStore) {
    auto selection = std::make_unique<Selection>();
    selection->selWidth = kMaxPictureHeight;
    selection->selHeight = kMaxPictureWidth;
    for (int x = 1; x <= selection->selWidth; ++x) {
        for (int y = 1; y <= selection->selHeight; ++y) {
            selection->selBuffer[x][y] = kTransparent;
        }
    }
    struct Expect {
        int depth, count, lastByte;
    };
    for (Expect e : {Expect{1, 1152, 0x0F}, Expect{2, 2208, 0xFF}, Expect{4, 4416, 0x44}}) {
        const Bytes bytes = packed(selection->view(), e.depth, true);
        ASSERT_EQ(static_cast<int>(bytes.size()), e.count) << "depth " << e.depth;
        EXPECT_EQ(bytes.back(), e.lastByte) << "depth " << e.depth;
    }
}

}  // namespace
}  // namespace stipple
