// Region and fit as properties over random pictures, a few averages worked out by hand, and
// the pipeline's refusals.
#include "formats/ImageFit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/ImageImport.h"

namespace stipple {
namespace {

std::uint32_t rgb(int r, int g, int b, int a = 0xFF) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
           static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

struct Image {
    int width, height;
    std::vector<std::uint32_t> pixels;
    RgbView view() const { return {pixels.data(), width, height, width}; }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

Image randomImage(std::mt19937& random, int width, int height) {
    Image image{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    for (std::uint32_t& p : image.pixels) {
        // Opaque or not, so that the alpha rule is part of every property.
        p = (random() & 0x00FFFFFF) | (random() % 4 == 0 ? 0 : 0xFF000000u);
    }
    return image;
}

std::vector<std::uint32_t> asVector(const RgbView& view) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < view.height; ++y) {
        out.insert(out.end(), view.pixels + y * view.stride,
                   view.pixels + y * view.stride + view.width);
    }
    return out;
}

TEST(ImageFit, FitsWithinTheSizeKeepingTheAspect) {
    struct Case {
        int width, height, maxWidth, maxHeight, fittedWidth, fittedHeight;
    };
    const Case cases[] = {
        {640, 480, 96, 92, 96, 72}, {6000, 4000, 96, 92, 96, 64}, {200, 50, 96, 92, 96, 24},
        {50, 200, 96, 92, 23, 92},  {97, 1, 96, 92, 96, 1},       {1, 1000, 96, 92, 1, 92},
        {10, 5, 96, 92, 90, 45},    {1, 1, 96, 92, 92, 92},       {96, 92, 96, 92, 96, 92},
        {48, 40, 96, 92, 96, 80},   {3, 3, 8, 8, 6, 6},           {9, 9, 8, 8, 8, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fittedSize(c.width, c.height, c.maxWidth, c.maxHeight),
                  std::pair(c.fittedWidth, c.fittedHeight))
            << c.width << " x " << c.height << " into " << c.maxWidth << " x " << c.maxHeight;
    }
}

TEST(ImageFit, ARegionOfOneColourGivesThatColourWhereverItLiesAndWhateverTheFit) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Image image = randomImage(random, 1 + int(random() % 300), 1 + int(random() % 200));
        ImageRegion region;
        region.width = 1 + int(random() % image.width);
        region.height = 1 + int(random() % image.height);
        region.x = int(random() % (image.width - region.width + 1));
        region.y = int(random() % (image.height - region.height + 1));
        const std::uint32_t colour = rgb(int(random() % 256), int(random() % 256), 7);
        for (int y = region.y; y < region.y + region.height; ++y) {
            std::fill_n(image.pixels.begin() + y * image.width + region.x, region.width, colour);
        }
        BitmapImport import;
        import.region = region;
        const int maxWidth = 1 + int(random() % kMaxPictureWidth);
        const int maxHeight = 1 + int(random() % kMaxPictureHeight);
        std::vector<std::uint32_t> out;
        const RgbView fitted = fitImage(regionOf(image.view(), import), maxWidth, maxHeight, out);
        ASSERT_GT(fitted.width * fitted.height, 0);
        EXPECT_LE(fitted.width, maxWidth);
        EXPECT_LE(fitted.height, maxHeight);
        for (const std::uint32_t p : asVector(fitted)) {
            ASSERT_EQ(p, colour) << "round " << round;
        }
    }
}

TEST(ImageFit, APictureScaledUpByTwoFitsBackToItself) {
    std::mt19937 random(11);
    for (int round = 0; round < 100; ++round) {
        const Image small = randomImage(random, 1 + int(random() % 48), 1 + int(random() % 46));
        Image twice{2 * small.width, 2 * small.height, {}};
        for (int y = 0; y < twice.height; ++y) {
            for (int x = 0; x < twice.width; ++x) {
                // A transparent pixel keeps its colour bits: only its alpha counts.
                twice.pixels.push_back(small.at(x / 2, y / 2));
            }
        }
        std::vector<std::uint32_t> back;
        std::vector<std::uint32_t> expected = small.pixels;
        for (std::uint32_t& p : expected) {
            p = (p >> 24) ? p : 0;
        }
        EXPECT_EQ(asVector(fitImage(twice.view(), small.width, small.height, back)), expected)
            << small.width << " x " << small.height;
        std::vector<std::uint32_t> up;
        EXPECT_EQ(asVector(fitImage(small.view(), twice.width, twice.height, up)), twice.pixels);
    }
}

