#pragma once
// The editor's main window. It owns the editing session and the Host the session shows
// and asks through, the controls around the surface, the six secondary windows and the Export
// window; the session starts once all of them stand.

#include <QMainWindow>

#include "editor/Session.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/ExportWindow.h"
#include "ui/MainWindowLayout.h"
#include "ui/QtHost.h"
#include "ui/RecentFiles.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"
#include "ui/SurfaceScroller.h"

namespace stipple::ui {

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow();
    ~MainWindow() override;

    Session& session() { return session_; }
    QtHost& host() { return host_; }
    const MainWindowControls& controls() const { return controls_; }

    SetSizeDialog& setSizeDialog() { return setSizeDialog_; }
    AboutBox& aboutBox() { return aboutBox_; }
    ClipboardExportPanel& clipboardExportPanel() { return clipboardExportPanel_; }
    SelectToolPanel& selectToolPanel() { return selectToolPanel_; }
    SaveSelectionDialog& saveSelectionDialog() { return saveSelectionDialog_; }
    BitmapImportDialog& bitmapImportDialog() { return bitmapImportDialog_; }
    ExportWindow& exportWindow() { return exportWindow_; }
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
    // Made in this order: the host before the session that keeps it, then the controls,
    // then the six secondary windows in their fixed order and the Export window.
    QtHost host_;
    Session session_;
    MainWindowControls controls_;
    SetSizeDialog setSizeDialog_;
    AboutBox aboutBox_;
    ClipboardExportPanel clipboardExportPanel_;
    SelectToolPanel selectToolPanel_;
    SaveSelectionDialog saveSelectionDialog_;
    BitmapImportDialog bitmapImportDialog_;
    ExportWindow exportWindow_;
    SurfaceScroller surfaceScroller_;
    RecentFiles recentFiles_;
};

}  // namespace stipple::ui
