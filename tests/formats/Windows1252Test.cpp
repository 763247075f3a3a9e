#include "formats/Windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace stipple {
namespace {

TEST(Windows1252Test, EveryByteComesBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const Windows1252Text back = toWindows1252(fromWindows1252(all));
    ASSERT_TRUE(back) << back.problem;
    EXPECT_EQ(back.bytes, all);
}

TEST(Windows1252Test, CharactersMapToTheirBytes) {
    const struct {
        const char* utf8;
        const char* bytes;
    } cases[] = {
        {"Ab", "Ab"},
        {"\xE2\x82\xAC", "\x80"},              // euro sign
        {"\xC3\xA9\xC3\xBF", "\xE9\xFF"},      // e acute, y diaeresis
        {"\xC5\xBD\xE2\x84\xA2", "\x8E\x99"},  // Z caron, trade mark
        {"\xC2\x81\xC2\x9D", "\x81\x9D"},      // undefined bytes as C1 controls
        {"\xC2\xA0", "\xA0"},                  // no-break space
    };
    for (const auto& c : cases) {
        const Windows1252Text text = toWindows1252(c.utf8);
        ASSERT_TRUE(text) << c.utf8 << ": " << text.problem;
        EXPECT_EQ(text.bytes, c.bytes);
        EXPECT_EQ(fromWindows1252(c.bytes), c.utf8);
    }
}

TEST(Windows1252Test, RefusesWhatItCannotHoldAndBadUtf8) {
    const struct {
        const char* utf8;
        const char* problem;
    } cases[] = {
        {"Bild \xE4\xB8\xAD",
         "the character \"\xE4\xB8\xAD\" (U+4E2D) has no place in Windows-1252"},
        {"\xF0\x9F\x98\x80", "(U+1F600) has no place"},
        {"\xC2\x80", "(U+0080) has no place"},  // its byte is taken by the euro sign
        {"a\x80", "not valid UTF-8"},
        {"\xC3", "not valid UTF-8"},              // cut short
        {"\xC0\xAF", "not valid UTF-8"},          // overlong
        {"\xED\xA0\x80", "not valid UTF-8"},      // surrogate
        {"\xF4\x90\x80\x80", "not valid UTF-8"},  // beyond U+10FFFF
        {"\xE2\x82", "not valid UTF-8"},
    };
    for (const auto& c : cases) {
        const Windows1252Text text = toWindows1252(c.utf8);
        EXPECT_FALSE(text) << c.utf8;
        EXPECT_NE(text.problem.find(c.problem), std::string::npos) << text.problem;
    }
}

TEST(Windows1252Test, PrintableAndReplacingTexts) {
    const struct {
        const char* text;
        const char* printable;
        const char* replaced;  // as Windows-1252 bytes
    } cases[] = {
        {"a\nb\t\x1B]\x7F\\", "a\\nb\\t\\x1b]\\x7f\\", "a\nb\t\x1B]\x7F\\"},
        {"\xC2\x9B\xC2\x81", "\\x9b\\x81", "_\x81"},  // C1 controls; U+009B has no byte
        {"caf\xE9 \xE6\x97\xA5\xE2\x82\xAC", "caf\\xe9 \xE6\x97\xA5\xE2\x82\xAC", "caf_ _\x80"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printableText(c.text), c.printable);
        EXPECT_EQ(toWindows1252Replacing(c.text, '_'), c.replaced) << c.text;
    }
}

}  // namespace
}  // namespace stipple
