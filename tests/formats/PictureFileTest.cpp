#include "formats/PictureFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "formats/ExportFormats.h"

namespace stipple {
namespace {

using namespace std::string_literals;

PictureFileContent uniformPicture(std::string name, int width, int height, Pixel value = 1) {
    PictureFileContent c;
    c.nameBytes = std::move(name);
    c.width = width;
    c.height = height;
    c.cells.assign(static_cast<std::size_t>(width * height), value);
    return c;
}

void expectSameContent(const PictureFileContent& read, const PictureFileContent& written) {
    EXPECT_EQ(read.version, written.version);
    EXPECT_EQ(read.nameBytes, written.nameBytes);
    EXPECT_EQ(read.width, written.width);
    EXPECT_EQ(read.height, written.height);
    EXPECT_EQ(read.cells, written.cells);
}

TEST(PictureFileTest, TheAbExampleByteForByte) {
    PictureFileContent ab;
    ab.nameBytes = "Ab";
    ab.width = 3;
    ab.height = 2;
    ab.cells = {0, 3, 4, 1, 2, 0};
    const std::string expected =
        "\x01\0\0\0"
        "\x02\0\0\0"
        "Ab"
        "\x03\0\0\0"
        "\x02\0\0\0"
        "\0\0\0\0\x03\0\0\0\x04\0\0\0"
        "\x01\0\0\0\x02\0\0\0\0\0\0\0"s;
    ASSERT_EQ(expected.size(), 42u);
    EXPECT_EQ(encodePictureFile(ab), expected);

    const PictureFileReading read = parsePictureFile(expected);
    EXPECT_EQ(read.error, "");
    EXPECT_FALSE(read.cellsEndedEarly);
    expectSameContent(read.content, ab);
}

// Fields holding 10 gain an inserted 0x0D; 13 and 26 (0x0D, 0x1A) are stored as they are.
TEST(PictureFileTest, LineEndBytesInTheFields) {
    const struct {
        int nameLength, width, height;
        std::size_t offset;  // where the field under test starts on disk
        std::string stored;
        std::size_t fileSize;
    } cases[] = {
        {10, 3, 2, 4, "\r\n\0\0\0"s, 51},
        {13, 3, 2, 4, "\r\0\0\0"s, 53},
        {26, 3, 2, 4, "\x1a\0\0\0"s, 66},
        {2, 10, 2, 10, "\r\n\0\0\0"s, 16 + 2 + 4 * 20 + 1},
        {2, 13, 2, 10, "\r\0\0\0"s, 16 + 2 + 4 * 26},
        {2, 26, 2, 10, "\x1a\0\0\0"s, 16 + 2 + 4 * 52},
        {2, 3, 10, 14, "\r\n\0\0\0"s, 16 + 2 + 4 * 30 + 1},
        {2, 3, 13, 14, "\r\0\0\0"s, 16 + 2 + 4 * 39},
        {2, 3, 26, 14, "\x1a\0\0\0"s, 16 + 2 + 4 * 78},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nameLength << " " << c.width << " " << c.height);
        const PictureFileContent picture = uniformPicture(
            std::string(static_cast<std::size_t>(c.nameLength), 'n'), c.width, c.height, 3);
        const std::string bytes = encodePictureFile(picture);
        EXPECT_EQ(bytes.size(), c.fileSize);
        EXPECT_EQ(bytes.substr(c.offset, c.stored.size()), c.stored);
        const PictureFileReading read = parsePictureFile(bytes);
        EXPECT_EQ(read.error, "");
        EXPECT_FALSE(read.cellsEndedEarly);
        expectSameContent(read.content, picture);
    }
}

TEST(PictureFileTest, EmptyNameHasLengthZeroAndNoBytes) {
    const PictureFileContent picture = uniformPicture("", 1, 1, 4);
    const std::string bytes = encodePictureFile(picture);
    EXPECT_EQ(bytes, "\x01\0\0\0\0\0\0\0\x01\0\0\0\x01\0\0\0\x04\0\0\0"s);
    expectSameContent(parsePictureFile(bytes).content, picture);
}

TEST(PictureFileTest, RandomPicturesComeBackUnchanged) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 40; ++round) {
        PictureFileContent picture;
        picture.version = static_cast<std::int32_t>(random());
        picture.width = static_cast<int>(random() % 96) + 1;
        picture.height = static_cast<int>(random() % 92) + 1;
        // Names full of the bytes the expansion cares about, but no zero byte.
        const char special[] = {'\r', '\n', '\x1a', 'x', '\xff'};
        for (std::size_t i = random() % 40; i > 0; --i) {
            picture.nameBytes +=
                random() % 2 ? special[random() % 5] : static_cast<char>(random() % 255 + 1);
        }
        for (int i = 0; i < picture.width * picture.height; ++i) {
            picture.cells.push_back(static_cast<Pixel>(random() % 5));
        }
        const PictureFileReading read = parsePictureFile(encodePictureFile(picture));
        ASSERT_EQ(read.error, "") << "round " << round;
        EXPECT_FALSE(read.cellsEndedEarly);
        expectSameContent(read.content, picture);
    }
}

