#pragma once
// The main window's editing core: the picture model plus every operation that reads or
// changes it. It knows no toolkit; everything it shows or asks goes through Host.

#include "app/Host.h"
#include "model/PictureModel.h"
#include "view/Raster.h"

namespace stipple {

class Editor : public PictureModel {
public:
    explicit Editor(Host& host) : host_(host) {}
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    Host& host() { return host_; }
    const Raster& surface() const { return surface_; }

    // Start-up and main window operations.
    void FormCreate();
    void clearPicture();
    void syncViewControls();

    // Undo store.
    void takeUndoSnapshot();
    void undoChange();
    void refreshUndoControls();

    // Editing surface.
    void initColourTable();
    // Display colour of a pixel value; values outside 0..4 leave the brush unchanged.
    void setBrushForValue(Pixel value, Rgb& brush) const;
    Rgb displayColour(Pixel value) const;
    void redrawSurface();
    void presentSurface();
    void drawSelectionFrame();
    // All four arguments are 0-based cells: the pressed one and the one under the pointer.
    void drawRubberBand(int anchorX, int anchorY, int cellX, int cellY);
    // X, Y: pointer position on the surface in screen pixels.
    void drawPastePreview(int X, int Y);
    void paintSwatches();
    // Paints one cell (1-based) with its value and, when the grid shows, its outline.
    void paintCell(int x, int y);

    // Cells last used by the rubber band and the paste preview; never reset.
    int rubberBandCellX = 0, rubberBandCellY = 0;
    int pastePreviewCellX = 0, pastePreviewCellY = 0;

private:
    bool gridVisible() const { return gridsOn && pixelSize > 3; }
    void fillCell(int x, int y, Rgb colour);

    Host& host_;
    Raster surface_;
    Rgb surfaceBrush_ = 0;
};

}  // namespace stipple
