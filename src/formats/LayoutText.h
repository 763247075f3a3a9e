#pragma once
// A picture's bytes in a device layout as the source text of an assembler or of C, or as
// the bytes alone, and the option words that name a layout.
//
// Every text but bin starts with one comment line that a reader can take apart:
//   stipple: name "NAME" WxH depth D levels B,G66,G33,W,T order lsb|msb
//            scan rows|pages|tiles align yes|no planes packed|separate|interleaved mask yes|no
// (one line, single spaces, inside the syntax's comment marker). In NAME a backslash and
// a double quote get a backslash before them, and "*/" is written "*\/".

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ByteLayout.h"
#include "model/PixelView.h"

namespace stipple {

// The last four are the syntaxes of the libraries that draw the bytes (see TargetText.h).
enum class Syntax { Gas, Ca65, Db, C, Bin, Xbm, AdafruitGfx, Arduboy, Python };
enum class Base { Dec, Hex, Bin };

std::optional<Syntax> syntaxNamed(std::string_view word);
std::optional<Base> baseNamed(std::string_view word);
// The bases' words, dec, hex and bin, in the order of Base.
std::span<const std::string_view> baseWords();

// The name as an identifier: A-Z, a-z, 0-9 and _ kept, anything else _, a _ before a
// leading digit, "sprite" for an empty name.
std::string identifierOf(std::string_view name);

// The layout in the words of the first comment line, from "depth" to the end.
std::string layoutWords(const ByteLayout& layout);
// The word of one part of the layout as layoutWords writes it, e.g. "3,2,1,0,0" for key
// "levels"; "" for a key that names no part.
std::string layoutWord(const ByteLayout& layout, std::string_view key);
// The words that "depth" (1, 2, 4, 8), "order", "scan" and "planes" take, in the order of
// their values; none for any other key.
std::vector<std::string_view> layoutWordChoices(std::string_view key);

// Sets one part of `layout` from an option word: key "depth" (1, 2, 4, 8), "levels" (five
// codes, black to transparent, e.g. "3,2,1,0,0"), "order" (lsb, msb), "scan" (rows, pages,
// tiles), "align" (yes, no), "planes" (packed, separate, interleaved) or "mask" (yes, no).
// Returns why the word was refused, or "".
std::string setLayoutWord(ByteLayout& layout, std::string_view key, std::string_view word);

// The text; for bin, the bytes themselves. Lines end in LF. With `preview`, comment lines
// draw the codes the device gets, one character per cell, after a line that names the
// character of each code the levels use: at 1 and 2 bits from . for 0 to # for the highest
// (. # and . - + #), at 4 bits the code's hex digit, at 8 bits the letters a to e for the
// codes in rising order; ? for a cell that holds no value.
std::string layoutText(const PixelView& view, const std::string& name, const ByteLayout& layout,
                       Syntax syntax, Base base, bool preview);

// True when the text starts with the first comment line of a layout text.
bool isLayoutText(std::string_view text);

// What a layout text holds, or why it could not be read ("line 3: ...").
struct LayoutTextReading {
    std::string name;
    int width = 0;
    int height = 0;
    ByteLayout layout;
    std::vector<std::uint8_t> bytes;
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// Reads back what layoutText writes in any syntax but bin and in any base; the byte count
// must be the layout's and nothing but empty lines may follow the bytes.
LayoutTextReading readLayoutText(std::string_view text);

}  // namespace stipple
