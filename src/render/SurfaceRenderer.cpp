#include "render/SurfaceRenderer.h"

#include <algorithm>
#include <iterator>

namespace stipple {

void SurfaceRenderer::initColourTable() {
    std::copy(std::begin(kDisplayColours), std::end(kDisplayColours), colours_.values);
    colours_.gridRgb = 0xC0DCC0;
    colours_.borderRgb = 0xFF0000;
}

void SurfaceRenderer::setBrushForValue(Pixel value, Rgb& brush) const {
    if (value >= kBlack && value <= kTransparent) {
        brush = colours_.values[value];
    }
}

Rgb SurfaceRenderer::displayColour(Pixel value) const {
    Rgb colour = colours_.values[kWhite];
    setBrushForValue(value, colour);
    return colour;
}

void SurfaceRenderer::fillCell(int x, int y, Rgb colour) {
    const int ps = view.pixelSize;
    surface_.fillRect((x - 1) * ps, (y - 1) * ps, x * ps, y * ps, colour);
}

Rgb SurfaceRenderer::onionColour(Pixel under) const {
    // A third of the cell below over the transparent colour: visible, never mistaken for a
    // cell of the picture itself.
    const Rgb a = colours_.values[kTransparent];
    const Rgb b = colours_.values[under];
    Rgb mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned channel = ((a >> shift & 0xFFu) * 2 + (b >> shift & 0xFFu)) / 3;
        mixed |= channel << shift;
    }
    return mixed;
}

void SurfaceRenderer::paintOnion(const Picture& picture, const Picture& under, int x, int y) {
    if (picture.pixels[x][y] != kTransparent || x > under.width || y > under.height) {
        return;
    }
    const Pixel value = under.pixels[x][y];
    if (value < kBlack || value >= kTransparent) {
        return;
    }
    const int ps = view.pixelSize;
    const int inset = view.gridVisible() ? 1 : 0;
    surface_.fillRect((x - 1) * ps + inset, (y - 1) * ps + inset, x * ps, y * ps,
                      onionColour(value));
}

void SurfaceRenderer::drawPicture(const Picture& picture, const Picture* under) {
    const ColourTable& c = colours_;
    const int ps = view.pixelSize;
    const int W = picture.width * ps;
    const int H = picture.height * ps;
    // Scrolled, the surface still reaches past the end of the stored part.
    surface_.setLogicalSize(std::max(W + 1, view.scrollX + view.viewWidth),
                            std::max(H + 1, view.scrollY + view.viewHeight));
    surface_.setOrigin(view.scrollX, view.scrollY);
    const int left = surface_.originX();
    const int above = surface_.originY();
    const int columns = std::clamp(static_cast<int>(picture.width), 0, kMaxPictureWidth);
    const int rows = std::clamp(static_cast<int>(picture.height), 0, kMaxPictureHeight);
    const bool grid = view.gridVisible();
    const auto& pixels = picture.pixels;

    // Cells are painted as if column by column, each with the brush of its value; a value
    // outside 0..4 keeps the brush of the cell painted before it. So each column starts
    // with the brush the one before it ended with, and carries it down its rows.
    const Rgb* brushOf = c.values;
    auto isValue = [](Pixel v) { return v >= kBlack && v <= kTransparent; };
    Rgb brushOfColumn[kGridCols] = {};
    Rgb brush = c.values[kWhite];
    for (int x = 1; x <= columns; ++x) {
        brushOfColumn[x] = brush;
        for (int y = rows; y >= 1; --y) {
            if (isValue(pixels[x][y])) {
                brush = brushOf[pixels[x][y]];
                break;
            }
        }
    }
    brush_ = brush;

    // Only the stored part is drawn, one row of cells at a time: the first stored raster
    // row that shows cells is painted run by run of equal colours and then copied down the
    // rest of the cells. Rows scrolled away above still carry the brushes down.
    const int shownColumns = std::min(columns, (left + Raster::kStoredWidth + ps - 1) / ps);
    const int shownRows = std::min(rows, (above + Raster::kStoredHeight + ps - 1) / ps);
    const int kFar = left + Raster::kStoredWidth;
    for (int y = 1; y <= shownRows; ++y) {
        for (int x = 1; x <= shownColumns; ++x) {
            if (isValue(pixels[x][y])) {
                brushOfColumn[x] = brushOf[pixels[x][y]];
            }
        }
        const int top = (y - 1) * ps;
        const int first = std::max(grid ? top + 1 : top, above);
        if (first >= top + ps) {
            continue;
        }
        for (int x = 1; x <= shownColumns;) {
            const Rgb colour = brushOfColumn[x];
            const int runStart = x;
            while (++x <= shownColumns && brushOfColumn[x] == colour) {
            }
            surface_.fillRect((runStart - 1) * ps, first, (x - 1) * ps, first + 1, colour);
        }
        if (grid) {
            for (int i = 0; i <= shownColumns; ++i) {
                surface_.fillRect(i * ps, first, i * ps + 1, first + 1, c.gridRgb);
            }
            surface_.fillRect(W, first, W + 1, first + 1, c.gridRgb);
            surface_.fillRect(W + 1, first, kFar, first + 1, c.values[kWhite]);
            surface_.fillRect(0, top, W + 1, top + 1, c.gridRgb);
            surface_.fillRect(W + 1, top, kFar, top + 1, c.values[kWhite]);
        } else {
            surface_.fillRect(W, first, kFar, first + 1, c.values[kWhite]);
        }
        surface_.copyRow(first, first + 1, top + ps);
    }
    surface_.fillRect(0, H, kFar, above + Raster::kStoredHeight, c.values[kWhite]);
    if (grid) {
        surface_.fillRect(0, H, W, H + 1, c.gridRgb);
    }
    if (under != nullptr) {
        for (int x = 1; x <= shownColumns; ++x) {
            for (int y = 1; y <= shownRows; ++y) {
                paintOnion(picture, *under, x, y);
            }
        }
    }

    if (view.borderOn) {
        drawBorder(picture);
    }
}

