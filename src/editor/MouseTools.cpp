// What each tool does with a press, a move and a release: the pen, pick-up, colour
// replacement, the bucket and the box tool.
#include "editor/MouseTools.h"

#include <string>

namespace stipple {

namespace {

// A move or release beyond the picture's area counts at its nearest edge.
int clampToPicture(int position, int cells, int pixelSize) {
    const int limit = cells * pixelSize;
    if (position >= limit) {
        position = limit - 1;
    }
    return position < 0 ? 0 : position;
}

void penPaint(Session& s, Pixel value, int X, int Y) {
    const int x = X / s.pixelSize() + 1;
    const int y = Y / s.pixelSize() + 1;
    // Presses are not clamped: a press left of or above the surface gives no cell either.
    if (X < 0 || Y < 0 || x > s.picture.width || y > s.picture.height) {
        return;
    }
    if (s.picture.pixels[x][y] == value) {
        return;
    }
    s.picture.pixels[x][y] = value;
    s.paintCell(x, y);
}

// Cells beyond the picture up to 96 x 92 still give their hidden value.
void pickColour(Session& s, bool forLeft, int X, int Y) {
    const int x = X / s.pixelSize() + 1;
    const int y = Y / s.pixelSize() + 1;
    if (X >= 0 && Y >= 0 && x >= 1 && x <= kMaxPictureWidth && y >= 1 && y <= kMaxPictureHeight) {
        (forLeft ? s.leftColour : s.rightColour) = s.picture.pixels[x][y];
    }
    s.paintSwatches();
}

void replaceColour(Session& s, Pixel value, int X, int Y) {
    const int x = X / s.pixelSize() + 1;
    const int y = Y / s.pixelSize() + 1;
    // A press beside the picture means no colour of it: nothing is replaced.
    if (X < 0 || Y < 0 || x > s.picture.width || y > s.picture.height) {
        return;
    }
    const Pixel target = s.picture.pixels[x][y];
    for (int col = 1; col <= s.picture.width; ++col) {
        for (int row = 1; row <= s.picture.height; ++row) {
            if (s.picture.pixels[col][row] == target) {
                s.picture.pixels[col][row] = value;
            }
        }
    }
    s.redrawSurface();
}

void bucketFill(Session& s, Pixel value, int X, int Y) {
    if (X < 0 || Y < 0) {
        return;
    }
    const int x = X / s.pixelSize() + 1;
    const int y = Y / s.pixelSize() + 1;
    if (x > s.picture.width || y > s.picture.height) {
        return;
    }
    const Pixel target = s.picture.pixels[x][y];
    if (value == target) {
        return;
    }
    s.flood.floodRegion(s.picture, value, target, x, y);
    s.redrawSurface();
}

void startBox(Session& s, int X, int Y) {
    X = clampToPicture(X, s.picture.width, s.pixelSize());
    Y = clampToPicture(Y, s.picture.height, s.pixelSize());
    s.selection.frameShown = false;
    s.takeUndoSnapshot();
    s.selection.selX1 = X / s.pixelSize();
    s.selection.selY1 = Y / s.pixelSize();
    s.boxDragging = true;
}

// cx, cy: the release position, already held to the picture.
void captureBox(Session& s, int cx, int cy) {
    Selection& sel = s.selection;
    sel.frameShown = true;
    sel.selX2 = cx / s.pixelSize() + 1;
    sel.selY2 = cy / s.pixelSize() + 1;
    sel.normalizeCorners();
    s.renderer.drawSelectionFrame(sel);
    s.presentSurface();
    sel.capture(s.picture);
    s.host().showBoxCoordinates(sel.boxLeft, sel.boxTop, sel.boxRight, sel.boxBottom);
    s.redrawSurface();
    s.boxDragging = false;
}

// Writes the buffer's cells from the pressed cell on; its transparent cells and what falls
// beyond the picture are left out. One undo step, also for a press that pastes nothing.
void pasteSelection(Session& s, int X, int Y) {
    const Selection& sel = s.selection;
    if (!sel.bufferFilled) {
        return;
    }
    s.takeUndoSnapshot();
    // A press left of or above the surface has no cell; it pastes nothing.
    if (X < 0 || Y < 0) {
        return;
    }
    const int x0 = X / s.pixelSize() + 1;
    const int y0 = Y / s.pixelSize() + 1;
    for (int a = 1; a <= sel.selWidth; ++a) {
        for (int b = 1; b <= sel.selHeight; ++b) {
            const int gx = x0 + a - 1;
            const int gy = y0 + b - 1;
            if (sel.selBuffer[a][b] != kTransparent && gx <= s.picture.width &&
                gy <= s.picture.height) {
                s.picture.pixels[gx][gy] = sel.selBuffer[a][b];
            }
        }
    }
}

void showPointerPosition(Session& s, int X, int Y) {
    s.host().showStatusText(0, "X: " + std::to_string(X / s.pixelSize()));
    s.host().showStatusText(1, "Y: " + std::to_string(Y / s.pixelSize()));
}

}  // namespace

void press(Session& s, MouseButton button, int X, int Y) {
    s.leftDown = button == MouseButton::Left;
    s.rightDown = button == MouseButton::Right;
    if (button == MouseButton::Middle) {
        return;
    }
    const bool left = button == MouseButton::Left;
    const Pixel colour = left ? s.leftColour : s.rightColour;
    switch (s.tool) {
        case Tool::Pen:
            s.takeUndoSnapshot();
            penPaint(s, colour, X, Y);
            break;
        case Tool::Pipe:
            pickColour(s, left, X, Y);
            break;
        case Tool::Bucket:
            s.takeUndoSnapshot();
            bucketFill(s, colour, X, Y);
            break;
        case Tool::ChangeColour:
            s.takeUndoSnapshot();
            replaceColour(s, colour, X, Y);
            break;
        case Tool::Box:
            // The box tool answers the left button only.
            if (left && s.boxMode == BoxMode::Select) {
                startBox(s, X, Y);
            } else if (left) {
                pasteSelection(s, X, Y);
                s.redrawSurface();
            }
            break;
    }
}

void move(Session& s, int X, int Y) {
    const int cx = clampToPicture(X, s.picture.width, s.pixelSize());
    const int cy = clampToPicture(Y, s.picture.height, s.pixelSize());
    showPointerPosition(s, cx, cy);
    if (s.leftDown) {
        if (s.tool == Tool::Pen) {
            penPaint(s, s.leftColour, cx, cy);
        }
        if (s.tool == Tool::Pipe) {
            pickColour(s, true, cx, cy);
        }
    }
    if (s.rightDown) {
        if (s.tool == Tool::Pen) {
            penPaint(s, s.rightColour, cx, cy);
        }
        if (s.tool == Tool::Pipe) {
            pickColour(s, false, cx, cy);
        }
    }
    if (s.pasteMode()) {
        s.drawPastePreview(cx, cy);
    }
    if (s.selectMode() && s.boxDragging) {
        s.drawRubberBand(s.selection.selX1, s.selection.selY1, cx / s.pixelSize(),
                         cy / s.pixelSize());
    }
}

void release(Session& s, MouseButton button, int X, int Y) {
    const int cx = clampToPicture(X, s.picture.width, s.pixelSize());
    const int cy = clampToPicture(Y, s.picture.height, s.pixelSize());
    if (button == MouseButton::Left) {
        if (s.tool == Tool::Box) {
            if (s.boxMode == BoxMode::Select) {
                captureBox(s, cx, cy);
            } else {
                s.selection.frameShown = false;
            }
        }
        s.leftDown = false;
    }
    if (button == MouseButton::Right) {
        s.rightDown = false;
    }
}

}  // namespace stipple
