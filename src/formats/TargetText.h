#pragma once
// The texts of the libraries that draw the bytes, in whatever layout is chosen:
//   xbm           an X BitMap: NAME_width, NAME_height and `static unsigned char NAME_bits[]`
//                 in hex, as X11 and the XBM readers take it (with the mask, NAME_mask_bits);
//   adafruit-gfx  C for a drawBitmap call that compiles for an AVR (PROGMEM) and elsewhere:
//                 NAME_WIDTH, NAME_HEIGHT, `const uint8_t NAME[] PROGMEM` (with the mask, a
//                 second array NAME_mask);
//   arduboy       the same C with a sprite library's form: the width and height bytes, then
//                 the frames; with the mask, each image byte followed by its mask byte;
//   python        NAME_WIDTH, NAME_HEIGHT and `NAME = (b'...')` for MicroPython and
//                 CircuitPython, the framebuf format named where one matches the layout.
// Each starts with the first comment line of the layout texts (or of a set's) and a comment
// that names the call drawing it. A set writes one array of its frames, each under its
// comment, with NAME_FRAMES, the size constants where the frames share their size, and the
// table NAME_offsets as the other syntaxes do.

#include <span>
#include <string>
#include <string_view>

#include "formats/FramesExport.h"

namespace stipple {

bool isLibrarySyntax(Syntax syntax);

// One picture's text.
std::string libraryText(Syntax syntax, const PixelView& view, std::string_view name,
                        const ExportSettings& settings);

// A set's frames under the set's name, with each frame's part and the offsets.
FramesText libraryFramesText(Syntax syntax, std::span<const NamedView> frames,
                             std::string_view setName, const ExportSettings& settings);

// The bytes of the image without its mask.
std::size_t imageByteCount(int width, int height, const ByteLayout& layout);

// The order of an image's bytes followed by as many mask bytes, as the arduboy text writes
// them: each image byte, then its mask byte. Anything else stays in its order.
template <typename T>
std::vector<T> pairedWithMask(std::vector<T> imageThenMask, std::size_t imageCount) {
    if (imageCount * 2 != imageThenMask.size()) {
        return imageThenMask;
    }
    std::vector<T> paired;
    paired.reserve(imageThenMask.size());
    for (std::size_t i = 0; i < imageCount; ++i) {
        paired.push_back(std::move(imageThenMask[i]));
        paired.push_back(std::move(imageThenMask[imageCount + i]));
    }
    return paired;
}

}  // namespace stipple
