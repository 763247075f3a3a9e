// Wiring of the main window and the six secondary windows: what a user sees at start,
// where the controls are, and that menu, toolbar, shortcuts and the surface reach the core.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ApplicationShell.h"
#include "app/ErrorMessageBox.h"
#include "app/NameEditWidget.h"
#include "dialogs/AboutBox.h"
#include "dialogs/SetSizeDialog.h"
#include "export/MoveToClipboardPanel.h"
#include "files/BitmapImportWindow.h"
#include "files/SaveSelectBox.h"
#include "tools/SelectToolPanel.h"
#include "view/SurfaceWidget.h"

namespace {

using stipple::SurfaceButton;

constexpr QRgb kTeal = 0x008080;
constexpr QRgb kGridGreen = 0xC0DCC0;
constexpr QRgb kBlackRgb = 0x000000;
constexpr QRgb kWhiteRgb = 0xFFFFFF;

// The colour a user sees at one pixel of a widget, as 0xRRGGBB.
QRgb shownPixel(QWidget* widget, QPoint at) {
    return widget->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void showActive() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Answers the next modal message box with OK and keeps what it said.
    void answerNextMessageBox() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            boxCaption = box->windowTitle();
            boxText = box->text();
            boxButtons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
    }

    ApplicationShell shell;
    TForm1& form = *shell.Form1;
    stipple::Editor& editor = form.editor();
    QString boxCaption, boxText;
    int boxButtons = 0;
};

TEST_F(MainWindowTest, StartsWithTheDefaultPictureAndControls) {
    EXPECT_EQ(form.WID->text(), "96");
    EXPECT_EQ(form.HEIG->text(), "92");
    EXPECT_EQ(form.PSIZE->text(), "10");
    EXPECT_EQ(form.Edit1->text(), "Name");
    EXPECT_EQ(form.pictureName(), "Name");

    EXPECT_FALSE(form.Undochange1->isEnabled());
    EXPECT_FALSE(form.UndoButton->isEnabled());

    EXPECT_EQ(form.toolGroup->checkedButton(), form.pen_button);
    EXPECT_TRUE(form.ViewGrids1->isChecked());
    EXPECT_TRUE(form.GridsButton->isChecked());
    EXPECT_FALSE(form.ViewBorder1->isChecked());
    EXPECT_FALSE(form.BorderButton->isChecked());
    EXPECT_FALSE(form.align->isChecked());

    EXPECT_EQ(shownPixel(form.Col, {12, 12}), kBlackRgb);
    EXPECT_EQ(shownPixel(form.ColRight, {0, 23}), kTeal);

    EXPECT_EQ(form.statusPanels[0]->text(), "X:");
    EXPECT_EQ(form.statusPanels[1]->text(), "Y:");
    EXPECT_EQ(form.statusPanels[2]->text(), "");
}

TEST_F(MainWindowTest, SurfaceShowsTealCellsUnderTheGrid) {
    struct Probe {
        QPoint at;
        QRgb colour;
    };
    const Probe probes[] = {
        {{0, 0}, kGridGreen}, {{5, 0}, kGridGreen},     {{0, 5}, kGridGreen},
        {{1, 1}, kTeal},      {{9, 9}, kTeal},          {{10, 5}, kGridGreen},
        {{15, 15}, kTeal},    {{660, 586}, kGridGreen}, {{669, 586}, kTeal},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(shownPixel(form.Image1, p.at), p.colour) << "at " << p.at.x() << "," << p.at.y();
    }
    // Image1 lies at (70, 67) of the client area and runs on under the status bar.
    EXPECT_EQ(shownPixel(form.client, {75, 72}), kTeal);
    EXPECT_NE(shownPixel(form.client, {100, 590}), kTeal);
    EXPECT_NE(shownPixel(form.client, {75, 590}), kTeal);
}