TEST(ImageFit, ACellIsTheMeanOfTheOpaquePixelsItCoversOrTransparent) {
    struct Case {
        int width;  // one row, fitted into one cell
        std::vector<std::uint32_t> pixels;
        std::uint32_t cell;
    };
    const std::vector<Case> cases = {
        // (0 + 255 + 100 + 0) / 4 = 88.75, (0 + 255 + 50) / 4 = 76.25, (255 + 4) / 4 = 64.75
        {4, {rgb(0, 0, 0), rgb(255, 255, 255), rgb(100, 50, 0), rgb(0, 0, 4)}, rgb(89, 76, 65)},
        // Half opaque is opaque, with the mean of the opaque ones only.
        {2, {rgb(10, 20, 30), rgb(255, 255, 255, 0x7F)}, rgb(10, 20, 30)},
        {3, {rgb(10, 20, 30), rgb(0, 0, 0, 0), rgb(9, 9, 9, 0x10)}, 0},
        {3, {rgb(0, 0, 0), rgb(1, 1, 1), rgb(1, 1, 2)}, rgb(1, 1, 1)},
    };
    for (const Case& c : cases) {
        std::vector<std::uint32_t> out;
        const RgbView fitted = fitImage({c.pixels.data(), c.width, 1, c.width}, 1, 1, out);
        EXPECT_EQ(asVector(fitted), std::vector<std::uint32_t>{c.cell}) << c.width;
    }
    // 5 columns into 2: floor(x * 2 / 5) puts columns 0, 1, 2 into the first cell.
    const std::vector<std::uint32_t> row = {rgb(30, 0, 0), rgb(60, 0, 0), rgb(90, 0, 0),
                                            rgb(0, 0, 8), rgb(0, 0, 4)};
    std::vector<std::uint32_t> out;
    EXPECT_EQ(asVector(fitImage({row.data(), 5, 1, 5}, 2, 92, out)),
              (std::vector<std::uint32_t>{rgb(60, 0, 0), rgb(0, 0, 6)}));
}

TEST(ImageFit, ThePipelineDecodesWhatTheRegionNeedsAndRefusesOneOutsideTheImage) {
    BitmapImport import;
    EXPECT_EQ(decodedSizeFor(import, 96, 92), std::pair(96, 92));
    import.fit = std::pair(96, 92);
    EXPECT_EQ(decodedSizeFor(import, 96, 92), std::pair(kWholeImage, kWholeImage));
    import.region = ImageRegion{300, 10, 20, 100};
    EXPECT_EQ(decodedSizeFor(import, 96, 92), std::pair(320, 110));
    EXPECT_EQ(regionProblem(import, 320, 110), "");
    EXPECT_EQ(regionProblem(import, 319, 480),
              "the region 300,10,20,100 is not within the image, which is 319 x 480 pixels");
    import.region = ImageRegion{0, 0, 0, 5};
    EXPECT_NE(regionProblem(import, 10, 10), "");

    // 640 x 480 of black with a white right half, fitted: 96 x 72, half of it white.
    DecodedImage image;
    image.width = image.regionWidth = 640;
    image.height = image.regionHeight = 480;
    image.pixels.assign(640 * 480, rgb(0, 0, 0));
    for (int y = 0; y < 480; ++y) {
        std::fill_n(image.pixels.begin() + y * 640 + 320, 320, rgb(255, 255, 255));
    }
    import = BitmapImport{};
    import.fit = std::pair(96, 92);
    ASSERT_EQ(importImage(image, import), "");
    EXPECT_EQ(import.importWidth, 96);
    EXPECT_EQ(import.importHeight, 72);
    EXPECT_EQ(import.importPixels[48][72], kBlack);
    EXPECT_EQ(import.importPixels[49][1], kWhite);
    import.region = ImageRegion{600, 470, 41, 10};
    EXPECT_EQ(importImage(image, import),
              "the region 600,470,41,10 is not within the image, which is 640 x 480 pixels");
}

}  // namespace
}  // namespace stipple
