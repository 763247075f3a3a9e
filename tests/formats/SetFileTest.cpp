#include "formats/SetFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace stipple {
namespace {

using namespace std::string_literals;

// Name lengths and sizes of 10 and 13, so that frames hold 0x0A and 0x0D.
SetFileContent randomSet(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const auto name = [&] {
        std::string bytes;
        for (int i = pick(0, 12); i > 0; --i) {
            bytes += "Az\x80\xFF 9;\""[pick(0, 6)];
        }
        return bytes;
    };
    SetFileContent set{name(), pick(kMinFrameRate, kMaxFrameRate), {}};
    for (int f = pick(1, 6); f > 0; --f) {
        PictureFileContent& frame = set.frames.emplace_back(1, name(), pick(1, 13), pick(1, 11));
        for (int i = frame.width * frame.height; i > 0; --i) {
            frame.cells.push_back(pick(kBlack, kTransparent));
        }
    }
    return set;
}

// The same name, rate and frames, as the writer shows.
void expectSameSet(const SetFileContent& read, const SetFileContent& written) {
    EXPECT_EQ(encodeSetFile(read), encodeSetFile(written));
}

TEST(SetFileTest, RandomSetsReadBackAsWritten) {
    std::mt19937 random(28);
    for (int run = 0; run < 200; ++run) {
        const SetFileContent set = randomSet(random);
        const std::string bytes = encodeSetFile(set);
        const PictureOrSetReading read = parsePictureOrSet(bytes);
        ASSERT_TRUE(read.setFile);
        ASSERT_EQ(read.set.error, "");
        expectSameSet(read.set.content, set);
        // Through the document and back, where the names are UTF-8.
        const StorableSet again = storableSet(documentOfSet(read.set.content));
        ASSERT_TRUE(again) << again.problem;
        expectSameSet(again.content, set);
        // No picture file starts as a set file does; a picture file is a set of one.
        EXPECT_TRUE(parsePictureFile(bytes).notPictureFile);
        const PictureFileContent& first = set.frames[0];
        const PictureOrSetReading one = parsePictureOrSet(encodePictureFile(first));
        EXPECT_FALSE(one.setFile);
        expectSameSet(one.set.content, {first.nameBytes, kDefaultFrameRate, {first}});
    }
}

TEST(SetFileTest, DamagedFilesAreRefusedWithWhatIsWrong) {
    const PictureFileContent one{1, "ab", 2, 1, {0, 4}};
    const std::string frame = encodePictureFile(one);  // 26 bytes
    const std::string head = std::string(kSetFileMagic) + "\x01\0\0\0\x02\0\0\0Hi"s;
    const auto file = [&](std::string fields) { return head + fields; };
    const std::string good =
        file("\x08\0\0\0\x02\0\0\0"s + "\x1A\0\0\0"s + frame + "\x1A\0\0\0"s + frame);
    ASSERT_EQ(parseSetFile(good).error, "");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "it is empty"},
        {frame, "it is not a set file"},
        {good.substr(0, 10), "the file ends inside its header"},
        {std::string(kSetFileMagic) + "\x02\0\0\0"s,
         "it is a set file of version 2; this program reads versions 1 and 3 (a font)"},
        {std::string(kSetFileMagic) + "\x01\0\0\0\x09\0\0\0Hi"s,
         "the set's name is said to be 9 bytes long, but the file ends after 2 of them"},
        {file("\x08\0\0"s), "the file ends before the frame rate and the number of frames"},
        {file("\x3D\0\0\0\x01\0\0\0"s),
         "the frame rate is 61; a set plays at 1 to 60 frames a second"},
        {file("\x08\0\0\0\0\0\0\0"s), "the set is said to hold 0 frames; a set holds 1 to 4096"},
        {file("\x08\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0"s),
         "the set is said to hold 3 frames, but the 8 bytes left cannot hold that many"},
        {good.substr(0, good.size() - 26 - 4), "the file ends before frame 2 of 2"},
        {good.substr(0, good.size() - 1),
         "frame 2 is said to be 26 bytes long, but the file ends after 25 of them"},
        {file("\x08\0\0\0\x01\0\0\0\0\0\0\0"s), "frame 1 is empty"},
        {file("\x08\0\0\0\x01\0\0\0\x04\0\0\0GIF8"s), "frame 1 is not a picture file"},
        {file("\x08\0\0\0\x01\0\0\0\x16\0\0\0"s + frame.substr(0, 22)),
         "frame 1 is cut off: it ends after 1 of its 2 pixels"},
        {file("\x08\0\0\0\x01\0\0\0\x1A\0\0\0"s + frame.substr(0, 22) + "\x05\0\0\0"s),
         "frame 1: the pixel in column 2, row 1 has the value 5; pixel values are 0 to 4"},
        {good + "xy", "the file goes on for 2 bytes after its last frame"},
    };
    for (const auto& [bytes, error] : cases) {
        const SetFileReading read = parseSetFile(bytes);
        EXPECT_EQ(read.error, error);
        EXPECT_TRUE(read.content.frames.empty());
    }
    EXPECT_EQ(setFileRefusal("x.stws", parseSetFile(good + "x")),
              "Could not open \"x.stws\": the file goes on for 1 byte after its last frame.");
}

