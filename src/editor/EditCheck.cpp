#include "editor/EditCheck.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace stipple {

namespace {

using namespace changed;

void defaultHandler(const std::string& parts) {
    std::fprintf(stderr, "an edit changed %s without announcing it\n", parts.c_str());
    std::abort();
}

EditFaultHandler handler = defaultHandler;

bool sameCells(const Picture& a, const Picture& b) {
    return a.fileVersion == b.fileVersion && std::memcmp(a.pixels, b.pixels, sizeof a.pixels) == 0;
}

bool sameView(const ViewSettings& a, const ViewSettings& b) {
    return a.pixelSize == b.pixelSize && a.gridsOn == b.gridsOn && a.borderOn == b.borderOn &&
           a.onionSkin == b.onionSkin && a.viewWidth == b.viewWidth &&
           a.viewHeight == b.viewHeight && a.roomWidth == b.roomWidth &&
           a.roomHeight == b.roomHeight && a.scrollX == b.scrollX && a.scrollY == b.scrollY;
}

bool sameFrame(const Selection& a, const Selection& b) {
    return a.selX1 == b.selX1 && a.selY1 == b.selY1 && a.selX2 == b.selX2 && a.selY2 == b.selY2 &&
           a.boxLeft == b.boxLeft && a.boxTop == b.boxTop && a.boxRight == b.boxRight &&
           a.boxBottom == b.boxBottom && a.frameShown == b.frameShown;
}

bool sameBuffer(const Selection& a, const Selection& b) {
    return a.selWidth == b.selWidth && a.selHeight == b.selHeight &&
           a.bufferFilled == b.bufferFilled &&
           std::memcmp(a.selBuffer, b.selBuffer, sizeof a.selBuffer) == 0;
}

}  // namespace

std::string unannouncedChanges(const SessionState& before, const SessionState& after,
                               unsigned announced) {
    std::string parts;
    const auto check = [&](bool same, unsigned bits, const char* part) {
        if (!same && (announced & bits) == 0) {
            parts += parts.empty() ? part : std::string(" ") + part;
        }
    };
    const Document& d0 = before.document;
    const Document& d1 = after.document;
    const bool sameFrames = d0.frames.size() == d1.frames.size() && d0.current == d1.current &&
                            d0.setName == d1.setName && d0.frameRate == d1.frameRate &&
                            d0.font == d1.font;
    check(sameFrames, kFrames, "frames");
    if (sameFrames) {
        bool cells = true, sizes = true, names = true, glyphs = true;
        for (std::size_t i = 0; i < d0.frames.size(); ++i) {
            const Frame& f0 = d0.frames[i];
            const Frame& f1 = d1.frames[i];
            cells = cells && sameCells(f0.picture, f1.picture);
            sizes = sizes && f0.picture.width == f1.picture.width &&
                    f0.picture.height == f1.picture.height;
            names = names && f0.name == f1.name;
            glyphs = glyphs && f0.glyph == f1.glyph;
        }
        // A glyph's code point and metrics belong with the set's own values.
        check(glyphs, kFrames, "glyph");
        check(cells, kCells, "cells");
        check(sizes, kSize, "size");
        check(names, kName, "name");
    }
    check(d0.file == d1.file, kFile, "file");
    check(sameFrame(before.selection, after.selection), kSelection | kBox, "selection");
    check(sameBuffer(before.selection, after.selection), kBox | kBuffer, "buffer");
    check(sameView(before.view, after.view), kView, "view");
    check(before.tool == after.tool && before.boxMode == after.boxMode &&
              before.joinStrokes == after.joinStrokes,
          kTool, "tool");
    check(before.leftColour == after.leftColour && before.rightColour == after.rightColour,
          kColours, "colours");
    check(before.alignToByte == after.alignToByte, kExport, "export");
    check(before.leftDown == after.leftDown && before.rightDown == after.rightDown &&
              before.boxDragging == after.boxDragging && before.lastPenX == after.lastPenX &&
              before.lastPenY == after.lastPenY && before.strokeX == after.strokeX &&
              before.strokeY == after.strokeY,
          kDrag, "mouse");
    return parts;
}

EditFaultHandler setEditFaultHandler(EditFaultHandler next) {
    const EditFaultHandler previous = handler;
    handler = next != nullptr ? next : defaultHandler;
    return previous;
}

void reportEditFault(const std::string& parts) {
    handler(parts);
}

}  // namespace stipple
