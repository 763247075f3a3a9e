#include "editor/SelectionCommands.h"

#include <algorithm>
#include <string>

#include "editor/Messages.h"

namespace stipple {

bool boxFitsAPicture(Session& s, const char* action) {
    if (s.selection.fitsAPicture()) {
        return true;
    }
    s.host().showMessage("The box is " + std::to_string(s.selection.selHeight) +
                             " rows high; a picture can be at most " +
                             std::to_string(kMaxPictureHeight) +
                             " rows high. Turn the box back before " + action + ".",
                         kMessageCaption);
    return false;
}

void clearBox(Session& s) {
    Selection& sel = s.selection;
    if (!sel.bufferFilled) {
        return;
    }
    s.takeUndoSnapshot();
    sel.boxFromCorners();
    const int right = std::min(sel.boxRight, kMaxPictureWidth);
    const int bottom = std::min(sel.boxBottom, kMaxPictureHeight);
    for (int x = std::max(sel.boxLeft, 1); x <= right; ++x) {
        for (int y = std::max(sel.boxTop, 1); y <= bottom; ++y) {
            s.picture.pixels[x][y] = s.rightColour;
        }
    }
    s.redrawSurface();
}

void cropToSelection(Session& s) {
    Selection& sel = s.selection;
    if (!sel.bufferFilled || !boxFitsAPicture(s, "cutting it off")) {
        return;
    }
    s.takeUndoSnapshot();
    s.picture.width = sel.selWidth;
    s.picture.height = sel.selHeight;
    for (int x = 1; x <= sel.selWidth; ++x) {
        for (int y = 1; y <= sel.selHeight; ++y) {
            s.picture.pixels[x][y] = sel.selBuffer[x][y];
        }
    }
    sel.selX1 = 0;
    sel.selY1 = 0;
    sel.selX2 = s.picture.width;
    sel.selY2 = s.picture.height;
    s.redrawSurface();
}

void rotateLeft(Session& s) {
    s.selection.rotateLeft();
}

void rotateRight(Session& s) {
    s.selection.rotateRight();
}

void flipHorizontally(Session& s) {
    s.selection.flipHorizontally();
}

void flipVertically(Session& s) {
    s.selection.flipVertically();
}

}  // namespace stipple
