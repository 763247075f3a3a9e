#pragma once
// How a glyph's character is written where the user reads or types it: the strip's captions,
// the code point fields and the messages about glyphs.

#include <optional>
#include <string>
#include <string_view>

namespace stipple {

// "U+0041": at least four upper-case hexadecimal digits.
std::string codePointText(int codePoint);
// What the strip shows under a glyph: a printable ASCII character alone ("A"); any other one
// as its code point, followed by the character where it shows as a mark of its own
// ("U+00E9 é"); a space or a control character as the code point alone ("U+0020"). UTF-8.
std::string glyphCaption(int codePoint);
// A code point as typed: decimal ("65"), or hexadecimal after "0x" or "U+" (any case);
// spaces around it are ignored. Nothing for anything else or beyond 0..0x10FFFF.
std::optional<int> parseCodePoint(std::string_view typed);

}  // namespace stipple
