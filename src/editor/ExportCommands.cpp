#include "editor/ExportCommands.h"

#include <string>

#include "editor/FileCommands.h"
#include "editor/Messages.h"
#include "formats/ExportFormats.h"
#include "formats/PictureFile.h"
#include "io/FileAccess.h"

namespace stipple {

namespace {

// The picture's name when it can go into a text; otherwise the user is told why not.
std::optional<std::string> exportableName(Host& host) {
    std::string name = host.pictureName();
    if (const std::string refused = exportableNameProblem(name); !refused.empty()) {
        host.showMessage(refused, kMessageCaption);
        return std::nullopt;
    }
    return name;
}

}  // namespace

std::optional<ExportFormat> exportFormatForPanelItem(int itemIndex) {
    int item = 0;
    for (const ExportFormatRow& row : exportFormats()) {
        if (row.family == FormatFamily::ClipboardText && item++ == itemIndex) {
            return row.id;
        }
    }
    return std::nullopt;
}

void copyExportToClipboard(Session& s, ExportSource source, ExportFormat format, bool alignToByte) {
    if (source == ExportSource::SelectedBox && !s.selection().bufferFilled) {
        return;
    }
    const std::optional<std::string> name = exportableName(s.host());
    if (!name) {
        return;
    }
    const PixelView view =
        source == ExportSource::Picture ? s.picture().view() : s.selection().view();
    ExportSettings settings;
    settings.layout.align = alignToByte;
    s.host().setClipboardText(exportFormatRow(format).write(view, *name, settings));
}

void toggleAlignToByte(Session& s) {
    s.edit(Step::None, [](SessionState& st) {
        st.alignToByte = !st.alignToByte;
        return Changes{changed::kExport};
    });
}

void saveAsm8File(Session& s) {
    const std::optional<std::string> name = exportableName(s.host());
    if (!name) {
        return;
    }
    const std::optional<std::string> path = s.host().askExportFile(true);
    if (!path) {
        return;
    }
    const std::string block = asm8FileBlock(s.picture().view(), *name);
    if (const FileResult saved = replaceFile(*path, block); !showFileNotice(s.host(), saved)) {
        s.host().showMessage(saved.error, kMessageCaption);
        return;
    }
    s.markWritten();
}

void appendAsm8ToFile(Session& s) {
    const std::optional<std::string> name = exportableName(s.host());
    if (!name) {
        return;
    }
    const std::optional<std::string> path = s.host().askExportFile(false);
    if (!path) {
        return;
    }
    const std::string block = asm8FileBlock(s.picture().view(), *name);
    FileResult appended = showFileNotice(s.host(), appendToFile(*path, block));
    if (appended.openFailed) {
        // The file could not be opened for appending: say so, then try to create it. A
        // file that exists is never emptied by that second try.
        s.host().showMessage("Hi", kMessageCaption);
        const std::string toldAlready = appended.notice;
        appended = createMissingFile(*path, block, appended);
        if (appended.notice != toldAlready) {
            showFileNotice(s.host(), appended);
        }
    }
    if (!appended) {
        s.host().showMessage(appended.error, kMessageCaption);
        return;
    }
    s.markWritten();
}

}  // namespace stipple
