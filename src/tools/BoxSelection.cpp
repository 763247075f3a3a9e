// The box tool: dragging a box copies its cells into the selection buffer; in paste mode a
// press writes the buffer into the picture.
#include <cstdlib>

#include "app/Editor.h"

namespace stipple {

void Editor::startBox(int X, int Y) {
    X = clampX(X);
    Y = clampY(Y);
    selectionShown = false;
    takeUndoSnapshot();
    selX1 = X / pixelSize;
    selY1 = Y / pixelSize;
    boxDragging = true;
}

void Editor::captureBox(int cx, int cy) {
    selectionShown = true;
    selX2 = cx / pixelSize + 1;
    selY2 = cy / pixelSize + 1;
    drawSelectionFrame();  // puts the corners in order
    boxLeft = selX1 + 1;
    boxTop = selY1 + 1;
    boxRight = selX2;
    boxBottom = selY2;
    selWidth = std::abs(boxRight - boxLeft) + 1;
    selHeight = std::abs(boxBottom - boxTop) + 1;
    for (int a = 1; a <= selWidth; ++a) {
        for (int b = 1; b <= selHeight; ++b) {
            selBuffer[a][b] = pixels[boxLeft + a - 1][boxTop + b - 1];
        }
    }
    bufferFilled = true;
    host().showBoxCoordinates(boxLeft, boxTop, boxRight, boxBottom);
    redrawSurface();
    boxDragging = false;
}

void Editor::pasteSelection(int X, int Y) {
    if (!bufferFilled) {
        return;
    }
    takeUndoSnapshot();
    // A press left of or above the surface has no cell; it pastes nothing.
    if (X < 0 || Y < 0) {
        return;
    }
    const int x0 = X / pixelSize + 1;
    const int y0 = Y / pixelSize + 1;
    for (int a = 1; a <= selWidth; ++a) {
        for (int b = 1; b <= selHeight; ++b) {
            const int gx = x0 + a - 1;
            const int gy = y0 + b - 1;
            if (selBuffer[a][b] != kTransparent && gx <= pictureWidth && gy <= pictureHeight) {
                pixels[gx][gy] = selBuffer[a][b];
            }
        }
    }
}

}  // namespace stipple
