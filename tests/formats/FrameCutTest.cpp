// Sheets and animations made with ImageMagick become the frames that their cells, or the
// frames as ImageMagick composes them, import to alone.
#include "formats/FrameCut.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "formats/ImageImport.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

using testing::TempFolder;

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

// The picture a single import of the image file gives.
Picture importedAlone(const std::filesystem::path& path) {
    const LoadedImage loaded = loadImportImage(path.string(), path.string());
    EXPECT_TRUE(loaded) << loaded.problem;
    BitmapImport import;
    importRegion(loaded.image().view(), import);
    Picture picture;
    picture.assign(PixelView(import.importPixels, import.importWidth, import.importHeight));
    return picture;
}

void expectSame(const Picture& got, const Picture& expected) {
    ASSERT_EQ(got.width, expected.width);
    ASSERT_EQ(got.height, expected.height);
    for (int y = 1; y <= got.height; ++y) {
        for (int x = 1; x <= got.width; ++x) {
            EXPECT_EQ(got.pixels[x][y], expected.pixels[x][y]) << x << "," << y;
        }
    }
}

class FrameCutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!run("convert -version >/dev/null")) {
            GTEST_SKIP() << "ImageMagick is missing";
        }
    }
    TempFolder dir;
};

TEST_F(FrameCutTest, ASheetCutsIntoTheCellsInReadingOrder) {
    // Three cells of 6 x 5 with 2 pixels between them in a row of two; the fourth, empty.
    const auto sheet = dir / "sheet.png";
    ASSERT_TRUE(
        run("convert -size 14x12 xc:none -fill black -draw 'rectangle 0,0 5,4' "
            "-fill gray50 -draw 'rectangle 8,0 13,4' -fill white -draw 'point 1,8' "
            "-draw 'rectangle 3,9 4,11' PNG32:" +
            sheet.string()));
    const LoadedImage loaded =
        loadImportImage(sheet.string(), "sheet.png", kSheetRegionSide, kSheetRegionSide);
    ASSERT_TRUE(loaded) << loaded.problem;
    for (const bool skipEmpty : {false, true}) {
        SCOPED_TRACE(skipEmpty);
        const FrameGrid grid{6, 5, 2, skipEmpty};
        const ImageFrames cut = framesOfImage(loaded.image(), &grid, BitmapImport{}, "tiles");
        ASSERT_TRUE(cut) << cut.problem;
        ASSERT_EQ(cut.document.frameCount(), skipEmpty ? 3 : 4);
        const char* crops[] = {"6x5+0+0", "6x5+8+0", "6x5+0+7"};
        for (int i = 0; i < 3; ++i) {
            const auto cell = dir / ("cell" + std::to_string(i) + ".png");
            ASSERT_TRUE(run("convert " + sheet.string() + " -crop " + crops[i] +
                            " +repage PNG32:" + cell.string()));
            expectSame(cut.document.frames[i].picture, importedAlone(cell));
            EXPECT_EQ(cut.document.frames[i].name, "tiles_" + std::to_string(i + 1));
        }
    }
    const FrameGrid tooBig{97, 5, 0, false};
    EXPECT_FALSE(frameGridProblem(tooBig).empty());
    const FrameGrid wider{20, 5, 0, false};
    EXPECT_FALSE(framesOfImage(loaded.image(), &wider, BitmapImport{}, "t"));
}

TEST_F(FrameCutTest, AnAnimatedGifGivesItsFramesAsTheyShow) {
    // Frame 2 is a patch over frame 1, cleared to the background after it; frame 3 a patch
    // over what that leaves.
    const auto gif = dir / "anim.gif";
    ASSERT_TRUE(
        run("convert -dispose none -delay 5 -size 8x8 xc:black -dispose background "
            "-delay 5 -page +2+2 -size 4x4 xc:white -dispose none -delay 20 -page +0+0 "
            "-size 3x3 xc:gray50 -loop 0 " +
            gif.string()));
    const LoadedImage loaded = loadImportImage(gif.string(), "anim.gif");
    ASSERT_TRUE(loaded) << loaded.problem;
    ASSERT_EQ(loaded.image().frames.size(), 3u);
    const ImageFrames frames = framesOfImage(loaded.image(), nullptr, BitmapImport{}, "anim");
    ASSERT_TRUE(frames) << frames.problem;
    ASSERT_EQ(frames.document.frameCount(), 3);
    EXPECT_EQ(frames.document.frameRate, 10);  // 5, 5 and 20 hundredths: 0.1 s a frame
    ASSERT_TRUE(run("convert " + gif.string() + " -coalesce PNG32:" + (dir / "f%d.png").string()));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        expectSame(frames.document.frames[i].picture,
                   importedAlone(dir / ("f" + std::to_string(i) + ".png")));
    }
    // The patch of frame 2 was cleared: transparent under frame 3's corner patch.
    EXPECT_EQ(frames.document.frames[2].picture.pixels[5][5], kTransparent);
}

TEST(GifBudgetTest, AFramePastTheBudgetIsRefusedBeforeItIsDecoded) {
    // A 1 x 1 screen whose one frame claims 65535 x 65535 pixels, and no data for them.
    constexpr char kBomb[] = "GIF89a\x01\0\x01\0\0\0\0,\0\0\0\0\xff\xff\xff\xff\0\x02";
    const std::string bytes(kBomb, sizeof kBomb - 1);
    MemoryBytes file(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    const LoadedImage loaded = loadImportImage(file, "bomb.gif");
    EXPECT_EQ(loaded.problem,
              "The GIF image \"bomb.gif\" is too large to import: its frames come to 4294836226 "
              "pixels by frame 1, past the limit of 64000000 pixels.");
}

}  // namespace
}  // namespace stipple