TEST_F(MainWindowTest, EveryWindowHasItsCaptionAndSize) {
    struct Window {
        QWidget* widget;
        const char* name;
        const char* caption;
        QSize clientSize;  // empty where the layout gives only the outer size
    };
    const Window windows[] = {
        {&form, "Form1", "Vexlan Tarn Stippleworkshop", {}},
        {shell.Form2, "Form2", "Set Size", {}},
        {shell.About, "About", "About Vexlan Stippleworkshop", {332, 240}},
        {shell.Form4, "Form4", "Move to ClipBoard...", {168, 134}},
        {shell.selpanel, "selpanel", "Select tool panel", {136, 159}},
        {shell.savebox, "savebox", "Save Select...", {200, 76}},
        {shell.bmpWin, "bmpWin", "Bitmap Image Open Dialog", {}},
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(w.name);
        EXPECT_EQ(w.widget->objectName(), w.name);
        EXPECT_EQ(w.widget->windowTitle(), w.caption);
        EXPECT_TRUE(w.widget->isWindow());
        EXPECT_FALSE(w.widget->isVisible());
        if (w.clientSize.isValid()) {
            EXPECT_EQ(w.widget->size(), w.clientSize);
        }
    }
    // The two panels are tool windows that stay on top.
    for (QWidget* panel :
         {static_cast<QWidget*>(shell.Form4), static_cast<QWidget*>(shell.selpanel)}) {
        EXPECT_EQ(panel->windowType(), Qt::Tool);
        EXPECT_TRUE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    EXPECT_EQ(shell.selpanel->pos(), QPoint(662, 221));
}

TEST_F(MainWindowTest, ClientAreaIsFixedAt742By600BelowTheMenu) {
    showActive();
    EXPECT_EQ(form.centralWidget(), form.client);
    EXPECT_EQ(form.client->size(), QSize(742, 600));
    EXPECT_EQ(form.client->y(), form.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(form.size(), QSize(742, form.menuBar()->height() + 600));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTheirHints) {
    struct Button {
        const char* name;
        const char* hint;
        bool checkable;
    };
    const std::vector<Button> expected = {
        {"ToolButton1", "New...", false},
        {"ToolButton2", "Open", false},
        {"ToolButton21", "", false},
        {"ToolButton3", "Save...", false},
        {"ToolButton11", "", false},
        {"UndoButton", "Undo changes", false},
        {"ToolButton12", "Move to ClipBoard panel", false},
        {"align", "Clipboard with align up to byte", true},
        {"ToolButton7", "Move to Clipboard (format C++)", false},
        {"ToolButton5", "Move to Clipboard (format ASM 1bpp)", false},
        {"ToolButton16", "Move to Clipboard (format ASM 2bpp)", false},
        {"ToolButton17", "Move to Clipboard (format ASM 4bpp)", false},
        {"ToolButton8", "Move to Clipboard (format ASM)", false},
        {"ToolButton10", "Set Size", false},
        {"ToolButton19", "", false},  // its hint is never shown
        {"GridsButton", "View Grids", true},
        {"BorderButton", "View Border", true},
        {"ToolButton15", "Exit", false},
    };
    std::vector<QToolButton*> buttons;
    for (QAction* a : form.ToolBar1->actions()) {
        if (auto* b = qobject_cast<QToolButton*>(form.ToolBar1->widgetForAction(a))) {
            buttons.push_back(b);
        }
    }
    ASSERT_EQ(buttons.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(buttons[i]->objectName(), expected[i].name);
        EXPECT_EQ(buttons[i]->toolTip(), expected[i].hint);
        EXPECT_EQ(buttons[i]->isCheckable(), expected[i].checkable);
        EXPECT_FALSE(buttons[i]->icon().isNull());
    }
}

TEST_F(MainWindowTest, MenuCaptionsAndShortcuts) {
    struct Item {
        const char* name;  // "-" for a separator
        const char* caption;
        const char* shortcut;
    };
    struct Menu {
        const char* title;
        std::vector<Item> items;
    };
    const std::vector<Menu> expected = {
        {"File",
         {{"NewPicture1", "New Picture...", "Ctrl+N"},
          {"OpenPicture1", "Open Picture...", "Ctrl+O"},
          {"OpenBMPfile1", "Open BMP file...", ""},
          {"Savepicture1", "Save Picture...", "Ctrl+S"},
          {"-", "", ""},
          {"Save1", "Save (asm 8bpp format)...", "Ctrl+A"},
          {"Savetoend1", "Save to end (asm 8bpp format)...", "Ctrl+E"},
          {"-", "", ""},
          {"Exit1", "Exit", ""}}},
        {"Image",
         {{"Undochange1", "Undo change", "Ctrl+Z"},
          {"-", "", ""},
          {"SetSize1", "Set Size", "Ctrl+Alt+S"},
          {"ClearImage1", "Clear Image", "Ctrl+Alt+C"}}},
        {"Tools",
         {{"Pen1", "Pen", "F2"},
          {"Bucket1", "Bucket", "F3"},
          {"Pipe1", "Pipe", "F4"},
          {"ChangeColor1", "Change Color", "F5"}}},
        {"View", {{"ViewGrids1", "View Grids", ""}, {"ViewBorder1", "View Border", ""}}},
        {"Pixel",
         {{"x11", "x1 (No Grids)", ""},
          {"x2NoGrids1", "x2 (No Grids)", ""},
          {"x3NoGrids1", "x3 (No Grids)", ""},
          {"x51", "x5", ""},
          {"x101", "x10", ""},
          {"x151", "x15", ""}}},
        {"?", {{"About2", "About...", "F1"}}},
    };
    const QList<QAction*> menus = form.menuBar()->actions();
    ASSERT_EQ(static_cast<std::size_t>(menus.size()), expected.size());
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].title);
        EXPECT_EQ(menus[m]->text(), expected[m].title);
        ASSERT_NE(menus[m]->menu(), nullptr);
        const QList<QAction*> items = menus[m]->menu()->actions();
        ASSERT_EQ(static_cast<std::size_t>(items.size()), expected[m].items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Item& e = expected[m].items[static_cast<std::size_t>(i)];
            SCOPED_TRACE(e.name);
            if (std::string(e.name) == "-") {
                EXPECT_TRUE(items[i]->isSeparator());
                continue;
            }
            EXPECT_EQ(items[i]->objectName(), e.name);
            EXPECT_EQ(items[i]->text(), e.caption);
            EXPECT_EQ(items[i]->shortcut().toString(QKeySequence::PortableText), e.shortcut);
        }
    }
    EXPECT_TRUE(form.ViewGrids1->isCheckable());
    EXPECT_TRUE(form.ViewBorder1->isCheckable());
    EXPECT_FALSE(form.x101->isCheckable());
}

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
    struct Place {
        const char* name;
        QRect geometry;
    };
    const Place places[] = {
        {"ToolBar1", {0, 0, 742, 29}},        {"Col", {4, 34, 24, 24}},
        {"ColRight", {33, 34, 24, 24}},       {"SpeedButton9", {4, 68, 17, 17}},
        {"SpeedButton7", {36, 68, 17, 17}},   {"SpeedButton5", {20, 84, 17, 17}},
        {"pen_button", {3, 108, 23, 22}},     {"fill_button", {27, 108, 23, 22}},
        {"chcol_button", {27, 132, 23, 22}},  {"box_button", {3, 156, 23, 22}},
        {"SpeedButton42", {4, 211, 26, 17}},  {"SpeedButton43", {36, 211, 26, 17}},
        {"SpeedButton22", {4, 455, 26, 17}},  {"SpeedButton25", {36, 455, 26, 17}},
        {"Edit1", {113, 36, 121, 21}},        {"WID", {339, 39, 28, 21}},
        {"HEIG", {444, 39, 28, 21}},          {"PSIZE", {573, 39, 28, 21}},
        {"SpeedButton2", {367, 33, 16, 16}},  {"SpeedButton1", {474, 49, 16, 16}},
        {"SpeedButton24", {605, 49, 16, 16}}, {"Image1", {70, 67, 960, 920}},
        {"StatusBar1", {0, 581, 742, 19}},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        auto* w = form.client->findChild<QWidget*>(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), p.geometry);
    }
    struct Caption {
        const char* name;
        QPoint at;
        const char* text;
        QRgb colour;
    };
    const Caption captions[] = {
        {"Label1", {62, 39}, "Name:", 0x0000FF},
        {"Label2", {248, 40}, "Size:", 0x0000FF},
        {"Label3", {290, 41}, "Width :", 0x008000},
        {"Label4", {391, 41}, "Height :", 0x008000},
        {"Label6", {496, 40}, "Pixel Size :", 0x0000FF},
        {"Label5", {3, 179}, "Quick size", 0x0000FF},
        {"Label7", {10, 191}, "W", 0x008000},
        {"Label8", {42, 191}, "H", 0x008000},
    };
    for (const Caption& c : captions) {
        SCOPED_TRACE(c.name);
        auto* l = form.client->findChild<QLabel*>(c.name);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->pos(), c.at);
        EXPECT_EQ(l->text(), c.text);
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, c.colour);
    }
    // The labels of the info row are 10 points (13 pixels) high, in the embedded narrow
    // face, and end before the field they name.
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Label1", form.Edit1},
        {"Label2", form.findChild<QLabel*>("Label3")},
        {"Label3", form.WID},
        {"Label4", form.HEIG},
        {"Label6", form.PSIZE}};
    for (const auto& [name, next] : labelled) {
        SCOPED_TRACE(name);
        const QLabel* l = form.client->findChild<QLabel*>(name);
        EXPECT_EQ(l->font().pixelSize(), 13);
        EXPECT_EQ(QFontInfo(l->font()).family(), "Roboto Condensed");
        EXPECT_LE(l->geometry().right(), next->x());
    }
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MainWindowTest, QuickSizeButtonsCarryTheirNumbersInTwoColumns) {
    ASSERT_EQ(form.quickSizeButtons.size(), TForm1::kQuickSizes.size());
    int previousTop[2] = {0, 0};
    for (std::size_t i = 0; i < TForm1::kQuickSizes.size(); ++i) {
        const TForm1::QuickSize& q = TForm1::kQuickSizes[i];
        QToolButton* b = form.quickSizeButtons[i];
        SCOPED_TRACE(q.name);
        EXPECT_EQ(b->objectName(), q.name);
        EXPECT_EQ(b->text(), QString::number(q.value));
        EXPECT_EQ(b->x(), q.setsWidth ? 4 : 36);
        EXPECT_EQ(b->size(), QSize(26, 17));
        int& previous = previousTop[q.setsWidth ? 0 : 1];
        EXPECT_GT(b->y(), previous);
        previous = b->y();
    }
    EXPECT_EQ(form.quickSizeButtons[15]->text(), "96");
    EXPECT_EQ(form.quickSizeButtons[31]->text(), "92");
}

