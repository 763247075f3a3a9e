// The Select tool panel and the picture file commands of the main window reach the core
// and the controls follow it. What the operations and the file do is tested with the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <string>

#include "app/ApplicationShell.h"
#include "app/NameEditWidget.h"
#include "dialogs/SetSizeDialog.h"
#include "files/BitmapImportWindow.h"
#include "files/SaveSelectBox.h"
#include "support/shell/FileDialogs.h"
#include "tools/SelectToolPanel.h"
#include "view/SurfaceWidget.h"

namespace {

using stipple::kBlack;
using stipple::kGray33;
using stipple::kTransparent;
using stipple::kWhite;

QLineEdit* fileNameField(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Types a whole path into a file dialog's name field and presses Enter.
void typeIntoFileDialog(QFileDialog* dialog, const QString& path) {
    QLineEdit* name = fileNameField(dialog);
    ASSERT_NE(name, nullptr);
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
}

class SelectToolPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(STIPPLE_TEST_TMP_DIR)));
        ASSERT_TRUE(folder.isValid());
    }

    // Answers the next modal window of type `Window` once it is open. It polls, because one
    // modal window may open just as another one closes; a poll left over from a failed
    // test goes with the main window.
    template <class Window>
    void whenOpens(std::function<void(Window*)> answer) {
        auto* poll = new QTimer(&form);
        const QDeadlineTimer deadline(5000);
        QObject::connect(poll, &QTimer::timeout, [poll, deadline, answer = std::move(answer)] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (window == nullptr || !window->isVisible()) {
                if (deadline.hasExpired()) {
                    poll->deleteLater();
                    poll->stop();
                    ADD_FAILURE() << "no " << Window::staticMetaObject.className() << " opened";
                }
                return;
            }
            poll->stop();
            poll->deleteLater();
            answer(window);
        });
        poll->start(5);
    }

    // A menu shortcut, typed while the main window is the active one again.
    void typeShortcut(Qt::Key key) {
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, key, Qt::ControlModifier);
    }

    // A left drag on Image1 from one screen position to another, as the mouse does it.
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(form.Image1, Qt::LeftButton, {}, from);
        QTest::mouseMove(form.Image1, to);
        QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, to);
    }

    QString boxFields() const {
        return QStringList({panel.X1->text(), panel.Y1->text(), panel.X2->text(), panel.Y2->text()})
            .join(QLatin1Char(' '));
    }

    ApplicationShell shell;
    TForm1& form = *shell.Form1;
    Tselpanel& panel = *shell.selpanel;
    stipple::Editor& editor = form.editor();
    QTemporaryDir folder{QStringLiteral(STIPPLE_TEST_TMP_DIR "/selpanel-XXXXXX")};
};

