#pragma once
// The main window's editing core: the picture model plus every operation that reads or
// changes it. It knows no toolkit; everything it shows or asks goes through Host.

#include <cstdint>
#include <string>

#include "app/Host.h"
#include "export/ExportText.h"
#include "files/BitmapConversion.h"
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
    // Image > Clear Image: clearPicture as one undo step.
    void clearImage();
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

    // ---- Bucket and box tool (src/tools/) ----
    // X, Y: press position, not clamped; a press outside the picture does nothing.
    void bucketFill(Pixel value, int X, int Y);
    // Sets the 4-connected region of `target` around the 1-based cell (x, y) to `value`;
    // does nothing when the cell lies outside the picture or value equals target.
    void floodRegion(Pixel value, Pixel target, int x, int y);
    void startBox(int X, int Y);      // press position; clamped into the picture
    void captureBox(int cx, int cy);  // release position, already clamped
    // X, Y: press position, not clamped. The caller redraws.
    void pasteSelection(int X, int Y);
    // The Select tool panel's operations; all do nothing before the first capture.
    void clearBox();
    void cropToSelection();
    void rotateLeft();
    void rotateRight();
    void flipHorizontally();
    void flipVertically();
    // Whether the box fits a picture of at most 92 rows; if not, tells the user that it must be
    // turned back before `action` and returns false.
    bool boxFitsAPicture(const char* action);
    // ---- end of bucket and box tool ----

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

    // ---- Picture files (src/files/) ----
    void NewPicture1Click();
    void OpenPicture1Click();
    void Savepicture1Click();
    // The Select tool panel's Save button: asks the Save Select box for the name, then
    // saveSelection.
    void SaveButtonClick();
    // Saves the selection buffer as a picture file under `name` (UTF-8); one undo level.
    void saveSelection(const std::string& name);
    // ---- end of picture files ----

    // ---- Bitmap import ----
    // OK of the import window: the converted picture replaces the picture's cells and size;
    // no undo snapshot, the name stays. Does nothing while nothing has been converted.
    void applyBitmapImport(const BitmapImport& import);

    // Cells last used by the rubber band and the paste preview; never reset.
    int rubberBandCellX = 0, rubberBandCellY = 0;
    int pastePreviewCellX = 0, pastePreviewCellY = 0;

  private:
    bool gridVisible() const { return gridsOn && pixelSize > 3; }
    void fillCell(int x, int y, Rgb colour);

    Host& host_;
    Raster surface_;
    Rgb surfaceBrush_ = 0;

    // Cells of a flood fill still to visit; each cell of the picture is pushed once at most.
    struct FloodCell {
        std::uint8_t x, y;
    };
    FloodCell floodStack_[kMaxPictureWidth * kMaxPictureHeight] = {};
};

}  // namespace stipple