TEST(PictureFileTest, ReadingUndoesOnlyCarriageReturnLineFeed) {
    // A name of 3 bytes stored as "\r", "\r\n" (one byte 0x0A) and "\x1a".
    const std::string bytes = "\x01\0\0\0\x03\0\0\0\r\r\n\x1a\x01\0\0\0\x01\0\0\0\x02\0\0\0"s;
    const PictureFileReading read = parsePictureFile(bytes);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.content.nameBytes, "\r\n\x1a");
    EXPECT_EQ(read.content.cells, std::vector<Pixel>{2});
}

TEST(PictureFileTest, NameStopsAtZeroByteVersionIgnoredTrailingBytesIgnored) {
    const std::string bytes =
        "\x07\0\0\0\x04\0\0\0Ab\0c\x01\0\0\0\x01\0\0\0\x03\0\0\0garbage\x09\x09"s;
    const PictureFileReading read = parsePictureFile(bytes);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.content.version, 7);
    EXPECT_EQ(read.content.nameBytes, "Ab");
    EXPECT_EQ(read.content.cells, std::vector<Pixel>{3});
}

TEST(PictureFileTest, CellsEndingEarlyAreReadAsFarAsTheyGo) {
    PictureFileContent picture = uniformPicture("Ab", 3, 2);
    picture.cells = {0, 3, 4, 1, 2, 0};
    const std::string full = encodePictureFile(picture);
    const struct {
        std::size_t keep;
        std::vector<Pixel> cells;
    } cases[] = {
        {18, {}},      // right after the height
        {20, {}},      // half a cell
        {26, {0, 3}},  // two cells
        {40, {0, 3, 4, 1, 2}},
    };
    for (const auto& c : cases) {
        const PictureFileReading read = parsePictureFile(std::string_view(full).substr(0, c.keep));
        EXPECT_EQ(read.error, "") << c.keep;
        EXPECT_TRUE(read.cellsEndedEarly) << c.keep;
        EXPECT_EQ(read.content.nameBytes, "Ab");
        EXPECT_EQ(read.content.width, 3);
        EXPECT_EQ(read.content.height, 2);
        EXPECT_EQ(read.content.cells, c.cells) << c.keep;
    }
}

TEST(PictureFileTest, ARefusalSaysWhatTheFileIs) {
    const std::vector<Pixel> cells = {0, 3, 4, 1, 2, 0};
    const std::string ca65 =
        exportFormatRow(ExportFormat::Ca65).write(PixelView::rowByRow(cells.data(), 3, 2), "", {});
    // Version 7 and a width of 1: what is wrong is told only past a header that reads.
    const std::string version7 = "\x07\0\0\0\x02\0\0\0Ab\x01\0\0\0"s;
    const std::pair<std::string, std::string> cases[] = {
        {ca65,
         "\"f\" is text exported by this program (a device layout), not a picture file; "
         "stipple import makes a picture of it."},
        {"\x89PNG\r\n\x1a\n"s, "\"f\" is not a picture file."},
        {version7 + "\x61\0\0\0"s, "\"f\" is not a picture file."},  // height 97
        {version7 + "\x01\0\0\0\x05\0\0\0"s, "\": the pixel in column 1, row 1 has the value 5"},
    };
    for (const auto& [bytes, message] : cases) {
        EXPECT_NE(pictureFileRefusal("f", parsePictureFile(bytes)).find(message), std::string::npos)
            << message;
    }
}

}  // namespace
}  // namespace stipple
