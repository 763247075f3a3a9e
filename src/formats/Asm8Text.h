#pragma once
// Reading back the editor's own texts: the file form of Save and Save to end and the ASM
// 8bpp clipboard text hold every pixel value and the name, so a picture comes back from
// them exactly; the C++ array does too; the packed 1, 2 and 4 bpp texts give each code's
// first value (see readLayoutBytes).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/Pixel.h"

namespace stipple {

// The longest text that is read back, in bytes (1 MiB): the text of the largest picture
// under the longest name is far shorter, so a longer input is refused unread.
constexpr std::size_t kMaxAsm8TextBytes = 1024 * 1024;

struct TextPicture {
    std::string name;  // as written, UTF-8
    int width = 0;
    int height = 0;
    std::vector<Pixel> cells;  // row by row from the top, each row from the left
};

struct TextReading {
    TextPicture picture;
    // Empty when the text is one whole block; otherwise where it went wrong and what was
    // expected there, e.g. "line 5: expected \".byte\" and 12 values from 0 to 4".
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// One block, lines ending in CR LF or LF; empty lines after it are allowed, nothing else.
TextReading readAsm8Text(std::string_view text);

// The C++ array text: the author comment, "NAME[W][H]={", a "{...}" line per row, "}".
TextReading readCppArrayText(std::string_view text);

// The ASM 1, 2 or 4 bpp text, its depth taken from its first line. Whether the rows were
// aligned to bytes follows from the number of bytes; where both counts are the same,
// `aligned` tells.
TextReading readPackedText(std::string_view text, bool aligned);

}  // namespace stipple
