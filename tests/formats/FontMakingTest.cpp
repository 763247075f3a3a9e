// Fonts made from outline fonts, drawn as a sample line, and written as device arrays.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/FontSample.h"
#include "formats/FramesExport.h"
#include "formats/OutlineFont.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

using testing::TempFolder;
using testing::writeFile;

constexpr const char* kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// A glyph of rows of '0'..'4' (the pixel values), with its code point and metrics.
Frame glyphOf(int code, int advance, int x, int y, std::vector<std::string> rows) {
    Frame frame;
    frame.name = "g" + std::to_string(code);
    frame.glyph = Glyph{code, advance, x, y};
    std::vector<Pixel> cells;
    for (const std::string& row : rows) {
        for (const char c : row) {
            cells.push_back(c - '0');
        }
    }
    frame.picture.assign(PixelView::rowByRow(cells.data(), static_cast<int>(rows[0].size()),
                                             static_cast<int>(rows.size())));
    return frame;
}

std::vector<std::string> rowsOf(const SampleLine& line) {
    std::vector<std::string> rows;
    for (int y = 0; y < line.height; ++y) {
        rows.emplace_back();
        for (int x = 0; x < line.width; ++x) {
            rows.back() += static_cast<char>('0' + line.at(x, y));
        }
    }
    return rows;
}

TEST(FontMakingTest, OutlineFontsRenderEveryGlyphOfTheRangeOnTheFontsLine) {
    if (!std::filesystem::exists(kMono)) {
        GTEST_SKIP() << kMono << " is missing (fonts-dejavu-core)";
    }
    for (const int grays : {2, 4}) {
        for (const int size : {8, 12, 16}) {
            const OutlineFontResult made = renderOutlineFont({kMono, "", size, 32, 126, grays});
            ASSERT_EQ(made.error, "");
            const Document& font = made.font;
            ASSERT_TRUE(font.font);
            EXPECT_EQ(font.setName, "DejaVu Sans Mono " + std::to_string(size));
            ASSERT_EQ(font.frameCount(), 95);
            bool grayed = false;
            for (int i = 0; i < 95; ++i) {
                const Frame& frame = font.frames[static_cast<std::size_t>(i)];
                EXPECT_EQ(frame.glyph->codePoint, 32 + i);
                // A monospaced font: one advance; every box the line's height at least.
                EXPECT_EQ(frame.glyph->advance, font.frames[0].glyph->advance);
                EXPECT_GE(frame.picture.height, font.font->ascent + font.font->descent);
                EXPECT_GE(frame.glyph->yOffset, font.font->ascent);
                const PixelView cells = frame.picture.view();
                for (int y = 1; y <= cells.height(); ++y) {
                    for (int x = 1; x <= cells.width(); ++x) {
                        grayed = grayed || cells.at(x, y) == kGray33 || cells.at(x, y) == kGray66;
                        EXPECT_NE(cells.at(x, y), kWhite);
                    }
                }
            }
            EXPECT_EQ(grayed, grays == 4) << size;
            EXPECT_EQ(font.frames[33].name, "A");
        }
    }
}

TEST(FontMakingTest, OutlineFontRefusals) {
    const TempFolder folder;
    const std::string notAFont = (folder / "not-a-font.ttf").string();
    writeFile(notAFont, "no font");
    const struct {
        OutlineFontRequest request;
        std::string error;
    } cases[] = {
        {{kMono, "", 3, 32, 126, 2}, "the pixel size 3 is not within 4 to 80."},
        {{kMono, "", 12, 90, 80, 2}, "the range 90 to 80 is not one of code points 0 to 1114111."},
        {{kMono, "", 12, 0, 5000, 2},
         "the range holds 5001 code points; a font set holds at most 4096 glyphs."},
        {{kMono, "", 12, 32, 126, 3}, "a font is rendered in 2 or 4 grays, not 3."},
        {{kMono, "", 12, 0x10000, 0x10010, 2}, "the font has no glyph from 65536 to 65552."},
        {{kMono, "", 80, 32, 126, 2},
         "at 80 pixels the glyph of U+0020 is 48 x 94 pixels; a glyph is at most 96 x 92."},
        {{notAFont, "", 12, 32, 126, 2},
         "\"" + notAFont + "\" is no font FreeType reads (error 2)."},
        {{"", "No Such Family Anywhere", 12, 32, 126, 2},
         "fontconfig finds no font of the family \"No Such Family Anywhere\""},
    };
    for (const auto& c : cases) {
        const OutlineFontResult made = renderOutlineFont(c.request);
        EXPECT_EQ(made.error.substr(0, c.error.size()), c.error);
    }
}

