// Our bitmap reader against a public conformance suite and against bitmaps made here: the
// good files to the level, the questionable and bad ones decoded sensibly or refused with
// a clear message, any size read in the time and memory of its region, and cut-off files.
#include "formats/BitmapDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formats/ImageImport.h"
#include "io/FileAccess.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(STIPPLE_TEST_DATA_DIR) / "bitmaps";

ImageDecoding decodeFile(const fs::path& path) {
    FileBytes file(path.string());
    EXPECT_TRUE(file.status()) << file.status().error;
    return decodeBitmap(file, kImportRegionWidth, kImportRegionHeight);
}

// The gray levels at step 64 of the top-left 96 x 92, as rows of digits.
std::string levelsOf(const DecodedImage& bitmap) {
    auto import = std::make_unique<BitmapImport>();
    takeImportSize(bitmap.view(), *import);
    convertBitmap(bitmap.view(), *import);
    std::string rows;
    for (int y = 1; y <= import->importHeight; ++y) {
        for (int x = 1; x <= import->importWidth; ++x) {
            rows += static_cast<char>('0' + import->importPixels[x][y]);
        }
        rows += '\n';
    }
    return rows;
}

TEST(BitmapDecoderTest, GoodFilesGiveTheLevelsOfTheirIntendedImage) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kSuite / "g")) {
        if (entry.path().extension() != ".bmp") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        const ImageDecoding decoded = decodeFile(entry.path());
        ASSERT_TRUE(decoded) << bitmapFaultMessage(decoded, entry.path().string());
        fs::path expected = entry.path();
        EXPECT_EQ(levelsOf(decoded.image),
                  testing::readFile(expected.replace_extension(".levels")));
        // The same file twice gives the same pixels.
        EXPECT_EQ(decodeFile(entry.path()).image.pixels, decoded.image.pixels);
    }
    EXPECT_EQ(files, 27);
}

TEST(BitmapDecoderTest, QuestionableAndBadFilesAreDecodedOrRefusedClearly) {
    struct Case {
        const char* file;
        ImageFault fault;
        const char* message;  // for a refusal, the message after the file's name
    };
    const Case refused[] = {
        {"q/rgb24rle24.bmp", ImageFault::Unsupported,
         " cannot be opened: it uses 24-bit run-length compression, which this program does "
         "not read."},
        {"q/rgba64.bmp", ImageFault::Unsupported,
         " cannot be opened: it uses 64 bits per pixel, which this program does not read."},
        {"b/badbitcount.bmp", ImageFault::NotAnImage, nullptr},
        {"b/badheadersize.bmp", ImageFault::NotAnImage, nullptr},
        {"b/badplanes.bmp", ImageFault::NotAnImage, nullptr},
        {"b/badwidth.bmp", ImageFault::NotAnImage, nullptr},
        {"b/reallybig.bmp", ImageFault::TooLarge,
         " is too large to import: it has 3000000 x 2000000 pixels, past the limit of "
         "100000000 pixels."},
        {"b/shortfile.bmp", ImageFault::CutOff,
         " is cut off: the file ends before all its pixels."},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.file);
        const ImageDecoding decoded = decodeFile(kSuite / c.file);
        EXPECT_EQ(decoded.fault, c.fault);
        EXPECT_EQ(bitmapFaultMessage(decoded, "x.bmp"),
                  c.message != nullptr ? std::string("The bitmap \"x.bmp\"") + c.message
                                       : "Bitmap image is not valid.");
    }
    // Every other file of both folders decodes to its whole 127 x 64 pattern.
    for (const char* folder : {"q", "b"}) {
        for (const auto& entry : fs::directory_iterator(kSuite / folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            if (std::any_of(std::begin(refused), std::end(refused),
                            [&](const Case& c) { return name == c.file; })) {
                continue;
            }
            SCOPED_TRACE(name);
            const ImageDecoding decoded = decodeFile(entry.path());
            ASSERT_TRUE(decoded) << bitmapFaultMessage(decoded, name);
            EXPECT_EQ(decoded.image.width, 127);
            EXPECT_EQ(decoded.image.height, 64);
            EXPECT_EQ(decoded.image.pixels.size(), 127u * 64u);
        }
    }
}

// Where an RLE file skips pixels they are black; everywhere else it is the full pattern.
TEST(BitmapDecoderTest, SkippedRunLengthPixelsAreBlackAndTheRestIsThePattern) {
    struct Case {
        const char* file;
        const char* pattern;
    };
    for (const Case c :
         {Case{"q/pal8rletrns.bmp", "g/pal8.bmp"}, Case{"q/pal8rlecut.bmp", "g/pal8.bmp"},
          Case{"q/pal4rletrns.bmp", "g/pal4.bmp"}, Case{"q/pal4rlecut.bmp", "g/pal4.bmp"},
          Case{"b/rletopdown.bmp", "g/pal8.bmp"}}) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint32_t> pixels = decodeFile(kSuite / c.file).image.pixels;
        const std::vector<std::uint32_t> pattern = decodeFile(kSuite / c.pattern).image.pixels;
        ASSERT_EQ(pixels.size(), pattern.size());
        int black = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (pixels[i] != pattern[i]) {
                ASSERT_EQ(pixels[i], 0xFF000000u) << "pixel " << i;
                ++black;
            }
        }
        EXPECT_EQ(black > 0, std::string(c.file).find("rletopdown") == std::string::npos);
    }
}

