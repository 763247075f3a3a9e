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
std::optional<std::string> exportableName(Session& s) {
    const std::string& name = s.pictureName();
    if (const std::string refused = exportableNameProblem(name); !refused.empty()) {
        s.host().showMessage(refused, kMessageCaption);
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
    const std::optional<std::string> name = exportableName(s);
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

bool writeExportText(Session& s, const std::string& text, bool append) {
    const std::optional<std::string> path = s.host().askExportFile(!append);
    if (!path) {
        return false;
    }
    if (!append) {
        const FileResult saved = replaceFile(*path, text);
        if (!showFileNotice(s.host(), saved)) {
            s.host().showMessage(saved.error, kMessageCaption);
            return false;
        }
        return true;
    }
    FileResult appended = showFileNotice(s.host(), appendToFile(*path, text));
    if (appended.openFailed) {
        // The file could not be opened for appending: say so, then try to create it. A
        // file that exists is never emptied by that second try.
        s.host().showMessage("Hi", kMessageCaption);
        const std::string toldAlready = appended.notice;
        appended = createMissingFile(*path, text, appended);
        if (appended.notice != toldAlready) {
            showFileNotice(s.host(), appended);
        }
    }
    if (!appended) {
        s.host().showMessage(appended.error, kMessageCaption);
        return false;
    }
    return true;
}

namespace {

// Save and Save to end: the file form of the picture, which then counts as written.
void writeFileForm(Session& s, bool append) {
    const std::optional<std::string> name = exportableName(s);
    if (name && writeExportText(s, asm8FileBlock(s.picture().view(), *name), append) &&
        s.document().frameCount() == 1) {
        s.markWritten();
    }
}

}  // namespace

void saveAsm8File(Session& s) {
    writeFileForm(s, false);
}

void appendAsm8ToFile(Session& s) {
    writeFileForm(s, true);
}

}  // namespace stipple
