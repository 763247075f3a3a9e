#pragma once
// A font set made from an outline font (TrueType, OpenType, Type 1: what FreeType reads)
// at one pixel size: every glyph of a range of code points rendered into a picture of its
// own, in black and white or in the four grays, each then drawn on like any frame.

#include <string>

#include "model/Document.h"

namespace stipple {

struct OutlineFontRequest {
    std::string file;    // the font file; when empty, `family` as fontconfig finds it
    std::string family;  // a family name or a fontconfig pattern ("DejaVu Sans Mono:bold")
    int pixelSize = 12;  // the em in pixels, kMinOutlinePixels..kMaxOutlinePixels
    int first = 32;      // the range of code points, both ends included
    int last = 126;
    int grays = 2;  // 2: black where a pixel is at least half covered; 4: the four grays
};

constexpr int kMinOutlinePixels = 4;
constexpr int kMaxOutlinePixels = 80;

struct OutlineFontResult {
    // A font set named after the family, style and size ("DejaVu Sans Mono Bold 12"): one
    // glyph for each code point of the range the font has, the first one current. Each
    // glyph's picture spans the font's line from its ascent to its descent (yOffset is the
    // ascent), grown to take in ink beyond them, and from the pen position or the ink's left
    // edge, whichever is further left, to the advance or the ink's right edge; uncovered
    // cells are transparent. Glyph names are the font's own, else uniXXXX.
    Document font;
    std::string file;  // the file rendered
    // Empty unless nothing was made; then one sentence, and nothing else is meaningful.
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// Renders the request with FreeType (light hinting, as small text on a screen looks best).
// Refuses a file FreeType cannot read, a family fontconfig finds no file for, a bitmap-only
// font without the size, a size or range out of bounds, a range over more glyphs than a set
// holds, and a size whose line or glyph would not fit a picture.
OutlineFontResult renderOutlineFont(const OutlineFontRequest& request);

}  // namespace stipple
