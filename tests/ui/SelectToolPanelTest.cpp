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

#include "editor/FileCommands.h"
#include "support/StateChange.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/Controls.h"
#include "ui/ExportWindow.h"
#include "ui/FileDialogs.h"
#include "ui/MainWindow.h"
#include "ui/NameEdit.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"
#include "ui/SurfaceWidget.h"

namespace {

using stipple::ui::CommandId;

using stipple::SessionState;
using stipple::testing::changeState;
using stipple::testing::takeSnapshot;

using stipple::BoxMode;
using stipple::Tool;
using stipple::testing::control;
using stipple::ui::MainWindow;
using stipple::ui::NameEdit;
using stipple::ui::SaveSelectionDialog;
using stipple::ui::SelectToolPanel;
using stipple::ui::SurfaceWidget;

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
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    }

    QString boxFields() const {
        QStringList texts;
        for (const char* field : {"X1", "Y1", "X2", "Y2"}) {
            texts.append(control<QLineEdit>(&panel, field)->text());
        }
        return texts.join(QLatin1Char(' '));
    }

    QAction* item(CommandId id) { return stipple::testing::menuItem(&form, id); }
    template <class T>
    T* button(CommandId id) {
        return stipple::testing::commandControl<T>(&form, id);
    }
    template <class T>
    T* named(const char* name) {
        return control<T>(&form, name);
    }
    QToolButton* panelButton(const char* name) { return control<QToolButton>(&panel, name); }

    MainWindow form;
    SelectToolPanel& panel = form.selectToolPanel();
    stipple::Session& session = form.session();
    const stipple::Picture& picture = session.picture();
    const stipple::Selection& selection = session.selection();
    NameEdit* nameEdit = named<NameEdit>("Edit1");
    SurfaceWidget* surface = named<SurfaceWidget>("Image1");
    QTemporaryDir folder{QStringLiteral(STIPPLE_TEST_TMP_DIR "/selpanel-XXXXXX")};
};

TEST_F(SelectToolPanelTest, ControlsStandAtTheirPlacesWithTheirHints) {
    struct Control {
        QWidget* widget;
        QPoint at;
        const char* hint;
    };
    const Control controls[] = {
        {panelButton("selectbutton"), {8, 16}, "Select mode"},
        {panelButton("PasteButton"), {40, 16}, "Paste mode"},
        {panelButton("SaveButton"), {8, 56}, "Save select to STW file"},
        {panelButton("CropButton"), {72, 56}, "Cut off select"},
        {panelButton("SpeedButton2"), {40, 96}, "Rotate right (90 degrees)"},
        {panelButton("SpeedButton4"), {104, 96}, "Flip vertically"},
        {control<QLineEdit>(&panel, "X1"), {32, 125}, "coordinate X"},
        {control<QLineEdit>(&panel, "Y2"), {88, 141}, "coordinate Y"},
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
    for (const char* name : {"X1", "Y1", "X2", "Y2"}) {
        const auto* field = control<QLineEdit>(&panel, name);
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(field->hasFrame());
        EXPECT_EQ(field->focusPolicy(), Qt::NoFocus);
    }
    const auto* y1 = control<QLabel>(&panel, "Label10");
    EXPECT_EQ(y1->text(), "Y1:");
    EXPECT_EQ(y1->pos(), QPoint(66, 124));
    EXPECT_TRUE(y1->font().bold());
    EXPECT_EQ(control<QLabel>(&panel, "Label5")->text(), "Transformation");
    EXPECT_TRUE(panelButton("selectbutton")->isChecked());
    EXPECT_FALSE(panelButton("PasteButton")->isChecked());
}

TEST_F(SelectToolPanelTest, PanelGoesWithTheBoxToolAndKeepsItsMode) {
    button<QToolButton>(CommandId::SelectBox)->click();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(session.boxMode(), BoxMode::Select);
    EXPECT_TRUE(session.selectMode());

    // The panel pushes its mode into the session as it changes.
    panelButton("PasteButton")->click();
    EXPECT_TRUE(panelButton("PasteButton")->isChecked());
    EXPECT_FALSE(panelButton("selectbutton")->isChecked());
    EXPECT_EQ(session.boxMode(), BoxMode::Paste);
    EXPECT_TRUE(session.pasteMode());

    button<QToolButton>(CommandId::Pen)->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(session.pasteMode());

    // Back to the box tool: still in paste mode.
    button<QToolButton>(CommandId::SelectBox)->click();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(session.pasteMode());

    panelButton("selectbutton")->click();
    EXPECT_EQ(session.boxMode(), BoxMode::Select);
    EXPECT_TRUE(session.selectMode());

    // Its close box only hides it; the box tool stays chosen.
    panel.close();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(session.tool(), Tool::Box);
}

TEST_F(SelectToolPanelTest, DragCapturesTheBoxAndTheButtonsWorkOnIt) {
    changeState(session, [&](SessionState& st) {
        st.picture().pixels[3][5] = kWhite;
    });  // top-left of the box to come
    changeState(session, [&](SessionState& st) { st.picture().pixels[5][8] = kGray33; });
    button<QToolButton>(CommandId::SelectBox)->click();
    // From cell (5, 5) back to cell (3, 8) at pixel size 10.
    drag({45, 45}, {25, 75});
    EXPECT_EQ(boxFields(), "3 5 5 8");
    EXPECT_EQ(selection.selWidth, 3);
    EXPECT_EQ(selection.selHeight, 4);
    EXPECT_EQ(session.undoCount(), 1);

    panelButton("SpeedButton2")->click();  // rotate right
    EXPECT_EQ(selection.selWidth, 4);
    EXPECT_EQ(selection.selHeight, 3);
    EXPECT_EQ(selection.selBuffer[4][1], kWhite);
    panelButton("SpeedButton1")->click();  // and back
    EXPECT_EQ(selection.selBuffer[1][1], kWhite);
    panelButton("SpeedButton3")->click();  // top and bottom change places
    EXPECT_EQ(selection.selBuffer[1][4], kWhite);
    panelButton("SpeedButton4")->click();  // left and right
    EXPECT_EQ(selection.selBuffer[3][4], kWhite);
    EXPECT_EQ(selection.selBuffer[1][1], kGray33);
    EXPECT_EQ(boxFields(), "3 5 5 8");

    // Paste mode: a press writes the buffer at the pressed cell.
    panelButton("PasteButton")->click();
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(205, 205));
    EXPECT_EQ(picture.pixels[21][21], kGray33);
    EXPECT_EQ(picture.pixels[23][24], kWhite);

    panelButton("ClearButton")->click();
    EXPECT_EQ(picture.pixels[3][5], kTransparent);

    panelButton("CropButton")->click();
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "3");
    EXPECT_EQ(named<QLineEdit>("HEIG")->text(), "4");
    EXPECT_EQ(picture.pixels[1][1], kGray33);
    EXPECT_EQ(session.undoCount(), 4);  // capture, paste, clear, crop
}

