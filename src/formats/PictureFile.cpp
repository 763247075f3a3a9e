#include "formats/PictureFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "formats/ExportFormats.h"
#include "formats/Windows1252.h"

namespace stipple {

namespace {

class ExpandingWriter {
  public:
    explicit ExpandingWriter(std::string& out) : out_(out) {}

    void byte(char b) {
        if (b == '\n') {
            out_ += '\r';
        }
        out_ += b;
    }
    void int32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            byte(static_cast<char>((bits >> shift) & 0xFF));
        }
    }

  private:
    std::string& out_;
};

// The field stream with the line-end expansion undone: 0x0D 0x0A reads as 0x0A, every
// other byte as itself. Runs without a 0x0D are copied whole.
std::string collapseLineEnds(std::string_view bytes) {
    std::string fields;
    fields.reserve(bytes.size());
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t cr = bytes.find('\r', from);
        if (cr == std::string_view::npos) {
            fields.append(bytes.substr(from));
            break;
        }
        fields.append(bytes.substr(from, cr - from));
        if (cr + 1 >= bytes.size() || bytes[cr + 1] != '\n') {
            fields += '\r';  // a lone 0x0D is a byte of its own
        }
        from = cr + 1;
    }
    return fields;
}

class FieldReader {
  public:
    explicit FieldReader(std::string_view fields) : fields_(fields) {}

    std::size_t remaining() const { return fields_.size() - pos_; }

    bool int32(std::int32_t& value) {
        if (remaining() < 4) {
            return false;
        }
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(fields_[pos_ + i]))
                    << (8 * i);
        }
        pos_ += 4;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    std::string_view bytes(std::size_t count) {
        const std::string_view taken = fields_.substr(pos_, count);
        pos_ += taken.size();
        return taken;
    }

  private:
    std::string_view fields_;
    std::size_t pos_ = 0;
};

constexpr std::string_view kEmptyFile = "it is empty";

// Marks the reading refused for `why`; nothing else of it is meaningful then. False, for
// a refusal inside the header.
bool refuse(PictureFileReading& reading, std::string why) {
    reading.error = std::move(why);
    return false;
}

}  // namespace

std::string encodePictureFile(const PictureFileContent& content) {
    std::string out;
    out.reserve(16 + content.nameBytes.size() + 4 * content.cells.size());
    ExpandingWriter write(out);
    write.int32(content.version);
    write.int32(static_cast<std::int32_t>(content.nameBytes.size()));
    for (const char b : content.nameBytes) {
        write.byte(b);
    }
    write.int32(content.width);
    write.int32(content.height);
    for (const Pixel cell : content.cells) {
        write.int32(cell);
    }
    return out;
}

PictureFileReading parsePictureFile(std::string_view fileBytes) {
    PictureFileReading reading;
    parsePictureFile(fileBytes, reading);
    return reading;
}

namespace {

// Reads the fields into `reading`, refusing it as parsePictureFile says. True when the
// header up to the height reads as a picture's.
bool readFields(FieldReader& read, PictureFileReading& reading) {
    PictureFileContent& picture = reading.content;

    std::int32_t nameLength = 0;
    if (!read.int32(picture.version) || !read.int32(nameLength)) {
        return refuse(reading, "the file ends inside its header");
    }
    if (nameLength < 0) {
        return refuse(reading, "the name length is negative (" + std::to_string(nameLength) + ")");
    }
    if (static_cast<std::size_t>(nameLength) > read.remaining()) {
        return refuse(reading, "the name is said to be " + std::to_string(nameLength) +
                                   " bytes long, but the file ends after " +
                                   std::to_string(read.remaining()) + " of them");
    }
    if (nameLength > kMaxPictureNameLength) {
        return refuse(reading, "the name is " + std::to_string(nameLength) +
                                   " bytes long; a picture name can have at most " +
                                   std::to_string(kMaxPictureNameLength) + " characters");
    }
    const std::string_view name = read.bytes(static_cast<std::size_t>(nameLength));
    picture.nameBytes = std::string(name.substr(0, name.find('\0')));

    if (!read.int32(picture.width) || !read.int32(picture.height)) {
        return refuse(reading, "the file ends before the picture's width and height");
    }
    if (picture.width < 1 || picture.width > kMaxPictureWidth) {
        return refuse(reading, "the width is " + std::to_string(picture.width) +
                                   "; a picture is 1 to " + std::to_string(kMaxPictureWidth) +
                                   " pixels wide");
    }
    if (picture.height < 1 || picture.height > kMaxPictureHeight) {
        return refuse(reading, "the height is " + std::to_string(picture.height) +
                                   "; a picture is 1 to " + std::to_string(kMaxPictureHeight) +
                                   " pixels high");
    }

    const int cellCount = picture.width * picture.height;
    const std::size_t cellsThere =
        std::min(static_cast<std::size_t>(cellCount), read.remaining() / 4);
    reading.cellsEndedEarly = cellsThere < static_cast<std::size_t>(cellCount);
    picture.cells.resize(cellsThere);
    if constexpr (std::endian::native == std::endian::little) {
        const std::string_view cells = read.bytes(4 * cellsThere);
        if (!cells.empty()) {
            std::memcpy(picture.cells.data(), cells.data(), cells.size());
        }
    } else {
        for (std::size_t i = 0; i < cellsThere; ++i) {
            read.int32(picture.cells[i]);
        }
    }
    for (std::size_t i = 0; i < cellsThere; ++i) {
        const Pixel cell = picture.cells[i];
        if (cell < kBlack || cell > kTransparent) {
            const int at = static_cast<int>(i);
            refuse(reading, "the pixel in column " + std::to_string(at % picture.width + 1) +
                                ", row " + std::to_string(at / picture.width + 1) +
                                " has the value " + std::to_string(cell) +
                                "; pixel values are 0 to 4");
            break;
        }
    }
    return true;
}

// The version every picture file is written with, as far as `fields` go.
bool startsWithVersionOne(std::string_view fields) {
    return !fields.empty() && std::string_view("\x01\0\0\0", 4).starts_with(fields.substr(0, 4));
}

// How a text of each family of export formats is named in the refusal.
std::string exportedFormatName(const ExportFormatRow& row) {
    switch (row.family) {
        case FormatFamily::ClipboardText:
            return std::string(row.label);
        case FormatFamily::FileForm:
            return "the picture block of Save to end";
        case FormatFamily::Device:
            break;
    }
    return "a device layout";  // the syntaxes share one reader
}

}  // namespace

