#include "app/Editor.h"

namespace stipple {

void Editor::FormCreate() {
    surface_.setLogicalSize(0, 0);
    fileVersion = 1;
    toolPen = true;
    toolPipe = false;
    toolBucket = false;
    pictureHeight = kMaxPictureHeight;
    pictureWidth = kMaxPictureWidth;
    viewHeight = Raster::kStoredHeight;
    viewWidth = Raster::kStoredWidth;
    gridsOn = true;
    boxDragging = false;
    borderOn = false;
    pixelSize = 10;
    initColourTable();
    surface_.setLogicalSize(960, 920);
    rightColour = kTransparent;
    refreshUndoControls();
    syncViewControls();
    redrawSurface();
    paintSwatches();
    clearPicture();
}

void Editor::clearPicture() {
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            pixels[x][y] = rightColour;
        }
    }
    redrawSurface();
}

void Editor::clearImage() {
    // Asks nothing, so it must be possible to take back.
    takeUndoSnapshot();
    clearPicture();
}

void Editor::syncViewControls() {
    host_.setViewControls(gridsOn, borderOn);
}

void Editor::takeUndoSnapshot() {
    undoAvailable = true;
    pushUndoLevel();
    refreshUndoControls();
}

void Editor::undoChange() {
    if (!undoAvailable) {
        return;
    }
    popUndoLevel();
    refreshUndoControls();
    redrawSurface();
}

void Editor::refreshUndoControls() {
    if (undoCount == 0) {
        undoAvailable = false;
    }
    host_.setUndoControlsEnabled(undoAvailable);
}

}  // namespace stipple
