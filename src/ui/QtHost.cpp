#include "ui/QtHost.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QToolButton>

#include "editor/Messages.h"
#include "editor/Session.h"
#include "editor/ViewCommands.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/ExportWindow.h"
#include "ui/FramesWindow.h"
#include "ui/MainWindow.h"
#include "ui/NameEdit.h"
#include "ui/NewFontDialog.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"
#include "ui/SurfaceWidget.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// Tools > Join pen strokes, kept between runs.
const QString kJoinStrokesKey = QStringLiteral("Tools/joinPenStrokes");

// The filter descriptions already name their patterns, so they are shown alone. The save
// dialogs ask before a file that exists is replaced; Save to end, which only adds to a
// file, does not.
constexpr QFileDialog::Options kFileDialogOptions = QFileDialog::HideNameFilterDetails;

// The open and save dialogs of picture files; a name typed without an extension gets
// ".stw".
const QString kPictureFilter = QStringLiteral("(Stippleworkshop *.stw) (*.stw)");
const QString kSetFilter = QStringLiteral("(Stippleworkshop sets *.stws) (*.stws)");
const QString kFontFilter = QStringLiteral("(BDF fonts *.bdf) (*.bdf)");

void setUpPictureDialog(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode) {
    setUpFileDialog(dialog, name, mode, kFileDialogOptions, {kPictureFilter},
                    QStringLiteral("stw"));
}

QPixmap swatchPixmap(Rgb colour) {
    QPixmap p(24, 24);
    p.fill(QColor::fromRgb(colour));
    return p;
}

// Unchanged texts are left alone: setting them again would repaint during a paint.
void showText(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
    }
}

}  // namespace

void QtHost::presentSurface(const Raster& surface) {
    SurfaceWidget* shown = window_.controls().surface;
    if (shown->raster() != &surface) {
        shown->setRaster(&surface);
    }
    shown->update();
}

void QtHost::showSizeFields(int width, int height, int pixelSize) {
    const MainWindowControls& c = window_.controls();
    showText(c.widthField, QString::number(width));
    showText(c.heightField, QString::number(height));
    showText(c.pixelSizeField, QString::number(pixelSize));
}

void QtHost::showSwatches(Rgb left, Rgb right) {
    if (swatchesShown_ && left == leftSwatch_ && right == rightSwatch_) {
        return;
    }
    swatchesShown_ = true;
    leftSwatch_ = left;
    rightSwatch_ = right;
    window_.controls().leftSwatch->setPixmap(swatchPixmap(left));
    window_.controls().rightSwatch->setPixmap(swatchPixmap(right));
}

void QtHost::showLeftSwatch(Rgb colour) {
    leftSwatch_ = colour;
    window_.controls().leftSwatch->setPixmap(swatchPixmap(colour));
}

void QtHost::openWindow(Window which) {
    QWidget* shown = nullptr;
    switch (which) {
        case Window::BitmapImport:
            window_.bitmapImportDialog().exec();
            return;
        case Window::About:
            window_.aboutBox().exec();
            return;
        case Window::ClipboardPanel:
            shown = &window_.clipboardExportPanel();
            break;
        case Window::Export:
            shown = &window_.exportWindow();
            shown->activateWindow();  // it takes the keys: a window to work in, not a tool
            break;
        case Window::Frames:
            shown = &window_.framesWindow();
            shown->activateWindow();  // its buttons and the strip are reached by keyboard
            break;
    }
    shown->show();
    shown->raise();
}

void QtHost::closeProgram() {
    window_.close();
}

void QtHost::sessionChanged(const Session& session, const Changes& changes) {
    using namespace changed;
    const MainWindowControls& c = window_.controls();
    const SessionState& st = session.state();
    if (changes.has(kSize | kView)) {
        showSizeFields(st.picture().width, st.picture().height, st.view.pixelSize);
    }
    if (changes.has(kColours)) {
        showSwatches(session.displayColour(st.leftColour), session.displayColour(st.rightColour));
    }
    // Every command's menu item and control, enabled and checked as its rules say.
    window_.commandControls().showStates(session);
    if (changes.has(kTool) && st.joinStrokes != joinStrokesStored_) {
        joinStrokesStored_ = st.joinStrokes;
        programSettings().setValue(kJoinStrokesKey, st.joinStrokes);
    }
    if (changes.has(kTool)) {
        // The panel comes with the box tool; it is built the first time.
        if (st.tool == Tool::Box) {
            window_.selectToolPanel().show();
        } else if (SelectToolPanel* panel = window_.builtSelectToolPanel()) {
            panel->hide();
        }
    }
    if (changes.has(kName)) {
        showText(c.nameEdit, QString::fromStdString(session.pictureName()));
    }
    if (SelectToolPanel* panel = window_.builtSelectToolPanel(); panel && changes.has(kBox)) {
        const Selection& sel = st.selection;
        panel->showBoxCoordinates(sel.boxLeft, sel.boxTop, sel.boxRight, sel.boxBottom);
    }
}

