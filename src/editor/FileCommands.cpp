#include "editor/FileCommands.h"

#include <optional>
#include <string>
#include <vector>

#include "editor/Messages.h"
#include "editor/SelectionCommands.h"
#include "editor/ViewCommands.h"
#include "formats/BdfFont.h"
#include "formats/OutlineFont.h"
#include "formats/PictureFile.h"
#include "formats/SetFile.h"
#include "formats/Windows1252.h"
#include "io/FileAccess.h"

namespace stipple {

namespace {

// Asks where to save the cells under `name` and writes them there; every refusal and
// failure is told to the user. The path written, or nothing.
std::optional<std::string> savePictureAs(Host& host, std::int32_t version, const std::string& name,
                                         const PixelView& view) {
    StorableName nameBytes = storablePictureName(name);
    if (!nameBytes) {
        host.showMessage(nameBytes.problem, kMessageCaption);
        return std::nullopt;
    }
    std::optional<std::string> path = host.askSavePictureFile(name);
    if (!path) {
        return std::nullopt;
    }
    const PictureFileContent content =
        pictureFileContent(version, std::move(nameBytes.bytes), view);
    if (const FileResult saved = replaceFile(*path, encodePictureFile(content));
        !showFileNotice(host, saved)) {
        host.showMessage(saved.error, kMessageCaption);
        return std::nullopt;
    }
    host.rememberPictureFile(*path);
    return path;
}

// Every frame of the document becomes `whole`'s as one step; with `written`, that is the
// file it now matches.
void replaceFrames(Session& s, Document whole, const std::string* written) {
    FramesChange change;
    change.kind = FramesChange::Kind::Replace;
    change.whole = std::move(whole);
    s.edit(Step::None, [&](SessionState&) {
        s.changeFrames(std::move(change));
        if (written != nullptr) {
            s.markWritten(written);
        }
        return Changes{};
    });
}

}  // namespace

const FileResult& showFileNotice(Host& host, const FileResult& result) {
    if (!result.notice.empty()) {
        host.showMessage(result.notice, kMessageCaption);
    }
    return result;
}

void newPicture(Session& s) {
    int width = s.picture().width;
    int height = s.picture().height;
    if (!s.host().askPictureSize(width, height)) {
        return;
    }
    s.edit(Step::NamedSnapshot, [&](SessionState& st) {
        st.picture().height = height;
        st.picture().width = width;
        fillPicture(st);
        st.document.file.clear();  // a new picture has no file yet
        s.markWritten();
        return Changes{changed::kCells | changed::kSize};
    });
}

void newFont(Session& s) {
    Host& host = s.host();
    const std::optional<OutlineFontRequest> request = host.askOutlineFont();
    if (!request) {
        return;
    }
    // Rendered before the question about unwritten changes: a font that cannot be made
    // should not first ask to save.
    OutlineFontResult made = renderOutlineFont(*request);
    if (!made) {
        host.showMessage(made.error, kMessageCaption);
        return;
    }
    if (mayClose(s)) {
        replaceFrames(s, std::move(made.font), nullptr);
    }
}

void openPicture(Session& s) {
    if (const std::optional<std::string> path = s.host().askOpenPictureFile()) {
        openPictureFile(s, *path);
    }
}

bool openPictureFile(Session& s, const std::string& path) {
    Host& host = s.host();
    std::string bytes;
    if (const FileResult opened = readFileStart(path, kMaxSetFileBytes, bytes);
        !showFileNotice(host, opened)) {
        host.showMessage(opened.error, kMessageCaption);
        return false;
    }
    // A BDF font comes in as a font set; Save Set writes it, the font file stays as it is.
    if (startsLikeBdf(bytes)) {
        BdfReading font = parseBdf(bytes);
        if (!font) {
            host.showMessage("The font file \"" + path + "\" cannot be opened: " + font.error + ".",
                             kMessageCaption);
            return false;
        }
        replaceFrames(s, std::move(font.font), nullptr);
        host.rememberPictureFile(path);
        return true;
    }
    // The whole file is checked before anything of the picture changes; a file cut short
    // would leave old cells in the picture that a later save writes out.
    const PictureOrSetReading reading = parsePictureOrSet(bytes);
    if (const std::string refused = pictureOrSetRefusal(path, reading); !refused.empty()) {
        host.showMessage(refused, kMessageCaption);
        return false;
    }
    if (reading.setFile || s.document().frameCount() > 1) {
        // The set, or a picture as a set of one, replaces every frame as one step.
        replaceFrames(s, documentOfSet(reading.set.content), &path);
    } else {
        const PictureFileContent& file = reading.picture.content;
        s.edit(Step::NamedSnapshot, [&](SessionState& st) {
            st.name() = fromWindows1252(file.nameBytes);
            st.picture().assign(PixelView::rowByRow(file.cells.data(), file.width, file.height));
            // Edits inside an edit announce with it: the new name comes with the new cells.
            s.markWritten(&path);
            return Changes{changed::kCells | changed::kSize | changed::kName};
        });
    }
    host.rememberPictureFile(path);
    return true;
}

bool saveSet(Session& s) {
    Host& host = s.host();
    StorableSet set = storableSet(s.document());
    if (!set) {
        host.showMessage(set.problem, kMessageCaption);
        return false;
    }
    const std::optional<std::string> path = host.askSaveSetFile(s.document().setName);
    if (!path) {
        return false;
    }
    if (const FileResult saved = replaceFile(*path, encodeSetFile(set.content));
        !showFileNotice(host, saved)) {
        host.showMessage(saved.error, kMessageCaption);
        return false;
    }
    host.rememberPictureFile(*path);
    s.markWritten(&*path);
    return true;
}

bool savePicture(Session& s) {
    const std::optional<std::string> path =
        savePictureAs(s.host(), s.picture().fileVersion, s.pictureName(), s.picture().view());
    if (!path) {
        return false;
    }
    // Of a set, this writes one frame: the set is not written yet.
    if (s.document().frameCount() == 1) {
        s.markWritten(&*path);
    }
    return true;
}

void renamePicture(Session& s, const std::string& name) {
    if (name == s.pictureName()) {
        return;
    }
    s.edit(Step::None, [&](SessionState& st) {
        st.name() = name;
        return Changes{changed::kName};
    });
}

bool mayClose(Session& s) {
    if (!s.hasUnwrittenChanges()) {
        return true;
    }
    // A set is saved whole: Save Picture would write one frame and lose the others.
    const bool wholeSet = s.document().frameCount() > 1;
    switch (s.host().askSaveBeforeClosing(wholeSet ? s.document().setName : s.pictureName(),
                                          wholeSet)) {
        case Dialogs::CloseChoice::Save:
            return wholeSet ? saveSet(s) : savePicture(s);
        case Dialogs::CloseChoice::Discard:
            return true;
        case Dialogs::CloseChoice::Cancel:
            break;
    }
    return false;
}

void saveSelectionAs(Session& s) {
    const std::string name = s.pictureName();
    if (!s.selection().bufferFilled || !boxFitsAPicture(s, "saving it")) {
        return;
    }
    if (const std::optional<std::string> chosen = s.host().askSaveSelectName(name)) {
        saveSelection(s, *chosen);
    }
}

void saveSelection(Session& s, const std::string& name) {
    // A picture file that Open Picture would refuse is never written.
    if (!s.selection().bufferFilled || !boxFitsAPicture(s, "saving it")) {
        return;
    }
    // A step although the picture does not change, as the box's other commands take one.
    s.edit(Step::Snapshot, [](SessionState&) { return Changes{}; });
    savePictureAs(s.host(), s.picture().fileVersion, name, s.selection().view());
}

void applyBitmapImport(Session& s, const BitmapImport& import) {
    if (import.importWidth < 1 || import.importHeight < 1) {
        return;  // a 0 x 0 picture would break every loop over the picture
    }
    s.edit(Step::NamedSnapshot, [&](SessionState& st) {
        st.picture().assign(
            PixelView(import.importPixels, import.importWidth, import.importHeight));
        return Changes{changed::kCells | changed::kSize};
    });
}

void applyImportedFrames(Session& s, Document frames) {
    frames.setName = s.document().setName;
    frames.current = 0;
    replaceFrames(s, std::move(frames), nullptr);
}

}  // namespace stipple
