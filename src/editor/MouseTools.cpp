// What each tool does with a press, a move and a release: the pen, pick-up, colour
// replacement, the bucket and the box tool. Each is one edit of the session.
#include "editor/MouseTools.h"

#include "model/Line.h"

namespace stipple {

namespace {

using namespace changed;

// The 1-based cell of the picture at the surface position (X, Y); false beside the
// picture. Presses are not held to the picture: one beside it gives no cell.
bool cellInPicture(const SessionState& st, int X, int Y, int& x, int& y) {
    return st.geometry().inPicture(X, Y, x, y);
}

// The last cell the pen touched; kDrag when it is another one.
Changes touchPen(SessionState& st, int x, int y) {
    if (st.lastPenX == x && st.lastPenY == y) {
        return {};
    }
    st.lastPenX = x;
    st.lastPenY = y;
    return {kDrag};
}

Changes penPaint(SessionState& st, Pixel value, int X, int Y) {
    int x = 0, y = 0;
    if (!cellInPicture(st, X, Y, x, y)) {
        return {};
    }
    Changes changes = touchPen(st, x, y);
    if (st.picture().pixels[x][y] != value) {
        st.picture().pixels[x][y] = value;
        changes |= Changes::cell(x, y);
    }
    return changes;
}

// Every cell from the last one the pen touched to the pressed one.
Changes penLine(SessionState& st, Pixel value, int X, int Y) {
    int x = 0, y = 0;
    if (st.lastPenX == 0 || !cellInPicture(st, X, Y, x, y)) {
        return penPaint(st, value, X, Y);
    }
    bool changedAny = false;
    forEachLineCell(st.lastPenX, st.lastPenY, x, y, [&](int cx, int cy) {
        // The last cell may lie beyond a picture made smaller since.
        if (cx <= st.picture().width && cy <= st.picture().height &&
            st.picture().pixels[cx][cy] != value) {
            st.picture().pixels[cx][cy] = value;
            changedAny = true;
        }
    });
    Changes changes = touchPen(st, x, y);
    if (changedAny) {
        changes |= Changes{kCells};
    }
    return changes;
}

// A joined stroke from the pointer's last cell to the one under (X, Y), both ends included:
// the cells of the segment that lie in the picture, none clamped onto its edge.
Changes penSegment(SessionState& st, Pixel value, int X, int Y) {
    const SurfaceGeometry geometry = st.geometry();
    const int x = geometry.cellX(X);
    const int y = geometry.cellY(Y);
    Changes changes;
    forEachLineCell(st.strokeX, st.strokeY, x, y, [&](int cx, int cy) {
        if (cx < 1 || cy < 1 || cx > st.picture().width || cy > st.picture().height) {
            return;
        }
        changes |= touchPen(st, cx, cy);
        if (st.picture().pixels[cx][cy] != value) {
            st.picture().pixels[cx][cy] = value;
            changes |= Changes::cell(cx, cy);  // several cells: the surface is drawn whole
        }
    });
    return changes;
}

// The cell under the pointer, where the next segment of a joined stroke starts.
Changes followStroke(SessionState& st, int X, int Y) {
    const int x = st.geometry().cellX(X);
    const int y = st.geometry().cellY(Y);
    if (x == st.strokeX && y == st.strokeY) {
        return {};
    }
    st.strokeX = x;
    st.strokeY = y;
    return {kDrag};
}

// Cells beyond the picture up to 96 x 92 still give their hidden value.
Changes pickColour(SessionState& st, bool forLeft, int X, int Y) {
    const int x = st.geometry().cellX(X);
    const int y = st.geometry().cellY(Y);
    if (x >= 1 && x <= kMaxPictureWidth && y >= 1 && y <= kMaxPictureHeight) {
        (forLeft ? st.leftColour : st.rightColour) = st.picture().pixels[x][y];
    }
    return {kColours};
}

Changes replaceColour(SessionState& st, Pixel value, int X, int Y) {
    int x = 0, y = 0;
    // A press beside the picture means no colour of it: nothing is replaced.
    if (!cellInPicture(st, X, Y, x, y)) {
        return {};
    }
    const Pixel target = st.picture().pixels[x][y];
    for (int col = 1; col <= st.picture().width; ++col) {
        for (int row = 1; row <= st.picture().height; ++row) {
            if (st.picture().pixels[col][row] == target) {
                st.picture().pixels[col][row] = value;
            }
        }
    }
    return {kCells};
}

Changes bucketFill(SessionState& st, Pixel value, int X, int Y) {
    int x = 0, y = 0;
    if (!cellInPicture(st, X, Y, x, y)) {
        return {};
    }
    const Pixel target = st.picture().pixels[x][y];
    if (value == target) {
        return {};
    }
    st.flood.floodRegion(st.picture(), value, target, x, y);
    return {kCells};
}

Changes startBox(SessionState& st, int X, int Y) {
    const SurfaceGeometry geometry = st.geometry();
    st.selection.frameShown = false;
    // The corner as a grid line: the 0-based cell of the press held to the picture.
    st.selection.selX1 = geometry.cellX(geometry.heldX(X)) - 1;
    st.selection.selY1 = geometry.cellY(geometry.heldY(Y)) - 1;
    st.boxDragging = true;
    // The old frame goes with the next redraw, as the band is drawn.
    return {kDrag | kSelection};
}

// cx, cy: the release position, already held to the picture.
Changes captureBox(SessionState& st, int cx, int cy) {
    Selection& sel = st.selection;
    sel.frameShown = true;
    sel.selX2 = st.geometry().cellX(cx);
    sel.selY2 = st.geometry().cellY(cy);
    sel.normalizeCorners();
    sel.capture(st.picture());
    st.boxDragging = false;
    return {kSelection | kBox | kDrag};
}

// Writes the buffer's cells from the pressed cell on; its transparent cells and what falls
// beyond the picture are left out.
Changes pasteSelection(SessionState& st, int X, int Y) {
    const Selection& sel = st.selection;
    // A press left of or above the surface has no cell; it pastes nothing.
    const int x0 = st.geometry().cellX(X);
    const int y0 = st.geometry().cellY(Y);
    if (x0 < 1 || y0 < 1) {
        return {kCells};
    }
    for (int a = 1; a <= sel.selWidth; ++a) {
        for (int b = 1; b <= sel.selHeight; ++b) {
            const int gx = x0 + a - 1;
            const int gy = y0 + b - 1;
            if (sel.selBuffer[a][b] != kTransparent && gx <= st.picture().width &&
                gy <= st.picture().height) {
                st.picture().pixels[gx][gy] = sel.selBuffer[a][b];
            }
        }
    }
    return {kCells};
}

// What the tool does with a press of the left or right button.
Changes pressTool(SessionState& st, bool left, int X, int Y, unsigned keys) {
    const Pixel colour = left ? st.leftColour : st.rightColour;
    switch (st.tool) {
        case Tool::Pen:
            return (keys & kShiftHeld) != 0 ? penLine(st, colour, X, Y)
                                            : penPaint(st, colour, X, Y);
        case Tool::Pipe:
            return pickColour(st, left, X, Y);
        case Tool::Bucket:
            return bucketFill(st, colour, X, Y);
        case Tool::ChangeColour:
            return replaceColour(st, colour, X, Y);
        case Tool::Box:
            // The box tool answers the left button only.
            if (left && st.boxMode == BoxMode::Select) {
                return startBox(st, X, Y);
            }
            if (left && st.selection.bufferFilled) {
                return pasteSelection(st, X, Y);
            }
            break;
    }
    return {};
}

// The buttons held from now on.
Changes holdButtons(SessionState& st, bool left, bool right) {
    if (st.leftDown == left && st.rightDown == right) {
        return {};
    }
    st.leftDown = left;
    st.rightDown = right;
    return {kDrag};
}

}  // namespace

void press(Session& s, MouseButton button, int X, int Y, unsigned keys) {
    const bool left = button == MouseButton::Left;
    // The step each tool takes: one per stroke, fill or replacement, and one per box.
    Step step = Step::None;
    if (button != MouseButton::Middle) {
        switch (s.tool()) {
            case Tool::Pen:
            case Tool::Bucket:
            case Tool::ChangeColour:
                step = Step::Snapshot;
                break;
            case Tool::Box:
                // A paste is one step even where it pastes nothing.
                if (left && (s.boxMode() == BoxMode::Select || s.selection().bufferFilled)) {
                    step = Step::Snapshot;
                }
                break;
            case Tool::Pipe:
                break;
        }
    }
    s.edit(step, [&](SessionState& st) -> Changes {
        const Changes held = holdButtons(st, left, button == MouseButton::Right);
        if (button == MouseButton::Middle) {
            return held;
        }
        Changes changes = held;
        changes |= pressTool(st, left, X, Y, keys);
        if (st.tool == Tool::Pen) {
            changes |= followStroke(st, X, Y);
        }
        return changes;
    });
}

void move(Session& s, int X, int Y) {
    const SurfaceGeometry geometry = s.geometry();
    const int cx = geometry.heldX(X);
    const int cy = geometry.heldY(Y);
    s.host().showPointerCell(geometry.cellX(cx) - 1, geometry.cellY(cy) - 1);
    s.edit(Step::None, [&](SessionState& st) {
        Changes changes;
        const auto drag = [&](bool held, Pixel colour, bool left) {
            if (held && st.tool == Tool::Pen) {
                // Joined, the pointer is not held to the picture: beyond it nothing is painted.
                changes |=
                    st.joinStrokes ? penSegment(st, colour, X, Y) : penPaint(st, colour, cx, cy);
            }
            if (held && st.tool == Tool::Pipe) {
                changes |= pickColour(st, left, cx, cy);
            }
        };
        drag(st.leftDown, st.leftColour, true);
        drag(st.rightDown, st.rightColour, false);
        if (st.joinStrokes && st.tool == Tool::Pen && (st.leftDown || st.rightDown)) {
            changes |= followStroke(st, X, Y);
        }
        return changes;
    });
    if (s.pasteMode()) {
        s.drawPastePreview(cx, cy);
    }
    if (s.selectMode() && s.state().boxDragging) {
        s.drawRubberBand(s.selection().selX1, s.selection().selY1, geometry.cellX(cx) - 1,
                         geometry.cellY(cy) - 1);
    }
}

void release(Session& s, MouseButton button, int X, int Y) {
    const int cx = s.geometry().heldX(X);
    const int cy = s.geometry().heldY(Y);
    s.edit(Step::None, [&](SessionState& st) -> Changes {
        const bool left = button == MouseButton::Left;
        Changes changes;
        if (left && st.tool == Tool::Box && st.boxMode == BoxMode::Select) {
            changes = captureBox(st, cx, cy);
        } else if (left && st.tool == Tool::Box && st.selection.frameShown) {
            // The frame goes; the paste preview redraws the surface as the pointer moves.
            st.selection.frameShown = false;
            changes = {kSelection};
        }
        changes |=
            holdButtons(st, st.leftDown && !left, st.rightDown && button != MouseButton::Right);
        return changes;
    });
}

}  // namespace stipple