// A random set made a font: distinct code points, metrics over their whole range.
SetFileContent randomFont(std::mt19937& random) {
    SetFileContent set = randomSet(random);
    const auto metric = [&] {
        return std::uniform_int_distribution(-kMaxFontMetric, kMaxFontMetric)(random);
    };
    set.font = FontMetrics{metric(), metric(), metric()};
    int code = std::uniform_int_distribution(0, 40)(random);
    for (std::size_t i = 0; i < set.frames.size(); ++i) {
        code += std::uniform_int_distribution(1, 0x3000)(random);
        set.glyphs.push_back({code % (kMaxCodePoint + 1), metric(), metric(), metric()});
    }
    std::shuffle(set.glyphs.begin(), set.glyphs.end(), random);
    return set;
}

TEST(SetFileTest, FontsReadBackAsWrittenAndPlainSetsStayVersion1) {
    std::mt19937 random(29);
    for (int run = 0; run < 200; ++run) {
        SetFileContent font = randomFont(random);
        const std::string bytes = encodeSetFile(font);
        ASSERT_EQ(bytes.substr(8, 4), "\x03\0\0\0"s);
        const SetFileReading read = parseSetFile(bytes);
        ASSERT_EQ(read.error, "");
        EXPECT_EQ(read.content.font, font.font);
        EXPECT_EQ(read.content.glyphs, font.glyphs);
        expectSameSet(read.content, font);
        const Document document = documentOfSet(read.content);
        ASSERT_TRUE(document.font);
        EXPECT_EQ(document.frames.back().glyph, font.glyphs.back());
        const StorableSet again = storableSet(document);
        ASSERT_TRUE(again) << again.problem;
        expectSameSet(again.content, font);
        // Without its font the same set is the version 1 file, byte for byte.
        const std::string plain = encodeSetFile({font.nameBytes, font.frameRate, font.frames});
        font.font.reset();
        font.glyphs.clear();
        EXPECT_EQ(encodeSetFile(font), plain);
        EXPECT_EQ(plain.substr(8, 4), "\x01\0\0\0"s);
    }
}

TEST(SetFileTest, DamagedFontsAreRefusedWithWhatIsWrong) {
    const PictureFileContent one{1, "", 1, 1, {0}};
    const std::string frame = "\x14\0\0\0"s + encodePictureFile(one);  // 20 bytes
    const auto font = [&](std::string after) {
        return std::string(kSetFileMagic) + "\x03\0\0\0\0\0\0\0\x08\0\0\0\x02\0\0\0"s + frame +
               frame + "\x09\0\0\0\x03\0\0\0\x0C\0\0\0"s + after;
    };
    const std::string glyph = "A\0\0\0\x06\0\0\0\0\0\0\0\xFF\xFF\xFF\xFF"s;
    const std::string good = font(glyph + "B" + glyph.substr(1));
    ASSERT_EQ(parseSetFile(good).error, "");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {font("").substr(0, good.size() - 32 - 3),
         "the file ends inside the font, at the line height"},
        {font(""), "the file ends inside the font, at glyph 1"},
        {font(glyph.substr(0, 6)), "the file ends inside the font, at glyph 1's advance"},
        {font(glyph + glyph), "two glyphs have the code point 65"},
        {font(glyph + "\0\0\x11\0"s),
         "glyph 2: the code point is 1114112; a code point is 0 to 1114111"},
        {font(glyph + "B" + glyph.substr(1, 7) + "\x01\x04\0\0"s),
         "glyph 2's x offset is 1025; a font's metrics are -1024 to 1024"},
        {good + "z", "the file goes on for 1 byte after its font"},
    };
    for (const auto& [bytes, error] : cases) {
        EXPECT_EQ(parseSetFile(bytes).error, error);
    }
    Document document = documentOfSet(parseSetFile(good).content);
    document.frames[1].glyph.reset();
    EXPECT_EQ(storableSet(document).problem,
              "Frame 2 has no code point; every frame of a font is a glyph.");
}

TEST(SetFileTest, NamesThatCannotBeStoredAreTold) {
    Document document;
    document.frames.resize(2);
    document.frames[1].name = "a\nb";
    EXPECT_EQ(storableSet(document).problem,
              "Frame 2: The name \"a\\nb\" cannot be saved in a picture file: it holds a line "
              "break.");
    document.setName = "\xE2\x98\x83";  // a snowman, which Windows-1252 lacks
    EXPECT_NE(storableSet(document).problem.find("cannot be saved as the set's name"),
              std::string::npos);
}

}  // namespace
}  // namespace stipple
