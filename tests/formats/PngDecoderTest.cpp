// Our PNG reader on the files tests/data/png/make_pngs.py writes: every colour type and
// depth, interlaced or not, to the exact pixel; regions; refusals; and a file cut far below
// its region.
#include "formats/PngDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/ImageImport.h"
#include "io/FileAccess.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::path(STIPPLE_TEST_DATA_DIR) / "png";

ImageDecoding decodeFile(const fs::path& path, int maxWidth = kImportRegionWidth,
                         int maxHeight = kImportRegionHeight) {
    FileBytes file(path.string());
    EXPECT_TRUE(file.status()) << file.status().error;
    return decodePng(file, maxWidth, maxHeight);
}

// The region as the .rgba files hold it: AARRGGBB words, a line per row.
std::string wordsOf(const DecodedImage& bitmap) {
    std::string text;
    for (int y = 0; y < bitmap.regionHeight; ++y) {
        for (int x = 0; x < bitmap.regionWidth; ++x) {
            char word[10];
            std::snprintf(word, sizeof word, x == 0 ? "%08X" : " %08X",
                          bitmap.pixels[static_cast<std::size_t>(y) * bitmap.regionWidth + x]);
            text += word;
        }
        text += '\n';
    }
    return text;
}

// 16-bit samples lie up to 128 steps off v * 257 and must come out as v: rounded to the
// nearest 8-bit value, not cut to their high byte.
TEST(PngDecoderTest, EveryColourTypeAndDepthGivesItsExactPixels) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kFolder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name.starts_with("bad-") || name == "tall.png") {
            continue;
        }
        SCOPED_TRACE(name);
        ++files;
        std::string stem = entry.path().stem().string();
        if (stem.ends_with("-adam7")) {
            stem.resize(stem.size() - 6);
        }
        const ImageDecoding decoded = decodeFile(entry.path());
        ASSERT_TRUE(decoded) << pngFaultMessage(decoded, name);
        EXPECT_EQ(decoded.image.width, 11);
        EXPECT_EQ(decoded.image.height, 7);
        EXPECT_EQ(wordsOf(decoded.image), testing::readFile(kFolder / (stem + ".rgba")));
    }
    EXPECT_EQ(files, 44);
}

TEST(PngDecoderTest, ARegionIsExactlyTheTopLeftOfTheImage) {
    for (const char* file : {"rgba8.png", "rgba8-adam7.png", "palette2-adam7.png"}) {
        const DecodedImage whole = decodeFile(kFolder / file).image;
        ASSERT_EQ(whole.regionWidth, 11);
        for (const auto& [w, h] : {std::pair{5, 3}, std::pair{20, 2}, std::pair{1, 20},
                                   std::pair{0, 0}, std::pair{11, 6}}) {
            SCOPED_TRACE(std::string(file) + " " + std::to_string(w) + " x " + std::to_string(h));
            const DecodedImage part = decodeFile(kFolder / file, w, h).image;
            EXPECT_EQ(part.width, 11);
            EXPECT_EQ(part.height, 7);
            ASSERT_EQ(part.regionWidth, std::min(w, 11));
            ASSERT_EQ(part.regionHeight, std::min(h, 7));
            std::vector<std::uint32_t> expected;
            for (int y = 0; y < part.regionHeight; ++y) {
                for (int x = 0; x < part.regionWidth; ++x) {
                    expected.push_back(whole.pixels[static_cast<std::size_t>(y) * 11 + x]);
                }
            }
            EXPECT_EQ(part.pixels, expected);
        }
    }
}

// Bytes that cannot be read from `failAt` on, though they are there.
class FailingBytes final : public ByteSource {
  public:
    FailingBytes(const std::string& bytes, std::uint64_t failAt) : bytes_(bytes), failAt_(failAt) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (offset + into.size() > failAt_) {
            return false;
        }
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), into.size(),
                    into.begin());
        return true;
    }

  private:
    std::string bytes_;
    std::uint64_t failAt_;
};

TEST(PngDecoderTest, BadFilesAreRefusedWithTheirReason) {
    struct Case {
        const char* file;
        ImageFault fault;
        const char* message;  // after "The PNG image "x.png""
    };
    const Case cases[] = {
        {"bad-cut-header.png", ImageFault::CutOff, " is cut off: the file ends in its header."},
        {"bad-cut-before-idat.png", ImageFault::CutOff,
         " is cut off: the file ends before the image data."},
        {"bad-cut-idat.png", ImageFault::CutOff, " is cut off: the file ends in the image data."},
        {"bad-crc.png", ImageFault::NotAnImage, " is not valid: IHDR: CRC error."},
        {"bad-zero-width.png", ImageFault::NotAnImage, " is not valid: invalid IHDR data."},
        {"bad-huge.png", ImageFault::Unsupported,
         " cannot be opened: at 2000000 x 3000000 pixels it is larger than this program reads."},
        // The rows are all there; what follows them is never read.
        {"bad-no-iend.png", ImageFault::None, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const ImageDecoding decoded = decodeFile(kFolder / c.file);
        EXPECT_EQ(decoded.fault, c.fault);
        EXPECT_EQ(pngFaultMessage(decoded, "x.png"),
                  c.message != nullptr ? std::string("The PNG image \"x.png\"") + c.message : "");
    }
    FileBytes notPngFile((kFolder / "bad-not-png.png").string());
    EXPECT_NE(decoderRecognising(notPngFile), &imageDecoder(ImageDecoderId::Png));
    const ImageDecoding notPng = decodePng(notPngFile, kImportRegionWidth, kImportRegionHeight);
    EXPECT_EQ(notPng.fault, ImageFault::NotAnImage);
    EXPECT_EQ(pngFaultMessage(notPng, "x.png"), "The file \"x.png\" is not a PNG image.");

    // A file that cannot be read is not taken for a broken or cut-off one.
    const std::string good = testing::readFile(kFolder / "rgb8.png");
    for (const std::uint64_t failAt : {0, 40, 150}) {  // signature, header, image data
        FailingBytes failing(good, failAt);
        EXPECT_EQ(decodePng(failing, kImportRegionWidth, kImportRegionHeight).fault,
                  ImageFault::ReadFailed)
            << failAt;
    }
}

TEST(PngDecoderTest, ANonInterlacedFileCutFarBelowItsRegionStillGivesTheRegion) {
    const std::string tall = testing::readFile(kFolder / "tall.png");  // 300 x 6000
    MemoryBytes half(
        std::span(reinterpret_cast<const std::uint8_t*>(tall.data()), tall.size() / 2));
    ASSERT_EQ(&decoderFor(half), &imageDecoder(ImageDecoderId::Png));
    const ImageDecoding decoded = decodePng(half, kImportRegionWidth, kImportRegionHeight);
    ASSERT_TRUE(decoded) << pngFaultMessage(decoded, "tall.png");
    const DecodedImage& b = decoded.image;
    EXPECT_EQ(b.width, 300);
    EXPECT_EQ(b.height, 6000);
    ASSERT_EQ(b.regionWidth, kImportRegionWidth);
    ASSERT_EQ(b.regionHeight, kImportRegionHeight);
    int wrong = 0;
    for (int y = 0; y < b.regionHeight; ++y) {
        for (int x = 0; x < b.regionWidth; ++x) {
            const std::uint32_t g = (x + 3 * y) % 256;
            wrong += b.pixels[static_cast<std::size_t>(y) * b.regionWidth + x] !=
                     (0xFF000000u | g << 16 | g << 8 | g);
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace stipple
