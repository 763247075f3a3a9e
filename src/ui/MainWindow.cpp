#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "editor/FileCommands.h"
#include "editor/MouseTools.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/CommandErrors.h"
#include "ui/ExportWindow.h"
#include "ui/FramesWindow.h"
#include "ui/NameEdit.h"
#include "ui/NewFontDialog.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"
#include "ui/SurfaceWidget.h"

namespace stipple::ui {

MainWindow::MainWindow()
    : host_(*this),
      session_(host_),
      controls_(buildMainWindowControls(*this)),
      surfaceScroller_(session_, *controls_.surface, controls_.client, surfaceRoom()),
      recentFiles_(session_, this) {
    setAcceptDrops(true);
    // What is typed in the name box renames the picture.
    connect(controls_.nameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        runCommand(this, [&] { renamePicture(session_, text.toStdString()); });
    });
    bindMainWindowCommands(*this, session_, commandControls_);

    SurfaceWidget* surface = controls_.surface;
    surface->setSession(&session_);
    connect(surface, &SurfaceWidget::mousePressed, this,
            [this](MouseButton button, int x, int y, unsigned keys) {
                runCommand(this, [&] { stipple::press(session_, button, x, y, keys); });
            });
    connect(surface, &SurfaceWidget::mouseMoved, this,
            [this](int x, int y) { runCommand(this, [&] { stipple::move(session_, x, y); }); });
    connect(surface, &SurfaceWidget::mouseReleased, this, [this](MouseButton button, int x, int y) {
        runCommand(this, [&] { stipple::release(session_, button, x, y); });
    });
    session_.start();
    host_.restoreSettings(session_);
}

MainWindow::~MainWindow() = default;

namespace {

template <class W, class... Args>
W& built(std::unique_ptr<W>& window, Args&&... args) {
    if (!window) {
        window = std::make_unique<W>(std::forward<Args>(args)...);
    }
    return *window;
}

}  // namespace

SetSizeDialog& MainWindow::setSizeDialog() {
    return built(setSizeDialog_, this);
}

AboutBox& MainWindow::aboutBox() {
    return built(aboutBox_, this);
}

ClipboardExportPanel& MainWindow::clipboardExportPanel() {
    return built(clipboardExportPanel_, session_, this);
}

SelectToolPanel& MainWindow::selectToolPanel() {
    return built(selectToolPanel_, session_, commandControls_, this);
}

SaveSelectionDialog& MainWindow::saveSelectionDialog() {
    return built(saveSelectionDialog_, this);
}

BitmapImportDialog& MainWindow::bitmapImportDialog() {
    return built(bitmapImportDialog_, session_, this);
}

ExportWindow& MainWindow::exportWindow() {
    return built(exportWindow_, session_, *controls_.surface, this);
}

FramesWindow& MainWindow::framesWindow() {
    return built(framesWindow_, session_, commandControls_, this);
}

NewFontDialog& MainWindow::newFontDialog() {
    return built(newFontDialog_, this);
}

namespace {

enum class DroppedKind { None, Picture, Image };

// What a dropped file is taken for, by its name's extension.
DroppedKind droppedKind(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("stw")) {
        return DroppedKind::Picture;
    }
    if (suffix == QStringLiteral("bmp") || suffix == QStringLiteral("png")) {
        return DroppedKind::Image;
    }
    return DroppedKind::None;
}

// The one local file of a drop, or "" for none or several.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedKind(droppedFile(event->mimeData())) != DroppedKind::None) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (droppedKind(path) == DroppedKind::None) {
        return;
    }
    event->acceptProposedAction();
    // The drag's source waits for the drop to end: the import window opens after it.
    QTimer::singleShot(0, this, [this, path] { openDroppedFile(path); });
}

bool MainWindow::openDroppedFile(const QString& path) {
    switch (droppedKind(path)) {
        case DroppedKind::Picture: {
            bool opened = false;
            runCommand(this, [&] { opened = openPictureFile(session_, path.toStdString()); });
            return opened;
        }
        case DroppedKind::Image:
            if (bitmapImportDialog().loadBitmapFile(path)) {
                runCommand(this, [&] { bitmapImportDialog().exec(); });
                return true;
            }
            return false;
        case DroppedKind::None:
            break;
    }
    return false;
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
