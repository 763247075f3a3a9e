#pragma once
// What the export buttons and menu items pass to the editor.

#include <optional>

namespace stipple {

// Format code of an item of the Move to ClipBoard panel's `formats` group (0 = "C++ array
// format" .. 4 = "ASM 8bpp format"); nothing for -1 (no item) or any other index.
std::optional<int> formatCodeForPanelItem(int itemIndex);

// Caption of the message boxes of the file commands.
inline constexpr const char* kExportMessageCaption = "Vexlan Tarn Stippleworkshop";

}  // namespace stipple
