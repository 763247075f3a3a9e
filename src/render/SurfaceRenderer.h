#pragma once
// Draws the editing surface into its raster: the picture enlarged to the pixel size with
// its grid and border, the selection frame, and the overlays that follow the mouse. It
// only draws; the session presents the raster to the window.

#include "model/Picture.h"
#include "model/Selection.h"
#include "render/Raster.h"

namespace stipple {

// How the picture is shown.
struct ViewSettings {
    int pixelSize = 0;  // screen pixels per cell, 1..49
    bool gridsOn = false;
    bool borderOn = false;
    // The frame before the current one shows faintly in its transparent cells.
    bool onionSkin = false;
    // The visible part of the surface; the surface is never smaller.
    int viewWidth = 0;
    int viewHeight = 0;
    // The room the window gives the surface, at most the stored part; scroll bars take
    // strips of it where the surface does not fit.
    int roomWidth = 0;
    int roomHeight = 0;
    // The surface pixel shown at the top-left of the room: how far it is scrolled.
    int scrollX = 0;
    int scrollY = 0;

    // The grid shows only where a cell is larger than 3 screen pixels.
    bool gridVisible() const { return gridsOn && pixelSize > 3; }
};

// Display colours of the five values (by value), the grid and the border; all 0 until
// initColourTable.
struct ColourTable {
    Rgb values[5] = {};
    Rgb gridRgb = 0, borderRgb = 0;
};

class SurfaceRenderer {
  public:
    ViewSettings view;

    void initColourTable();
    const ColourTable& colours() const { return colours_; }
    // Sets `brush` to the display colour of the value; a value outside 0..4 leaves it as
    // it was.
    void setBrushForValue(Pixel value, Rgb& brush) const;
    // The display colour of the value, white for a value outside 0..4.
    Rgb displayColour(Pixel value) const;

    // Repaints the whole surface from the picture: cells, grid and border, white beyond.
    // With `under` (the onion skin), its cells show faintly in the picture's transparent ones.
    void drawPicture(const Picture& picture, const Picture* under = nullptr);
    // The dashed frame along the selection's corners, put in order (normalizeCorners).
    void drawSelectionFrame(const Selection& selection);
    // Paints the 1-based cell with its value and, when the grid shows, its outline, and the
    // border over it where it lies at the picture's edge. A value outside 0..4 paints with
    // the colour used last.
    void paintCell(const Picture& picture, int x, int y, const Picture* under = nullptr);
    // The colour a cell of `under` shows with in a transparent cell.
    Rgb onionColour(Pixel under) const;

    // The rubber band of a box drag. All four arguments are 0-based cells: the pressed one
    // and the one under the pointer. The band is drawn, and the cell remembered, only by
    // drawRubberBand; the caller redraws the picture first when the cell has moved.
    bool rubberBandMoved(int cellX, int cellY) const {
        return cellX != rubberBandCellX_ || cellY != rubberBandCellY_;
    }
    void drawRubberBand(int anchorX, int anchorY, int cellX, int cellY);

    // The paste preview: the selection buffer drawn from the 1-based cell (cx, cy) on, its
    // transparent cells left out inside the picture. Remembered like the rubber band.
    bool pastePreviewMoved(int cx, int cy) const {
        return cx != pastePreviewCellX_ || cy != pastePreviewCellY_;
    }
    void drawPastePreview(const Picture& picture, const Selection& selection, int cx, int cy);

    const Raster& raster() const { return surface_; }
    // Cells last used by the rubber band and the paste preview; never reset.
    int rubberBandCellX() const { return rubberBandCellX_; }
    int rubberBandCellY() const { return rubberBandCellY_; }
    int pastePreviewCellX() const { return pastePreviewCellX_; }
    int pastePreviewCellY() const { return pastePreviewCellY_; }

  private:
    void fillCell(int x, int y, Rgb colour);
    // The red line around the picture, over its outermost grid lines.
    void drawBorder(const Picture& picture);
    void paintOnion(const Picture& picture, const Picture& under, int x, int y);

    Raster surface_;
    ColourTable colours_;
    // The colour the last painted cell took, which a value outside 0..4 keeps.
    Rgb brush_ = 0;
    int rubberBandCellX_ = 0, rubberBandCellY_ = 0;
    int pastePreviewCellX_ = 0, pastePreviewCellY_ = 0;
};

}  // namespace stipple
