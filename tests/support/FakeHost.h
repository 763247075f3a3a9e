#pragma once
// A Host that records what the core shows and answers its questions from a script.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/Host.h"
#include "editor/Session.h"

namespace stipple::testing {

class FakeHost : public Host {
  public:
    void presentSurface(const Raster&) override { ++presentCount; }
    void rememberPictureFile(const std::string& path) override { remembered.push_back(path); }
    void showLeftSwatch(Rgb) override { ++leftSwatchShown; }
    void openWindow(Window window) override { opened.push_back(window); }
    void closeProgram() override { ++closeRequests; }
    void showPointerCell(int x, int y) override {
        status[0] = "X: " + std::to_string(x);
        status[1] = "Y: " + std::to_string(y);
    }
    // Reads what the main window would show, as the real windows do.
    void sessionChanged(const Session& session, const Changes& changes) override {
        using namespace changed;
        ++announcements;
        lastChanges = changes;
        const SessionState& st = session.state();
        if (changes.has(kSize | kView)) {
            shownWidth = st.picture().width;
            shownHeight = st.picture().height;
            shownPixelSize = st.view.pixelSize;
        }
        if (changes.has(kColours)) {
            leftSwatch = session.displayColour(st.leftColour);
            rightSwatch = session.displayColour(st.rightColour);
        }
        if (changes.has(kBox)) {
            const Selection& sel = st.selection;
            boxFields[0] = sel.boxLeft;
            boxFields[1] = sel.boxTop;
            boxFields[2] = sel.boxRight;
            boxFields[3] = sel.boxBottom;
        }
    }
    bool askPictureSize(int& width, int& height) override {
        askedWidth = width;
        askedHeight = height;
        if (!sizeAnswer) {
            return false;
        }
        width = answerWidth;
        height = answerHeight;
        return true;
    }
    void showMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
    }

    // ---- Export ----
    std::optional<std::string> askExportFile(bool replacing) override {
        ++exportFileQuestions;
        exportAsksBeforeReplacing = replacing;
        return exportFileAnswer;
    }
    CloseChoice askSaveBeforeClosing(const std::string& shown, bool wholeSet) override {
        closeQuestions.push_back(wholeSet ? "set " + shown : shown);
        return closeAnswer;
    }
    void setClipboardText(const std::string& utf8) override {
        clipboard = utf8;
        ++clipboardWrites;
    }

    std::optional<std::string> exportFileAnswer;  // nothing: the user cancels
    int exportFileQuestions = 0;
    bool exportAsksBeforeReplacing = false;  // as the last export dialog was shown
    CloseChoice closeAnswer = CloseChoice::Cancel;
    std::vector<std::string> closeQuestions;  // the name in each question before closing
    std::string clipboard = "(earlier clipboard)";
    int clipboardWrites = 0;
    // ---- end of export ----

    // ---- Picture files and the box tool ----
    std::optional<std::string> askOpenPictureFile() override {
        ++openFileQuestions;
        return openFileAnswer;
    }
    std::optional<std::string> askSavePictureFile(const std::string& presetName) override {
        savePresets.push_back(presetName);
        return saveFileAnswer;
    }
    std::optional<std::string> askSaveSetFile(const std::string& presetName) override {
        savePresets.push_back("set " + presetName);
        return saveFileAnswer;
    }
    std::optional<std::string> askSaveSelectName(const std::string& shown) override {
        saveSelectShown.push_back(shown);
        return saveSelectAnswer;
    }
    std::optional<OutlineFontRequest> askOutlineFont() override {
        ++outlineFontQuestions;
        return outlineFontAnswer;
    }

    std::optional<std::string> openFileAnswer;  // nothing: the user cancels
    int openFileQuestions = 0;
    std::optional<std::string> saveFileAnswer;
    std::vector<std::string> savePresets;  // one per save dialog shown
    int boxFields[4] = {-1, -1, -1, -1};   // X1, Y1, X2, Y2 of the Select tool panel
    std::optional<std::string> saveSelectAnswer;
    std::vector<std::string> saveSelectShown;             // one per Save Select box shown
    std::optional<OutlineFontRequest> outlineFontAnswer;  // nothing: the user cancels
    int outlineFontQuestions = 0;
    // ---- end of picture files and the box tool ----

    bool sizeAnswer = false;  // OK (true) or Cancel of the Set Size dialog
    int answerWidth = 0, answerHeight = 0;
    int askedWidth = -1, askedHeight = -1;

    int presentCount = 0;
    int announcements = 0;
    Changes lastChanges;
    int shownWidth = -1, shownHeight = -1, shownPixelSize = -1;
    Rgb leftSwatch = 0x123456, rightSwatch = 0x123456;
    std::string status[2];
    std::vector<std::string> remembered;  // picture files opened or written, in order
    std::vector<Window> opened;           // the windows commands opened, in order
    int closeRequests = 0;
    int leftSwatchShown = 0;
    std::vector<std::pair<std::string, std::string>> messages;
};

}  // namespace stipple::testing
