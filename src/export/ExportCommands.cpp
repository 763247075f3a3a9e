#include "export/ExportCommands.h"

#include <iterator>
#include <string>

#include "app/Editor.h"
#include "export/ExportFiles.h"

namespace stipple {

std::optional<int> formatCodeForPanelItem(int itemIndex) {
    constexpr int kCodes[] = {kFormatCppArray, kFormatAsm1, kFormatAsm2, kFormatAsm4, kFormatAsm8};
    if (itemIndex < 0 || itemIndex >= static_cast<int>(std::size(kCodes))) {
        return std::nullopt;
    }
    return kCodes[itemIndex];
}

void Editor::copyExportToClipboard(ExportSource source, int formatCode, bool align) {
    if (source == ExportSource::SelectedBox && !bufferFilled) {
        return;
    }
    host().setClipboardText(buildExportText(source, formatCode, align));
}

void Editor::alignClick() {
    alignToByte = !alignToByte;
    host().setAlignButtonDown(alignToByte);
}

void Editor::Save1Click() {
    const std::optional<std::string> path = host().askExportFile();
    if (!path) {
        return;
    }
    std::string block;
    writeAsm8Block(block);
    if (const FileResult saved = replaceFile(*path, block); !saved) {
        host().showMessage(saved.error, kExportMessageCaption);
    }
}

void Editor::Savetoend1Click() {
    const std::optional<std::string> path = host().askExportFile();
    if (!path) {
        return;
    }
    std::string block;
    writeAsm8Block(block);
    FileResult appended = appendToFile(*path, block);
    if (appended.openFailed) {
        // The file could not be opened for appending: say so, then try to create it. A
        // file that exists is never emptied by that second try.
        host().showMessage("Hi", kExportMessageCaption);
        appended = createMissingFile(*path, block, appended);
    }
    if (!appended) {
        host().showMessage(appended.error, kExportMessageCaption);
    }
}

}  // namespace stipple