void SurfaceRenderer::drawSelectionFrame(const Selection& selection) {
    const int ps = view.pixelSize;
    const BoxCorners s = selection.normalizedCorners();
    const int corners[4][2] = {{s.x1 * ps, s.y1 * ps},
                               {s.x1 * ps, s.y2 * ps},
                               {s.x2 * ps, s.y2 * ps},
                               {s.x2 * ps, s.y1 * ps}};
    surface_.closedLine(corners, 4, colours_.values[kBlack], PenStyle::Dashed);
}

void SurfaceRenderer::drawRubberBand(int anchorX, int anchorY, int cellX, int cellY) {
    const int ps = view.pixelSize;
    const int left = std::min(anchorX, cellX) * ps;
    const int right = (std::max(anchorX, cellX) + 1) * ps;
    const int top = std::min(anchorY, cellY) * ps;
    const int bottom = (std::max(anchorY, cellY) + 1) * ps;
    const int corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
    surface_.closedLine(corners, 4, colours_.values[kBlack], PenStyle::Dashed);
    rubberBandCellX_ = cellX;
    rubberBandCellY_ = cellY;
}

void SurfaceRenderer::drawPastePreview(const Picture& picture, const Selection& selection, int cx,
                                       int cy) {
    for (int j = 1; j <= selection.selHeight; ++j) {
        for (int i = 1; i <= selection.selWidth; ++i) {
            const int tx = cx + i - 1;
            const int ty = cy + j - 1;
            const Pixel value = selection.selBuffer[i][j];
            if (value != kTransparent || tx > picture.width || ty > picture.height) {
                setBrushForValue(value, brush_);
                fillCell(tx, ty, brush_);
            }
        }
    }
    pastePreviewCellX_ = cx;
    pastePreviewCellY_ = cy;
}

void SurfaceRenderer::paintCell(const Picture& picture, int x, int y, const Picture* under) {
    setBrushForValue(picture.pixels[x][y], brush_);
    fillCell(x, y, brush_);
    if (under != nullptr) {
        paintOnion(picture, *under, x, y);
    }
    if (view.gridVisible()) {
        const int ps = view.pixelSize;
        const int left = (x - 1) * ps, top = (y - 1) * ps, right = x * ps, bottom = y * ps;
        const int corners[4][2] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
        surface_.closedLine(corners, 4, colours_.gridRgb);
        // The grid of the whole picture leaves out its very last corner pixel.
        if (x == picture.width && y == picture.height) {
            surface_.fillRect(right, bottom, right + 1, bottom + 1, colours_.values[kWhite]);
        }
    }
    // A cell at the picture's edge lies under the border: it goes over the cell again.
    if (view.borderOn && (x == 1 || y == 1 || x == picture.width || y == picture.height)) {
        drawBorder(picture);
    }
}

void SurfaceRenderer::drawBorder(const Picture& picture) {
    const int W = picture.width * view.pixelSize;
    const int H = picture.height * view.pixelSize;
    const int corners[4][2] = {{0, 0}, {0, H}, {W, H}, {W, 0}};
    surface_.closedLine(corners, 4, colours_.borderRgb);
}

}  // namespace stipple
