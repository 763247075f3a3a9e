// The mouse on the editing surface: which tool acts on a press, a move and a release,
// and the pen, pick-up and colour replacement themselves.
#include <string>

#include "app/Editor.h"

namespace stipple {

int Editor::clampX(int X) const {
    const int limit = pictureWidth * pixelSize;
    if (X >= limit) {
        X = limit - 1;
    }
    return X < 0 ? 0 : X;
}

int Editor::clampY(int Y) const {
    const int limit = pictureHeight * pixelSize;
    if (Y >= limit) {
        Y = limit - 1;
    }
    return Y < 0 ? 0 : Y;
}

void Editor::Image1MouseDown(MouseButton button, int X, int Y) {
    if (button == MouseButton::Left) {
        leftDown = true;
        if (toolPen) {
            takeUndoSnapshot();
            penPaint(leftColour, X, Y);
        }
        if (toolPipe) {
            pickColour(true, X, Y);
        }
        if (toolBucket) {
            takeUndoSnapshot();
            bucketFill(leftColour, X, Y);
        }
        if (toolBox && selectMode) {
            startBox(X, Y);
        }
        if (toolBox && pasteMode) {
            pasteSelection(X, Y);
            redrawSurface();
        }
        if (toolChangeColour) {
            takeUndoSnapshot();
            replaceColour(leftColour, X, Y);
        }
    } else {
        leftDown = false;
    }

    if (button == MouseButton::Right) {
        rightDown = true;
        if (toolPen) {
            takeUndoSnapshot();
            penPaint(rightColour, X, Y);
        }
        if (toolPipe) {
            pickColour(false, X, Y);
        }
        if (toolBucket) {
            takeUndoSnapshot();
            bucketFill(rightColour, X, Y);
        }
        if (toolChangeColour) {
            takeUndoSnapshot();
            replaceColour(rightColour, X, Y);
        }
    } else {
        rightDown = false;
    }
}

void Editor::Image1MouseMove(int X, int Y) {
    const int cx = clampX(X);
    const int cy = clampY(Y);
    showPointerPosition(cx, cy);
    if (leftDown) {
        if (toolPen) {
            penPaint(leftColour, cx, cy);
        }
        if (toolPipe) {
            pickColour(true, cx, cy);
        }
    }
    if (rightDown) {
        if (toolPen) {
            penPaint(rightColour, cx, cy);
        }
        if (toolPipe) {
            pickColour(false, cx, cy);
        }
    }
    if (pasteMode) {
        drawPastePreview(cx, cy);
    }
    if (toolBox && selectMode && boxDragging) {
        drawRubberBand(selX1, selY1, cx / pixelSize, cy / pixelSize);
    }
}

void Editor::Image1MouseUp(MouseButton button, int X, int Y) {
    const int cx = clampX(X);
    const int cy = clampY(Y);
    if (button == MouseButton::Left) {
        if (toolBox) {
            if (selectMode) {
                captureBox(cx, cy);
            } else {
                selectionShown = false;
            }
        }
        leftDown = false;
    }
    if (button == MouseButton::Right) {
        rightDown = false;
    }
}

void Editor::penPaint(Pixel value, int X, int Y) {
    const int x = X / pixelSize + 1;
    const int y = Y / pixelSize + 1;
    // Presses are not clamped: a press left of or above the surface gives no cell either.
    if (X < 0 || Y < 0 || x > pictureWidth || y > pictureHeight) {
        return;
    }
    if (pixels[x][y] == value) {
        return;
    }
    pixels[x][y] = value;
    paintCell(x, y);
}

void Editor::pickColour(bool forLeft, int X, int Y) {
    const int x = X / pixelSize + 1;
    const int y = Y / pixelSize + 1;
    if (X >= 0 && Y >= 0 && x >= 1 && x <= kMaxPictureWidth && y >= 1 && y <= kMaxPictureHeight) {
        (forLeft ? leftColour : rightColour) = pixels[x][y];
    }
    paintSwatches();
}

void Editor::replaceColour(Pixel value, int X, int Y) {
    const int x = X / pixelSize + 1;
    const int y = Y / pixelSize + 1;
    // A press beside the picture means no colour of it: nothing is replaced.
    if (X < 0 || Y < 0 || x > pictureWidth || y > pictureHeight) {
        return;
    }
    const Pixel target = pixels[x][y];
    for (int col = 1; col <= pictureWidth; ++col) {
        for (int row = 1; row <= pictureHeight; ++row) {
            if (pixels[col][row] == target) {
                pixels[col][row] = value;
            }
        }
    }
    redrawSurface();
}

void Editor::showPointerPosition(int X, int Y) {
    host_.showStatusText(0, "X: " + std::to_string(X / pixelSize));
    host_.showStatusText(1, "Y: " + std::to_string(Y / pixelSize));
}

}  // namespace stipple
