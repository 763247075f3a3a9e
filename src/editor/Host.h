#pragma once
// The editor's port to the windows around it, in two parts: what the editor shows, and
// what it asks the user. The Qt windows implement it; tests replace it with a fake.

#include <optional>
#include <string>

#include "editor/Changes.h"
#include "formats/OutlineFont.h"
#include "model/Pixel.h"
#include "render/Raster.h"

namespace stipple {

// What the editor shows. Everything else a window shows it reads from the session when the
// session announces a change.
class Display : public SessionListener {
  public:
    // Copies the visible 670 x 587 part of the surface onto the window.
    virtual void presentSurface(const Raster& surface) = 0;
    // The status bar: the 0-based cell under the pointer.
    virtual void showPointerCell(int x, int y) = 0;
    // A picture file was opened or written at `path` (UTF-8): the recent files keep it.
    virtual void rememberPictureFile(const std::string& path) = 0;
    // Paints the left swatch alone in the colour, and nothing else.
    virtual void showLeftSwatch(Rgb colour) = 0;
};

// The windows a command opens beside the main window.
enum class Window {
    BitmapImport,    // modal: returns when it is closed
    About,           // modal
    ClipboardPanel,  // stays open beside the main window
    Export,          // stays open beside the main window
    Frames,          // stays open beside the main window
};

// What the editor asks the user, and the clipboard it writes.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Puts plain text on the clipboard, replacing what it held.
    virtual void setClipboardText(const std::string& utf8) = 0;

    // The Set Size dialog with the given values; on OK returns true with the values the
    // user accepted (already checked by the dialog).
    virtual bool askPictureSize(int& width, int& height) = 0;
    // The export save dialog (no default extension, the last chosen name preset); with
    // `replacing`, it asks before a file that exists is replaced. Returns the chosen path
    // in UTF-8, or nothing on Cancel.
    virtual std::optional<std::string> askExportFile(bool replacing) = 0;
    // The picture open dialog; returns the chosen path, or nothing on Cancel.
    virtual std::optional<std::string> askOpenPictureFile() = 0;
    // The picture save dialog (".stw" added to a name typed without an extension, a question
    // before a file that exists is replaced) with the file name preset to `presetName`.
    virtual std::optional<std::string> askSavePictureFile(const std::string& presetName) = 0;
    // The same for a set file (".stws").
    virtual std::optional<std::string> askSaveSetFile(const std::string& presetName) = 0;
    // The New Font dialog: which outline font to render, at what size, over which code
    // points and in how many grays; nothing on Cancel.
    virtual std::optional<OutlineFontRequest> askOutlineFont() = 0;
    // The Save Select box with `name` in its name field; on its "Save..." button returns
    // the name as the user left it, else nothing.
    virtual std::optional<std::string> askSaveSelectName(const std::string& name) = 0;
    // Before closing with unwritten changes: whether to save the picture named `name` (or,
    // with `wholeSet`, the set of that name) first.
    enum class CloseChoice { Save, Discard, Cancel };
    virtual CloseChoice askSaveBeforeClosing(const std::string& name, bool wholeSet) = 0;
    // A message box with one OK button; returns when the user has closed it.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    // Opens the window, or raises it where it is open already.
    virtual void openWindow(Window window) = 0;
    // Closes the main window as its close box does, which asks first (mayClose).
    virtual void closeProgram() = 0;
};

class Host : public Display, public Dialogs {};

}  // namespace stipple
