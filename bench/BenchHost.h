#pragma once
// A host that shows nothing and asks nothing, and an editor started on it with a picture
// of the largest size, so that what is measured is the core alone.

#include <memory>
#include <string>

#include "app/Editor.h"

namespace stipple::bench {

class BenchHost : public Host {
  public:
    void presentSurface(const Raster&) override {}
    void showSizeFields(int, int, int) override {}
    void showSwatches(Rgb, Rgb) override {}
    void setUndoControlsEnabled(bool) override {}
    void setViewControls(bool, bool) override {}
    void showStatusText(int, const std::string&) override {}
    std::string pictureName() const override { return "Name"; }
    void setPictureName(const std::string&) override {}
    void showSelectToolPanel(bool) override {}
    bool pasteButtonDown() const override { return false; }
    bool askPictureSize(int&, int&) override { return false; }
    std::optional<std::string> askExportFile() override { return std::nullopt; }
    void setClipboardText(const std::string&) override {}
    void setAlignButtonDown(bool) override {}
    std::optional<std::string> askOpenPictureFile() override { return std::nullopt; }
    std::optional<std::string> askSavePictureFile(const std::string&) override {
        return std::nullopt;
    }
    void showBoxCoordinates(int, int, int, int) override {}
    std::optional<std::string> askSaveSelectName(const std::string&) override {
        return std::nullopt;
    }
    void showMessage(const std::string&, const std::string&) override {}
};

// The editor is too large for the stack (the undo store alone is 1.8 MB).
struct BenchEditor {
    BenchHost host;
    std::unique_ptr<Editor> editor = std::make_unique<Editor>(host);

    explicit BenchEditor(int pixelSize = 10) {
        editor->FormCreate();
        // A picture of all five values, so that every colour is drawn.
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                editor->pixels[x][y] = (x * 3 + y * 7) % 5;
            }
        }
        editor->setPixelSize(pixelSize);
    }
    Editor* operator->() { return editor.get(); }
};

}  // namespace stipple::bench
