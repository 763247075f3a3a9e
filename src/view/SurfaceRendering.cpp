// Drawing of the editing surface: the picture enlarged to pixelSize, its grid and
// border, and the overlays that follow the mouse.
#include <algorithm>
#include <string>

#include "app/Editor.h"

namespace stipple {

void Editor::initColourTable() {
    blackRgb = 0x000000;
    gray33Rgb = 0xC0C0C0;
    gray66Rgb = 0x808080;
    whiteRgb = 0xFFFFFF;
    transparentRgb = 0x008080;
    gridRgb = 0xC0DCC0;
    borderRgb = 0xFF0000;
}

void Editor::setBrushForValue(Pixel value, Rgb& brush) const {
    switch (value) {
        case kBlack:
            brush = blackRgb;
            break;
        case kGray66:
            brush = gray66Rgb;
            break;
        case kGray33:
            brush = gray33Rgb;
            break;
        case kWhite:
            brush = whiteRgb;
            break;
        case kTransparent:
            brush = transparentRgb;
            break;
        default:
            break;
    }
}

Rgb Editor::displayColour(Pixel value) const {
    Rgb colour = whiteRgb;
    setBrushForValue(value, colour);
    return colour;
}

void Editor::fillCell(int x, int y, Rgb colour) {
    const int ps = pixelSize;
    surface_.fillRect((x - 1) * ps, (y - 1) * ps, x * ps, y * ps, colour);
}

void Editor::redrawSurface() {
    const int ps = pixelSize;
    const int W = pictureWidth * ps;
    const int H = pictureHeight * ps;
    surface_.setLogicalSize(std::max(W + 1, static_cast<int>(viewWidth)),
                            std::max(H + 1, static_cast<int>(viewHeight)));
    const int columns = std::clamp(static_cast<int>(pictureWidth), 0, kMaxPictureWidth);
    const int rows = std::clamp(static_cast<int>(pictureHeight), 0, kMaxPictureHeight);
    const bool grid = gridVisible();

    // Cells are painted as if column by column, each with the brush of its value; a value
    // outside 0..4 keeps the brush of the cell painted before it. So each column starts
    // with the brush the one before it ended with, and carries it down its rows.
    const Rgb brushOf[5] = {blackRgb, gray66Rgb, gray33Rgb, whiteRgb, transparentRgb};
    auto isValue = [](Pixel v) { return v >= kBlack && v <= kTransparent; };
    Rgb brushOfColumn[kGridCols] = {};
    Rgb brush = whiteRgb;
    for (int x = 1; x <= columns; ++x) {
        brushOfColumn[x] = brush;
        for (int y = rows; y >= 1; --y) {
            if (isValue(pixels[x][y])) {
                brush = brushOf[pixels[x][y]];
                break;
            }
        }
    }
    surfaceBrush_ = brush;

    // Only the stored part is drawn, one row of cells at a time: the first raster row that
    // shows cells is painted run by run of equal colours and then copied down the rest of
    // the cells.
    const int shownColumns = std::min(columns, (Raster::kStoredWidth + ps - 1) / ps);
    const int shownRows = std::min(rows, (Raster::kStoredHeight + ps - 1) / ps);
    constexpr int kFar = Raster::kStoredWidth;
    for (int y = 1; y <= shownRows; ++y) {
        for (int x = 1; x <= shownColumns; ++x) {
            if (isValue(pixels[x][y])) {
                brushOfColumn[x] = brushOf[pixels[x][y]];
            }
        }
        const int top = (y - 1) * ps;
        const int first = grid ? top + 1 : top;
        for (int x = 1; x <= shownColumns;) {
            const Rgb colour = brushOfColumn[x];
            const int runStart = x;
            while (++x <= shownColumns && brushOfColumn[x] == colour) {
            }
            surface_.fillRect((runStart - 1) * ps, first, (x - 1) * ps, first + 1, colour);
        }
        if (grid) {
            for (int i = 0; i <= shownColumns; ++i) {
                surface_.fillRect(i * ps, first, i * ps + 1, first + 1, gridRgb);
            }
            surface_.fillRect(W, first, W + 1, first + 1, gridRgb);
            surface_.fillRect(W + 1, first, kFar, first + 1, whiteRgb);
            surface_.fillRect(0, top, W + 1, top + 1, gridRgb);
            surface_.fillRect(W + 1, top, kFar, top + 1, whiteRgb);
        } else {
            surface_.fillRect(W, first, kFar, first + 1, whiteRgb);
        }
        surface_.copyRow(first, first + 1, top + ps);
    }
    surface_.fillRect(0, H, kFar, Raster::kStoredHeight, whiteRgb);
    if (grid) {
        surface_.fillRect(0, H, W, H + 1, gridRgb);
    }

    if (borderOn) {
        const int corners[4][2] = {{0, 0}, {0, H}, {W, H}, {W, 0}};
        surface_.closedLine(corners, 4, borderRgb);
    }
    drawSelectionFrame();
    presentSurface();
    host_.showSizeFields(pictureWidth, pictureHeight, pixelSize);
}

void Editor::presentSurface() {
    host_.presentSurface(surface_);
}

void Editor::drawSelectionFrame() {
    if (!selectionShown) {
        return;
    }
    if (selX1 >= selX2) {
        const int oldX1 = selX1;
        selX1 = selX2 - 1;
        selX2 = oldX1 + 1;
    }
    if (selY1 >= selY2) {
        const int oldY1 = selY1;
        selY1 = selY2 - 1;
        selY2 = oldY1 + 1;
    }
    const int ps = pixelSize;
    const int corners[4][2] = {{selX1 * ps, selY1 * ps},
                               {selX1 * ps, selY2 * ps},
                               {selX2 * ps, selY2 * ps},
                               {selX2 * ps, selY1 * ps}};
    surface_.closedLine(corners, 4, blackRgb, PenStyle::Dashed);
    presentSurface();
}

void Editor::drawRubberBand(int anchorX, int anchorY, int cellX, int cellY) {
    if (cellX != rubberBandCellX || cellY != rubberBandCellY) {
        redrawSurface();
        const int ps = pixelSize;
        const int left = std::min(anchorX, cellX) * ps;
        const int right = (std::max(anchorX, cellX) + 1) * ps;
        const int top = std::min(anchorY, cellY) * ps;
        const int bottom = (std::max(anchorY, cellY) + 1) * ps;
        const int corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
        surface_.closedLine(corners, 4, blackRgb, PenStyle::Dashed);
        presentSurface();
    }
    rubberBandCellX = cellX;
    rubberBandCellY = cellY;
}

void Editor::drawPastePreview(int X, int Y) {
    const int cx = X / pixelSize + 1;
    const int cy = Y / pixelSize + 1;
    if (cx > pictureWidth || cy > pictureHeight) {
        return;
    }
    if (cx != pastePreviewCellX || cy != pastePreviewCellY) {
        redrawSurface();
        for (int j = 1; j <= selHeight; ++j) {
            for (int i = 1; i <= selWidth; ++i) {
                const int tx = cx + i - 1;
                const int ty = cy + j - 1;
                const Pixel value = selBuffer[i][j];
                if (value != kTransparent || tx > pictureWidth || ty > pictureHeight) {
                    setBrushForValue(value, surfaceBrush_);
                    fillCell(tx, ty, surfaceBrush_);
                }
            }
        }
        presentSurface();
    }
    pastePreviewCellX = cx;
    pastePreviewCellY = cy;
}

void Editor::paintSwatches() {
    host_.showSwatches(displayColour(leftColour), displayColour(rightColour));
}

void Editor::paintCell(int x, int y) {
    setBrushForValue(pixels[x][y], surfaceBrush_);
    fillCell(x, y, surfaceBrush_);
    if (gridVisible()) {
        const int ps = pixelSize;
        const int left = (x - 1) * ps, top = (y - 1) * ps, right = x * ps, bottom = y * ps;
        const int corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
        surface_.closedLine(corners, 4, gridRgb);
    }
    presentSurface();
}

}  // namespace stipple
