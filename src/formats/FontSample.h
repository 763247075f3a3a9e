#pragma once
// A line of text drawn with a font set, as a display library draws it: each character's
// glyph placed at the pen by its offsets, the pen moving on by the glyph's advance.

#include <string_view>
#include <vector>

#include "model/Document.h"

namespace stipple {

struct SampleLine {
    int width = 0;     // cells across; at least 1
    int height = 0;    // cells down; at least 1
    int baseline = 0;  // the row (0-based) of the baseline: the row just below the ascent
    int penX = 0;      // the column (0-based) where the pen starts
    // width x height values, row by row; kTransparent where no glyph has a cell. A later
    // glyph's cells cover an earlier one's, except for its transparent ones.
    std::vector<Pixel> cells;
    Pixel at(int x, int y) const { return cells[static_cast<std::size_t>(y * width + x)]; }
};

// `text` (UTF-8; a byte that is not UTF-8 counts as the Latin-1 character of its value)
// drawn with `font`'s glyphs; a character without a glyph is left out. The line is as tall
// as the font's ascent and descent, grown to take in every glyph drawn, and as wide as the
// pen's travel and every glyph's cells. A set that is no font draws nothing.
// At most kMaxSampleCharacters characters are drawn.
constexpr int kMaxSampleCharacters = 256;
SampleLine drawSampleLine(const Document& font, std::string_view text);

}  // namespace stipple
