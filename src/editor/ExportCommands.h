#pragma once
// The export commands: the picture or the copied box on the clipboard, and the file form
// of the picture written to a new file or added to the end of one. A name that cannot go
// into a text is told in a message box first; nothing is exported then.

#include <optional>
#include <string>

#include "editor/Session.h"
#include "formats/ExportText.h"

namespace stipple {

enum class ExportSource { Picture, SelectedBox };

// The text of the picture or of the box under the picture's name; the box goes to the
// clipboard only once it has been captured.
void copyExportToClipboard(Session& session, ExportSource source, ExportFormat format,
                           bool alignToByte);
// The toolbar's align button.
void toggleAlignToByte(Session& session);
// File > Save: the file form of the picture replaces the chosen file.
void saveAsm8File(Session& session);
// File > Save to end: the file form is added after the chosen file's last byte; a file
// that cannot be opened for adding is told with "Hi", then created if it does not exist.
void appendAsm8ToFile(Session& session);

// Writes `text` to a file the user chooses: replacing it, or with `append` added after its
// last byte as Save to end does. False when cancelled or refused (the user was told why).
bool writeExportText(Session& session, const std::string& text, bool append);

// The format of an item of the Move to ClipBoard panel's list, 0 = "C++ array format" ..
// 4 = "ASM 8bpp format"; nothing for -1 (no item) or any other index.
std::optional<ExportFormat> exportFormatForPanelItem(int itemIndex);

}  // namespace stipple
