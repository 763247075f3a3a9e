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
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/FileCommands.h"
#include "editor/MouseTools.h"
#include "support/StateChange.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/CommandErrors.h"
#include "ui/Controls.h"
#include "ui/ExportWindow.h"
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

using stipple::MouseButton;
using stipple::testing::control;
using stipple::ui::MainWindow;
using stipple::ui::NameEdit;
using stipple::ui::SurfaceWidget;

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

    QAction* item(CommandId id) { return stipple::testing::menuItem(&form, id); }
    template <class T>
    T* button(CommandId id) {
        return stipple::testing::commandControl<T>(&form, id);
    }
    template <class T>
    T* named(const char* name) {
        return control<T>(&form, name);
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

    MainWindow form;
    stipple::Session& session = form.session();
    const stipple::Picture& picture = session.picture();
    NameEdit* nameEdit = named<NameEdit>("Edit1");
    SurfaceWidget* surface = named<SurfaceWidget>("Image1");
    QString boxCaption, boxText;
    int boxButtons = 0;
};

TEST_F(MainWindowTest, StartsWithTheDefaultPictureAndControls) {
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "96");
    EXPECT_EQ(named<QLineEdit>("HEIG")->text(), "92");
    EXPECT_EQ(named<QLineEdit>("PSIZE")->text(), "10");
    EXPECT_EQ(nameEdit->text(), "Name");
    EXPECT_EQ(form.session().pictureName(), "Name");

    EXPECT_FALSE(item(CommandId::Undo)->isEnabled());
    EXPECT_FALSE(button<QToolButton>(CommandId::Undo)->isEnabled());

    for (const char* tool :
         {"pen_button", "fill_button", "pipe_button", "chcol_button", "box_button"}) {
        EXPECT_EQ(named<QToolButton>(tool)->isChecked(), tool == std::string("pen_button")) << tool;
    }
    EXPECT_TRUE(item(CommandId::ViewGrids)->isChecked());
    EXPECT_TRUE(button<QToolButton>(CommandId::ViewGrids)->isChecked());
    EXPECT_FALSE(item(CommandId::ViewBorder)->isChecked());
    EXPECT_FALSE(button<QToolButton>(CommandId::ViewBorder)->isChecked());
    EXPECT_FALSE(button<QToolButton>(CommandId::AlignToByte)->isChecked());

    EXPECT_EQ(shownPixel(button<QLabel>(CommandId::ShowLeftSwatch), {12, 12}), kBlackRgb);
    EXPECT_EQ(shownPixel(named<QLabel>("ColRight"), {0, 23}), kTeal);

    EXPECT_EQ(named<QLabel>("StatusPanel0")->text(), "X:");
    EXPECT_EQ(named<QLabel>("StatusPanel1")->text(), "Y:");
    EXPECT_EQ(named<QLabel>("StatusPanel2")->text(), "");
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
        EXPECT_EQ(shownPixel(surface, p.at), p.colour) << "at " << p.at.x() << "," << p.at.y();
    }
    // Image1 lies at (70, 67) of the client area and runs on under the status bar.
    EXPECT_EQ(shownPixel(form.centralWidget(), {75, 72}), kTeal);
    EXPECT_NE(shownPixel(form.centralWidget(), {100, 590}), kTeal);
    EXPECT_NE(shownPixel(form.centralWidget(), {75, 590}), kTeal);
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
        {&form.setSizeDialog(), "Form2", "Set Size", {}},
        {&form.aboutBox(), "About", "About Vexlan Stippleworkshop", {332, 240}},
        {&form.clipboardExportPanel(), "Form4", "Move to ClipBoard...", {168, 134}},
        {&form.selectToolPanel(), "selpanel", "Select tool panel", {136, 159}},
        {&form.saveSelectionDialog(), "savebox", "Save Select...", {200, 76}},
        {&form.bitmapImportDialog(), "bmpWin", "Bitmap Image Open Dialog", {}},
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
    for (QWidget* panel : {static_cast<QWidget*>(&form.clipboardExportPanel()),
                           static_cast<QWidget*>(&form.selectToolPanel())}) {
        EXPECT_EQ(panel->windowType(), Qt::Tool);
        EXPECT_TRUE(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    }
    EXPECT_EQ(form.selectToolPanel().pos(), QPoint(662, 221));
}

