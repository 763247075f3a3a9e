#include "formats/ExportText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "formats/Packer.h"
#include "model/Picture.h"
#include "model/Selection.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

ExportFormat formatOfCode(int code) {
    return static_cast<ExportFormat>(code);
}

class ExportTextTest : public ::testing::Test {
  protected:
    std::string text(const PixelView& view, int code, bool align) const {
        return exportText(view, name, formatOfCode(code), align);
    }
    std::string pictureText(int code, bool align) const {
        return text(picture->view(), code, align);
    }
    std::string fileBlock() const { return asm8FileBlock(picture->view(), name); }

    std::unique_ptr<Picture> picture = std::make_unique<Picture>();
    std::unique_ptr<Selection> selection = std::make_unique<Selection>();
    std::string name = "Name";

    // Byte counts of the data lines that follow the size line.
    static std::vector<int> dataLineCounts(const std::string& text) {
        std::vector<int> counts;
        std::size_t start = 0;
        int line = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            if (++line > 3) {
                const std::string data = text.substr(start, end - start);
                EXPECT_EQ(data.rfind(".byte ", 0), 0u) << data;
                counts.push_back(static_cast<int>(std::count(data.begin(), data.end(), ',')) + 1);
            }
        }
        EXPECT_EQ(start, text.size()) << "the text ends with a line end";
        return counts;
    }
};

// Each picture under data/export comes with its expected texts in every format, from
// either source; codes 1 and 2 have one text for both settings of the alignment flag.
TEST_F(ExportTextTest, MatchesTheGoldenFiles) {
    const std::filesystem::path data = std::filesystem::path(STIPPLE_TEST_DATA_DIR) / "export";
    for (const std::string sample : {"example", "column", "rocket"}) {
        std::istringstream in(testing::readFile(data / (sample + ".picture")));
        std::string line;
        std::getline(in, line);
        ASSERT_EQ(line.rfind("name=", 0), 0u) << sample;
        name = line.substr(5);
        std::vector<std::string> rows;
        while (std::getline(in, line)) {
            rows.push_back(line);
        }
        auto expectAllTexts = [&](const PixelView& view) {
            for (int code = 1; code <= 5; ++code) {
                for (bool align : {false, true}) {
                    const std::string file = sample + ".code" + std::to_string(code) +
                                             (align && code >= 3 ? ".aligned" : "") + ".txt";
                    SCOPED_TRACE(file + (align ? " (aligned)" : ""));
                    const std::string expected = testing::readFile(data / file);
                    ASSERT_FALSE(expected.empty());
                    EXPECT_EQ(text(view, code, align), expected);
                }
            }
        };
        testing::setPicture(*picture, {"0123", "4012"});  // the box export must not look here
        testing::setBox(*selection, rows);
        expectAllTexts(selection->view());
        testing::setPicture(*picture, rows);
        expectAllTexts(picture->view());
        EXPECT_EQ(fileBlock(), testing::readFile(data / (sample + ".file.txt"))) << sample;
    }
}

TEST_F(ExportTextTest, PackedBytesWrapAfterTwentyFive) {
    struct Case {
        int width, height, code;
        std::vector<int> lines;
    };
    std::vector<int> full1(44, 25), full4(176, 25);
    full1.push_back(4);
    full4.push_back(16);
    for (const Case& c : {Case{8, 25, 3, {25}}, Case{8, 26, 3, {25, 1}}, Case{4, 25, 4, {25}},
                          Case{96, 92, 3, full1}, Case{96, 92, 5, full4}}) {
        picture->width = c.width;
        picture->height = c.height;
        for (bool align : {false, true}) {
            SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " code " +
                         std::to_string(c.code));
            EXPECT_EQ(dataLineCounts(pictureText(c.code, align)), c.lines);
        }
    }
}

TEST_F(ExportTextTest, NameIsWrittenVerbatim) {
    name = " my pic \xC3\xA4 ";
    picture->width = 96;
    picture->height = 92;
    const std::string label = "\r\n my pic \xC3\xA4 ";
    EXPECT_NE(fileBlock().find(label + ":\r\n"), std::string::npos);
    EXPECT_NE(pictureText(1, false).find(label + ": \r\n"), std::string::npos);
    EXPECT_NE(pictureText(2, false).find(label + "[96][92]={"), std::string::npos);
}

TEST_F(ExportTextTest, UnknownCodesGiveNothing) {
    for (int code : {0, 6, -1, 8, 100}) {
        EXPECT_EQ(pictureText(code, true), "") << code;
    }
}

// Assembles the text with GNU as and returns the bytes it produced, or nothing.
std::optional<std::string> assemble(const testing::TempFolder& dir, const std::string& text) {
    testing::writeFile(dir / "x.s", text);
    const std::string cmd = "cd '" + dir.path().string() +
                            "' && as -o x.o x.s 2> as.log && "
                            "objcopy -O binary -j .text x.o x.bin 2>> as.log";
    if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << testing::readFile(dir / "as.log");
        return std::nullopt;
    }
    return testing::readFile(dir / "x.bin");
}

TEST_F(ExportTextTest, AssemblerTextAssemblesToThePackedBytes) {
    if (std::system("command -v as >/dev/null 2>&1 && command -v objcopy >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "GNU as is not installed";
    }
    testing::TempFolder dir;
    name = "sprite_1";
    std::mt19937 random(11);
    for (auto [w, h] : {std::pair{3, 2}, std::pair{17, 5}, std::pair{96, 92}}) {
        picture->width = w;
        picture->height = h;
        for (int x = 1; x <= w; ++x) {
            for (int y = 1; y <= h; ++y) {
                picture->pixels[x][y] = static_cast<Pixel>(random() % 5);
            }
        }
        std::string rowsBytes;
        for (int y = 1; y <= h; ++y) {
            for (int x = 1; x <= w; ++x) {
                rowsBytes += static_cast<char>(picture->pixels[x][y]);
            }
        }
        const std::string size = {static_cast<char>(w), static_cast<char>(h)};
        for (int code = 1; code <= 5; ++code) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " code " +
                         std::to_string(code));
            if (code == 2) {
                continue;
            }
            const std::string assembled = pictureText(code, true);
            std::string expected = size;
            if (code == 1) {
                expected += rowsBytes;
            } else {
                const int depth = code == 3 ? 1 : code == 4 ? 2 : 4;
                std::uint8_t store[packingStoreSize(4)];
                const int count = packRows(picture->view(), depth, true, store);
                expected.append(store + 1, store + 1 + count);
            }
            EXPECT_EQ(assemble(dir, assembled), expected);
        }
        EXPECT_EQ(assemble(dir, fileBlock()), size + rowsBytes);
    }
}

}  // namespace
}  // namespace stipple
