// Commands of the main window that change colours, tool, sizes and view, but draw
// nothing on the picture themselves.
#include "app/Editor.h"

namespace stipple {

void Editor::setLeftColour(Pixel value) {
    leftColour = value;
    paintSwatches();
}

void Editor::setRightColour(Pixel value) {
    rightColour = value;
    paintSwatches();
}

void Editor::paletteMouseDown(MouseButton button, Pixel value) {
    if (button == MouseButton::Left) {
        setLeftColour(value);
    } else if (button == MouseButton::Right) {
        setRightColour(value);
    }
}

void Editor::selectTool(Tool down) {
    toolPen = down == Tool::Pen;
    toolPipe = down == Tool::Pipe;
    toolBucket = down == Tool::Bucket;
    if (down == Tool::Box) {
        toolBox = true;
        host_.showSelectToolPanel(true);
    } else {
        toolBox = false;
        selectionShown = false;
        redrawSurface();
        host_.showSelectToolPanel(false);
    }
    toolChangeColour = down == Tool::ChangeColour;
    if (!toolBox) {
        selectMode = false;
        pasteMode = false;
    } else {
        syncSelectModes();
        redrawSurface();
    }
}

void Editor::syncSelectModes() {
    pasteMode = host_.pasteButtonDown();
    selectMode = !pasteMode;
}

void Editor::quickSizeWidth(int width) {
    pictureWidth = width;
    redrawSurface();
}

void Editor::quickSizeHeight(int height) {
    pictureHeight = height;
    redrawSurface();
}

void Editor::stepPictureWidth(int delta) {
    takeUndoSnapshot();
    if (delta > 0 && pictureWidth < kMaxPictureWidth - 1) {
        ++pictureWidth;
    } else if (delta < 0 && pictureWidth > 2) {
        --pictureWidth;
    }
    redrawSurface();
}

void Editor::stepPictureHeight(int delta) {
    takeUndoSnapshot();
    if (delta > 0 && pictureHeight < kMaxPictureHeight - 1) {
        ++pictureHeight;
    } else if (delta < 0 && pictureHeight > 2) {
        --pictureHeight;
    }
    redrawSurface();
}

void Editor::stepPixelSize(int delta) {
    if (delta > 0 && pixelSize < kMaxPixelSize) {
        ++pixelSize;
    } else if (delta < 0 && pixelSize > 1) {
        --pixelSize;
    }
    redrawSurface();
}

void Editor::setPixelSize(int size) {
    pixelSize = size;
    redrawSurface();
}

void Editor::toggleGrids() {
    gridsOn = !gridsOn;
    syncViewControls();
    redrawSurface();
}

void Editor::toggleBorder() {
    borderOn = !borderOn;
    syncViewControls();
    redrawSurface();
}

void Editor::SetSize1Click() {
    int width = pictureWidth;
    int height = pictureHeight;
    if (!host_.askPictureSize(width, height)) {
        return;
    }
    takeUndoSnapshot();
    pictureHeight = height;
    pictureWidth = width;
    redrawSurface();
}

}  // namespace stipple