TEST_F(SelectToolPanelTest, ControlsStandAtTheirPlacesWithTheirHints) {
    struct Control {
        QWidget* widget;
        QPoint at;
        const char* hint;
    };
    const Control controls[] = {
        {panel.selectbutton, {8, 16}, "Select mode"},
        {panel.PasteButton, {40, 16}, "Paste mode"},
        {panel.SaveButton, {8, 56}, "Save select to STW file"},
        {panel.CropButton, {72, 56}, "Cut off select"},
        {panel.SpeedButton2, {40, 96}, "Rotate right (90 degrees)"},
        {panel.SpeedButton4, {104, 96}, "Flip vertically"},
        {panel.X1, {32, 125}, "coordinate X"},
        {panel.Y2, {88, 141}, "coordinate Y"},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        EXPECT_EQ(c.widget->pos(), c.at);
        EXPECT_EQ(c.widget->toolTip(), c.hint);
        if (auto* button = qobject_cast<QToolButton*>(c.widget)) {
            EXPECT_EQ(button->size(), QSize(23, 22));
            EXPECT_FALSE(button->icon().isNull());
        }
    }
    for (QLineEdit* field : {panel.X1, panel.Y1, panel.X2, panel.Y2}) {
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(field->hasFrame());
        EXPECT_EQ(field->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(panel.Label10->text(), "Y1:");
    EXPECT_EQ(panel.Label10->pos(), QPoint(66, 124));
    EXPECT_TRUE(panel.Label10->font().bold());
    EXPECT_EQ(panel.Label5->text(), "Transformation");
    EXPECT_TRUE(panel.selectbutton->isChecked());
    EXPECT_FALSE(panel.PasteButton->isChecked());
}

TEST_F(SelectToolPanelTest, PanelGoesWithTheBoxToolAndKeepsItsMode) {
    form.box_button->click();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(editor.selectMode);

    panel.PasteButton->click();
    EXPECT_TRUE(panel.PasteButton->isChecked());
    EXPECT_FALSE(panel.selectbutton->isChecked());
    EXPECT_TRUE(editor.pasteMode);
    EXPECT_FALSE(editor.selectMode);

    form.pen_button->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(editor.pasteMode);

    // Back to the box tool: still in paste mode.
    form.box_button->click();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(editor.pasteMode);

    panel.selectbutton->click();
    EXPECT_TRUE(editor.selectMode);
    EXPECT_FALSE(editor.pasteMode);

    // Its close box only hides it; the box tool stays chosen.
    panel.close();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(editor.toolBox);
}

TEST_F(SelectToolPanelTest, DragCapturesTheBoxAndTheButtonsWorkOnIt) {
    editor.pixels[3][5] = kWhite;  // top-left of the box to come
    editor.pixels[5][8] = kGray33;
    form.box_button->click();
    // From cell (5, 5) back to cell (3, 8) at pixel size 10.
    drag({45, 45}, {25, 75});
    EXPECT_EQ(boxFields(), "3 5 5 8");
    EXPECT_EQ(editor.selWidth, 3);
    EXPECT_EQ(editor.selHeight, 4);
    EXPECT_EQ(editor.undoCount, 1);

    panel.SpeedButton2->click();  // rotate right
    EXPECT_EQ(editor.selWidth, 4);
    EXPECT_EQ(editor.selHeight, 3);
    EXPECT_EQ(editor.selBuffer[4][1], kWhite);
    panel.SpeedButton1->click();  // and back
    EXPECT_EQ(editor.selBuffer[1][1], kWhite);
    panel.SpeedButton3->click();  // top and bottom change places
    EXPECT_EQ(editor.selBuffer[1][4], kWhite);
    panel.SpeedButton4->click();  // left and right
    EXPECT_EQ(editor.selBuffer[3][4], kWhite);
    EXPECT_EQ(editor.selBuffer[1][1], kGray33);
    EXPECT_EQ(boxFields(), "3 5 5 8");

    // Paste mode: a press writes the buffer at the pressed cell.
    panel.PasteButton->click();
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(205, 205));
    EXPECT_EQ(editor.pixels[21][21], kGray33);
    EXPECT_EQ(editor.pixels[23][24], kWhite);

    panel.ClearButton->click();
    EXPECT_EQ(editor.pixels[3][5], kTransparent);

    panel.CropButton->click();
    EXPECT_EQ(form.WID->text(), "3");
    EXPECT_EQ(form.HEIG->text(), "4");
    EXPECT_EQ(editor.pixels[1][1], kGray33);
    EXPECT_EQ(editor.undoCount, 4);  // capture, paste, clear, crop
}

TEST_F(SelectToolPanelTest, SavedSelectionOpensAsAPicture) {
    form.Edit1->setText(QStringLiteral("Sheet"));
    editor.pixels[2][2] = kBlack;
    editor.pixels[3][2] = kWhite;
    form.box_button->click();
    drag({15, 15}, {35, 25});  // cells (2, 2) to (4, 3)
    ASSERT_EQ(boxFields(), "2 2 4 3");

    QString offeredName, presetFile, suffix;
    QStringList filters, shownFilters;
    QFileDialog::Options options;
    whenOpens<Tsavebox>([&](Tsavebox* box) {
        offeredName = box->Edit1->text();
        box->Edit1->setText(QStringLiteral("Part"));
        // Enter presses the default button; the file dialog follows.
        whenOpens<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), "SaveDialog2");
            presetFile = fileNameField(dialog)->text();
            suffix = dialog->defaultSuffix();
            filters = dialog->nameFilters();
            shownFilters = stipple::testing::shownFilterTexts(dialog);
            options = dialog->options();
            typeIntoFileDialog(dialog, folder.filePath(QStringLiteral("part")));
        });
        QTest::keyClick(box->Edit1, Qt::Key_Return);
    });
    panel.SaveButton->click();
    EXPECT_EQ(offeredName, "Sheet");
    EXPECT_EQ(presetFile, "Part");
    EXPECT_EQ(suffix, "stw");
    EXPECT_EQ(filters, QStringList(QStringLiteral("(Stippleworkshop *.stw) (*.stw)")));
    EXPECT_EQ(shownFilters, QStringList(QStringLiteral("(Stippleworkshop *.stw)")));
    EXPECT_TRUE(options & QFileDialog::DontConfirmOverwrite);
    const QString saved = folder.filePath(QStringLiteral("part.stw"));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(editor.undoCount, 2);  // the capture and the save

    form.ClearImage1->trigger();
    whenOpens<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "OpenDialog1");
        EXPECT_EQ(dialog->defaultSuffix(), "stw");
        typeIntoFileDialog(dialog, saved);
    });
    typeShortcut(Qt::Key_O);
    EXPECT_EQ(form.Edit1->text(), "Part");
    EXPECT_EQ(form.WID->text(), "3");
    EXPECT_EQ(form.HEIG->text(), "2");
    EXPECT_EQ(editor.pixels[1][1], kBlack);
    EXPECT_EQ(editor.pixels[2][1], kWhite);
    EXPECT_EQ(editor.pixels[3][2], kTransparent);
}

