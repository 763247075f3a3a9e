#pragma once
// A host that shows nothing: it keeps the picture's name, counts messages and answers the
// file dialogs with fixed paths.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/Host.h"

// Fails the run with a message; unlike assert() it stays in optimised builds.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace stipple::fuzz {

class FuzzHost : public Host {
  public:
    void presentSurface(const Raster&) override {}
    void showSizeFields(int, int, int) override {}
    void showSwatches(Rgb, Rgb) override {}
    void setUndoControlsEnabled(bool) override {}
    void setViewControls(bool, bool) override {}
    void showStatusText(int, const std::string&) override {}
    std::string pictureName() const override { return name; }
    void setPictureName(const std::string& n) override { name = n; }
    void showSelectToolPanel(bool) override {}
    bool pasteButtonDown() const override { return false; }
    bool askPictureSize(int&, int&) override { return false; }
    std::optional<std::string> askExportFile() override { return std::nullopt; }
    void setClipboardText(const std::string&) override {}
    void setAlignButtonDown(bool) override {}
    std::optional<std::string> askOpenPictureFile() override { return openPath; }
    std::optional<std::string> askSavePictureFile(const std::string&) override { return savePath; }
    void showBoxCoordinates(int, int, int, int) override {}
    std::optional<std::string> askSaveSelectName(const std::string&) override {
        return std::nullopt;
    }
    void showMessage(const std::string& text, const std::string&) override {
        ++messages;
        lastMessage = text;
    }

    std::string name = "Name";
    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
    int messages = 0;
    std::string lastMessage;
};

// A folder of its own for the files a run writes, on a memory file system when there is one.
inline const std::string& scratchFolder() {
    // Never destroyed, so that the clean-up at exit can still name it.
    static const std::string* folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr ? base : "/dev/shm") + "/stipple-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            pattern = "/tmp/stipple-fuzz-XXXXXX";
            FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

}  // namespace stipple::fuzz
