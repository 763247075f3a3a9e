#include "formats/BdfFont.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace stipple {
namespace {

// Widths across the byte boundaries a bitmap row is padded at.
Document randomFont(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    Document font;
    font.setName = pick(0, 1) ? "Tiny \"Sans\"" : "";
    const int ascent = pick(-30, 200), descent = pick(-30, 200);
    // BDF keeps no line height of its own: it is the ascent and descent together.
    font.font = FontMetrics{ascent, descent, ascent + descent};
    font.frames.clear();
    const int widths[] = {1, 4, 7, 8, 9, 15, 16, 17, 96};
    for (int code = pick(0, 40), n = pick(1, 30); n > 0; --n, code += pick(1, 5000)) {
        Frame& frame = font.frames.emplace_back();
        frame.name = pick(0, 3) ? "g" + std::to_string(code) : "";
        frame.glyph = Glyph{code, pick(-1024, 1024), pick(-1024, 1024), pick(-900, 1024)};
        const int width = widths[pick(0, 8)], height = pick(0, 3) ? pick(1, 16) : 92;
        std::vector<Pixel> cells;
        for (int i = width * height; i > 0; --i) {
            cells.push_back(pick(kBlack, kTransparent));
        }
        frame.picture.assign(PixelView::rowByRow(cells.data(), width, height));
    }
    return font;
}

TEST(BdfFontTest, FontsReadBackAsWritten) {
    std::mt19937 random(31);
    for (int run = 0; run < 50; ++run) {
        const Document font = randomFont(random);
        const std::string text = encodeBdf(font);
        ASSERT_TRUE(startsLikeBdf(text));
        const BdfReading read = parseBdf(text);
        ASSERT_EQ(read.error, "");
        EXPECT_EQ(read.font.font, font.font);
        EXPECT_EQ(read.font.setName, font.setName.empty() ? "Untitled" : font.setName);
        ASSERT_EQ(read.font.frameCount(), font.frameCount());
        for (std::size_t i = 0; i < font.frames.size(); ++i) {
            const Frame& want = font.frames[i];
            const Frame& got = read.font.frames[i];
            char unnamed[16];
            std::snprintf(unnamed, sizeof unnamed, "U+%04X", want.glyph->codePoint);
            EXPECT_EQ(got.name, want.name.empty() ? unnamed : want.name);
            EXPECT_EQ(got.glyph, want.glyph);
            const PixelView a = got.picture.view(), b = want.picture.view();
            ASSERT_EQ(a.width() * 100 + a.height(), b.width() * 100 + b.height());
            for (int y = 1; y <= b.height(); ++y) {
                for (int x = 1; x <= b.width(); ++x) {
                    // The two darker values are the set bits.
                    ASSERT_EQ(a.at(x, y), b.at(x, y) <= kGray66 ? kBlack : kTransparent)
                        << "glyph " << i << " at " << x << "," << y;
                }
            }
        }
        // What was read once writes the same text again.
        Document again = read.font;
        EXPECT_EQ(encodeBdf(again), encodeBdf(parseBdf(encodeBdf(again)).font));
    }
}

TEST(BdfFontTest, WhatCannotBeReadIsToldByItsLine) {
    const std::string head =
        "STARTFONT 2.1\nFONT x\nFONTBOUNDINGBOX 3 2 0 0\nSTARTPROPERTIES 1\nFONT_ASCENT 2\n"
        "ENDPROPERTIES\nCHARS 2\n";
    const auto glyph = [](std::string lines) { return "STARTCHAR A\n" + lines + "ENDCHAR\n"; };
    const std::string a = "ENCODING 65\nDWIDTH 4 0\nBBX 3 2 0 0\nBITMAP\nA0\n40\n";
    const BdfReading good = parseBdf(
        head + glyph(a) + glyph("ENCODING -1\nDWIDTH 4 0\nBBX 0 0 0 0\nBITMAP\n") + "ENDFONT\n");
    ASSERT_EQ(good.error, "");
    EXPECT_EQ(good.font.frames[0].glyph, (Glyph{65, 4, 0, 2}));
    EXPECT_EQ(good.font.font, (FontMetrics{2, 0, 2}));
    const auto file = [&](std::string glyphs) { return head + glyphs + "ENDFONT\n"; };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"STARTFONT 3.0\n", "line 1: it is not BDF 2.1: STARTFONT 3.0"},
        {"FONT x\n", "line 1: a BDF file starts with STARTFONT"},
        {"STARTFONT 2.1\nFONTBOUNDINGBOX 3 2 0\n", "line 2: FONTBOUNDINGBOX takes four integers"},
        {"STARTFONT 2.1\r\nSTARTPROPERTIES 1\r\nFONT_ASCENT two\r\n",
         "line 3: FONT_ASCENT takes one integer"},
        {"STARTFONT 2.1\nCHARS 5000\n",
         "line 2: the font has 5000 glyphs; a font holds at most 4096"},
        {"STARTFONT 2.1\nSTARTCHAR A\n", "line 2: STARTCHAR before CHARS"},
        {file(glyph("ENCODING 0x41\n")),
         "line 9: ENCODING takes a code point of 0 to 1114111, or -1"},
        {file(glyph("ENCODING 65\nBBX 97 2 0 0\n")),
         "line 10: the glyph \"A\" is 97 x 2 pixels; a glyph is at most 96 x 92"},
        {file(glyph("ENCODING 65\nBBX 3 -1 0 0\n")),
         "line 10: BBX takes a width and a height of 0 or more and two offsets"},
        {file(glyph("ENCODING 65\nBITMAP\n")),
         "line 10: the glyph \"A\" has no BBX before its BITMAP"},
        {file(glyph("ENCODING 65\nDWIDTH 4 0\nBBX 3 2 0 0\nBITMAP\nA\n")),
         "line 13: a bitmap row of the glyph \"A\" takes 2 hex digits: A"},
        {file(glyph("ENCODING 65\nDWIDTH 4 0\nBBX 3 2 0 0\nBITMAP\nG0\n")),
         "line 13: a bitmap row of the glyph \"A\" takes 2 hex digits: G0"},
        {file(glyph("ENCODING 65\nDWIDTH 4 0\nBBX 3 2 0 0\nBITMAP\nA0\n")),
         "line 14: the glyph \"A\" has 1 bitmap rows; its BBX says 2"},
        {file(glyph("ENCODING 65\nDWIDTH 4 0\nBBX 3 1 0 0\nBITMAP\nA0\n40\n")),
         "line 14: the glyph \"A\" has more bitmap rows than 1"},
        {file(glyph("ENCODING 65\nBBX 3 1 0 0\nBITMAP\nA0\n")),
         "line 13: the glyph \"A\" has no DWIDTH"},
        {file(glyph("ENCODING 65\nDWIDTH 4 0\nBBX 3 1 0 1030\nBITMAP\nA0\n")),
         "line 14: the glyph \"A\" reaches beyond 1024 pixels"},
        {file(glyph(a) + glyph(a)), "line 16: the code point 65 has a glyph on line 8 too"},
        {file(glyph(a)), "line 16: the font has 1 glyphs; CHARS says 2"},
        {file(glyph(a) + glyph(a) + glyph(a)),
         "line 16: the code point 65 has a glyph on line 8 too"},
        {head + glyph(a) + glyph("ENCODING 66\n" + a.substr(12)) + glyph(""),
         "line 24: more glyphs than CHARS says (2)"},
        {file(glyph(a) + glyph("ENCODING 66\nDWIDTH 0 0\nBBX 0 0 0 0\nBITMAP\n")) + "x\n",
         "line 23: the file goes on after ENDFONT"},
        {head + glyph(a), "the file ends before ENDFONT"},
        {std::string(kMaxBdfBytes + 1, ' '),
         "it is 16777217 bytes long; a BDF font has at most 16777216"},
    };
    for (const auto& [text, error] : cases) {
        const BdfReading read = parseBdf(text);
        EXPECT_EQ(read.error, error);
        EXPECT_FALSE(read.font.font);
    }
}

}  // namespace
}  // namespace stipple
