#pragma once
// Bitmap fonts in BDF 2.1, the text form X11's font tools compile: a font set's glyphs,
// each a box of bits with its code point, advance and offsets, and the font's ascent and
// descent among its properties.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/Document.h"

namespace stipple {

// The reader refuses a longer file unread; the writer's largest font is well below it.
constexpr std::size_t kMaxBdfBytes = 16 * 1024 * 1024;

struct BdfReading {
    Document font;  // a font set: glyphs in the file's order, the first one current
    // Empty unless the file is refused; then one line, "line N: ..." for a line that is
    // wrong, and nothing else is meaningful.
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// True when the bytes start as a BDF file does.
bool startsLikeBdf(std::string_view bytes);

// Reads a BDF 2.1 (or 2.2) file with LF or CR LF line ends. A set bit becomes black, every
// other cell transparent; a glyph of no pixels (BBX 0 0) becomes one transparent cell.
// The set's name is the FAMILY_NAME property (else the FONT name), the ascent and descent
// are FONT_ASCENT and FONT_DESCENT (else the bounding box's), and the line height is their
// sum. A glyph without a code point (ENCODING -1) is left out. Refuses a file longer than
// kMaxBdfBytes, more glyphs than a set holds, a glyph larger than a picture, a metric
// beyond kMaxFontMetric, a code point two glyphs share and every line it cannot read.
BdfReading parseBdf(std::string_view bytes);

// The BDF 2.1 text of a font set (document.font present, every frame a glyph), LF line
// ends: black and 66 % gray are set bits, the other values clear ones. Its FONT and
// FAMILY_NAME are `name` (default: the set's name; "Untitled" for an empty one), which
// must hold no line break.
std::string encodeBdf(const Document& font, std::optional<std::string_view> name = std::nullopt);

}  // namespace stipple
