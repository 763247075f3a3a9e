#include "formats/ExportText.h"

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
        for (int x = 1; x <= source.width(); ++x) {
            if (x > 1) {
                text += ',';
            }
            text += std::to_string(source.at(x, y));
        }
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
        for (int x = 1; x <= source.width(); ++x) {
            if (x > 1) {
                text += ',';
            }
            text += std::to_string(source.at(x, y));
        }
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
        text += std::to_string(store[i]);
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
