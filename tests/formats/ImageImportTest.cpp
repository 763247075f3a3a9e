// The table of image decoders chooses the reader by the first bytes, and loading an image
// for the import tells the user one message, in the words of the decoder or the file.
#include "formats/ImageImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestFiles.h"

namespace stipple {
namespace {

namespace fs = std::filesystem;

const fs::path kData(STIPPLE_TEST_DATA_DIR);

TEST(ImageImportTest, EachDecoderKnowsItsOwnFilesAndNoOther) {
    struct Case {
        std::string bytes;
        const ImageDecoderRow* knownBy;  // nothing: no row, and the bitmap decoder reads it
    };
    const ImageDecoderRow* bitmap = &imageDecoder(ImageDecoderId::Bitmap);
    const ImageDecoderRow* png = &imageDecoder(ImageDecoderId::Png);
    const ImageDecoderRow* gif = &imageDecoder(ImageDecoderId::Gif);
    const std::string pngFile = testing::readFile(kData / "png/rgb8.png");
    const Case cases[] = {
        {testing::readFile(kData / "bitmaps/g/rgb24.bmp"), bitmap},
        {testing::readFile(kData / "bitmaps/g/pal8os2.bmp"), bitmap},
        {"BM", bitmap},
        {pngFile, png},
        {pngFile.substr(0, 8), png},
        {pngFile.substr(0, 7), nullptr},
        {testing::readFile(kData / "png/bad-not-png.png"), gif},  // a GIF named .png
        {"/* format 8 bits per pixel */\r\n", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 8));
        MemoryBytes file(
            std::span(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size()));
        EXPECT_EQ(decoderRecognising(file), c.knownBy);
        EXPECT_EQ(&decoderFor(file), c.knownBy != nullptr ? c.knownBy : bitmap);
    }
}

// Bytes that are all there but cannot be read, as a failing disk gives them.
class UnreadableBytes final : public ByteSource {
  public:
    std::uint64_t size() const override { return 100; }
    bool read(std::uint64_t, std::span<std::uint8_t>) override { return false; }
    std::string readFailure() const override { return "Could not read it: I/O error."; }
};

TEST(ImageImportTest, ARefusalIsOneMessageInTheWordsOfItsDecoderOrOfTheFile) {
    testing::TempFolder folder;
    const fs::path text = folder / "text.bmp";
    testing::writeFile(text, "just some words\r\n");
    const fs::path badHeader = folder / "header.bmp";
    testing::writeFile(badHeader, std::string("BM") + std::string(40, '\0'));
    fs::create_directory(folder / "folder.png");
    const fs::path missing = folder / "missing.png";
    struct Case {
        fs::path file;
        std::string message;
    };
    const Case cases[] = {
        {text, "Bitmap image is not valid."},
        {badHeader, "Bitmap image is not valid."},
        {kData / "png/bad-not-png.png",
         "The GIF image \"shown\" is not valid: its screen is 2586 x 0 pixels."},
        {folder / "folder.png", "\"shown\" is a folder, not a bitmap file."},
        {missing, "Could not open \"" + missing.string() + "\": No such file or directory."},
        {kData / "png/bad-cut-idat.png",
         "The PNG image \"shown\" is cut off: the file ends in the image data."},
        {kData / "bitmaps/q/rgba64.bmp",
         "The bitmap \"shown\" cannot be opened: it uses 64 bits per pixel, which this program "
         "does not read."},
        {kData / "png/rgb8.png", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        const LoadedImage loaded = loadImportImage(c.file.string(), "shown");
        EXPECT_EQ(loaded.problem, c.message);
        EXPECT_EQ(static_cast<bool>(loaded), c.message.empty());
    }
    UnreadableBytes unreadable;
    EXPECT_EQ(loadImportImage(unreadable, "shown").problem, "Could not read it: I/O error.");
    const LoadedImage region = loadImportImage((kData / "png/rgb8.png").string(), "x", 5, 3);
    EXPECT_EQ(region.image().regionWidth, 5);
    EXPECT_EQ(region.image().regionHeight, 3);
}

}  // namespace
}  // namespace stipple
