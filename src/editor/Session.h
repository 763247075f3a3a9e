#pragma once
// One editing session: the picture with its undo ring, the selection, the renderer with
// its view settings, and the state of the tools. The commands work on it in one order:
// a snapshot, the change to the picture, the redraw; what it shows and asks goes through
// the Host.

#include <string>

#include "editor/Host.h"
#include "model/FloodFill.h"
#include "model/Picture.h"
#include "model/Selection.h"
#include "model/UndoRing.h"
#include "render/SurfaceRenderer.h"

namespace stipple {

enum class Tool { Pen, Bucket, Pipe, ChangeColour, Box };
// What a left press of the box tool does, as the Select tool panel's mode buttons say.
enum class BoxMode { Select, Paste };
enum class MouseButton { Left, Right, Middle };

class Session {
  public:
    explicit Session(Host& host) : host_(host) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Host& host() { return host_; }

    // The state of a new session, as the program starts: a 96 x 92 transparent picture at
    // pixel size 10 with grids, the pen, black and transparent.
    void start();

    // Sets every cell of the grid, also beyond the picture's size, to the right colour and
    // redraws. Takes no snapshot.
    void clearPicture();

    // A step of the history before a change; every new step drops what could be redone.
    void takeUndoSnapshot();
    // The same for a change of the whole picture (open, new, import): the step holds the
    // picture's name too, and undoing it gives the name back.
    void takeNamedSnapshot();
    // Puts the newest snapshot back and redraws, keeping the state it replaced for a redo;
    // does nothing when there is none.
    void undoChange();
    // Gives back the state the last undo replaced; does nothing when there is none.
    void redoChange();
    void refreshUndoControls();
    int redoCount() const { return redo_.undoCount(); }

    // The picture and its name as last written (Save Picture, Save, Save to end) or as
    // opened or created; a close asks first while they differ from that.
    void markWritten();
    bool hasUnwrittenChanges() const;

    // Repaints the whole surface from the picture, with the selection frame when it shows
    // (putting its corners in order first), presents it and shows the sizes.
    void redrawSurface();
    void presentSurface();
    // Paints one cell (1-based) with its value and presents.
    void paintCell(int x, int y);
    void paintSwatches();
    void syncViewControls();
    // The rubber band of a box drag; 0-based cells of the press and of the pointer.
    void drawRubberBand(int anchorX, int anchorY, int cellX, int cellY);
    // The paste preview at the pointer position (X, Y) in surface pixels; nothing when the
    // pointer is beyond the picture.
    void drawPastePreview(int X, int Y);
    Rgb displayColour(Pixel value) const { return renderer.displayColour(value); }
    const Raster& surface() const { return renderer.raster(); }

    bool pasteMode() const { return tool == Tool::Box && boxMode == BoxMode::Paste; }
    bool selectMode() const { return tool == Tool::Box && boxMode == BoxMode::Select; }
    int pixelSize() const { return renderer.view.pixelSize; }

    Picture picture;
    UndoRing undo;
    Selection selection;
    SurfaceRenderer renderer;
    FloodFill flood;

    Tool tool = Tool::Pen;
    BoxMode boxMode = BoxMode::Select;
    Pixel leftColour = kBlack;
    Pixel rightColour = kBlack;
    bool leftDown = false;
    bool rightDown = false;
    bool boxDragging = false;
    bool alignToByte = false;

  private:
    // Moves the newest level of `from` into the picture, keeping the state it replaces in
    // `to`; false when `from` is empty.
    bool stepHistory(UndoRing& from, UndoRing& to);

    Host& host_;
    UndoRing redo_;
    Picture written_;
    std::string writtenName_;
};

}  // namespace stipple
