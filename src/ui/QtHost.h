#pragma once
// The session's Host over the Qt windows: the main window's controls show its state; the
// secondary windows, Qt's file dialogs and message boxes ask the user.

#include <QString>

#include "editor/Host.h"

namespace stipple {
class Session;
}  // namespace stipple

namespace stipple::ui {

class MainWindow;

class QtHost final : public Host {
  public:
    // Only keeps the window: nothing of it is used before the session starts.
    explicit QtHost(MainWindow& window) : window_(window) {}

    void presentSurface(const Raster& surface) override;
    void showPointerCell(int x, int y) override;
    void rememberPictureFile(const std::string& path) override;
    void showLeftSwatch(Rgb colour) override;
    // The main window's controls and the Select tool panel show what changed.
    void sessionChanged(const Session& session, const Changes& changes) override;

    void setClipboardText(const std::string& utf8) override;
    bool askPictureSize(int& width, int& height) override;
    std::optional<std::string> askExportFile(bool replacing) override;
    CloseChoice askSaveBeforeClosing(const std::string& name, bool wholeSet) override;
    std::optional<std::string> askOpenPictureFile() override;
    std::optional<std::string> askSavePictureFile(const std::string& presetName) override;
    std::optional<std::string> askSaveSetFile(const std::string& presetName) override;
    std::optional<std::string> askSaveSelectName(const std::string& name) override;
    std::optional<OutlineFontRequest> askOutlineFont() override;
    void showMessage(const std::string& text, const std::string& caption) override;
    void openWindow(Window window) override;
    // The choices kept between runs, taken into the started session.
    void restoreSettings(Session& session);
    void closeProgram() override;

  private:
    void showSizeFields(int width, int height, int pixelSize);
    void showSwatches(Rgb left, Rgb right);
    void showStatusText(int panel, const QString& text);

    MainWindow& window_;
    QString lastExportFile_;     // offered again by the next export dialog
    QString lastOpenedPicture_;  // offered again by the next open dialog
    QString lastPictureFolder_;  // where the picture dialogs open: the last one used
    Rgb leftSwatch_ = 0, rightSwatch_ = 0;
    bool joinStrokesStored_ = false;
    bool swatchesShown_ = false;
};

}  // namespace stipple::ui
