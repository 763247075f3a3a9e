#include "editor/Session.h"

#include <cstring>

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
    markWritten();
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
    redo_.clear();
    refreshUndoControls();
}

void Session::takeNamedSnapshot() {
    const std::string name = host_.pictureName();
    undo.push(picture, &name);
    redo_.clear();
    refreshUndoControls();
}

bool Session::stepHistory(UndoRing& from, UndoRing& to) {
    if (from.undoCount() == 0) {
        return false;
    }
    if (from.newestHoldsName()) {
        const std::string name = host_.pictureName();
        to.push(picture, &name);
        std::string restored;
        from.pop(picture, &restored);
        host_.setPictureName(restored);
    } else {
        to.push(picture);
        from.pop(picture);
    }
    refreshUndoControls();
    redrawSurface();
    return true;
}

void Session::undoChange() {
    stepHistory(undo, redo_);
}

void Session::redoChange() {
    stepHistory(redo_, undo);
}

void Session::refreshUndoControls() {
    host_.setUndoControlsEnabled(undo.undoCount() > 0);
    host_.setRedoControlsEnabled(redo_.undoCount() > 0);
}

void Session::markWritten() {
    written_.width = picture.width;
    written_.height = picture.height;
    std::memcpy(written_.pixels, picture.pixels, sizeof picture.pixels);
    writtenName_ = host_.pictureName();
}

bool Session::hasUnwrittenChanges() const {
    if (written_.width != picture.width || written_.height != picture.height ||
        writtenName_ != host_.pictureName()) {
        return true;
    }
    // Only the cells inside the picture are written.
    for (int x = 1; x <= picture.width; ++x) {
        if (std::memcmp(&written_.pixels[x][1], &picture.pixels[x][1],
                        sizeof(Pixel) * static_cast<std::size_t>(picture.height)) != 0) {
            return true;
        }
    }
    return false;
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
