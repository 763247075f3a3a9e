#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>

#include "editor/FileCommands.h"
#include "editor/MouseTools.h"
#include "ui/CommandErrors.h"
#include "ui/CommandTable.h"
#include "ui/SurfaceWidget.h"

namespace stipple::ui {

MainWindow::MainWindow()
    : host_(*this),
      session_(host_),
      controls_(buildMainWindowControls(*this)),
      setSizeDialog_(this),
      aboutBox_(this),
      clipboardExportPanel_(session_, this),
      selectToolPanel_(session_, this),
      saveSelectionDialog_(this),
      bitmapImportDialog_(session_, this),
      exportWindow_(session_, *controls_.surface, this),
      surfaceScroller_(session_, *controls_.surface, controls_.client, surfaceRoom()) {
    bindMainWindowCommands(*this, session_);

    SurfaceWidget* surface = controls_.surface;
    connect(surface, &SurfaceWidget::mousePressed, this,
            [this](MouseButton button, int x, int y, unsigned keys) {
                runCommand(this, [&] { stipple::press(session_, button, x, y, keys); });
            });
    connect(surface, &SurfaceWidget::mouseMoved, this,
            [this](int x, int y) { runCommand(this, [&] { stipple::move(session_, x, y); }); });
    connect(surface, &SurfaceWidget::mouseReleased, this, [this](MouseButton button, int x, int y) {
        runCommand(this, [&] { stipple::release(session_, button, x, y); });
    });
    // Each paint of the client area redraws the surface from the picture.
    controls_.client->installEventFilter(this);

    session_.start();
}

MainWindow::~MainWindow() = default;

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.client && event->type() == QEvent::Paint) {
        host_.redrawDuringPaint(session_);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Changes not yet written are never closed away without a question.
    bool allowed = false;
    runCommand(this, [&] { allowed = mayClose(session_); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}

}  // namespace stipple::ui