void QtHost::restoreSettings(Session& session) {
    joinStrokesStored_ = programSettings().value(kJoinStrokesKey, false).toBool();
    setJoinStrokes(session, joinStrokesStored_);
}

void QtHost::rememberPictureFile(const std::string& path) {
    window_.recentFiles().remember(QString::fromStdString(path));
}

void QtHost::showPointerCell(int x, int y) {
    showStatusText(0, QStringLiteral("X: %1").arg(x));
    showStatusText(1, QStringLiteral("Y: %1").arg(y));
}

void QtHost::showStatusText(int panel, const QString& text) {
    QLabel* shown = window_.controls().statusPanels[panel];
    if (shown->text() != text) {
        shown->setText(text);
    }
}

void QtHost::setClipboardText(const std::string& utf8) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8), QClipboard::Clipboard);
}

bool QtHost::askPictureSize(int& width, int& height) {
    return window_.setSizeDialog().askSize(width, height);
}

std::optional<std::string> QtHost::askExportFile(bool replacing) {
    QFileDialog dialog(&window_, QStringLiteral("Save As"));
    setUpFileDialog(
        dialog, "SaveDialog1", QFileDialog::AcceptSave,
        replacing ? kFileDialogOptions : kFileDialogOptions | QFileDialog::DontConfirmOverwrite,
        {QStringLiteral("(lib *.h , source *.s text *.txt) (*.h *.txt *.s)"),
         QStringLiteral("(All Files *.*) (*)")});
    if (!lastExportFile_.isEmpty()) {
        dialog.selectFile(lastExportFile_);
    }
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastExportFile_ = *path;
    return path->toStdString();
}

std::optional<std::string> QtHost::askOpenPictureFile() {
    QFileDialog dialog(&window_, QStringLiteral("Open"));
    setUpPictureDialog(dialog, "OpenDialog1", QFileDialog::AcceptOpen);
    // Sets open here too; the picture files' filter stays the first.
    dialog.setNameFilters({kPictureFilter, kSetFilter, kFontFilter});
    if (!lastOpenedPicture_.isEmpty()) {
        dialog.selectFile(lastOpenedPicture_);
    } else if (!lastPictureFolder_.isEmpty()) {
        dialog.setDirectory(lastPictureFolder_);
    }
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastOpenedPicture_ = *path;
    lastPictureFolder_ = QFileInfo(*path).absolutePath();
    return path->toStdString();
}

std::optional<std::string> QtHost::askSavePictureFile(const std::string& presetName) {
    QFileDialog dialog(&window_, QStringLiteral("Save As"));
    setUpPictureDialog(dialog, "SaveDialog2", QFileDialog::AcceptSave);
    if (!lastPictureFolder_.isEmpty()) {
        dialog.setDirectory(lastPictureFolder_);
    }
    dialog.selectFile(QString::fromStdString(presetName));
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastPictureFolder_ = QFileInfo(*path).absolutePath();
    return path->toStdString();
}

std::optional<std::string> QtHost::askSaveSetFile(const std::string& presetName) {
    QFileDialog dialog(&window_, QStringLiteral("Save Set"));
    setUpFileDialog(dialog, "SaveSetDialog", QFileDialog::AcceptSave, kFileDialogOptions,
                    {kSetFilter}, QStringLiteral("stws"));
    if (!lastPictureFolder_.isEmpty()) {
        dialog.setDirectory(lastPictureFolder_);
    }
    dialog.selectFile(QString::fromStdString(presetName));
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastPictureFolder_ = QFileInfo(*path).absolutePath();
    return path->toStdString();
}

std::optional<std::string> QtHost::askSaveSelectName(const std::string& name) {
    const std::optional<QString> chosen =
        window_.saveSelectionDialog().askName(QString::fromStdString(name));
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

std::optional<OutlineFontRequest> QtHost::askOutlineFont() {
    return window_.newFontDialog().askRequest();
}

Dialogs::CloseChoice QtHost::askSaveBeforeClosing(const std::string& name, bool wholeSet) {
    QMessageBox box(
        QMessageBox::Question, QString::fromStdString(kMessageCaption),
        (wholeSet ? QStringLiteral("Save changes to the set \"%1\" before closing?")
                  : QStringLiteral("Save changes to the picture \"%1\" before closing?"))
            .arg(QString::fromStdString(name)),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window_);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    // Alt with the first letter answers from the keyboard; Escape cancels.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return CloseChoice::Save;
        case QMessageBox::Discard:
            return CloseChoice::Discard;
        default:
            return CloseChoice::Cancel;
    }
}

void QtHost::showMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, &window_);
    box.exec();
}

}  // namespace stipple::ui
