#include "render/Raster.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

#include "support/RasterExpect.h"

namespace stipple {
namespace {

using testing::expectRasterBlock;

constexpr Rgb kWhiteRgb = 0xFFFFFF;
constexpr Rgb kBlackRgb = 0x000000;

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
    PenStyle style;
    std::string_view row;  // the pixels of row 1 or column 1, from 0 to 7
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class RasterLineTest : public ::testing::TestWithParam<LineCase> {
  protected:
    std::unique_ptr<Raster> raster = std::make_unique<Raster>();
};

// Closed lines hide it, so check here that the end point is left out in every direction.
TEST_P(RasterLineTest, LeavesOutTheEndPointInEitherDirection) {
    const LineCase& c = GetParam();
    raster->fill(kWhiteRgb);
    raster->line(c.x0, c.y0, c.x1, c.y1, kBlackRgb, c.style);

    if (c.y0 == c.y1) {
        expectRasterBlock(*raster, 0, 1, {c.row});
    } else {
        std::vector<std::string_view> column;
        for (std::size_t y = 0; y < c.row.size(); ++y) {
            column.push_back(c.row.substr(y, 1));
        }
        expectRasterBlock(*raster, 1, 0, column);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Directions, RasterLineTest,
    ::testing::Values(LineCase{"Right", 1, 1, 6, 1, PenStyle::Solid, "WKKKKKWW"},
                      LineCase{"Left", 6, 1, 1, 1, PenStyle::Solid, "WWKKKKKW"},
                      LineCase{"Down", 1, 1, 1, 6, PenStyle::Solid, "WKKKKKWW"},
                      LineCase{"Up", 1, 6, 1, 1, PenStyle::Solid, "WWKKKKKW"},
                      LineCase{"DashedLeft", 7, 1, 0, 1, PenStyle::Dashed, "WKWWKKKK"},
                      LineCase{"DashedUp", 1, 7, 1, 0, PenStyle::Dashed, "WKWWKKKK"},
                      LineCase{"Point", 3, 1, 3, 1, PenStyle::Solid, "WWWWWWWW"}),
    [](const auto& info) { return info.param.name; });

TEST(RasterTest, ClipsAtTheStoredPartWithoutWrappingIntoTheNextRow) {
    auto raster = std::make_unique<Raster>();
    raster->setLogicalSize(961, 921);
    raster->fill(kWhiteRgb);

    raster->line(675, 0, 675, 10, kBlackRgb);
    raster->line(0, 600, 10, 600, kBlackRgb);
    raster->fillRect(665, 580, 700, 600, kBlackRgb);
    raster->line(-3, 2, 3, 2, kBlackRgb, PenStyle::Dashed);
    raster->line(668, 3, 676, 3, kBlackRgb, PenStyle::Dashed);

    expectRasterBlock(*raster, 0, 0, {"WWWWWW", "WWWWWW", "KWWWWW", "WWWWWW", "WWWWWW"});
    expectRasterBlock(*raster, 666, 3, {"WWKK"});
    expectRasterBlock(*raster, 664, 585, {"WKKKKK", "WKKKKK"});
    EXPECT_EQ(raster->pixel(670, 585), 0u) << "beyond the stored part reads as 0";
}

TEST(RasterTest, DrawsNothingBeyondTheLogicalSize) {
    auto raster = std::make_unique<Raster>();
    raster->setLogicalSize(670, 587);
    raster->fill(kWhiteRgb);
    raster->setLogicalSize(4, 3);
    raster->fill(kBlackRgb);

    EXPECT_EQ(raster->pixel(3, 2), kBlackRgb);
    EXPECT_EQ(raster->pixel(4, 0), 0u);
    raster->setLogicalSize(670, 587);
    expectRasterBlock(*raster, 0, 0, {"KKKKW", "KKKKW", "KKKKW", "WWWWW"});
}

}  // namespace
}  // namespace stipple