TEST_F(SelectToolPanelTest, SaveSelectEndsWhereTheUserStops) {
    // Before any capture the box is not even shown.
    panel.SaveButton->click();
    EXPECT_EQ(editor.undoCount, 0);

    form.box_button->click();
    drag({15, 15}, {15, 15});
    whenOpens<Tsavebox>([this](Tsavebox* box) { box->close(); });
    panel.SaveButton->click();
    EXPECT_EQ(editor.undoCount, 1);  // the capture only

    // OK, then the file dialog cancelled: the undo level is taken, nothing is written.
    whenOpens<Tsavebox>([this](Tsavebox* box) {
        whenOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        box->Button1->click();
    });
    panel.SaveButton->click();
    EXPECT_EQ(editor.undoCount, 2);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(SelectToolPanelTest, FileMenuAndToolbarReachTheirDialogs) {
    // Save Picture offers the picture's name and adds ".stw" to a name typed without it.
    form.Edit1->setText(QStringLiteral("Whole"));
    QString presetFile;
    whenOpens<QFileDialog>([&](QFileDialog* dialog) {
        presetFile = fileNameField(dialog)->text();
        typeIntoFileDialog(dialog, folder.filePath(QStringLiteral("whole")));
    });
    typeShortcut(Qt::Key_S);
    EXPECT_EQ(presetFile, "Whole");
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("whole.stw"))));

    // The open dialog takes the name of a file that is not there; the editor says so.
    QString message;
    whenOpens<QFileDialog>([&](QFileDialog* dialog) {
        whenOpens<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        typeIntoFileDialog(dialog, folder.filePath(QStringLiteral("missing.stw")));
    });
    form.ToolButton2->click();
    EXPECT_TRUE(message.contains(QStringLiteral("missing.stw"))) << message.toStdString();
    EXPECT_EQ(form.Edit1->text(), "Whole");

    struct Command {
        std::function<void()> start;
        QDialog* expected;
    };
    const Command commands[] = {
        {[&] { form.ToolButton1->click(); }, shell.Form2},
        {[&] { typeShortcut(Qt::Key_N); }, shell.Form2},
        {[&] { form.ToolButton21->click(); }, shell.bmpWin},
        {[&] { form.OpenBMPfile1->trigger(); }, shell.bmpWin},
        {[&] { form.ToolButton3->click(); }, nullptr},  // a file dialog
    };
    for (const Command& c : commands) {
        QDialog* shown = nullptr;
        bool fileDialog = false;  // one lives only as long as its command
        whenOpens<QDialog>([&](QDialog* dialog) {
            shown = dialog;
            fileDialog = qobject_cast<QFileDialog*>(dialog) != nullptr;
            dialog->reject();
        });
        c.start();
        if (c.expected != nullptr) {
            EXPECT_EQ(shown, c.expected);
        } else {
            EXPECT_TRUE(fileDialog);
        }
    }
    EXPECT_EQ(form.WID->text(), "96");  // New Picture cancelled
}

}  // namespace