// A 24-bit bottom-up bitmap of any size, made up as it is read: pixel (x, y) has the colour
// (x, y, x + y) mod 256. It counts the bytes read.
class MadeUpBitmap final : public ByteSource {
  public:
    MadeUpBitmap(std::int64_t width, std::int64_t height) : width_(width), height_(height) {
        header_.resize(54);
        auto put32 = [this](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) {
                header_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
            }
        };
        header_[0] = 'B';
        header_[1] = 'M';
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<std::uint32_t>(width));
        put32(22, static_cast<std::uint32_t>(height));
        header_[26] = 1;
        header_[28] = 24;
    }
    std::uint64_t size() const override { return 54 + stride() * height_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (offset > size() || into.size() > size() - offset) {
            return false;
        }
        bytesRead += into.size();
        for (std::size_t i = 0; i < into.size(); ++i) {
            const std::uint64_t at = offset + i;
            if (at < 54) {
                into[i] = header_[at];
                continue;
            }
            const std::uint64_t row = (at - 54) / stride();
            const std::uint64_t column = (at - 54) % stride();
            const std::uint64_t x = column / 3;
            const std::uint64_t y = height_ - 1 - row;
            const std::uint64_t rgb[3] = {x % 256, y % 256, (x + y) % 256};
            into[i] = x < static_cast<std::uint64_t>(width_)
                          ? static_cast<std::uint8_t>(rgb[2 - column % 3])
                          : 0;
        }
        return true;
    }
    std::uint64_t bytesRead = 0;

  private:
    std::uint64_t stride() const { return (width_ * 24 + 31) / 32 * 4; }
    std::int64_t width_, height_;
    std::vector<std::uint8_t> header_;
};

TEST(BitmapDecoderTest, AnySizeIsReadOnlyAsFarAsItsRegion) {
    MadeUpBitmap huge(200000, 500);  // 300 MB of pixels, the most the budget takes
    const ImageDecoding decoded = decodeBitmap(huge, kImportRegionWidth, kImportRegionHeight);
    ASSERT_TRUE(decoded) << bitmapFaultMessage(decoded, "huge");
    const DecodedImage& b = decoded.image;
    EXPECT_EQ(b.width, 200000);
    EXPECT_EQ(b.height, 500);
    ASSERT_EQ(b.regionWidth, kImportRegionWidth);
    ASSERT_EQ(b.regionHeight, kImportRegionHeight);
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{272, 0}, std::pair{5, 222}, std::pair{272, 222}}) {
        const std::uint32_t expected =
            0xFF000000u | (x % 256) << 16 | (y % 256) << 8 | ((x + y) % 256);
        EXPECT_EQ(b.pixels[static_cast<std::size_t>(y) * b.regionWidth + x], expected)
            << x << "," << y;
    }
    EXPECT_LT(huge.bytesRead, 300'000u) << "only the region's rows are read";
    MadeUpBitmap past(200000, 501);
    EXPECT_EQ(bitmapFaultMessage(decodeBitmap(past, 1, 1), "past"),
              "The bitmap \"past\" is too large to import: it has 200000 x 501 pixels, past the "
              "limit of 100000000 pixels.");
    EXPECT_LT(past.bytesRead, 100u) << "refused from the header";
}

// A small bitmap written out in full, with its pixel data at the end.
std::vector<std::uint8_t> smallBitmap(int bpp, std::uint32_t compression, int width, int height,
                                      int paletteEntries) {
    const int stride = (width * bpp + 31) / 32 * 4;
    const int offset = 54 + 4 * paletteEntries;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(offset + stride * height), 0x55);
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, static_cast<std::uint32_t>(offset));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[27] = 0;
    bytes[28] = static_cast<std::uint8_t>(bpp);
    bytes[29] = 0;
    put32(30, compression);
    put32(46, static_cast<std::uint32_t>(paletteEntries));
    return bytes;
}

TEST(BitmapDecoderTest, CutOffAndUnreadableKindsAreToldApart) {
    std::vector<std::uint8_t> padded = smallBitmap(24, 0, 3, 2, 0);  // rows of 9 + 3 padding
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        ImageFault fault;
        std::string detail;
    };
    const std::vector<std::uint8_t> jpeg = smallBitmap(0, 4, 3, 2, 0);
    const std::vector<std::uint8_t> png = smallBitmap(0, 5, 3, 2, 0);
    const std::vector<std::uint8_t> paletted = smallBitmap(8, 0, 3, 2, 256);
    const Case cases[] = {
        {"whole", padded, ImageFault::None, ""},
        {"without the last row's padding",
         {padded.begin(), padded.end() - 3},
         ImageFault::None,
         ""},
        {"without a pixel byte",
         {padded.begin(), padded.end() - 4},
         ImageFault::CutOff,
         "before all its pixels"},
        {"cut in the info header",
         {padded.begin(), padded.begin() + 30},
         ImageFault::CutOff,
         "inside its header"},
        {"cut in the colour table",
         {paletted.begin(), paletted.begin() + 54 + 100},
         ImageFault::CutOff,
         "inside its colour table"},
        {"no colour table before the pixels", smallBitmap(8, 0, 4, 1, 0), ImageFault::None, ""},
        {"JPEG inside", jpeg, ImageFault::Unsupported, "JPEG compression"},
        {"PNG inside", png, ImageFault::Unsupported, "PNG compression"},
        {"empty", {}, ImageFault::NotAnImage, ""},
        {"text", {'h', 'e', 'l', 'l', 'o'}, ImageFault::NotAnImage, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryBytes bytes(c.bytes);
        const ImageDecoding decoded = decodeBitmap(bytes, kImportRegionWidth, kImportRegionHeight);
        EXPECT_EQ(decoded.fault, c.fault);
        EXPECT_EQ(decoded.detail, c.detail);
    }
}

}  // namespace
}  // namespace stipple