TEST_F(SelectToolPanelTest, SavedSelectionOpensAsAPicture) {
    renamePicture(session, "Sheet");
    changeState(session, [&](SessionState& st) { st.picture().pixels[2][2] = kBlack; });
    changeState(session, [&](SessionState& st) { st.picture().pixels[3][2] = kWhite; });
    button<QToolButton>(CommandId::SelectBox)->click();
    drag({15, 15}, {35, 25});  // cells (2, 2) to (4, 3)
    ASSERT_EQ(boxFields(), "2 2 4 3");

    QString offeredName, presetFile, suffix;
    QStringList filters, shownFilters;
    QFileDialog::Options options;
    whenOpens<SaveSelectionDialog>([&](SaveSelectionDialog* box) {
        auto* name = control<QLineEdit>(box, "Edit1");
        offeredName = name->text();
        name->setText(QStringLiteral("Part"));
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
        QTest::keyClick(name, Qt::Key_Return);
    });
    panelButton("SaveButton")->click();
    EXPECT_EQ(offeredName, "Sheet");
    EXPECT_EQ(presetFile, "Part");
    EXPECT_EQ(suffix, "stw");
    EXPECT_EQ(filters, QStringList(QStringLiteral("(Stippleworkshop *.stw) (*.stw)")));
    EXPECT_EQ(shownFilters, QStringList(QStringLiteral("(Stippleworkshop *.stw)")));
    EXPECT_FALSE(options & QFileDialog::DontConfirmOverwrite) << "it asks before replacing";
    const QString saved = folder.filePath(QStringLiteral("part.stw"));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(session.undoCount(), 2);  // the capture and the save

    item(CommandId::ClearImage)->trigger();
    whenOpens<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "OpenDialog1");
        EXPECT_EQ(dialog->defaultSuffix(), "stw");
        typeIntoFileDialog(dialog, saved);
    });
    typeShortcut(Qt::Key_O);
    EXPECT_EQ(nameEdit->text(), "Part");
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "3");
    EXPECT_EQ(named<QLineEdit>("HEIG")->text(), "2");
    EXPECT_EQ(picture.pixels[1][1], kBlack);
    EXPECT_EQ(picture.pixels[2][1], kWhite);
    EXPECT_EQ(picture.pixels[3][2], kTransparent);
}

TEST_F(SelectToolPanelTest, SaveSelectEndsWhereTheUserStops) {
    // Before any capture the box is not even shown.
    panelButton("SaveButton")->click();
    EXPECT_EQ(session.undoCount(), 0);

    button<QToolButton>(CommandId::SelectBox)->click();
    drag({15, 15}, {15, 15});
    whenOpens<SaveSelectionDialog>([this](SaveSelectionDialog* box) { box->close(); });
    panelButton("SaveButton")->click();
    EXPECT_EQ(session.undoCount(), 1);  // the capture only

    // OK, then the file dialog cancelled: the undo level is taken, nothing is written.
    whenOpens<SaveSelectionDialog>([this](SaveSelectionDialog* box) {
        whenOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        control<QPushButton>(box, "Button1")->click();
    });
    panelButton("SaveButton")->click();
    EXPECT_EQ(session.undoCount(), 2);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(SelectToolPanelTest, FileMenuAndToolbarReachTheirDialogs) {
    // Save Picture offers the picture's name and adds ".stw" to a name typed without it.
    renamePicture(session, "Whole");
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
    button<QToolButton>(CommandId::OpenPicture)->click();
    EXPECT_TRUE(message.contains(QStringLiteral("missing.stw"))) << message.toStdString();
    EXPECT_EQ(nameEdit->text(), "Whole");

    struct Command {
        std::function<void()> start;
        QDialog* expected;
    };
    const Command commands[] = {
        {[&] { button<QToolButton>(CommandId::NewPicture)->click(); }, &form.setSizeDialog()},
        {[&] { typeShortcut(Qt::Key_N); }, &form.setSizeDialog()},
        {[&] { button<QToolButton>(CommandId::OpenBitmap)->click(); }, &form.bitmapImportDialog()},
        {[&] { item(CommandId::OpenBitmap)->trigger(); }, &form.bitmapImportDialog()},
        {[&] { button<QToolButton>(CommandId::SavePicture)->click(); }, nullptr},  // a file dialog
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
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "96");  // New Picture cancelled
}

}  // namespace
