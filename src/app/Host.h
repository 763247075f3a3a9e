#pragma once
// What the editor core needs from the windows around it: showing things and asking the
// user. The Qt main window implements it; tests replace it with a fake.

#include <optional>
#include <string>

#include "model/PictureModel.h"
#include "view/Raster.h"

namespace stipple {

class Host {
  public:
    virtual ~Host() = default;

    // Copies the visible 670 x 587 part of the surface onto the window at Image1.
    virtual void presentSurface(const Raster& surface) = 0;
    // The read-only fields WID, HEIG and PSIZE.
    virtual void showSizeFields(int width, int height, int pixelSize) = 0;
    // The swatches Col and ColRight.
    virtual void showSwatches(Rgb left, Rgb right) = 0;
    // "Undo change" in the Image menu and UndoButton.
    virtual void setUndoControlsEnabled(bool enabled) = 0;
    // Check marks of View Grids / View Border and the pressed state of their buttons.
    virtual void setViewControls(bool gridsOn, bool borderOn) = 0;
    // Panel 0 or 1 of the status bar.
    virtual void showStatusText(int panel, const std::string& text) = 0;

    // The picture's name is the text of the main window's name box, in UTF-8.
    virtual std::string pictureName() const = 0;
    virtual void setPictureName(const std::string& name) = 0;

    // Shows or hides the Select tool panel.
    virtual void showSelectToolPanel(bool visible) = 0;
    // Whether the panel's PasteButton is down (else its selectbutton is).
    virtual bool pasteButtonDown() const = 0;
    // Shows the Set Size dialog with the given values; on OK returns true with the
    // values the user accepted (already checked by the dialog).
    virtual bool askPictureSize(int& width, int& height) = 0;

    // ---- Export ----
    // Shows SaveDialog1 (filter kExportFileFilter of export/ExportFiles.h, no default
    // extension, no question before overwriting, the last chosen name preset); returns the
    // chosen path in UTF-8, or nothing when the user cancels.
    virtual std::optional<std::string> askExportFile() = 0;
    // Puts plain text on the clipboard, replacing what it held.
    virtual void setClipboardText(const std::string& utf8) = 0;
    // Pressed state of the toolbar button `align`.
    virtual void setAlignButtonDown(bool down) = 0;
    // ---- end of export ----

    // ---- Picture files and the box tool ----
    // Shows OpenDialog1 (filter kPictureFileFilter of files/PictureFile.h, default
    // extension "stw"); returns the chosen path in UTF-8, or nothing when the user cancels.
    virtual std::optional<std::string> askOpenPictureFile() = 0;
    // Shows SaveDialog2 (same filter, default extension "stw" added to a name typed without
    // one, no question before overwriting) with the file name preset to `presetName`;
    // returns the chosen path in UTF-8, or nothing when the user cancels.
    virtual std::optional<std::string> askSavePictureFile(const std::string& presetName) = 0;
    // The Select tool panel's fields X1, Y1, X2, Y2 (1-based cells).
    virtual void showBoxCoordinates(int x1, int y1, int x2, int y2) = 0;
    // Shows the Save Select box modally with `name` in its name field; on OK (its
    // "Save..." button) returns the name as the user left it, else nothing.
    virtual std::optional<std::string> askSaveSelectName(const std::string& name) = 0;
    // ---- end of picture files and the box tool ----

    // A message box with one OK button; returns when the user has closed it.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
};

}  // namespace stipple