TEST_F(MainWindowTest, ClientAreaIsFixedAt742By600BelowTheMenu) {
    showActive();
    EXPECT_EQ(form.centralWidget(), form.centralWidget());
    EXPECT_EQ(form.centralWidget()->size(), QSize(742, 600));
    EXPECT_EQ(form.centralWidget()->y(), form.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(form.size(), QSize(742, form.menuBar()->height() + 600));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTheirHints) {
    struct Button {
        CommandId id;
        const char* hint;
        bool checkable;
    };
    const std::vector<Button> expected = {
        {CommandId::NewPicture, "New...", false},
        {CommandId::OpenPicture, "Open", false},
        {CommandId::OpenBitmap, "", false},
        {CommandId::SavePicture, "Save...", false},
        {CommandId::AppendAsm8, "", false},
        {CommandId::Undo, "Undo changes", false},
        {CommandId::ClipboardPanel, "Move to ClipBoard panel", false},
        {CommandId::AlignToByte, "Clipboard with align up to byte", true},
        {CommandId::ExportCpp, "Move to Clipboard (format C++)", false},
        {CommandId::ExportAsm1, "Move to Clipboard (format ASM 1bpp)", false},
        {CommandId::ExportAsm2, "Move to Clipboard (format ASM 2bpp)", false},
        {CommandId::ExportAsm4, "Move to Clipboard (format ASM 4bpp)", false},
        {CommandId::ExportAsm8, "Move to Clipboard (format ASM)", false},
        {CommandId::SetSize, "Set Size", false},
        {CommandId::ClearImage, "", false},  // its hint is never shown
        {CommandId::ViewGrids, "View Grids", true},
        {CommandId::ViewBorder, "View Border", true},
        {CommandId::Exit, "Exit", false},
    };
    std::vector<QToolButton*> buttons;
    for (QAction* a : named<QToolBar>("ToolBar1")->actions()) {
        if (auto* b = qobject_cast<QToolButton*>(named<QToolBar>("ToolBar1")->widgetForAction(a))) {
            buttons.push_back(b);
        }
    }
    ASSERT_EQ(buttons.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(buttons[i], button<QToolButton>(expected[i].id));
        EXPECT_EQ(buttons[i]->toolTip(), expected[i].hint);
        EXPECT_EQ(buttons[i]->isCheckable(), expected[i].checkable);
        EXPECT_FALSE(buttons[i]->icon().isNull());
    }
}

TEST_F(MainWindowTest, MenuCaptionsAndShortcuts) {
    struct Item {
        std::optional<CommandId> id;  // none for a separator or a menu that opens here
        const char* caption;
        const char* shortcut;
    };
    struct Menu {
        const char* title;
        std::vector<Item> items;
    };
    const std::vector<Menu> expected = {
        {"File",
         {{CommandId::NewPicture, "New Picture...", "Ctrl+N"},
          {CommandId::OpenPicture, "Open Picture...", "Ctrl+O"},
          {CommandId::OpenBitmap, "Open BMP file...", ""},
          {CommandId::NewFont, "New Font...", ""},
          {std::nullopt, "Open Recent", ""},
          {CommandId::SavePicture, "Save Picture...", "Ctrl+S"},
          {CommandId::SaveSet, "Save Set...", "Ctrl+Shift+S"},
          {std::nullopt, "", ""},
          {CommandId::SaveAsm8, "Save (asm 8bpp format)...", "Ctrl+A"},
          {CommandId::AppendAsm8, "Save to end (asm 8bpp format)...", "Ctrl+E"},
          {CommandId::ExportWindow, "Export...", "Ctrl+Shift+E"},
          {std::nullopt, "", ""},
          {CommandId::Exit, "Exit", ""}}},
        {"Image",
         {{CommandId::Undo, "Undo change", "Ctrl+Z"},
          {CommandId::Redo, "Redo change", "Ctrl+Y"},
          {std::nullopt, "", ""},
          {CommandId::SetSize, "Set Size", "Ctrl+Alt+S"},
          {CommandId::ClearImage, "Clear Image", "Ctrl+Alt+C"}}},
        {"Tools",
         {{CommandId::Pen, "Pen", "F2"},
          {CommandId::Bucket, "Bucket", "F3"},
          {CommandId::Pipe, "Pipe", "F4"},
          {CommandId::ChangeColour, "Change Color", "F5"},
          {{}, "", ""},
          {CommandId::JoinStrokes, "Join pen strokes", ""}}},
        {"View",
         {{CommandId::ViewGrids, "View Grids", ""},
          {CommandId::ViewBorder, "View Border", ""},
          {{}, "", ""},
          {CommandId::FramesWindow, "Frames...", "Ctrl+Shift+F"},
          {CommandId::OnionSkin, "Onion skin", ""},
          {CommandId::PreviousFrame, "Previous frame", "Ctrl+PgUp"},
          {CommandId::NextFrame, "Next frame", "Ctrl+PgDown"}}},
        {"Pixel",
         {{CommandId::PixelSize1, "x1 (No Grids)", ""},
          {CommandId::PixelSize2, "x2 (No Grids)", ""},
          {CommandId::PixelSize3, "x3 (No Grids)", ""},
          {CommandId::PixelSize5, "x5", ""},
          {CommandId::PixelSize10, "x10", ""},
          {CommandId::PixelSize15, "x15", ""}}},
        {"?", {{CommandId::About, "About...", "F1"}}},
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
            SCOPED_TRACE(i);
            if (!e.id) {
                // A separator, or a menu of its own that opens here.
                EXPECT_EQ(items[i]->isSeparator(), e.caption[0] == '\0');
                EXPECT_EQ(items[i]->menu() != nullptr, e.caption[0] != '\0');
                EXPECT_EQ(items[i]->text(), e.caption);
                continue;
            }
            EXPECT_EQ(items[i], item(*e.id));
            EXPECT_TRUE(form.commandControls().binds(items[i])) << "runs nothing";
            EXPECT_EQ(items[i]->text(), e.caption);
            EXPECT_EQ(items[i]->shortcut().toString(QKeySequence::PortableText), e.shortcut);
        }
    }
    EXPECT_TRUE(item(CommandId::ViewGrids)->isCheckable());
    EXPECT_TRUE(item(CommandId::ViewBorder)->isCheckable());
    EXPECT_FALSE(item(CommandId::PixelSize10)->isCheckable());
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
        auto* w = form.centralWidget()->findChild<QWidget*>(p.name);
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
        auto* l = form.centralWidget()->findChild<QLabel*>(c.name);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->pos(), c.at);
        EXPECT_EQ(l->text(), c.text);
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, c.colour);
    }
    // The labels of the info row are 10 points (13 pixels) high, in the embedded narrow
    // face, and end before the field they name.
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Label1", nameEdit},
        {"Label2", form.findChild<QLabel*>("Label3")},
        {"Label3", named<QLineEdit>("WID")},
        {"Label4", named<QLineEdit>("HEIG")},
        {"Label6", named<QLineEdit>("PSIZE")}};
    for (const auto& [name, next] : labelled) {
        SCOPED_TRACE(name);
        const QLabel* l = form.centralWidget()->findChild<QLabel*>(name);
        EXPECT_EQ(l->font().pixelSize(), 13);
        EXPECT_EQ(QFontInfo(l->font()).family(), "Roboto Condensed");
        EXPECT_LE(l->geometry().right(), next->x());
    }
    EXPECT_EQ(surface->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MainWindowTest, QuickSizeButtonsCarryTheirNumbersInTwoColumns) {
    int previousTop[2] = {0, 0};
    for (const stipple::ui::QuickSize& q : stipple::ui::kQuickSizes) {
        SCOPED_TRACE(q.name);
        auto* b = named<QToolButton>(q.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::number(q.value));
        EXPECT_EQ(b->x(), q.setsWidth ? 4 : 36);
        EXPECT_EQ(b->size(), QSize(26, 17));
        int& previous = previousTop[q.setsWidth ? 0 : 1];
        EXPECT_GT(b->y(), previous);
        previous = b->y();
    }
    EXPECT_EQ(named<QToolButton>("SpeedButton22")->text(), "96");
    EXPECT_EQ(named<QToolButton>("SpeedButton25")->text(), "92");
}

