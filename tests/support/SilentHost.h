#pragma once
// A host that shows nothing: it keeps the picture's name, counts messages and answers the
// file dialogs with preset paths. For runs that measure or fuzz the core alone.

#include <optional>
#include <string>

#include "editor/Host.h"

namespace stipple::testing {

class SilentHost : public Host {
  public:
    void presentSurface(const Raster&) override {}
    void showPointerCell(int, int) override {}
    void rememberPictureFile(const std::string&) override {}
    void sessionChanged(const Session&, const Changes&) override {}
    void showLeftSwatch(Rgb) override {}
    void openWindow(Window) override {}
    void closeProgram() override {}
    bool askPictureSize(int&, int&) override { return false; }
    std::optional<std::string> askExportFile(bool) override { return std::nullopt; }
    CloseChoice askSaveBeforeClosing(const std::string&, bool) override {
        return CloseChoice::Cancel;
    }
    void setClipboardText(const std::string&) override {}
    std::optional<std::string> askOpenPictureFile() override { return openPath; }
    std::optional<std::string> askSavePictureFile(const std::string&) override { return savePath; }
    std::optional<std::string> askSaveSetFile(const std::string&) override { return savePath; }
    std::optional<std::string> askSaveSelectName(const std::string&) override {
        return std::nullopt;
    }
    std::optional<OutlineFontRequest> askOutlineFont() override { return std::nullopt; }
    void showMessage(const std::string& text, const std::string&) override {
        ++messages;
        lastMessage = text;
    }

    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
    int messages = 0;
    std::string lastMessage;
};

}  // namespace stipple::testing
