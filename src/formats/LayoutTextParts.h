#pragma once
// What the writers and the reader of the layout texts share: each syntax's notation, the lines
// around the bytes, and the tables of layout words. For LayoutText*.cpp and FramesExport.cpp.

#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/LayoutText.h"

namespace stipple::layout_text {

struct Notation {
    std::string_view commentOpen;
    std::string_view commentClose;
    std::string_view hexPrefix;
    std::string_view binPrefix;
};

inline Notation notationOf(Syntax syntax) {
    switch (syntax) {
        case Syntax::Ca65:
        case Syntax::Db:
            return {"; ", "", "$", "%"};
        case Syntax::Python:
            return {"# ", "", "0x", "0b"};
        default:
            return {"/* ", " */", "0x", "0b"};
    }
}

// Appends the byte in the base's notation.
inline void appendNumber(std::string& text, std::uint8_t byte, Base base,
                         const Notation& notation) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    switch (base) {
        case Base::Hex:
            text += notation.hexPrefix;
            text += kDigits[byte >> 4];
            text += kDigits[byte & 15];
            return;
        case Base::Bin:
            text += notation.binPrefix;
            for (int bit = 7; bit >= 0; --bit) {
                text += (byte >> bit & 1) != 0 ? '1' : '0';
            }
            return;
        default:
            if (byte >= 100) {
                text += static_cast<char>('0' + byte / 100);
            }
            if (byte >= 10) {
                text += static_cast<char>('0' + byte / 10 % 10);
            }
            text += static_cast<char>('0' + byte % 10);
    }
}

inline std::string quotedName(std::string_view name) {
    std::string text = "\"";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '\\' || c == '"' || (c == '/' && i > 0 && name[i - 1] == '*')) {
            text += '\\';
        }
        text += c;
    }
    return text + "\"";
}

inline std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

template <typename T, std::size_t N>
std::optional<T> lookUp(const std::array<std::pair<std::string_view, T>, N>& table,
                        std::string_view word) {
    for (const auto& [name, value] : table) {
        if (name == word) {
            return value;
        }
    }
    return std::nullopt;
}

template <typename T, std::size_t N>
std::string_view wordOf(const std::array<std::pair<std::string_view, T>, N>& table, T value) {
    for (const auto& [name, entry] : table) {
        if (entry == value) {
            return name;
        }
    }
    return "";
}

constexpr std::array<std::pair<std::string_view, BitOrder>, 2> kOrders{
    {{"lsb", BitOrder::Lsb}, {"msb", BitOrder::Msb}}};
constexpr std::array<std::pair<std::string_view, Scan>, 3> kScans{
    {{"rows", Scan::Rows}, {"pages", Scan::Pages}, {"tiles", Scan::Tiles}}};
constexpr std::array<std::pair<std::string_view, Planes>, 3> kPlanes{
    {{"packed", Planes::Packed},
     {"separate", Planes::Separate},
     {"interleaved", Planes::Interleaved}}};
constexpr std::array<std::pair<std::string_view, bool>, 2> kYesNo{{{"yes", true}, {"no", false}}};
constexpr std::array<std::pair<std::string_view, Base>, 3> kBases{
    {{"dec", Base::Dec}, {"hex", Base::Hex}, {"bin", Base::Bin}}};

// The parts of a layout in the order of the first comment line.
constexpr std::string_view kLayoutKeys[] = {"depth", "levels", "order", "scan",
                                            "align", "planes", "mask"};

// A whole number 0..max in digits of `radix` (at most 16), or -1.
inline int numberIn(std::string_view text, int max, int radix = 10) {
    if (text.empty() || text.size() > 8) {
        return -1;
    }
    int value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : radix;
        if (digit >= radix) {
            return -1;
        }
        value = value * radix + digit;
    }
    return value <= max ? value : -1;
}

// A whole decimal number 0..255, or -1.
inline int codeIn(std::string_view text) {
    return numberIn(text, 255);
}

// The lines around the bytes: those before them, how each line of bytes starts and ends, and
// the line after them ("" for none).
struct Frame {
    std::vector<std::string> head;
    std::string_view linePrefix;
    std::string_view lineEnd;
    std::string_view tail;
};

// The line that defines a constant in the syntax.
inline std::string constantLine(Syntax syntax, const std::string& constant,
                                const std::string& value) {
    switch (syntax) {
        case Syntax::Gas:
            return ".set " + constant + ", " + value;
        case Syntax::Ca65:
            return constant + " = " + value;
        case Syntax::Db:
            return constant + " EQU " + value;
        default:
            return "#define " + constant + " " + value;
    }
}

inline Frame frameOf(Syntax syntax, const std::string& name, int width, int height,
                     std::size_t count) {
    const std::string label = identifierOf(name);
    const std::string constant = upper(label);
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    const std::string widthLine = constantLine(syntax, constant + "_WIDTH", w);
    const std::string heightLine = constantLine(syntax, constant + "_HEIGHT", h);
    if (syntax != Syntax::C) {
        return {
            {widthLine, heightLine, label + ":"}, syntax == Syntax::Db ? "db " : ".byte ", "", ""};
    }
    return {{"#include <stdint.h>", "", widthLine, heightLine, "",
             "const uint8_t " + label + "[" + std::to_string(count) + "] = {"},
            "    ",
            ",",
            "};"};
}

// Bytes a line of bytes holds: binary numbers are long, fewer of them make a line.
inline std::size_t bytesPerLine(Base base) {
    return base == Base::Bin ? 8 : 16;
}

// A comment line of the syntax around `inside`, with its line end.
std::string commentLine(const Notation& notation, std::string_view inside);

// The preview's first line, which names the character of each code the layout uses.
void appendPreviewLegend(std::string& text, const ByteLayout& layout, const Notation& notation);
// A comment line per row of cells, each character the code of its cell, after `indent`.
void appendPreviewRows(std::string& text, const PixelView& view, const ByteLayout& layout,
                       const Notation& notation, std::string_view indent);

// The bytes in lines of bytesPerLine, each line "prefix" + numbers + "end".
void appendByteLines(std::string& text, std::span<const std::uint8_t> bytes,
                     std::string_view linePrefix, std::string_view lineEnd, Base base,
                     const Notation& notation);

// The table NAME_offsets of a set's frames in the syntax (C's form for the C-like ones): its
// comment, then the words, 16-bit while the last offset is below 65,536, else 32-bit.
// `count` says how many words there are (default: NAME_FRAMES + 1), `each` what starts
// at each offset (default: a frame).
void appendTable(std::string& text, Syntax syntax, const std::string& label,
                 const std::string& constant, const std::vector<std::size_t>& offsets, Base base,
                 const Notation& notation, const std::string& count = {},
                 std::string_view each = "frame");

constexpr std::string_view kHeadTag = "stipple: ";
// After the tag, the text of a set's frames says "set" where a picture's says "name".
constexpr std::string_view kSetWord = "set ";
// The first comment line of a preview.
constexpr std::string_view kPreviewTag = "preview: one character per code: ";

}  // namespace stipple::layout_text