TEST_F(MainWindowTest, MenuShortcutsWinWhileTheNameBoxHasTheFocus) {
    showActive();
    nameEdit->setFocus();
    ASSERT_TRUE(nameEdit->hasFocus());
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
        QTest::keyClick(nameEdit, key, modifiers);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }));
        nameEdit->setFocus();
        ASSERT_TRUE(nameEdit->hasFocus());
    };

    // Ctrl+Z undoes the picture, not the name box.
    takeSnapshot(session);
    changeState(session, [&](SessionState& st) { st.picture().pixels[1][1] = stipple::kBlack; });
    session.redrawSurface();
    QTest::keyClick(nameEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(picture.pixels[1][1], stipple::kTransparent);
    EXPECT_FALSE(button<QToolButton>(CommandId::Undo)->isEnabled());
    EXPECT_EQ(nameEdit->text(), "Name");
    // Ctrl+Shift+Z and Ctrl+Y redo it; Redo is enabled only while there is something.
    ASSERT_TRUE(item(CommandId::Redo)->isEnabled());
    QTest::keyClick(nameEdit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(picture.pixels[1][1], stipple::kBlack);
    EXPECT_FALSE(item(CommandId::Redo)->isEnabled());
    QTest::keyClick(nameEdit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(nameEdit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(picture.pixels[1][1], stipple::kBlack);
    EXPECT_EQ(nameEdit->text(), "Name");

    // Ctrl+A belongs to "Save (asm 8bpp format)...", not to select-all.
    QSignalSpy saveSpy(item(CommandId::SaveAsm8), &QAction::triggered);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(saveSpy.count(), 1);
    EXPECT_FALSE(nameEdit->hasSelectedText());

    // Ctrl+Alt+C clears with the right colour.
    changeState(session, [&](SessionState& st) { st.rightColour = stipple::kWhite; });
    QTest::keyClick(nameEdit, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(picture.pixels[1][1], stipple::kWhite);
    EXPECT_EQ(picture.pixels[96][92], stipple::kWhite);
    EXPECT_EQ(shownPixel(surface, {5, 5}), kWhiteRgb);

    // The function keys and the other Ctrl shortcuts reach the menu too.
    const std::pair<QAction*, QKeyCombination> more[] = {
        {item(CommandId::NewPicture), Qt::ControlModifier | Qt::Key_N},
        {item(CommandId::OpenPicture), Qt::ControlModifier | Qt::Key_O},
        {item(CommandId::SavePicture), Qt::ControlModifier | Qt::Key_S},
        {item(CommandId::AppendAsm8), Qt::ControlModifier | Qt::Key_E},
        {item(CommandId::SetSize), Qt::ControlModifier | Qt::AltModifier | Qt::Key_S},
        {item(CommandId::About), QKeyCombination(Qt::Key_F1)},
        {item(CommandId::Pen), QKeyCombination(Qt::Key_F2)},
        {item(CommandId::ChangeColour), QKeyCombination(Qt::Key_F5)},
    };
    for (const auto& [action, keys] : more) {
        SCOPED_TRACE(action->objectName().toStdString());
        QSignalSpy spy(action, &QAction::triggered);
        press(keys.key(), keys.keyboardModifiers());
        EXPECT_EQ(spy.count(), 1);
    }
    EXPECT_EQ(nameEdit->text(), "Name");
}

TEST_F(MainWindowTest, DisabledUndoDoesNotUndoTheNameBox) {
    showActive();
    nameEdit->setFocus();
    nameEdit->end(false);
    QTest::keyClick(nameEdit, Qt::Key_X);
    ASSERT_EQ(nameEdit->text(), "Namex");
    ASSERT_FALSE(item(CommandId::Undo)->isEnabled());
    QTest::keyClick(nameEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(nameEdit->text(), "Namex");
}

TEST_F(MainWindowTest, TypingEditsThePictureName) {
    showActive();
    nameEdit->setFocus();
    nameEdit->selectAll();
    QTest::keyClicks(nameEdit, "ab 1");
    EXPECT_EQ(form.session().pictureName(), "ab 1");
    renamePicture(form.session(), "Zoë");
    EXPECT_EQ(nameEdit->text(), QString::fromUtf8("Zoë"));
    EXPECT_EQ(form.session().pictureName(), "Zoë");
}

TEST_F(MainWindowTest, UndoAndClearButtonsReachTheCore) {
    takeSnapshot(session);
    changeState(session, [&](SessionState& st) { st.picture().pixels[3][4] = stipple::kGray66; });
    session.redrawSurface();
    ASSERT_TRUE(button<QToolButton>(CommandId::Undo)->isEnabled());
    ASSERT_TRUE(item(CommandId::Undo)->isEnabled());
    button<QToolButton>(CommandId::Undo)->click();
    EXPECT_EQ(picture.pixels[3][4], stipple::kTransparent);
    EXPECT_FALSE(item(CommandId::Undo)->isEnabled());

    changeState(session, [&](SessionState& st) { st.rightColour = stipple::kBlack; });
    button<QToolButton>(CommandId::ClearImage)->click();
    EXPECT_EQ(picture.pixels[50][50], stipple::kBlack);
    EXPECT_EQ(shownPixel(surface, {505, 505}), kBlackRgb);
    ASSERT_TRUE(item(CommandId::Undo)->isEnabled()) << "clearing can be taken back";
    item(CommandId::Undo)->trigger();
    EXPECT_EQ(picture.pixels[50][50], stipple::kTransparent);
    EXPECT_FALSE(item(CommandId::Undo)->isEnabled());
}

TEST_F(MainWindowTest, ExitAsksFirstOnlyWhileChangesAreNotWritten) {
    struct Case {
        const char* name;
        bool changed;
        QMessageBox::StandardButton answer;
        bool closes;
    };
    const Case cases[] = {
        {"nothing changed", false, QMessageBox::NoButton, true},
        {"changed, Cancel", true, QMessageBox::Cancel, false},
        {"changed, Discard", true, QMessageBox::Discard, true},
    };
    for (const bool fromMenu : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(fromMenu ? "menu, " : "toolbar, ") + c.name);
            showActive();
            if (c.changed) {
                button<QToolButton>(CommandId::Pen)->click();
                QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(5, 5));
            }
            QString asked;
            if (c.changed) {
                QTimer::singleShot(0, [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    ASSERT_NE(box, nullptr);
                    asked = box->text();
                    box->button(c.answer)->click();
                });
            }
            if (fromMenu) {
                item(CommandId::Exit)->trigger();
            } else {
                button<QToolButton>(CommandId::Exit)->click();
            }
            EXPECT_EQ(asked, c.changed ? "Save changes to the picture \"Name\" before closing?"
                                       : QString());
            EXPECT_EQ(form.isVisible(), !c.closes);
            if (c.changed) {
                session.undoChange();  // back to the picture as it started
            }
        }
    }
}

TEST_F(MainWindowTest, JoinPenStrokesIsOffAtFirstAndKeptForTheNextRun) {
    EXPECT_FALSE(item(CommandId::JoinStrokes)->isChecked());
    item(CommandId::JoinStrokes)->trigger();
    EXPECT_TRUE(session.state().joinStrokes);
    EXPECT_TRUE(item(CommandId::JoinStrokes)->isChecked());
    {
        MainWindow next;
        EXPECT_TRUE(next.session().state().joinStrokes);
    }
    item(CommandId::JoinStrokes)->trigger();
    EXPECT_FALSE(MainWindow().session().state().joinStrokes);
}

TEST_F(MainWindowTest, PaintingTheWindowPresentsTheSurfaceAsTheLastEditLeftIt) {
    showActive();
    changeState(session, [&](SessionState& st) {
        st.picture().pixels[2][2] = stipple::kBlack;
    });  // changed behind the surface's back, as no command can
    form.centralWidget()->repaint();
    EXPECT_EQ(session.surface().pixel(15, 15), kTeal);
    EXPECT_EQ(shownPixel(surface, {15, 15}), kTeal);
    stipple::testing::announce(session, stipple::Changes{stipple::changed::kCells});
    form.centralWidget()->repaint();
    EXPECT_EQ(shownPixel(surface, {15, 15}), kBlackRgb);
}

TEST_F(MainWindowTest, SurfaceReportsTheMouseAsPlainValues) {
    showActive();
    QSignalSpy presses(surface, &SurfaceWidget::mousePressed);
    QSignalSpy moves(surface, &SurfaceWidget::mouseMoved);
    QSignalSpy releases(surface, &SurfaceWidget::mouseReleased);

    // Buttons other than left, right and middle are not reported.
    QTest::mousePress(surface, Qt::BackButton, {}, QPoint(5, 5));
    QTest::mouseRelease(surface, Qt::BackButton, {}, QPoint(5, 5));
    QTest::mousePress(surface, Qt::RightButton, {}, QPoint(15, 25));
    QTest::mouseMove(surface, QPoint(-20, 7));  // held and outside Image1
    QTest::mouseRelease(surface, Qt::RightButton, {}, QPoint(-20, 7));
    QTest::mousePress(surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 4));

    ASSERT_EQ(presses.count(), 2);
    EXPECT_EQ(presses[0][3].toUInt(), 0u);
    EXPECT_EQ(presses[1][3].toUInt(), stipple::kShiftHeld);
    EXPECT_EQ(presses[0][0].value<MouseButton>(), MouseButton::Right);
    EXPECT_EQ(presses[0][1].toInt(), 15);
    EXPECT_EQ(presses[0][2].toInt(), 25);
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last()[0].toInt(), -20);
    EXPECT_EQ(moves.last()[1].toInt(), 7);
    ASSERT_EQ(releases.count(), 2);
    EXPECT_EQ(releases[0][0].value<MouseButton>(), MouseButton::Right);
    EXPECT_EQ(releases[0][1].toInt(), -20);
}

TEST_F(MainWindowTest, MessagesAndFailedCommandsShowOneOkBox) {
    answerNextMessageBox();
    form.host().showMessage("Bitmap image is not valid.", "Message");
    EXPECT_EQ(boxText, "Bitmap image is not valid.");
    EXPECT_EQ(boxCaption, "Message");
    EXPECT_EQ(boxButtons, 1);

    answerNextMessageBox();
    stipple::ui::runCommand(&form, [] { throw std::runtime_error("disk full"); });
    EXPECT_EQ(boxText, "disk full");
    EXPECT_EQ(boxButtons, 1);

    answerNextMessageBox();
    stipple::ui::runCommand(&form, [] { throw 42; });
    EXPECT_EQ(boxText, "");
}

}  // namespace
