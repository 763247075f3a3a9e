#pragma once
// Reading back the 8-bit assembler texts the program writes: the file form of Save and
// Save to end, and the ASM 8bpp clipboard text. Both hold every pixel value and the name,
// so a picture comes back from them exactly.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/Pixel.h"

namespace stipple {

// The longest text that is read back, in bytes (1 MiB): the text of the largest picture
// under the longest name is far shorter, so a longer input is refused unread.
constexpr std::size_t kMaxAsm8TextBytes = 1024 * 1024;

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
