#pragma once
// The export of all frames of a set. The editor's five texts and the file form write each
// frame's own text, one after the other, as repeated Save to end would. A device syntax
// writes one array of the frames' bytes, each frame's mask right after its image, with
// NAME_FRAMES, NAME_WIDTH, NAME_HEIGHT and NAME_FRAME_BYTES (the last three only when all
// frames share their size) and the table NAME_offsets: where each frame starts in the array
// and, last, the array's length, in 16-bit words while the array is shorter than 65,536
// bytes, else 32-bit; little-endian bytes in the assembler syntaxes. Its first line is
//   stipple: set "NAME" frames N depth D ... mask M
// (the layout words as a picture's text writes them), and a comment before each frame's
// bytes says: frame I: name "NAME" WxH. Bin gives the array's bytes alone.
//
// Of a font (every frame a glyph) a device syntax writes the glyphs in the order of their
// code points, even one glyph, with NAME_FIRST and NAME_LAST, the lowest and highest code
// point; NAME_offsets then has a word for each code point from the first to the last (one
// without a glyph starts where the next glyph does, so it takes no bytes) and the length,
// and NAME_advances gives each code point's advance (0 without a glyph), NAME_widths,
// NAME_heights, NAME_xoffsets and NAME_yoffsets its glyph's box where the glyphs' boxes
// differ in it (else NAME_WIDTH, NAME_HEIGHT, NAME_XOFFSET, NAME_YOFFSET), each as the
// smallest of unsigned bytes, signed bytes or signed 16-bit words that holds them. The
// library syntaxes write a font as any set.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/ExportFormats.h"
#include "model/Document.h"
#include "model/PixelView.h"

namespace stipple {

struct NamedView {
    PixelView view;
    std::string_view name;
    const Glyph* glyph = nullptr;  // of a font's glyph
};

// Where a part of a text starts and how many bytes it takes.
struct TextPart {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool operator==(const TextPart&) const = default;
};

struct FramesText {
    std::string text;  // for bin, the bytes
    // Each frame's part of the text: its own text for the editor's texts and the file form;
    // its comment and byte lines in a device syntax (its bytes in bin). Read as a text of its
    // own, a part gives that frame's numbers to valueSpans.
    std::vector<TextPart> parts;
    // Device syntaxes only: where each frame starts in the array, then the array's length.
    std::vector<std::size_t> offsets;
};

// The frames under the set's name. A set of one frame writes exactly that frame's own
// text, under its own name, as a single export of it does.
FramesText writeFrames(ExportFormat format, std::span<const NamedView> frames,
                       std::string_view setName, const ExportSettings& settings);

}  // namespace stipple
