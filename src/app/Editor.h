#pragma once
// The main window's editing core: the picture model plus every operation that reads or
// changes it. It knows no toolkit; everything it shows or asks goes through Host.

#include <string>

#include "app/Host.h"
#include "export/ExportText.h"
#include "model/PictureModel.h"
#include "view/Raster.h"

namespace stipple {

enum class MouseButton { Left, Right, Middle };
enum class Tool { Pen, Bucket, Pipe, ChangeColour, Box };

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

    // Mouse on the surface. Positions are pixels of Image1, origin at its top-left.
    void Image1MouseDown(MouseButton button, int X, int Y);
    void Image1MouseMove(int X, int Y);
    void Image1MouseUp(MouseButton button, int X, int Y);
    void penPaint(Pixel value, int X, int Y);
    void pickColour(bool forLeft, int X, int Y);
    void replaceColour(Pixel value, int X, int Y);
    // X, Y already clamped into the picture.
    void showPointerPosition(int X, int Y);
    // Moves and releases are clamped into the picture's screen area.
    int clampX(int X) const;
    int clampY(int Y) const;

    // Tools still to come: the bucket and the box tool.
    void bucketFill(Pixel value, int X, int Y);
    void startBox(int X, int Y);
    void captureBox(int cx, int cy);
    void pasteSelection(int X, int Y);

    // Palette, tool, size and view commands.
    void setLeftColour(Pixel value);
    void setRightColour(Pixel value);
    // A press on a palette button: left sets the left colour, right the right one.
    void paletteMouseDown(MouseButton button, Pixel value);
    // `down` is the tool button now pressed; the select panel's mode buttons are read
    // from the host.
    void selectTool(Tool down);
    void syncSelectModes();
    void quickSizeWidth(int width);
    void quickSizeHeight(int height);
    void stepPictureWidth(int delta);   // +1 stops at 95, -1 at 2; snapshot either way
    void stepPictureHeight(int delta);  // +1 stops at 91, -1 at 2; snapshot either way
    void stepPixelSize(int delta);      // 1..49
    void setPixelSize(int size);
    void toggleGrids();
    void toggleBorder();
    // Image > Set Size: asks the host for a size and applies it as one undo step.
    void SetSize1Click();

    // ---- Export (src/export/) ----
    // Packs the source into the store of `depth` (1, 2 or 4) from index 1 and sets
    // packedCount; any other depth does nothing.
    void packPixels(ExportSource source, int depth, bool align);
    // The export text of format code 1..5 (kFormatAsm8 ..); any other code gives "".
    std::string buildExportText(ExportSource source, int formatCode, bool align);
    // Appends the file form of the whole picture to `file`.
    void writeAsm8Block(std::string& file);
    // The selected box goes to the clipboard only when bufferFilled.
    void copyExportToClipboard(ExportSource source, int formatCode, bool align);
    void alignClick();
    void Save1Click();
    void Savetoend1Click();  // ToolButton11Click as well
    // ---- end of export ----

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
