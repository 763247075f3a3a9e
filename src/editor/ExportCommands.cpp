#include "editor/ExportCommands.h"

#include <iterator>
#include <string>

#include "editor/Messages.h"
#include "io/FileAccess.h"

namespace stipple {

std::optional<ExportFormat> exportFormatForPanelItem(int itemIndex) {
    constexpr ExportFormat kFormats[] = {ExportFormat::CppArray, ExportFormat::Asm1,
                                         ExportFormat::Asm2, ExportFormat::Asm4,
                                         ExportFormat::Asm8};
    if (itemIndex < 0 || itemIndex >= static_cast<int>(std::size(kFormats))) {
        return std::nullopt;
    }
    return kFormats[itemIndex];
}

void copyExportToClipboard(Session& s, ExportSource source, ExportFormat format, bool alignToByte) {
    if (source == ExportSource::SelectedBox && !s.selection.bufferFilled) {
        return;
    }
    const PixelView view = source == ExportSource::Picture ? s.picture.view() : s.selection.view();
    s.host().setClipboardText(exportText(view, s.host().pictureName(), format, alignToByte));
}

void toggleAlignToByte(Session& s) {
    s.alignToByte = !s.alignToByte;
    s.host().setAlignButtonDown(s.alignToByte);
}

void saveAsm8File(Session& s) {
    const std::optional<std::string> path = s.host().askExportFile();
    if (!path) {
        return;
    }
    const std::string block = asm8FileBlock(s.picture.view(), s.host().pictureName());
    if (const FileResult saved = replaceFile(*path, block); !saved) {
        s.host().showMessage(saved.error, kMessageCaption);
    }
}

void appendAsm8ToFile(Session& s) {
    const std::optional<std::string> path = s.host().askExportFile();
    if (!path) {
        return;
    }
    const std::string block = asm8FileBlock(s.picture.view(), s.host().pictureName());
    FileResult appended = appendToFile(*path, block);
    if (appended.openFailed) {
        // The file could not be opened for appending: say so, then try to create it. A
        // file that exists is never emptied by that second try.
        s.host().showMessage("Hi", kMessageCaption);
        appended = createMissingFile(*path, block, appended);
    }
    if (!appended) {
        s.host().showMessage(appended.error, kMessageCaption);
    }
}

}  // namespace stipple