void parsePictureFile(std::string_view fileBytes, PictureFileReading& reading) {
    // Most files hold no 0x0D at all and are read as they are.
    std::string collapsed;
    if (fileBytes.find('\r') != std::string_view::npos) {
        collapsed = collapseLineEnds(fileBytes);
    }
    const std::string_view fields = collapsed.empty() ? fileBytes : std::string_view(collapsed);
    FieldReader read(fields);
    reading.error.clear();
    reading.cellsEndedEarly = false;
    reading.notPictureFile = false;
    reading.exportedAs.clear();
    if (readFields(read, reading) || startsWithVersionOne(fields)) {
        return;
    }
    // Not a damaged picture file: perhaps a text that an export wrote.
    reading.notPictureFile = true;
    if (fields.empty()) {
        reading.error = kEmptyFile;
    } else if (const ExportFormatRow* row = exportFormatOf(fileBytes)) {
        reading.exportedAs = exportedFormatName(*row);
    }
}

namespace {

bool holdsLineBreak(std::string_view utf8) {
    return utf8.find_first_of("\r\n") != std::string_view::npos;
}

std::string lineBreakProblem(std::string_view utf8, std::string_view where) {
    return printableText("The name \"" + std::string(utf8) + "\" cannot " + std::string(where) +
                         ": it holds a line break.");
}

}  // namespace

std::string exportableNameProblem(std::string_view utf8) {
    return holdsLineBreak(utf8) ? lineBreakProblem(utf8, "go into a text") : std::string();
}

StorableName storablePictureName(std::string_view utf8) {
    StorableName result;
    const Windows1252Text converted = toWindows1252(utf8);
    if (!converted) {
        result.problem =
            printableText("The name \"" + std::string(utf8) +
                          "\" cannot be saved in a picture file: " + converted.problem + ".");
    } else if (converted.bytes.find('\0') != std::string::npos) {
        result.problem = "The name cannot be saved in a picture file: it holds a zero character.";
    } else if (holdsLineBreak(utf8)) {
        result.problem = lineBreakProblem(utf8, "be saved in a picture file");
    } else if (converted.bytes.size() > static_cast<std::size_t>(kMaxPictureNameLength)) {
        result.problem = "The name cannot be saved in a picture file: it is longer than " +
                         std::to_string(kMaxPictureNameLength) + " characters.";
    } else {
        result.bytes = converted.bytes;
    }
    return result;
}

std::string pictureFileRefusal(std::string_view shownName, const PictureFileReading& reading) {
    const std::string shown = printableText(shownName);
    if (!reading.exportedAs.empty()) {
        return "\"" + shown + "\" is text exported by this program (" + reading.exportedAs +
               "), not a picture file; stipple import makes a picture of it.";
    }
    if (reading.notPictureFile) {
        // Where a file that is no picture file went wrong tells nothing; that it is empty does.
        return "\"" + shown + "\" is not a picture file" +
               (reading.error == kEmptyFile ? ": " + reading.error : std::string()) + ".";
    }
    if (!reading.error.empty()) {
        return "Could not open \"" + shown + "\": " + reading.error + ".";
    }
    if (reading.cellsEndedEarly) {
        const PictureFileContent& file = reading.content;
        return "The picture file \"" + shown + "\" is cut off: it ends after " +
               std::to_string(file.cells.size()) + " of its " +
               std::to_string(file.width * file.height) + " pixels.";
    }
    return {};
}

PictureFileContent pictureFileContent(std::int32_t version, std::string nameBytes,
                                      const PixelView& view) {
    PictureFileContent content{version, std::move(nameBytes), view.width(), view.height(), {}};
    content.cells.reserve(static_cast<std::size_t>(view.width()) *
                          static_cast<std::size_t>(view.height()));
    for (int y = 1; y <= view.height(); ++y) {
        for (int x = 1; x <= view.width(); ++x) {
            content.cells.push_back(view.at(x, y));
        }
    }
    return content;
}

}  // namespace stipple