TEST_F(MainWindowTest, MenuShortcutsWinWhileTheNameBoxHasTheFocus) {
    showActive();
    form.Edit1->setFocus();
    ASSERT_TRUE(form.Edit1->hasFocus());
    // Some of the commands open a dialog: cancel each one as soon as it shows.
    QTimer cancelDialogs;
    QObject::connect(&cancelDialogs, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    cancelDialogs.start(10);
    // After a dialog the main window takes the focus back before the next key. (A hidden
    // dialog stays the active window on the offscreen platform.)
    auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(form.Edit1, key, modifiers);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }));
        form.Edit1->setFocus();
        ASSERT_TRUE(form.Edit1->hasFocus());
    };

    // Ctrl+Z undoes the picture, not the name box.
    editor.takeUndoSnapshot();
    editor.pixels[1][1] = stipple::kBlack;
    editor.redrawSurface();
    QTest::keyClick(form.Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.pixels[1][1], stipple::kTransparent);
    EXPECT_FALSE(form.UndoButton->isEnabled());
    EXPECT_EQ(form.Edit1->text(), "Name");

    // Ctrl+A belongs to "Save (asm 8bpp format)...", not to select-all.
    QSignalSpy saveSpy(form.Save1, &QAction::triggered);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(saveSpy.count(), 1);
    EXPECT_FALSE(form.Edit1->hasSelectedText());

    // Ctrl+Alt+C clears with the right colour.
    editor.rightColour = stipple::kWhite;
    QTest::keyClick(form.Edit1, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(editor.pixels[1][1], stipple::kWhite);
    EXPECT_EQ(editor.pixels[96][92], stipple::kWhite);
    EXPECT_EQ(shownPixel(form.Image1, {5, 5}), kWhiteRgb);

    // The function keys and the other Ctrl shortcuts reach the menu too.
    const std::pair<QAction*, QKeyCombination> more[] = {
        {form.NewPicture1, Qt::ControlModifier | Qt::Key_N},
        {form.OpenPicture1, Qt::ControlModifier | Qt::Key_O},
        {form.Savepicture1, Qt::ControlModifier | Qt::Key_S},
        {form.Savetoend1, Qt::ControlModifier | Qt::Key_E},
        {form.SetSize1, Qt::ControlModifier | Qt::AltModifier | Qt::Key_S},
        {form.About2, QKeyCombination(Qt::Key_F1)},
        {form.Pen1, QKeyCombination(Qt::Key_F2)},
        {form.ChangeColor1, QKeyCombination(Qt::Key_F5)},
    };
    for (const auto& [action, keys] : more) {
        SCOPED_TRACE(action->objectName().toStdString());
        QSignalSpy spy(action, &QAction::triggered);
        press(keys.key(), keys.keyboardModifiers());
        EXPECT_EQ(spy.count(), 1);
    }
    EXPECT_EQ(form.Edit1->text(), "Name");
}

