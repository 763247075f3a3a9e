#pragma once
// A Host that records what the core shows and answers its questions from a script.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/Host.h"

namespace stipple::testing {

class FakeHost : public Host {
  public:
    void presentSurface(const Raster&) override { ++presentCount; }
    void showSizeFields(int width, int height, int pixelSize) override {
        shownWidth = width;
        shownHeight = height;
        shownPixelSize = pixelSize;
    }
    void showSwatches(Rgb left, Rgb right) override {
        leftSwatch = left;
        rightSwatch = right;
    }
    void setUndoControlsEnabled(bool enabled) override { undoEnabled = enabled; }
    void setRedoControlsEnabled(bool enabled) override { redoEnabled = enabled; }
    void setViewControls(bool grids, bool border) override {
        gridsChecked = grids;
        borderChecked = border;
    }
    void showStatusText(int panel, const std::string& text) override {
        status[panel == 0 ? 0 : 1] = text;
    }
    std::string pictureName() const override { return name; }
    void setPictureName(const std::string& n) override { name = n; }
    void showSelectToolPanel(bool visible) override { selectPanelVisible = visible; }
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
    CloseChoice askSaveBeforeClosing(const std::string& shown) override {
        closeQuestions.push_back(shown);
        return closeAnswer;
    }
    void setClipboardText(const std::string& utf8) override {
        clipboard = utf8;
        ++clipboardWrites;
    }
    void setAlignButtonDown(bool down) override { alignDown = down; }

    std::optional<std::string> exportFileAnswer;  // nothing: the user cancels
    int exportFileQuestions = 0;
    bool exportAsksBeforeReplacing = false;  // as the last export dialog was shown
    CloseChoice closeAnswer = CloseChoice::Cancel;
    std::vector<std::string> closeQuestions;  // the name in each question before closing
    std::string clipboard = "(earlier clipboard)";
    int clipboardWrites = 0;
    bool alignDown = false;
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
    void showBoxCoordinates(int x1, int y1, int x2, int y2) override {
        boxFields[0] = x1;
        boxFields[1] = y1;
        boxFields[2] = x2;
        boxFields[3] = y2;
    }
    std::optional<std::string> askSaveSelectName(const std::string& shown) override {
        saveSelectShown.push_back(shown);
        return saveSelectAnswer;
    }

    std::optional<std::string> openFileAnswer;  // nothing: the user cancels
    int openFileQuestions = 0;
    std::optional<std::string> saveFileAnswer;
    std::vector<std::string> savePresets;  // one per save dialog shown
    int boxFields[4] = {-1, -1, -1, -1};   // X1, Y1, X2, Y2 of the Select tool panel
    std::optional<std::string> saveSelectAnswer;
    std::vector<std::string> saveSelectShown;  // one per Save Select box shown
    // ---- end of picture files and the box tool ----

    bool selectPanelVisible = false;
    bool sizeAnswer = false;  // OK (true) or Cancel of the Set Size dialog
    int answerWidth = 0, answerHeight = 0;
    int askedWidth = -1, askedHeight = -1;

    int presentCount = 0;
    int shownWidth = -1, shownHeight = -1, shownPixelSize = -1;
    Rgb leftSwatch = 0x123456, rightSwatch = 0x123456;
    bool undoEnabled = true;
    bool redoEnabled = true;
    bool gridsChecked = false, borderChecked = true;
    std::string status[2];
    std::string name = "Name";
    std::vector<std::pair<std::string, std::string>> messages;
};

}  // namespace stipple::testing
