#include "formats/ByteLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "formats/Packer.h"

namespace stipple {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Size {
    int width, height;
};
const std::vector<Size> kSizes = {{1, 1}, {7, 3}, {8, 8}, {9, 17}, {96, 92}};

std::vector<Pixel> randomCells(Size size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Pixel> cells(static_cast<std::size_t>(size.width * size.height));
    std::generate(cells.begin(), cells.end(), [&] { return static_cast<Pixel>(random() % 5); });
    return cells;
}

TEST(ByteLayoutTest, EveryCellBitLiesWhereTheMapSaysAndReadsBack) {
    // Every depth, order, scan, planes, align and mask; all but interleaved pages are valid.
    int valid = 0;
    for (int i = 0; i < 4 * 2 * 3 * 3 * 2 * 2; ++i) {
        const int depth = 1 << (i % 4);
        ByteLayout layout{depth, {}, BitOrder(i / 4 % 2), Scan(i / 8 % 3)};
        layout.planes = Planes(i / 24 % 3);
        layout.align = i / 72 % 2 == 1;
        layout.mask = i >= 144;
        // Codes that reach the top bit; at depths 1 and 2 some values share one.
        for (int v = 0; v < 5; ++v) {
            layout.levels[v] = (v * 37 + 11) & ((1 << depth) - 1);
        }
        if (!layoutProblem(layout).empty()) {
            continue;
        }
        ++valid;
        for (Size size : kSizes) {
            SCOPED_TRACE(testing::Message() << "layout " << i << ", width " << size.width);
            const std::vector<Pixel> cells = randomCells(size, static_cast<unsigned>(i));
            const Bytes bytes =
                layoutBytes(PixelView::rowByRow(cells.data(), size.width, size.height), layout);
            const auto map = byteMap(size.width, size.height, layout);
            ASSERT_EQ(bytes.size(), map.size());
            // Aligned rows, and the image of interleaved rows, give no byte two rows' cells.
            const bool rowsStart =
                layout.scan == Scan::Rows && (layout.align || layout.planes == Planes::Interleaved);
            // No two cell bits share a byte bit; reading back finds every cell's bits.
            for (std::size_t b = 0; b < map.size(); ++b) {
                unsigned expected = 0, used = 0, clash = 0;
                for (const BitPlace& bit : map[b]) {
                    ASSERT_TRUE(!rowsStart || bit.y == map[b].front().y ||
                                (!layout.align && bit.codeBit == kMaskBit))
                        << "byte " << b;
                    clash |= used & (1u << bit.byteBit);
                    used |= 1u << bit.byteBit;
                    const auto cell =
                        static_cast<std::size_t>((bit.y - 1) * size.width + bit.x - 1);
                    const Pixel value = cells[cell];
                    const int on = bit.codeBit == kMaskBit
                                       ? value != kTransparent
                                       : (layout.levels[value] >> bit.codeBit) & 1;
                    expected |= static_cast<unsigned>(on) << bit.byteBit;
                }
                ASSERT_TRUE(used <= 0xFF && clash == 0) << "byte " << b;
                ASSERT_EQ(bytes[b], expected) << "byte " << b;
            }
            const LayoutReading back = readLayoutBytes(bytes, size.width, size.height, layout);
            ASSERT_EQ(back.error, "");
            for (std::size_t k = 0; k < cells.size(); ++k) {
                const auto& levels = layout.levels;  // the first value written with this code
                const Pixel first =
                    std::find(levels.begin(), levels.end(), levels[cells[k]]) - levels.begin();
                const bool masked = layout.mask && cells[k] == kTransparent;
                ASSERT_EQ(back.cells[k], masked ? kTransparent : first);
            }
        }
    }
    EXPECT_EQ(valid, 4 * 2 * 8 * 2 * 2);
}

TEST(ByteLayoutTest, DefaultLayoutsGiveThePlainPacking) {
    for (Size size : kSizes) {
        const std::vector<Pixel> cells = randomCells(size, 7);
        const auto view = PixelView::rowByRow(cells.data(), size.width, size.height);
        for (int depth : {1, 2, 4, 8}) {
            for (bool align : {false, true}) {
                const ByteLayout layout{depth, defaultLevels(depth), BitOrder::Lsb, Scan::Rows,
                                        align};
                Bytes expected(cells.begin(), cells.end());  // one byte per pixel at depth 8
                if (depth < 8) {
                    Bytes store(static_cast<std::size_t>(packingStoreSize(depth)));
                    const int count = packRows(view, depth, align, store);
                    expected.assign(store.begin() + 1, store.begin() + 1 + count);
                }
                EXPECT_EQ(layoutBytes(view, layout), expected)
                    << "depth " << depth << " align " << align << " " << size.width;
            }
        }
    }
}

TEST(ByteLayoutTest, TargetsOfASmallPicture) {
    // Rows "012" and "340". The targets write black 1 / 3 down to white and transparent 0.
    const std::vector<Pixel> cells = {0, 1, 2, 3, 4, 0};
    const auto view = PixelView::rowByRow(cells.data(), 3, 2);
    Bytes gameboy(16, 0);            // one tile; row codes 3 2 1 and 0 0 3, low bits' byte first
    gameboy[0] = 0xA0;               // 101.....
    gameboy[1] = 0xC0;               // 110.....
    gameboy[2] = gameboy[3] = 0x20;  // 001.....
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"gameboy", gameboy},
        {"ssd1306", {0x01, 0x01, 0x02}},  // columns: top cell in bit 0, codes 1/0, 1/0, 0/1
        {"gfx-bitmap", {0xC0, 0x20}},     // 110....., 001.....
        {"epaper-4gray", {0xE4, 0x0C}},   // 11 10 01 00, 00 00 11 00
    };
    for (const auto& [target, expected] : cases) {
        const auto layout = layoutForTarget(target);
        ASSERT_TRUE(layout.has_value()) << target;
        EXPECT_EQ(layoutBytes(view, *layout), expected) << target;
    }
    EXPECT_FALSE(layoutForTarget("vga").has_value());
    // On 9 x 9 cells: the top right tile before the bottom left, a band's columns before the
    // next band, code bit 1's plane after bit 0's and the mask last.
    EXPECT_EQ(byteMap(9, 9, *layoutForTarget("gameboy"))[16].front().x, 9);
    EXPECT_EQ(byteMap(9, 9, *layoutForTarget("ssd1306"))[8].front().x, 9);
    const auto planes =
        byteMap(9, 9, ByteLayout{2, {}, BitOrder::Msb, Scan::Rows, true, Planes::Separate, true});
    ASSERT_EQ(planes.size(), 54u);
    EXPECT_EQ(planes[18].front().codeBit, 1);
    EXPECT_EQ(planes[36].front().codeBit, kMaskBit);
    EXPECT_NE(readLayoutBytes(Bytes(3), 3, 2, *layoutForTarget("gfx-bitmap")).error, "");
    EXPECT_NE(layoutProblem(ByteLayout{3, defaultLevels(2)}), "");
    EXPECT_NE(layoutProblem(ByteLayout{2, defaultLevels(4)}), "");
}

}  // namespace
}  // namespace stipple
