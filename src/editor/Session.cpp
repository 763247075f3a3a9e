#include "editor/Session.h"

namespace stipple {

void Session::start() {
    picture.fileVersion = 1;
    tool = Tool::Pen;
    picture.height = kMaxPictureHeight;
    picture.width = kMaxPictureWidth;
    renderer.view.viewHeight = Raster::kStoredHeight;
    renderer.view.viewWidth = Raster::kStoredWidth;
    renderer.view.gridsOn = true;
    boxDragging = false;
    renderer.view.borderOn = false;
    renderer.view.pixelSize = 10;
    renderer.initColourTable();
    rightColour = kTransparent;
    refreshUndoControls();
    syncViewControls();
    redrawSurface();
    paintSwatches();
    clearPicture();
}

void Session::clearPicture() {
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            picture.pixels[x][y] = rightColour;
        }
    }
    redrawSurface();
}

void Session::takeUndoSnapshot() {
    undo.push(picture);
    refreshUndoControls();
}

void Session::undoChange() {
    if (!undo.pop(picture)) {
        return;
    }
    refreshUndoControls();
    redrawSurface();
}

void Session::refreshUndoControls() {
    host_.setUndoControlsEnabled(undo.undoCount() > 0);
}

void Session::syncViewControls() {
    host_.setViewControls(renderer.view.gridsOn, renderer.view.borderOn);
}

void Session::redrawSurface() {
    renderer.drawPicture(picture);
    if (selection.frameShown) {
        selection.normalizeCorners();
        renderer.drawSelectionFrame(selection);
        presentSurface();
    }
    presentSurface();
    host_.showSizeFields(picture.width, picture.height, renderer.view.pixelSize);
}

void Session::presentSurface() {
    host_.presentSurface(renderer.raster());
}

void Session::paintCell(int x, int y) {
    renderer.paintCell(picture, x, y);
    presentSurface();
}

void Session::paintSwatches() {
    host_.showSwatches(displayColour(leftColour), displayColour(rightColour));
}

void Session::drawRubberBand(int anchorX, int anchorY, int cellX, int cellY) {
    if (renderer.rubberBandMoved(cellX, cellY)) {
        redrawSurface();
        renderer.drawRubberBand(anchorX, anchorY, cellX, cellY);
        presentSurface();
    }
}

void Session::drawPastePreview(int X, int Y) {
    const int cx = X / pixelSize() + 1;
    const int cy = Y / pixelSize() + 1;
    if (cx > picture.width || cy > picture.height) {
        return;
    }
    if (renderer.pastePreviewMoved(cx, cy)) {
        redrawSurface();
        renderer.drawPastePreview(picture, selection, cx, cy);
        presentSurface();
    }
}

}  // namespace stipple
