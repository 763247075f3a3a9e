// Opening files without the open dialog: the recent files of the File menu and a file
// dropped on the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>

#include "formats/PictureFile.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/Controls.h"
#include "ui/ExportWindow.h"
#include "ui/MainWindow.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"

namespace {

using namespace stipple;

class OpeningFilesTest : public ::testing::Test {
  protected:
    QString pictureFile(const QString& name, const std::string& pictureName) {
        const std::vector<Pixel> cells = {0, 1, 2, 3, 4, 0};
        const std::string bytes = encodePictureFile(
            pictureFileContent(1, pictureName, PixelView::rowByRow(cells.data(), 3, 2)));
        const QString path = folder.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    // Closes the next modal window (message box or dialog) once it shows, keeping its text.
    void closeNextModal() {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shownText = box->text();
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
        });
    }

    QTemporaryDir folder;
    ui::MainWindow form;
    Session& session = form.session();
    QString shownText;
};

TEST_F(OpeningFilesTest, RecentFilesKeepTheLastTenMostRecentFirst) {
    for (int i = 1; i <= 12; ++i) {
        form.recentFiles().remember(pictureFile(QStringLiteral("p%1.stw").arg(i), "P"));
    }
    form.recentFiles().remember(folder.filePath(QStringLiteral("p5.stw")));
    QStringList expected{folder.filePath(QStringLiteral("p5.stw"))};
    for (int i = 12; i >= 3; --i) {
        if (i != 5) {
            expected << folder.filePath(QStringLiteral("p%1.stw").arg(i));
        }
    }
    EXPECT_EQ(form.recentFiles().files(), expected);
    // The menu sits before Save Picture and names the files in that order.
    QMenu* file = stipple::testing::control<QMenu>(&form, "File1");
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(form.recentFiles().menu()->menuAction());
    ASSERT_GT(at, 0);
    EXPECT_EQ(items[at + 1]->objectName(), QStringLiteral("Savepicture1"));
    EXPECT_TRUE(form.recentFiles().menu()->actions().front()->text().endsWith("p5.stw"));

    // A file chosen from the list opens as Open Picture does; a missing one is dropped.
    form.recentFiles().open(expected[2]);
    EXPECT_EQ(form.session().pictureName(), "P");
    EXPECT_EQ(session.picture().width, 3);
    EXPECT_EQ(session.undoCount(), 1);
    EXPECT_EQ(form.recentFiles().files().front(), expected[2]);
    QFile::remove(expected[1]);
    closeNextModal();
    form.recentFiles().open(expected[1]);
    EXPECT_TRUE(shownText.contains(QStringLiteral("is not there any more")));
    EXPECT_FALSE(form.recentFiles().files().contains(expected[1]));
    EXPECT_EQ(form.recentFiles().files().size(), 9);
}

TEST_F(OpeningFilesTest, ADroppedFileOpensByItsKind) {
    const QString picture = pictureFile(QStringLiteral("drop.stw"), "Dropped");
    const auto drop = [&](const QString& path) {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        const bool accepted = enter.isAccepted();
        if (accepted) {
            QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(&form, &dropped);
            QApplication::processEvents();
        }
        delete data;
        return accepted;
    };
    EXPECT_TRUE(drop(picture));
    EXPECT_EQ(form.session().pictureName(), "Dropped");
    EXPECT_EQ(session.undoCount(), 1);

    // A bitmap opens the import window with it loaded.
    const QString bitmap = folder.filePath(QStringLiteral("drop.bmp"));
    QImage(5, 4, QImage::Format_RGB32).save(bitmap, "BMP");
    closeNextModal();
    EXPECT_TRUE(form.openDroppedFile(bitmap));
    EXPECT_EQ(form.bitmapImportDialog().import().importWidth, 5);
    EXPECT_EQ(session.picture().width, 3);  // cancelled: the picture stays

    EXPECT_FALSE(drop(folder.filePath(QStringLiteral("notes.txt"))));
}

}  // namespace
