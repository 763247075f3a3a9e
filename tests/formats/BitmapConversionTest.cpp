#include "formats/BitmapConversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace stipple::testing {
namespace {

std::uint32_t rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

TEST(BitmapConversion, CutsIntensitiesIntoFourLevels) {
    struct Case {
        int r, g, b, step;
        Pixel level;
    };
    const Case cases[] = {
        {0, 0, 0, 64, 0},        {63, 63, 63, 64, 0},     {64, 64, 64, 64, 1},
        {127, 127, 127, 64, 1},  {128, 128, 128, 64, 2},  {191, 191, 192, 64, 2},
        {192, 192, 192, 64, 3},  {255, 255, 255, 64, 3},  {255, 0, 0, 64, 1},
        {255, 255, 255, 200, 1}, {199, 199, 199, 200, 0}, {255, 255, 255, 86, 2},
        {255, 255, 255, 128, 1}, {2, 2, 2, 1, 2},         {3, 3, 3, 1, 3},
        {1, 1, 2, 1, 1},  // (1 + 1 + 2) div 3 = 1: the division truncates
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "(" << c.r << "," << c.g << "," << c.b << ") step " << c.step);
        const std::uint32_t pixel = rgb(c.r, c.g, c.b);
        BitmapImport import;
        import.levelStep = c.step;
        const RgbView view{&pixel, 1, 1, 1};
        takeImportSize(view, import);
        convertBitmap(view, import);
        EXPECT_EQ(import.importPixels[1][1], c.level);
    }
}

TEST(BitmapConversion, TakesTheTopLeftOfLargeBitmapsPixelForPixel) {
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {{100, 100, 96, 92}, {95, 95, 95, 92}, {10, 5, 10, 5}, {1, 1, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        // Black everywhere except white in the last column and row that is taken.
        std::vector<std::uint32_t> bits(static_cast<size_t>(c.width) * c.height, rgb(0, 0, 0));
        for (int y = 0; y < c.height; ++y) {
            bits[y * c.width + c.expectedWidth - 1] = rgb(255, 255, 255);
        }
        for (int x = 0; x < c.width; ++x) {
            bits[(c.expectedHeight - 1) * c.width + x] = rgb(255, 255, 255);
        }
        BitmapImport import;
        const RgbView view{bits.data(), c.width, c.height, c.width};
        takeImportSize(view, import);
        convertBitmap(view, import);
        EXPECT_EQ(import.importWidth, c.expectedWidth);
        EXPECT_EQ(import.importHeight, c.expectedHeight);
        EXPECT_EQ(import.importPixels[c.expectedWidth][1], kWhite);
        EXPECT_EQ(import.importPixels[1][c.expectedHeight], kWhite);
        if (c.expectedWidth > 1 && c.expectedHeight > 1) {
            EXPECT_EQ(import.importPixels[1][1], kBlack);
        }
    }
}

}  // namespace
}  // namespace stipple::testing
