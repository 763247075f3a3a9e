#include "formats/LayoutText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace stipple {
namespace {

TEST(LayoutTextTest, NamesBecomeIdentifiers) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ship", "ship"},   {"", "sprite"},   {"9lives", "_9lives"},
        {"a-b c", "a_b_c"}, {"_x_1", "_x_1"}, {"\xC3\xA9t\xC3\xA9", "__t__"},
        {"*/", "__"},       {"Zz09", "Zz09"}};
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(identifierOf(name), id) << name;
    }
}

// 3 x 2 cells of the values 0 1 2 / 3 4 0 at 8 bits with codes 0x3C, 1, 2, 3, 0xFF, which
// the preview draws as d a b / c e d.
const std::vector<Pixel> kCells = {0, 1, 2, 3, 4, 0};
const PixelView kView = PixelView::rowByRow(kCells.data(), 3, 2);
ByteLayout wideCodes() {
    ByteLayout layout;
    layout.levels = {60, 1, 2, 3, 255};
    return layout;
}

TEST(LayoutTextTest, EachSyntaxWritesItsOwnForms) {
    const std::string header =
        "stipple: name \"ship\" 3x2 depth 8 levels 60,1,2,3,255 order lsb "
        "scan rows align no planes packed mask no";
    const std::string legend =
        "preview: one character per code: a = 1, b = 2, c = 3, d = 60, e = 255";
    const std::vector<std::pair<Syntax, std::string>> cases = {
        {Syntax::Gas, "/* " + header + " */\n/* " + legend +
                          " */\n/* dab */\n/* ced */\n.set SHIP_WIDTH, 3\n"
                          ".set SHIP_HEIGHT, 2\nship:\n.byte 0x3C, 0x01, 0x02, 0x03, 0xFF, 0x3C\n"},
        {Syntax::Ca65, "; " + header + "\n; " + legend +
                           "\n; dab\n; ced\nSHIP_WIDTH = 3\nSHIP_HEIGHT = 2\n"
                           "ship:\n.byte $3C, $01, $02, $03, $FF, $3C\n"},
        {Syntax::Db, "; " + header + "\n; " + legend +
                         "\n; dab\n; ced\nSHIP_WIDTH EQU 3\nSHIP_HEIGHT EQU 2\n"
                         "ship:\ndb $3C, $01, $02, $03, $FF, $3C\n"},
        {Syntax::C, "/* " + header + " */\n/* " + legend +
                        " */\n/* dab */\n/* ced */\n#include <stdint.h>\n\n"
                        "#define SHIP_WIDTH 3\n#define SHIP_HEIGHT 2\n\nconst uint8_t ship[6] = {\n"
                        "    0x3C, 0x01, 0x02, 0x03, 0xFF, 0x3C,\n};\n"},
        {Syntax::Bin, std::string("\x3C\x01\x02\x03\xFF\x3C")}};
    for (const auto& [syntax, text] : cases) {
        EXPECT_EQ(layoutText(kView, "ship", wideCodes(), syntax, Base::Hex, true), text);
    }
}

TEST(LayoutTextTest, BasesInEachNotation) {
    const std::vector<std::tuple<Syntax, Base, std::string>> cases = {
        {Syntax::Gas, Base::Dec, ".byte 60, 1, 2, 3, 255, 60\n"},
        {Syntax::Ca65, Base::Bin,
         ".byte %00111100, %00000001, %00000010, %00000011, "
         "%11111111, %00111100\n"},
        {Syntax::C, Base::Bin,
         "    0b00111100, 0b00000001, 0b00000010, 0b00000011, "
         "0b11111111, 0b00111100,\n"}};
    for (const auto& [syntax, base, line] : cases) {
        const std::string text = layoutText(kView, "ship", wideCodes(), syntax, base, false);
        EXPECT_NE(text.find("\n" + line), std::string::npos) << text;
        EXPECT_EQ(text.find("preview:"), std::string::npos);
    }
}

TEST(LayoutTextTest, TheHeaderQuotesTheNameSoTheCommentHolds) {
    const std::string text =
        layoutText(kView, "a\"b\\*/", wideCodes(), Syntax::C, Base::Dec, false);
    EXPECT_EQ(text.substr(0, text.find(" 3x2")), "/* stipple: name \"a\\\"b\\\\*\\/\"");
    EXPECT_NE(text.find("const uint8_t a_b___["), std::string::npos);
}

