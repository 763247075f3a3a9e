#include "editor/GlyphText.h"

#include <charconv>
#include <cstdio>

#include "model/Document.h"

namespace stipple {

namespace {

std::string utf8(int c) {
    const auto byte = [](int b) { return static_cast<char>(b); };
    if (c < 0x80) {
        return {byte(c)};
    }
    if (c < 0x800) {
        return {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    }
    if (c < 0x10000) {
        return {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    }
    return {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
            byte(0x80 | (c & 0x3F))};
}

// Controls, spaces, format characters, surrogates and noncharacters leave no mark of their
// own, or none a caption can show.
bool leavesAMark(int c) {
    return !(c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || (c >= 0x2000 && c <= 0x200F) ||
             (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 ||
             (c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF || (c & 0xFFFE) == 0xFFFE ||
             c > kMaxCodePoint);
}

}  // namespace

std::string codePointText(int codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

std::string glyphCaption(int codePoint) {
    if (codePoint > 0x20 && codePoint < 0x7F) {
        return utf8(codePoint);
    }
    std::string caption = codePointText(codePoint);
    if (leavesAMark(codePoint)) {
        caption += ' ' + utf8(codePoint);
    }
    return caption;
}

std::optional<int> parseCodePoint(std::string_view typed) {
    while (!typed.empty() && typed.front() == ' ') {
        typed.remove_prefix(1);
    }
    while (!typed.empty() && typed.back() == ' ') {
        typed.remove_suffix(1);
    }
    int base = 10;
    if (typed.size() > 2 && typed[0] == '0' && (typed[1] == 'x' || typed[1] == 'X')) {
        base = 16;
    } else if (typed.size() > 2 && (typed[0] == 'U' || typed[0] == 'u') && typed[1] == '+') {
        base = 16;
    }
    if (base == 16) {
        typed.remove_prefix(2);
    }
    int value = 0;
    const char* end = typed.data() + typed.size();
    const auto [stop, error] = std::from_chars(typed.data(), end, value, base);
    if (typed.empty() || error != std::errc{} || stop != end || value < 0 ||
        value > kMaxCodePoint) {
        return std::nullopt;
    }
    return value;
}

}  // namespace stipple
