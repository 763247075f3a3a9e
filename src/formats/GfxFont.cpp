#include "formats/GfxFont.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "formats/LayoutText.h"

namespace stipple {

namespace {

struct GfxGlyph {
    std::size_t bitmapOffset = 0;
    int width = 0, height = 0, xAdvance = 0, xOffset = 0, yOffset = 0;
};

// The glyph's set bits, cut to the box that holds them, appended to `bits` row by row, the
// first pixel in the highest bit and the glyph starting on a new byte.
GfxGlyph packGlyph(const Frame& frame, std::vector<std::uint8_t>& bits) {
    const PixelView cells = frame.picture.view();
    const Glyph& glyph = *frame.glyph;
    GfxGlyph out{bits.size(), 0, 0, glyph.advance, 0, 0};
    int left = cells.width() + 1, right = 0, top = cells.height() + 1, bottom = 0;
    for (int y = 1; y <= cells.height(); ++y) {
        for (int x = 1; x <= cells.width(); ++x) {
            if (cells.at(x, y) <= kGray66) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    if (right == 0) {
        return out;
    }
    out.width = right - left + 1;
    out.height = bottom - top + 1;
    out.xOffset = glyph.xOffset + left - 1;
    // Down from the baseline, as the structs count.
    out.yOffset = -(glyph.yOffset - (top - 1));
    int used = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x, ++used) {
            if (used % 8 == 0) {
                bits.push_back(0);
            }
            bits.back() |= cells.at(x, y) <= kGray66 ? 0x80 >> (used % 8) : 0;
        }
    }
    return out;
}

std::string number(long long value) {
    return std::to_string(value);
}

std::string outOfRange(const std::string& what, long long value, int low, int high) {
    return what + " is " + number(value) + "; a GFX font holds " + number(low) + " to " +
           number(high);
}

std::string glyphProblem(const Frame& frame, const GfxGlyph& g) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(frame.glyph->codePoint));
    const std::string of = std::string("The glyph ") + code + "'s ";
    if (g.xAdvance < 0 || g.xAdvance > 255) {
        return outOfRange(of + "advance", g.xAdvance, 0, 255);
    }
    for (const auto& [what, offset] : {std::pair("x offset", g.xOffset), {"y offset", g.yOffset}}) {
        if (offset < -128 || offset > 127) {
            return outOfRange(of + what, offset, -128, 127);
        }
    }
    return {};
}

void appendBytes(std::string& out, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", bytes[i]);
        out += (i % 12 == 0 ? "  " : " ") + std::string(hex) +
               (i + 1 < bytes.size() ? (i % 12 == 11 ? ",\n" : ",") : "\n");
    }
}

}  // namespace

FontText gfxFontText(const Document& font, std::string_view name) {
    FontText result;
    std::map<int, const Frame*> byCode;
    for (const Frame& frame : font.frames) {
        byCode.emplace(frame.glyph ? frame.glyph->codePoint : -1, &frame);
    }
    if (!font.font || byCode.empty() || byCode.begin()->first < 0) {
        result.problem = "It is not a font: a frame has no code point.";
        return result;
    }
    const int first = byCode.begin()->first, last = byCode.rbegin()->first;
    if (last > 0xFFFF) {
        result.problem = outOfRange("The highest code point", last, 0, 65535);
        return result;
    }
    if (last - first + 1 > kMaxFrames) {
        result.problem = outOfRange("The number of code points from the lowest to the highest",
                                    last - first + 1, 1, kMaxFrames);
        return result;
    }
    if (font.font->lineHeight < 0 || font.font->lineHeight > 255) {
        result.problem = outOfRange("The line height", font.font->lineHeight, 0, 255);
        return result;
    }
    std::vector<std::uint8_t> bits;
    std::vector<GfxGlyph> glyphs;
    for (int code = first; code <= last; ++code) {
        const auto found = byCode.find(code);
        if (found == byCode.end()) {
            glyphs.push_back({bits.size(), 0, 0, 0, 0, 0});
            continue;
        }
        glyphs.push_back(packGlyph(*found->second, bits));
        if (std::string problem = glyphProblem(*found->second, glyphs.back()); !problem.empty()) {
            result.problem = problem + ".";
            return result;
        }
    }
    if (bits.size() > 0xFFFF) {
        result.problem =
            outOfRange("Its bitmap bytes", static_cast<long long>(bits.size()), 0, 65535);
        return result;
    }
    const std::string id = identifierOf(name);
    std::string& out = result.text;
    out = "/* stipple: font \"" + id + "\" code points " + number(first) + " to " + number(last) +
          ", drawn with setFont(&" + id + ") */\n";
    // Program memory on an AVR; elsewhere the word means nothing.
    out +=
        "#ifdef __AVR__\n#include <avr/pgmspace.h>\n#else\n#ifndef PROGMEM\n"
        "#define PROGMEM\n#endif\n#endif\n#include <stdint.h>\n\n";
    out += "const uint8_t " + id + "Bitmaps[] PROGMEM = {\n";
    // C has no empty array: a font of spaces still has one byte.
    appendBytes(out, bits.empty() ? std::vector<std::uint8_t>{0} : bits);
    out += "};\n\nconst GFXglyph " + id + "Glyphs[] PROGMEM = {\n";
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const GfxGlyph& g = glyphs[i];
        char line[96];
        std::snprintf(line, sizeof line, "  { %5zu, %3d, %3d, %3d, %4d, %4d }%s /* 0x%02X */\n",
                      g.bitmapOffset, g.width, g.height, g.xAdvance, g.xOffset, g.yOffset,
                      i + 1 < glyphs.size() ? "," : " ",
                      static_cast<unsigned>(first) + static_cast<unsigned>(i));
        out += line;
    }
    out += "};\n\nconst GFXfont " + id + " PROGMEM = {\n  (uint8_t *)" + id +
           "Bitmaps,\n  (GFXglyph *)" + id + "Glyphs,\n  " + number(first) + ", " + number(last) +
           ", " + number(font.font->lineHeight) + "\n};\n";
    return result;
}

}  // namespace stipple