TEST_F(MainWindowTest, DisabledUndoDoesNotUndoTheNameBox) {
    showActive();
    form.Edit1->setFocus();
    form.Edit1->end(false);
    QTest::keyClick(form.Edit1, Qt::Key_X);
    ASSERT_EQ(form.Edit1->text(), "Namex");
    ASSERT_FALSE(form.Undochange1->isEnabled());
    QTest::keyClick(form.Edit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.Edit1->text(), "Namex");
}

TEST_F(MainWindowTest, TypingEditsThePictureName) {
    showActive();
    form.Edit1->setFocus();
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, "ab 1");
    EXPECT_EQ(form.pictureName(), "ab 1");
    form.setPictureName("Zoë");
    EXPECT_EQ(form.Edit1->text(), QString::fromUtf8("Zoë"));
    EXPECT_EQ(form.pictureName(), "Zoë");
}

TEST_F(MainWindowTest, UndoAndClearButtonsReachTheCore) {
    editor.takeUndoSnapshot();
    editor.pixels[3][4] = stipple::kGray66;
    editor.redrawSurface();
    ASSERT_TRUE(form.UndoButton->isEnabled());
    ASSERT_TRUE(form.Undochange1->isEnabled());
    form.UndoButton->click();
    EXPECT_EQ(editor.pixels[3][4], stipple::kTransparent);
    EXPECT_FALSE(form.Undochange1->isEnabled());

    editor.rightColour = stipple::kBlack;
    form.ToolButton19->click();
    EXPECT_EQ(editor.pixels[50][50], stipple::kBlack);
    EXPECT_EQ(shownPixel(form.Image1, {505, 505}), kBlackRgb);
    ASSERT_TRUE(form.Undochange1->isEnabled()) << "clearing can be taken back";
    form.Undochange1->trigger();
    EXPECT_EQ(editor.pixels[50][50], stipple::kTransparent);
    EXPECT_FALSE(form.Undochange1->isEnabled());
}

