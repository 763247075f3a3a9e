#pragma once
// A font set as the C source of the GFX font structs that display libraries draw text
// with: one bit stream of all glyphs, a glyph table and the font record, in program memory
// on an AVR.

#include <string>
#include <string_view>

#include "model/Document.h"

namespace stipple {

struct FontText {
    std::string text;
    std::string problem;  // why the font cannot be written so, as one sentence; else empty
    explicit operator bool() const { return problem.empty(); }
};

// The text of `font` (a font set) with its arrays NAMEBitmaps and NAMEGlyphs and its
// record NAME, NAME as identifierOf makes it. Each glyph is cut to its set bits (black and
// 66 % gray); a glyph without any is 0 x 0. The table runs from the lowest code point to
// the highest, a code point without a glyph 0 x 0 with no advance. Refuses what the
// structs cannot hold: code points beyond 65535, more than 4096 of them, an advance or line
// height beyond 0..255, an offset beyond -128..127, more than 65535 bitmap bytes.
FontText gfxFontText(const Document& font, std::string_view name);

}  // namespace stipple
