#include "export/ExportText.h"

#include <algorithm>
#include <string>

#include "app/Editor.h"

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

void appendSizeLine(std::string& text, const PixelSource& source) {
    text += kDirective;
    text += std::to_string(source.width);
    text += ',';
    text += std::to_string(source.height);
    text += kSizeComment;
}

// One ".byte" line per row, each on a line of its own after the size line.
void appendRowsAsBytes(std::string& text, const PixelSource& source) {
    for (int y = 1; y <= source.height; ++y) {
        text += kLineEnd;
        text += kDirective;
        for (int x = 1; x <= source.width; ++x) {
            if (x > 1) {
                text += ',';
            }
            text += std::to_string(source.at(x, y));
        }
    }
    text += kLineEnd;
}

void appendCppArray(std::string& text, const std::string& name, const PixelSource& source) {
    text += kAuthorComment;
    text += kLineEnd;
    text += name;
    text += '[' + std::to_string(source.width) + "][" + std::to_string(source.height) + "]={";
    text += kLineEnd;
    for (int y = 1; y <= source.height; ++y) {
        text += '{';
        for (int x = 1; x <= source.width; ++x) {
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

PixelSource exportPixels(const PictureModel& model, ExportSource source) {
    PixelSource result;
    if (source == ExportSource::Picture) {
        result.width = std::clamp(model.pictureWidth, 0, kMaxPictureWidth);
        result.height = std::clamp(model.pictureHeight, 0, kMaxPictureHeight);
        result.picture = model.pixels;
    } else {
        result.width = std::clamp(model.selWidth, 0, kSelDim - 1);
        result.height = std::clamp(model.selHeight, 0, kSelDim - 1);
        result.box = model.selBuffer;
    }
    return result;
}

std::string Editor::buildExportText(ExportSource source, int formatCode, bool align) {
    const PixelSource pixelsOf = exportPixels(*this, source);
    const std::string name = host().pictureName();
    std::string text;

    if (formatCode == kFormatCppArray) {
        appendCppArray(text, name, pixelsOf);
        return text;
    }

    int depth = 0;
    const std::uint8_t* store = nullptr;
    switch (formatCode) {
        case kFormatAsm8:
            depth = 8;
            break;
        case kFormatAsm1:
            depth = 1;
            store = packed1;
            break;
        case kFormatAsm2:
            depth = 2;
            store = packed2;
            break;
        case kFormatAsm4:
            depth = 4;
            store = packed4;
            break;
        default:
            return text;
    }

    text += formatComment(depth);
    text += kLineEnd;
    text += name;
    text += ": ";
    text += kLineEnd;
    appendSizeLine(text, pixelsOf);
    if (depth == 8) {
        appendRowsAsBytes(text, pixelsOf);
    } else {
        packPixels(source, depth, align);
        appendPackedBytes(text, store, packedCount);
    }
    return text;
}

void Editor::writeAsm8Block(std::string& file) {
    const PixelSource picture = exportPixels(*this, ExportSource::Picture);
    file += kAuthorComment;
    file += kLineEnd;
    file += host().pictureName();
    file += ':';
    file += kLineEnd;
    appendSizeLine(file, picture);
    appendRowsAsBytes(file, picture);
}

}  // namespace stipple
