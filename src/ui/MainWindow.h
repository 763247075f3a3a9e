#pragma once
// The editor's main window. It owns the editing session and the Host the session shows
// and asks through, the controls around the surface and the secondary windows. Only the
// main window is built at start; each secondary window is built when it is first needed.

#include <QMainWindow>
#include <memory>

#include "editor/Session.h"
#include "ui/CommandTable.h"
#include "ui/MainWindowLayout.h"
#include "ui/QtHost.h"
#include "ui/RecentFiles.h"
#include "ui/SurfaceScroller.h"

namespace stipple::ui {

class AboutBox;
class BitmapImportDialog;
class ClipboardExportPanel;
class ExportWindow;
class FramesWindow;
class NewFontDialog;
class SaveSelectionDialog;
class SelectToolPanel;
class SetSizeDialog;

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow();
    ~MainWindow() override;

    Session& session() { return session_; }
    QtHost& host() { return host_; }
    const MainWindowControls& controls() const { return controls_; }

    CommandControls& commandControls() { return commandControls_; }

    // The secondary windows, each built (hidden) when first asked for.
    SetSizeDialog& setSizeDialog();
    AboutBox& aboutBox();
    ClipboardExportPanel& clipboardExportPanel();
    SelectToolPanel& selectToolPanel();
    SaveSelectionDialog& saveSelectionDialog();
    BitmapImportDialog& bitmapImportDialog();
    ExportWindow& exportWindow();
    FramesWindow& framesWindow();
    NewFontDialog& newFontDialog();
    // The Select tool panel where it has been built already, else null.
    SelectToolPanel* builtSelectToolPanel() const { return selectToolPanel_.get(); }
    SurfaceScroller& surfaceScroller() { return surfaceScroller_; }
    RecentFiles& recentFiles() { return recentFiles_; }

    // A dropped file: a picture file opens as Open Picture does, a bitmap or PNG image opens
    // the import window with it loaded. False for any other file.
    bool openDroppedFile(const QString& path);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The host before the session that keeps it, then the controls. The secondary windows
    // go before the session they listen to.
    QtHost host_;
    Session session_;
    MainWindowControls controls_;
    CommandControls commandControls_;
    SurfaceScroller surfaceScroller_;
    RecentFiles recentFiles_;
    std::unique_ptr<SetSizeDialog> setSizeDialog_;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<ClipboardExportPanel> clipboardExportPanel_;
    std::unique_ptr<SelectToolPanel> selectToolPanel_;
    std::unique_ptr<SaveSelectionDialog> saveSelectionDialog_;
    std::unique_ptr<BitmapImportDialog> bitmapImportDialog_;
    std::unique_ptr<ExportWindow> exportWindow_;
    std::unique_ptr<FramesWindow> framesWindow_;
    std::unique_ptr<NewFontDialog> newFontDialog_;
};

}  // namespace stipple::ui
