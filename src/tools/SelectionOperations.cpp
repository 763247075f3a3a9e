// What the Select tool panel does with the captured box: clear it in the picture, cut the
// picture down to it, and turn or mirror the selection buffer.
#include <algorithm>
#include <string>

#include "app/Editor.h"
#include "export/ExportCommands.h"

namespace stipple {

bool Editor::boxFitsAPicture(const char* action) {
    // Only a quarter-turned box of more than 92 columns is too tall: the buffer holds it,
    // a picture cannot.
    if (selHeight <= kMaxPictureHeight) {
        return true;
    }
    host().showMessage("The box is " + std::to_string(selHeight) +
                           " rows high; a picture can be at most " +
                           std::to_string(kMaxPictureHeight) +
                           " rows high. Turn the box back before " + action + ".",
                       kExportMessageCaption);
    return false;
}

void Editor::clearBox() {
    if (!bufferFilled) {
        return;
    }
    takeUndoSnapshot();
    boxLeft = selX1 + 1;
    boxTop = selY1 + 1;
    boxRight = selX2;
    boxBottom = selY2;
    const int right = std::min(boxRight, kMaxPictureWidth);
    const int bottom = std::min(boxBottom, kMaxPictureHeight);
    for (int x = std::max(boxLeft, 1); x <= right; ++x) {
        for (int y = std::max(boxTop, 1); y <= bottom; ++y) {
            pixels[x][y] = rightColour;
        }
    }
    redrawSurface();
}

void Editor::cropToSelection() {
    if (!bufferFilled) {
        return;
    }
    if (!boxFitsAPicture("cutting it off")) {
        return;
    }
    takeUndoSnapshot();
    pictureWidth = selWidth;
    pictureHeight = selHeight;
    for (int x = 1; x <= selWidth; ++x) {
        for (int y = 1; y <= selHeight; ++y) {
            pixels[x][y] = selBuffer[x][y];
        }
    }
    selX1 = 0;
    selY1 = 0;
    selX2 = pictureWidth;
    selY2 = pictureHeight;
    redrawSurface();
}

namespace {

enum class Turn { Left, Right, MirrorRows, MirrorColumns };

// New cell (a, b) of a W x H buffer after the turn comes from the returned old cell.
struct OldCell {
    int a, b;
};

OldCell sourceOf(Turn turn, int a, int b, int W, int H) {
    switch (turn) {
        case Turn::Left:
            return {W + 1 - b, a};
        case Turn::Right:
            return {b, H + 1 - a};
        case Turn::MirrorRows:
            return {a, H + 1 - b};
        case Turn::MirrorColumns:
            return {W + 1 - a, b};
    }
    return {a, b};
}

void turnSelection(PictureModel& m, Turn turn) {
    if (!m.bufferFilled) {
        return;
    }
    const int W = m.selWidth;
    const int H = m.selHeight;
    for (int a = 1; a <= W; ++a) {
        for (int b = 1; b <= H; ++b) {
            m.turnBuffer[a][b] = m.selBuffer[a][b];
        }
    }
    if (turn == Turn::Left || turn == Turn::Right) {
        m.selWidth = H;
        m.selHeight = W;
    }
    for (int a = 1; a <= m.selWidth; ++a) {
        for (int b = 1; b <= m.selHeight; ++b) {
            const OldCell old = sourceOf(turn, a, b, W, H);
            m.selBuffer[a][b] = m.turnBuffer[old.a][old.b];
        }
    }
}

}  // namespace

void Editor::rotateLeft() {
    turnSelection(*this, Turn::Left);
}

void Editor::rotateRight() {
    turnSelection(*this, Turn::Right);
}

void Editor::flipHorizontally() {
    turnSelection(*this, Turn::MirrorRows);
}

void Editor::flipVertically() {
    turnSelection(*this, Turn::MirrorColumns);
}

}  // namespace stipple