TEST(LayoutTextTest, ThePreviewDrawsTheCodesTheDeviceGets) {
    ByteLayout hexDigits;
    hexDigits.depth = 4;
    hexDigits.levels = {0, 5, 10, 15, 4};
    // The legend's codes, and the rows of kView's values 0 1 2 / 3 4 0.
    const std::vector<std::tuple<ByteLayout, std::string, std::string>> cases = {
        {*layoutForTarget("ssd1306"), ". = 0, # = 1", "##.|..#"},
        {*layoutForTarget("gameboy"), ". = 0, - = 1, + = 2, # = 3", "#+-|..#"},
        {hexDigits, "0 = 0, 4 = 4, 5 = 5, A = 10, F = 15", "05A|F40"}};
    for (const auto& [layout, legend, rows] : cases) {
        const std::string text = layoutText(kView, "ship", layout, Syntax::Ca65, Base::Dec, true);
        const std::string drawn = "; preview: one character per code: " + legend + "\n; " +
                                  rows.substr(0, 3) + "\n; " + rows.substr(4) + "\n";
        EXPECT_EQ(text.substr(text.find('\n') + 1, drawn.size()), drawn);
    }
    // The lines of an earlier preview, drawn from the values, still read.
    const std::string old = "; stipple: name \"ship\" 3x2 " + layoutWords(wideCodes()) +
                            "\n; #=-\n; .~#\nSHIP_WIDTH = 3\nSHIP_HEIGHT = 2\nship:\n"
                            ".byte 60, 1, 2, 3, 255, 60\n";
    EXPECT_TRUE(readLayoutText(old)) << readLayoutText(old).error;
}

// Each entry is a key and a word.
std::string setWord(ByteLayout& layout, const std::string& entry) {
    const std::size_t space = entry.find(' ');
    return setLayoutWord(layout, entry.substr(0, space), entry.substr(space + 1));
}

TEST(LayoutTextTest, OptionWordsSetTheLayoutOrSayWhyNot) {
    ByteLayout layout;
    for (const char* entry : {"depth 2", "levels 3,2,1,0,0", "order msb", "scan tiles",
                              "planes interleaved", "mask yes"}) {
        EXPECT_EQ(setWord(layout, entry), "") << entry;
    }
    EXPECT_EQ(layoutWords(layout),
              "depth 2 levels 3,2,1,0,0 order msb scan tiles align no planes interleaved mask yes");
    for (const char* entry :
         {"depth 3", "depth ", "levels 1,2,3,4", "levels 1,2,3,4,5,6", "levels 1,2,,3,4",
          "levels 1,2,3,4,256", "levels 1,2,3,4,-1", "order MSB", "scan columns", "planes mixed",
          "mask 1", "colour red"}) {
        ByteLayout unchanged = layout;
        EXPECT_NE(setWord(unchanged, entry), "") << entry;
        EXPECT_EQ(layoutWords(unchanged), layoutWords(layout)) << entry;
    }
    EXPECT_EQ(setWord(layout, "depth 3"), "the depth \"3\" is not 1, 2, 4 or 8");
}

TEST(LayoutTextTest, ReadsBackEveryTextItWrites) {
    ByteLayout masked = *layoutForTarget("gameboy");
    masked.mask = true;
    ByteLayout aligned = *layoutForTarget("gfx-bitmap");
    aligned.align = true;
    for (const ByteLayout& layout : {wideCodes(), masked, aligned, *layoutForTarget("ssd1306")}) {
        for (const Syntax syntax : {Syntax::Gas, Syntax::Ca65, Syntax::Db, Syntax::C}) {
            for (const Base base : {Base::Dec, Base::Hex, Base::Bin}) {
                for (const std::string name : {"ship", "a\"b\\*/ c", ""}) {
                    const std::string text =
                        layoutText(kView, name, layout, syntax, base, name == "ship");
                    const LayoutTextReading reading = readLayoutText(text);
                    ASSERT_TRUE(reading) << reading.error << "\n" << text;
                    EXPECT_EQ(reading.name, name);
                    EXPECT_EQ(std::pair(reading.width, reading.height), std::pair(3, 2));
                    EXPECT_EQ(layoutWords(reading.layout), layoutWords(layout));
                    EXPECT_EQ(reading.bytes, layoutBytes(kView, layout)) << text;
                }
            }
        }
    }
}

TEST(LayoutTextTest, RefusesWhatItDoesNotWrite) {
    const std::string good = layoutText(kView, "ship", wideCodes(), Syntax::C, Base::Hex, true);
    const auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {changed("3x2", "3x0"), "line 1: the size \"3x0\" is not WxH of 1 to 96 by 1 to 92"},
        {changed("depth 8", "depth 3"), "line 1: the depth \"3\" is not 1, 2, 4 or 8"},
        {changed(" mask no", ""),
         "line 1: expected WxH depth D levels B,G66,G33,W,T order O "
         "scan S align A planes P mask M"},
        {changed("/* ced */", "/* ce d */"),
         "line 4: expected a row of the preview, one character per cell"},
        {changed("SHIP_HEIGHT 2", "SHIP_HEIGHT 3"), "line 8: expected \"#define SHIP_HEIGHT 2\""},
        {changed("0xFF", "0x100"), "line 11: \"0x100\" is not a byte"},
        {changed(", 0x3C,\n", ",\n"), "line 12: the text holds 5 bytes; the layout takes 6"},
        {good + "x\n", "line 13: expected the end of the text"}};
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(readLayoutText(text).error, error) << text;
    }
    EXPECT_EQ(readLayoutText(good + "\n\n").error, "");
}

}  // namespace
}  // namespace stipple
