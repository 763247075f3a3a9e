#include "formats/Windows1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace stipple {

namespace {

// Characters of the bytes 0x80..0x9F; the undefined ones map to the C1 control of the
// same number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t characterOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

// The byte of a character, or -1 when Windows-1252 has none.
int byteOfCharacter(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // Every character of Windows-1252 lies in the basic plane.
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string codePointName(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

void appendByteEscape(std::string& out, unsigned char byte) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

}  // namespace

bool nextUtf8Character(std::string_view text, std::size_t& pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int follow = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        follow = 1;
        minimum = 0x80;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        follow = 2;
        minimum = 0x800;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        follow = 3;
        minimum = 0x10000;
        c = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - pos <= static_cast<std::size_t>(follow)) {
        return false;
    }
    for (int i = 1; i <= follow; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if ((byte & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return false;
    }
    pos += follow + 1;
    return true;
}

Windows1252Text toWindows1252(std::string_view utf8) {
    Windows1252Text result;
    result.bytes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t c = 0;
        if (!nextUtf8Character(utf8, pos, c)) {
            result.problem = "it is not valid UTF-8 text";
            return result;
        }
        const int byte = byteOfCharacter(c);
        if (byte < 0) {
            result.problem = "the character \"" + std::string(utf8.substr(start, pos - start)) +
                             "\" (" + codePointName(c) + ") has no place in Windows-1252";
            return result;
        }
        result.bytes += static_cast<char>(byte);
    }
    return result;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        appendUtf8(utf8, characterOfByte(static_cast<unsigned char>(byte)));
    }
    return utf8;
}

std::string toWindows1252Replacing(std::string_view utf8, char replacement) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        if (!nextUtf8Character(utf8, pos, c)) {
            ++pos;  // one byte at a time, so that what follows is read again
            bytes += replacement;
            continue;
        }
        const int byte = byteOfCharacter(c);
        bytes += byte < 0 ? replacement : static_cast<char>(byte);
    }
    return bytes;
}

bool isFormatCharacter(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C || (c >= 0x200B && c <= 0x200D) || c == 0xFEFF ||
           c == 0x2028 || c == 0x2029;
}

std::string printableText(std::string_view text) {
    // Most texts need nothing.
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        return std::string(text);
    }
    std::string shown;
    shown.reserve(text.size() + 8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t c = 0;
        if (!nextUtf8Character(text, pos, c)) {
            appendByteEscape(shown, static_cast<unsigned char>(text[pos++]));
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            appendByteEscape(shown, static_cast<unsigned char>(c));
        } else if (isFormatCharacter(c)) {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "\\u{%04X}", static_cast<unsigned>(c));
            shown += escaped;
        } else {
            shown.append(text.substr(start, pos - start));
        }
    }
    return shown;
}

}  // namespace stipple
