#pragma once
// Reading back the 8-bit assembler texts the program writes: the file form of Save and
// Save to end, and the ASM 8bpp clipboard text. Both hold every pixel value and the name,
// so a picture comes back from them exactly.

#include <string>
#include <string_view>
#include <vector>

#include "model/Pixel.h"

namespace stipple {

struct Asm8Picture {
    std::string name;  // as written, UTF-8
    int width = 0;
    int height = 0;
    std::vector<Pixel> cells;  // row by row from the top, each row from the left
};

struct Asm8Reading {
    Asm8Picture picture;
    // Empty when the text is one whole block; otherwise where it went wrong and what was
    // expected there, e.g. "line 5: expected \".byte\" and 12 values from 0 to 4".
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// One block, lines ending in CR LF or LF; empty lines after it are allowed, nothing else.
Asm8Reading readAsm8Text(std::string_view text);

}  // namespace stipple
