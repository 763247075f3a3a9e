#include "formats/BitmapConversion.h"

#include <gtest/gtest.h>

#include <string>
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

// Each method on flat grays, worked out by hand from the grays the editor shows (0, 128,
// 192, 255): 160 lies halfway between 128 and 192, 64 halfway between 0 and 128.
TEST(BitmapConversion, DithersKeepTheMeanGray) {
    struct Case {
        Dither dither;
        int gray, width, height, step;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {Dither::Ordered, 160, 4, 4, 64, {"2121", "1212", "2121", "1212"}},
        {Dither::FloydSteinberg, 160, 4, 1, 64, {"1212"}},
        {Dither::Atkinson, 64, 4, 1, 64, {"0110"}},
        {Dither::Threshold, 160, 4, 1, 64, {"2222"}},
        // The step moves the dithers' brightness: far down all black, far up all white.
        {Dither::FloydSteinberg, 160, 4, 1, 200, {"0000"}},
        {Dither::Ordered, 160, 4, 1, 1, {"3333"}},
        {Dither::Atkinson, 255, 3, 1, 64, {"333"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << static_cast<int>(c.dither) << " gray " << c.gray << " step " << c.step);
        const std::vector<std::uint32_t> bits(static_cast<std::size_t>(c.width * c.height),
                                              rgb(c.gray, c.gray, c.gray));
        BitmapImport import;
        import.dither = c.dither;
        import.levelStep = c.step;
        const RgbView view{bits.data(), c.width, c.height, c.width};
        takeImportSize(view, import);
        convertBitmap(view, import);
        for (int y = 1; y <= c.height; ++y) {
            std::string row;
            for (int x = 1; x <= c.width; ++x) {
                row += static_cast<char>('0' + import.importPixels[x][y]);
            }
            EXPECT_EQ(row, c.rows[static_cast<std::size_t>(y - 1)]) << "row " << y;
        }
    }
}

// Pixels whose alpha is below half are transparent whatever the method.
TEST(BitmapConversion, AlphaBelowHalfIsTransparent) {
    const std::uint32_t bits[] = {0x7F000000u, 0x80000000u, 0x00FFFFFFu, 0x80FFFFFFu};
    for (const DitherRow& row : dithers()) {
        BitmapImport import;
        import.dither = row.id;
        const RgbView view{bits, 4, 1, 4};
        takeImportSize(view, import);
        convertBitmap(view, import);
        EXPECT_EQ(import.importPixels[1][1], kTransparent) << row.commandName;
        EXPECT_EQ(import.importPixels[2][1], kBlack) << row.commandName;
        EXPECT_EQ(import.importPixels[3][1], kTransparent) << row.commandName;
        EXPECT_EQ(import.importPixels[4][1], kWhite) << row.commandName;
        EXPECT_EQ(ditherNamed(row.commandName), row.id);
    }
}

// With two grays the cut is at twice the step and every dither aims at black and white, so
// that a ramp keeps only those (and transparency), and a flat mid-gray is about half white.
TEST(BitmapConversion, TwoGraysGiveOnlyBlackAndWhite) {
    struct Cut {
        int gray, step;
        Pixel level;
    };
    for (const Cut& c : {Cut{127, 64, kBlack}, Cut{128, 64, kWhite}, Cut{255, 128, kBlack},
                         Cut{199, 100, kBlack}, Cut{200, 100, kWhite}, Cut{2, 1, kWhite}}) {
        const std::uint32_t pixel = rgb(c.gray, c.gray, c.gray);
        BitmapImport import;
        import.grays = Grays::Two;
        import.levelStep = c.step;
        const RgbView view{&pixel, 1, 1, 1};
        takeImportSize(view, import);
        convertBitmap(view, import);
        EXPECT_EQ(import.importPixels[1][1], c.level) << c.gray << " step " << c.step;
    }
    // A ramp of 96 x 92 with a transparent column, and a flat 128 gray.
    std::vector<std::uint32_t> ramp;
    for (int y = 0; y < 92; ++y) {
        for (int x = 0; x < 96; ++x) {
            const int g = (x * 255 / 95 + y) % 256;
            ramp.push_back(x == 5 ? 0u : rgb(g, g, g));
        }
    }
    const std::vector<std::uint32_t> flat(96 * 92, rgb(128, 128, 128));
    for (const DitherRow& row : dithers()) {
        const std::vector<std::uint32_t>* images[] = {&ramp, &flat};
        for (const std::vector<std::uint32_t>* bits : images) {
            BitmapImport import;
            import.grays = Grays::Two;
            import.dither = row.id;
            const RgbView view{bits->data(), 96, 92, 96};
            takeImportSize(view, import);
            convertBitmap(view, import);
            int white = 0;
            for (int x = 1; x <= 96; ++x) {
                for (int y = 1; y <= 92; ++y) {
                    const Pixel p = import.importPixels[x][y];
                    ASSERT_TRUE(p == kBlack || p == kWhite || (p == kTransparent && x == 6))
                        << row.commandName << " " << x << "," << y << " " << p;
                    white += p == kWhite;
                }
            }
            if (bits == &flat && row.id != Dither::Threshold) {
                EXPECT_NEAR(white, 96 * 92 / 2, 96 * 92 / 20) << row.commandName;
            }
        }
    }
}

// Each colour one level, darker to darker, whatever order the colours come in.
TEST(BitmapConversion, ExactColoursTakeEachColourAsOneLevel) {
    struct Case {
        Grays grays;
        std::vector<std::uint32_t> row;  // the pixels, one row
        std::string levels;              // what each pixel becomes; empty: refused
        int count;
    };
    const std::uint32_t red = rgb(255, 0, 0), navy = rgb(0, 0, 128), sky = rgb(135, 206, 235),
                        white = rgb(255, 255, 255), clear = 0x00FFFFFFu;
    const std::vector<Case> cases = {
        {Grays::Four, {red, clear, red}, "040", 1},
        {Grays::Four, {sky, sky}, "33", 1},
        {Grays::Four, {sky, navy, clear}, "304", 2},
        {Grays::Four, {white, red, navy, red}, "3101", 3},
        {Grays::Four, {sky, white, red, navy, 0x7F000000u}, "23104", 4},
        {Grays::Four, {sky, white, red, navy, rgb(1, 2, 3)}, "", 5},
        {Grays::Two, {sky, navy}, "30", 2},
        {Grays::Two, {white, red, navy}, "", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levels);
        std::vector<std::uint32_t> found;
        const RgbView view{c.row.data(), static_cast<int>(c.row.size()), 1,
                           static_cast<int>(c.row.size())};
        countColours(view, found);
        BitmapImport import;
        import.grays = c.grays;
        import.exactColours = true;
        import.dither = Dither::FloydSteinberg;  // exact colours need none
        import.colours = exactColoursOf(found, c.grays);
        EXPECT_EQ(import.colours.count, c.count);
        if (c.levels.empty()) {
            EXPECT_GT(import.colours.count, static_cast<int>(c.grays));
            continue;
        }
        takeImportSize(view, import);
        convertBitmap(view, import);
        std::string got;
        for (int x = 1; x <= view.width; ++x) {
            got += static_cast<char>('0' + import.importPixels[x][1]);
        }
        EXPECT_EQ(got, c.levels);
    }
    // Counting stops past its bound.
    std::vector<std::uint32_t> many;
    for (int i = 0; i < 1000; ++i) {
        many.push_back(rgb(i % 256, i / 256, 0));
    }
    std::vector<std::uint32_t> found;
    countColours({many.data(), 1000, 1, 1000}, found);
    EXPECT_EQ(exactColoursOf(found, Grays::Four).count, kCountedColours + 1);
}

}  // namespace
}  // namespace stipple::testing
