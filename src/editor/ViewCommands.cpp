#include "editor/ViewCommands.h"

namespace stipple {

void setLeftColour(Session& s, Pixel value) {
    s.leftColour = value;
    s.paintSwatches();
}

void setRightColour(Session& s, Pixel value) {
    s.rightColour = value;
    s.paintSwatches();
}

void pressPaletteColour(Session& s, MouseButton button, Pixel value) {
    if (button == MouseButton::Left) {
        setLeftColour(s, value);
    } else if (button == MouseButton::Right) {
        setRightColour(s, value);
    }
}

void selectTool(Session& s, Tool tool) {
    s.tool = tool;
    if (tool == Tool::Box) {
        s.host().showSelectToolPanel(true);
        s.redrawSurface();
    } else {
        s.selection.frameShown = false;
        s.redrawSurface();
        s.host().showSelectToolPanel(false);
    }
}

void setBoxMode(Session& s, BoxMode mode) {
    s.boxMode = mode;
}

void setPictureWidth(Session& s, int width) {
    s.picture.width = width;
    s.redrawSurface();
}

void setPictureHeight(Session& s, int height) {
    s.picture.height = height;
    s.redrawSurface();
}

namespace {

// One undo step, then one cell more or less within [2, largest - 1].
void stepSize(Session& s, std::int32_t& size, int delta, int largest) {
    s.takeUndoSnapshot();
    if (delta > 0 && size < largest - 1) {
        ++size;
    } else if (delta < 0 && size > 2) {
        --size;
    }
    s.redrawSurface();
}

void stepPixelSize(Session& s, int delta) {
    int& size = s.renderer.view.pixelSize;
    if (delta > 0 && size < kMaxPixelSize) {
        ++size;
    } else if (delta < 0 && size > 1) {
        --size;
    }
    s.redrawSurface();
}

}  // namespace

void widthUp(Session& s) {
    stepSize(s, s.picture.width, +1, kMaxPictureWidth);
}

void widthDown(Session& s) {
    stepSize(s, s.picture.width, -1, kMaxPictureWidth);
}

void heightUp(Session& s) {
    stepSize(s, s.picture.height, +1, kMaxPictureHeight);
}

void heightDown(Session& s) {
    stepSize(s, s.picture.height, -1, kMaxPictureHeight);
}

void pixelSizeUp(Session& s) {
    stepPixelSize(s, +1);
}

void pixelSizeDown(Session& s) {
    stepPixelSize(s, -1);
}

void setPixelSize(Session& s, int size) {
    s.renderer.view.pixelSize = size;
    s.redrawSurface();
}

void toggleGrids(Session& s) {
    s.renderer.view.gridsOn = !s.renderer.view.gridsOn;
    s.syncViewControls();
    s.redrawSurface();
}

void toggleBorder(Session& s) {
    s.renderer.view.borderOn = !s.renderer.view.borderOn;
    s.syncViewControls();
    s.redrawSurface();
}

void askAndSetSize(Session& s) {
    int width = s.picture.width;
    int height = s.picture.height;
    if (!s.host().askPictureSize(width, height)) {
        return;
    }
    s.takeUndoSnapshot();
    s.picture.height = height;
    s.picture.width = width;
    s.redrawSurface();
}

void clearImage(Session& s) {
    // It asks nothing, so it must be possible to take back.
    s.takeUndoSnapshot();
    s.clearPicture();
}

}  // namespace stipple
