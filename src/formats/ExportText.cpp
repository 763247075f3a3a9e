#include "formats/ExportText.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "formats/Packer.h"

namespace stipple {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kAuthorComment = "/*Created by VexlanImageMaker */";
constexpr const char* kDirective = ".byte ";
constexpr const char* kSizeComment = "  /* Image size*/";
constexpr int kBytesPerLine = 25;

const char* formatComment(int depth) {
    switch (depth) {
        case 1:
            return "/* format 1 bit per pixel */";
        case 2:
            return "/* format 2 bits per pixel */";
        case 4:
            return "/* format 4 bits per pixel */";
        default:
            return "/* format 8 bits per pixel */";
    }
}

// Appends the value in decimal without making a string of it first.
void appendNumber(std::string& text, long value) {
    if (value >= 0 && value <= 9) {
        text += static_cast<char>('0' + value);
        return;
    }
    char digits[24];
    const auto [end, problem] = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, end);
}

// The decimal digits of every byte value, so that packed bytes are written by lookup.
struct ByteDigits {
    char text[256][4];
    unsigned char length[256];
    constexpr ByteDigits() : text(), length() {
        for (int v = 0; v < 256; ++v) {
            int n = 0;
            if (v >= 100) {
                text[v][n++] = static_cast<char>('0' + v / 100);
            }
            if (v >= 10) {
                text[v][n++] = static_cast<char>('0' + v / 10 % 10);
            }
            text[v][n++] = static_cast<char>('0' + v % 10);
            length[v] = static_cast<unsigned char>(n);
        }
    }
};
constexpr ByteDigits kByteDigits;

// Pixel values comma-separated, one row of the view.
void appendRow(std::string& text, const PixelView& source, int y) {
    for (int x = 1; x <= source.width(); ++x) {
        if (x > 1) {
            text += ',';
        }
        appendNumber(text, source.at(x, y));
    }
}

void appendSizeLine(std::string& text, const PixelView& source) {
    text += kDirective;
    text += std::to_string(source.width());
    text += ',';
    text += std::to_string(source.height());
    text += kSizeComment;
}

// One ".byte" line per row, each on a line of its own after the size line.
void appendRowsAsBytes(std::string& text, const PixelView& source) {
    for (int y = 1; y <= source.height(); ++y) {
        text += kLineEnd;
        text += kDirective;
        appendRow(text, source, y);
    }
    text += kLineEnd;
}

void appendCppArray(std::string& text, std::string_view name, const PixelView& source) {
    text += kAuthorComment;
    text += kLineEnd;
    text += name;
    text += '[' + std::to_string(source.width()) + "][" + std::to_string(source.height()) + "]={";
    text += kLineEnd;
    for (int y = 1; y <= source.height(); ++y) {
        text += '{';
        appendRow(text, source, y);
        text += '}';
        text += kLineEnd;
    }
    text += '}';
}

// Packed bytes 25 to a line; the last line holds the rest, never nothing.
void appendPackedBytes(std::string& text, const std::uint8_t* store, int count) {
    text += kLineEnd;
    text += kDirective;
    int onLine = 0;
    for (int i = 1; i <= count; ++i) {
        text.append(kByteDigits.text[store[i]], kByteDigits.length[store[i]]);
        if (i == count) {
            break;
        }
        if (++onLine == kBytesPerLine) {
            text += kLineEnd;
            text += kDirective;
            onLine = 0;
        } else {
            text += ',';
        }
    }
    text += kLineEnd;
}

}  // namespace

std::string exportText(const PixelView& view, std::string_view name, ExportFormat format,
                       bool alignToByte) {
    std::string text;
    // Room for every value with its comma and for the lines around them.
    text.reserve(static_cast<std::size_t>(2 * view.width() * view.height() + 8 * view.height()) +
                 name.size() + 128);
    if (format == ExportFormat::CppArray) {
        appendCppArray(text, name, view);
        return text;
    }
    int depth = 0;
    switch (format) {
        case ExportFormat::Asm8:
            depth = 8;
            break;
        case ExportFormat::Asm1:
            depth = 1;
            break;
        case ExportFormat::Asm2:
            depth = 2;
            break;
        case ExportFormat::Asm4:
            depth = 4;
            break;
        default:
            return text;
    }

    text += formatComment(depth);
    text += kLineEnd;
    text += name;
    text += ": ";
    text += kLineEnd;
    appendSizeLine(text, view);
    if (depth == 8) {
        appendRowsAsBytes(text, view);
    } else {
        std::uint8_t store[packingStoreSize(4)];
        const int count = packRows(view, depth, alignToByte, store);
        appendPackedBytes(text, store, count);
    }
    return text;
}

std::string asm8FileBlock(const PixelView& view, std::string_view name) {
    std::string block;
    block.reserve(static_cast<std::size_t>(2 * view.width() * view.height() + 8 * view.height()) +
                  name.size() + 128);
    block += kAuthorComment;
    block += kLineEnd;
    block += name;
    block += ':';
    block += kLineEnd;
    appendSizeLine(block, view);
    appendRowsAsBytes(block, view);
    return block;
}

}  // namespace stipple