TEST(FontMakingTest, SampleLinesPlaceEachGlyphByItsOffsetsAndAdvance) {
    Document font;
    font.font = FontMetrics{3, 1, 4};
    font.frames = {glyphOf('A', 3, 0, 3, {"00", "01", "00"}),
                   glyphOf('B', 2, -1, 4, {"222", "444", "333"}), glyphOf(0xE9, 1, 0, 0, {"1"})};
    const struct {
        std::string text;
        int penX;
        std::vector<std::string> rows;
    } cases[] = {
        // B reaches one row above the ascent and one column left of the pen.
        {"BA", 1, {"2224", "44400", "33301", "44400", "44444"}},
        // A character without a glyph is left out; é below the baseline, as UTF-8 or Latin-1.
        {"A?\xc3\xa9", 0, {"00", "01", "00", "4441"}},
        {"A\xe9", 0, {"00", "01", "00", "4441"}},
        {"", 0, {"4", "4", "4", "4"}},
    };
    for (const auto& c : cases) {
        const SampleLine line = drawSampleLine(font, c.text);
        EXPECT_EQ(line.penX, c.penX) << c.text;
        std::vector<std::string> want = c.rows;
        // The rows as written are ragged where the line is transparent.
        for (std::string& row : want) {
            row.resize(static_cast<std::size_t>(line.width), '4');
        }
        EXPECT_EQ(rowsOf(line), want) << c.text;
    }
    font.font.reset();
    EXPECT_EQ(drawSampleLine(font, "A").cells, std::vector<Pixel>{kTransparent});
}

TEST(FontMakingTest, DeviceArraysOfAFontTableEveryCodePointInOrder) {
    // Out of order, with a gap at 'B' and boxes of two sizes.
    const std::vector<Frame> glyphs = {glyphOf('C', 4, 0, 2, {"0", "0"}),
                                       glyphOf('A', 300, -1, 2, {"00", "00"})};
    std::vector<NamedView> views;
    for (const Frame& frame : glyphs) {
        views.push_back({frame.picture.view(), frame.name, &*frame.glyph});
    }
    ExportSettings settings;
    const FramesText c = writeFrames(ExportFormat::C, views, "F", settings);
    EXPECT_EQ(c.offsets, (std::vector<std::size_t>{0, 4, 4, 6}));
    for (const char* line :
         {"#define F_FIRST 65", "#define F_LAST 67", "const uint16_t F_offsets[4] = {",
          "const int16_t F_advances[3] = {\n    300, 0, 4,\n};",
          "const int8_t F_xoffsets[3] = {\n    -1, 0, 0,\n};", "const uint8_t F_widths[3] = {",
          "#define F_YOFFSET 2"}) {
        EXPECT_NE(c.text.find(line), std::string::npos) << line;
    }
    // Each frame's part is its own glyph's, wherever the array put it.
    EXPECT_NE(c.text.substr(c.parts[0].offset, c.parts[0].length).find("g67"), std::string::npos);
    const FramesText gas = writeFrames(ExportFormat::Gas, views, "F", settings);
    EXPECT_NE(gas.text.find("F_advances:\n.byte 44, 1, 0, 0, 4, 0\n/* F_widths"), std::string::npos)
        << gas.text;
}

}  // namespace
}  // namespace stipple
