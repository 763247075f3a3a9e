#pragma once
// The export texts: assembler ".byte" lines at 8, 1, 2 or 4 bits per pixel and the C++
// array, of any view of pixels under a name, and the file form that Save writes. Every
// line ends in CR LF; the name goes in as given.

#include <string>
#include <string_view>

#include "model/PixelView.h"

namespace stipple {

// The numbers are the formats' codes where a stored or exchanged form names them. After the
// five texts come the file form and the device syntaxes (see ExportFormats.h).
enum class ExportFormat {
    Asm8 = 1,
    CppArray = 2,
    Asm1 = 3,
    Asm2 = 4,
    Asm4 = 5,
    FileForm,
    Gas,
    Ca65,
    Db,
    C,
    Bin,
    Xbm,
    AdafruitGfx,
    Arduboy,
    Python,
};

// The text of one of the five formats; any other value gives "".
std::string exportText(const PixelView& view, std::string_view name, ExportFormat format,
                       bool alignToByte);

// The block that Save writes and Save to end appends: the author comment, "name:", the
// size line and one ".byte" line per row.
std::string asm8FileBlock(const PixelView& view, std::string_view name);

}  // namespace stipple
