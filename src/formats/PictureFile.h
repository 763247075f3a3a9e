#pragma once
// The picture file (.stw): 32-bit little-endian fields (version, name length, name bytes,
// width, height, then the cells row by row from the top, each row from the left), in
// which every byte 0x0A is stored as 0x0D 0x0A, the way a text-mode stream writes it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Pixel.h"
#include "model/PixelView.h"

namespace stipple {

// The longest name a picture file may hold, in bytes (as much as the name box takes).
constexpr int kMaxPictureNameLength = 32767;

// A picture file never needs more bytes than this, even with every byte expanded; the
// reader looks no further.
constexpr std::size_t kMaxPictureFileBytes =
    2 * (4 * 4 + kMaxPictureNameLength + 4 * kMaxPictureWidth * kMaxPictureHeight) + 2;

struct PictureFileContent {
    std::int32_t version = 1;
    std::string nameBytes;  // Windows-1252
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pixel> cells;  // row by row from the top, each row from the left
};

// Why the name (UTF-8) cannot go into an export text, as a sentence, or empty when it can:
// a line break (CR or LF) would end the name's line, and the text would not read back.
std::string exportableNameProblem(std::string_view utf8);

// The name as a picture file stores it, one Windows-1252 byte per character, or the message
// that says why it cannot be stored (a character Windows-1252 lacks, a zero character, a
// line break, too long).
struct StorableName {
    std::string bytes;
    std::string problem;
    explicit operator bool() const { return problem.empty(); }
};
StorableName storablePictureName(std::string_view utf8);

// The content of a file holding the view's cells under a stored name.
PictureFileContent pictureFileContent(std::int32_t version, std::string nameBytes,
                                      const PixelView& view);

// The file's bytes. Writes the fields as given; `cells` should hold width x height values.
std::string encodePictureFile(const PictureFileContent& content);

struct PictureFileReading {
    PictureFileContent content;  // nameBytes stop at the first zero byte
    // The file ended before all cells: `cells` holds those that were read. Such a file is
    // not loaded, or a later save would mix it with the picture before.
    bool cellsEndedEarly = false;
    // Empty unless the file is refused; then what is wrong with it, e.g. "the width is 97;
    // a picture is 1 to 96 pixels wide". Nothing else is then meaningful.
    std::string error;
    // A refused file that does not start like a picture file. A file starts like one when
    // it is not empty and its first bytes are those of version 1, 01 00 00 00, as far as it
    // goes, or when its header reads as a picture's up to the height (any version). Only
    // such a file is told what is wrong inside it; any other is told what it is.
    bool notPictureFile = false;
    // For such a file that an export format's reader takes as its own, that format as the
    // message names it; else empty.
    std::string exportedAs;
};

// Why a file read as `reading` cannot be loaded, as the sentence to tell the user with the
// file shown as `shownName`: refused, cut off before its last cell, not a picture file, or
// text that an export wrote. Empty when it loads.
std::string pictureFileRefusal(std::string_view shownName, const PictureFileReading& reading);

// Reads the file's bytes, never past their end. Refuses a file that ends inside its
// header, name, width or height, a negative or overlong name length, a width outside
// 1..96, a height outside 1..92 and a cell value outside 0..4. Bytes after the last cell
// and the version's value are ignored. Only a refused file that does not start like a
// picture file is offered to the export formats' readers.
PictureFileReading parsePictureFile(std::string_view fileBytes);
// The same into `reading`, whose room for cells is used again: for reading many files.
void parsePictureFile(std::string_view fileBytes, PictureFileReading& reading);

}  // namespace stipple