TEST_F(MainWindowTest, ExitClosesTheMainWindowAtOnce) {
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "menu" : "toolbar");
        showActive();
        editor.takeUndoSnapshot();  // unsaved changes ask nothing
        if (fromMenu) {
            form.Exit1->trigger();
        } else {
            form.ToolButton15->click();
        }
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(MainWindowTest, PaintingTheWindowRedrawsTheSurfaceFromThePicture) {
    showActive();
    editor.pixels[2][2] = stipple::kBlack;  // changed behind the surface's back
    EXPECT_EQ(editor.surface().pixel(15, 15), kTeal);
    form.client->repaint();
    EXPECT_EQ(editor.surface().pixel(15, 15), kBlackRgb);
    EXPECT_EQ(shownPixel(form.Image1, {15, 15}), kBlackRgb);
}

TEST_F(MainWindowTest, SurfaceReportsTheMouseAsPlainValues) {
    showActive();
    QSignalSpy presses(form.Image1, &stipple::SurfaceWidget::mousePressed);
    QSignalSpy moves(form.Image1, &stipple::SurfaceWidget::mouseMoved);
    QSignalSpy releases(form.Image1, &stipple::SurfaceWidget::mouseReleased);

    QTest::mousePress(form.Image1, Qt::RightButton, {}, QPoint(15, 25));
    QTest::mouseMove(form.Image1, QPoint(-20, 7));  // held and outside Image1
    QTest::mouseRelease(form.Image1, Qt::RightButton, {}, QPoint(-20, 7));

    ASSERT_EQ(presses.count(), 1);
    EXPECT_EQ(presses[0][0].value<SurfaceButton>(), SurfaceButton::Right);
    EXPECT_EQ(presses[0][1].toInt(), 15);
    EXPECT_EQ(presses[0][2].toInt(), 25);
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last()[0].toInt(), -20);
    EXPECT_EQ(moves.last()[1].toInt(), 7);
    ASSERT_EQ(releases.count(), 1);
    EXPECT_EQ(releases[0][0].value<SurfaceButton>(), SurfaceButton::Right);
    EXPECT_EQ(releases[0][1].toInt(), -20);
}

TEST_F(MainWindowTest, MessagesAndFailedCommandsShowOneOkBox) {
    answerNextMessageBox();
    form.showMessage("Bitmap image is not valid.", "Message");
    EXPECT_EQ(boxText, "Bitmap image is not valid.");
    EXPECT_EQ(boxCaption, "Message");
    EXPECT_EQ(boxButtons, 1);

    answerNextMessageBox();
    stipple::runCommand(&form, [] { throw std::runtime_error("disk full"); });
    EXPECT_EQ(boxText, "disk full");
    EXPECT_EQ(boxButtons, 1);

    answerNextMessageBox();
    stipple::runCommand(&form, [] { throw 42; });
    EXPECT_EQ(boxText, "");
}

}  // namespace
