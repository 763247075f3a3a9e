#pragma once
// New, Open and Save Picture, New Font, Save Set, saving the copied box as a picture file of its
// own, and taking in a converted bitmap.

#include <string>

#include "editor/Session.h"
#include "formats/BitmapConversion.h"
#include "io/FileAccess.h"
#include "model/Document.h"

namespace stipple {

// Asks for a size, then clears the picture at that size to the right colour.
void newPicture(Session& session);
// Asks which outline font to render and replaces the whole set with the font set made of
// it, as one step of the history, after asking about unwritten changes; a font that cannot
// be rendered changes nothing and is told.
void newFont(Session& session);
// Asks for a picture file, a set file or a BDF font and loads it; a file that cannot be
// loaded, or is cut off before its last pixel, changes nothing. A set file, a font, or a
// picture file opened over a set of several frames, replaces the whole set as one step of
// the history.
void openPicture(Session& session);
// Loads the picture file at `path` (UTF-8) as Open Picture does, without asking for it: a
// dropped file, a recent one. False when it was refused (the user was told why).
bool openPictureFile(Session& session, const std::string& path);
// Asks where to save the picture under its name and writes it there; true when written.
bool savePicture(Session& session);
// Asks where to save the whole set under the set's name and writes it there as a set file;
// true when written.
bool saveSet(Session& session);
// Typing in the name box: the picture takes the name (UTF-8); no history step.
void renamePicture(Session& session, const std::string& name);
// Whether the program may close: with changes not yet written, after asking whether to
// save them first (and saving, if so).
bool mayClose(Session& session);
// The Select tool panel's Save: asks the Save Select box for a name, then saveSelection.
void saveSelectionAs(Session& session);
// Saves the copied box as a picture file under `name` (UTF-8); one undo level.
void saveSelection(Session& session, const std::string& name);
// OK of the bitmap import: the converted picture replaces the picture's cells and size as
// one step of the history (Undo gives back the picture and name before it); the name stays.
// Does nothing while nothing has been converted.
void applyBitmapImport(Session& session, const BitmapImport& import);
// OK of the bitmap import when it cut the image into frames (a sheet's cells, an animation's
// frames): they replace every frame as one step of the history; the set keeps its name.
void applyImportedFrames(Session& session, Document frames);

// Shows the notice of a file access in a message box, if it has one, whatever the access's
// outcome; returns the result.
const FileResult& showFileNotice(Host& host, const FileResult& result);

}  // namespace stipple
