// The main window's commands reach the core and the controls follow it: palette, tools,
// sizes, view, Set Size, About and the exports. What the core then does is tested with the
// core; here only that the right call arrives and the controls agree with the flags.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <string>

#include "app/ApplicationShell.h"
#include "app/NameEditWidget.h"
#include "dialogs/AboutBox.h"
#include "dialogs/SetSizeDialog.h"
#include "export/MoveToClipboardPanel.h"
#include "support/shell/FileDialogs.h"
#include "tools/SelectToolPanel.h"
#include "view/SurfaceWidget.h"

namespace {

using stipple::ExportSource;

QRgb shownPixel(QWidget* widget, QPoint at) {
    return widget->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF;
}

class CommandWiringTest : public ::testing::Test {
  protected:
    void showActive() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Runs `answer` on the next modal window once it is open.
    static void whenModalOpens(std::function<void(QWidget*)> answer) {
        QTimer::singleShot(0, [answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            answer(modal);
        });
    }

    ApplicationShell shell;
    TForm1& form = *shell.Form1;
    stipple::Editor& editor = form.editor();
};

TEST_F(CommandWiringTest, PaletteButtonsActOnThePressOfLeftOrRight) {
    QTest::mousePress(form.SpeedButton6, Qt::RightButton);
    EXPECT_EQ(editor.rightColour, stipple::kWhite);
    EXPECT_EQ(editor.leftColour, stipple::kBlack);
    EXPECT_EQ(shownPixel(form.ColRight, {12, 12}), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(form.Col, {12, 12}), 0x000000u);
    QTest::mouseRelease(form.SpeedButton6, Qt::RightButton);

    QTest::mousePress(form.SpeedButton7, Qt::MiddleButton);
    QTest::mouseRelease(form.SpeedButton7, Qt::MiddleButton);
    EXPECT_EQ(editor.rightColour, stipple::kWhite);
    EXPECT_EQ(editor.leftColour, stipple::kBlack);

    // The press alone is enough; the release changes nothing more.
    QTest::mousePress(form.SpeedButton8, Qt::LeftButton);
    EXPECT_EQ(editor.leftColour, stipple::kGray66);
    EXPECT_EQ(shownPixel(form.Col, {12, 12}), 0x808080u);
    QTest::mouseRelease(form.SpeedButton8, Qt::LeftButton);
    EXPECT_EQ(editor.rightColour, stipple::kWhite);
}

TEST_F(CommandWiringTest, ColourMenusSetTheirOwnColour) {
    struct Item {
        QAction* action;
        bool left;
        stipple::Pixel value;
    };
    const Item items[] = {
        {form.white1, true, stipple::kWhite},
        {form.N33gray1, true, stipple::kGray33},
        {form.N66gray1, true, stipple::kGray66},
        {form.black1, true, stipple::kBlack},
        {form.transparent1, true, stipple::kTransparent},
        {form.MenuItem1, false, stipple::kWhite},
        {form.MenuItem2, false, stipple::kGray33},
        {form.MenuItem3, false, stipple::kGray66},
        {form.MenuItem4, false, stipple::kBlack},
        {form.MenuItem5, false, stipple::kTransparent},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.action->objectName().toStdString());
        // Start from the colour the other side of the menu would not set.
        editor.leftColour = editor.rightColour =
            item.value == stipple::kGray33 ? stipple::kWhite : stipple::kGray33;
        const stipple::Pixel other = editor.leftColour;
        item.action->trigger();
        EXPECT_EQ(item.left ? editor.leftColour : editor.rightColour, item.value);
        EXPECT_EQ(item.left ? editor.rightColour : editor.leftColour, other);
        EXPECT_EQ(shownPixel(item.left ? form.Col : form.ColRight, {12, 12}),
                  editor.displayColour(item.value));
    }
}

TEST_F(CommandWiringTest, ClickOnTheLeftSwatchRepaintsItAlone) {
    editor.leftColour = stipple::kWhite;   // not shown yet
    editor.rightColour = stipple::kBlack;  // nor this
    QTest::mouseClick(form.Col, Qt::LeftButton);
    EXPECT_EQ(shownPixel(form.Col, {12, 12}), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(form.ColRight, {12, 12}), 0x008080u);
}

TEST_F(CommandWiringTest, ViewMenuAndToolbarAgreeWhicheverToggles) {
    struct Pair {
        QAction* item;
        QToolButton* button;
        bool stipple::Editor::*flag;
    };
    const Pair pairs[] = {{form.ViewGrids1, form.GridsButton, &stipple::Editor::gridsOn},
                          {form.ViewBorder1, form.BorderButton, &stipple::Editor::borderOn}};
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.item->objectName().toStdString());
        const bool start = editor.*p.flag;
        for (int step = 1; step <= 4; ++step) {
            if (step % 2 == 1) {
                p.button->click();
            } else {
                p.item->trigger();
            }
            const bool expected = step % 2 == 1 ? !start : start;
            EXPECT_EQ(editor.*p.flag, expected) << "step " << step;
            EXPECT_EQ(p.item->isChecked(), expected) << "step " << step;
            EXPECT_EQ(p.button->isChecked(), expected) << "step " << step;
        }
    }
}

TEST_F(CommandWiringTest, FunctionKeysChooseToolsAlsoFromTheNameBox) {
    showActive();
    form.Edit1->setFocus();
    struct Key {
        Qt::Key key;
        QToolButton* button;
        bool stipple::Editor::*flag;
    };
    const Key keys[] = {
        {Qt::Key_F3, form.fill_button, &stipple::Editor::toolBucket},
        {Qt::Key_F4, form.pipe_button, &stipple::Editor::toolPipe},
        {Qt::Key_F5, form.chcol_button, &stipple::Editor::toolChangeColour},
        {Qt::Key_F2, form.pen_button, &stipple::Editor::toolPen},
    };
    for (const Key& k : keys) {
        SCOPED_TRACE(k.button->objectName().toStdString());
        QTest::keyClick(form.Edit1, k.key);
        EXPECT_TRUE(k.button->isChecked());
        EXPECT_TRUE(editor.*k.flag);
        const int flagsSet = editor.toolPen + editor.toolBucket + editor.toolPipe +
                             editor.toolChangeColour + editor.toolBox;
        EXPECT_EQ(flagsSet, 1);
    }
    EXPECT_EQ(form.Edit1->text(), "Name");
}

TEST_F(CommandWiringTest, BoxButtonShowsTheSelectToolPanelAndPenHidesIt) {
    showActive();
    form.box_button->click();
    EXPECT_TRUE(editor.toolBox);
    EXPECT_TRUE(editor.selectMode);
    EXPECT_TRUE(shell.selpanel->isVisible());
    form.chcol_button->click();
    EXPECT_TRUE(editor.toolChangeColour);
    EXPECT_FALSE(editor.toolBox);
    EXPECT_FALSE(shell.selpanel->isVisible());
    form.pen_button->click();
    EXPECT_TRUE(editor.toolPen);
}

TEST_F(CommandWiringTest, DragOnTheSurfacePaintsOneUndoStep) {
    showActive();
    QTest::mousePress(form.Image1, Qt::LeftButton, {}, QPoint(15, 15));
    QTest::mouseMove(form.Image1, QPoint(25, 15));
    QTest::mouseMove(form.Image1, QPoint(-40, 15));  // held beyond the left edge
    QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, QPoint(-40, 15));
    EXPECT_EQ(editor.pixels[2][2], stipple::kBlack);
    EXPECT_EQ(editor.pixels[3][2], stipple::kBlack);
    EXPECT_EQ(editor.pixels[1][2], stipple::kBlack);
    EXPECT_EQ(shownPixel(form.Image1, {25, 15}), 0x000000u);
    EXPECT_EQ(form.statusPanels[0]->text(), "X: 0");
    EXPECT_EQ(editor.undoCount, 1);

    // Right button paints with the right colour.
    QTest::mouseClick(form.Image1, Qt::RightButton, {}, QPoint(15, 15));
    EXPECT_EQ(editor.pixels[2][2], stipple::kTransparent);
    EXPECT_EQ(editor.undoCount, 2);

    form.UndoButton->click();
    form.UndoButton->click();
    EXPECT_EQ(editor.pixels[2][2], stipple::kTransparent);
    EXPECT_EQ(editor.pixels[3][2], stipple::kTransparent);
    EXPECT_FALSE(form.UndoButton->isEnabled());
}

TEST_F(CommandWiringTest, SizeButtonsAndPixelMenuShowInTheFields) {
    auto quick = [this](const char* name) {
        return form.client->findChild<QToolButton*>(QString::fromUtf8(name));
    };
    struct Step {
        std::function<void()> press;
        const char* wid;
        const char* heig;
        const char* psize;
    };
    const Step steps[] = {
        {[&] { quick("SpeedButton42")->click(); }, "2", "92", "10"},  // W 2
        {[&] { quick("SpeedButton36")->click(); }, "2", "10", "10"},  // H 10
        {[&] { form.SpeedButton2->click(); }, "3", "10", "10"},
        {[&] { form.SpeedButton4->click(); }, "2", "10", "10"},
        {[&] { form.SpeedButton3->click(); }, "2", "11", "10"},
        {[&] { form.SpeedButton1->click(); }, "2", "10", "10"},
        {[&] { form.SpeedButton23->click(); }, "2", "10", "11"},
        {[&] { form.SpeedButton24->click(); }, "2", "10", "10"},
        {[&] { form.x151->trigger(); }, "2", "10", "15"},
        {[&] { form.x11->trigger(); }, "2", "10", "1"},
        {[&] { quick("SpeedButton22")->click(); }, "96", "10", "1"},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        steps[i].press();
        EXPECT_EQ(form.WID->text(), steps[i].wid);
        EXPECT_EQ(form.HEIG->text(), steps[i].heig);
        EXPECT_EQ(form.PSIZE->text(), steps[i].psize);
    }
    EXPECT_EQ(editor.undoCount, 4);  // the four size steps
}

TEST_F(CommandWiringTest, ToolbarExportsPutTheirFormatOnTheClipboard) {
    editor.pixels[1][1] = stipple::kWhite;
    editor.pixels[2][1] = stipple::kGray33;
    editor.quickSizeWidth(9);
    editor.quickSizeHeight(2);
    struct Export {
        QToolButton* button;
        int code;
    };
    const Export exports[] = {{form.ToolButton7, stipple::kFormatCppArray},
                              {form.ToolButton5, stipple::kFormatAsm1},
                              {form.ToolButton16, stipple::kFormatAsm2},
                              {form.ToolButton17, stipple::kFormatAsm4},
                              {form.ToolButton8, stipple::kFormatAsm8}};
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const bool aligned : {false, true}) {
        if (aligned) {
            form.align->click();
        }
        for (const Export& e : exports) {
            SCOPED_TRACE(e.button->objectName().toStdString() + (aligned ? " aligned" : ""));
            clipboard->setText(QStringLiteral("before"));
            e.button->click();
            EXPECT_EQ(clipboard->text().toStdString(),
                      editor.buildExportText(ExportSource::Picture, e.code, aligned));
        }
    }
    // Aligned and unaligned 1-bit rows of 9 pixels differ, so the flag did arrive.
    EXPECT_NE(editor.buildExportText(ExportSource::Picture, stipple::kFormatAsm1, true),
              editor.buildExportText(ExportSource::Picture, stipple::kFormatAsm1, false));
}

TEST_F(CommandWiringTest, AlignToggledTwiceIsOffAgain) {
    form.align->click();
    EXPECT_TRUE(editor.alignToByte);
    EXPECT_TRUE(form.align->isChecked());
    form.align->click();
    EXPECT_FALSE(editor.alignToByte);
    EXPECT_FALSE(form.align->isChecked());
}

TEST_F(CommandWiringTest, SaveAndSaveToEndWriteTheFileChosenInTheDialog) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(STIPPLE_TEST_TMP_DIR)));
    QTemporaryDir folder(QStringLiteral(STIPPLE_TEST_TMP_DIR "/wiring-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("out.s"));
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old content that Save replaces without asking\r\n");
    existing.close();

    QStringList filters, shownFilters;
    QFileDialog::Options options;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        shownFilters = stipple::testing::shownFilterTexts(dialog);
        options = dialog->options();
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
    form.Save1->trigger();
    EXPECT_EQ(filters,
              QStringList({QStringLiteral("(lib *.h , source *.s text *.txt) (*.h *.txt *.s)"),
                           QStringLiteral("(All Files *.*) (*)")}));
    EXPECT_EQ(shownFilters, QStringList({QStringLiteral("(lib *.h , source *.s text *.txt)"),
                                         QStringLiteral("(All Files *.*)")}));
    EXPECT_TRUE(options & QFileDialog::DontConfirmOverwrite);

    // The next dialog offers the same file again.
    QString preset;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        preset = dialog->selectedFiles().value(0);
        static_cast<QDialog*>(dialog)->accept();
    });
    form.ToolButton11->click();
    EXPECT_EQ(preset, path);

    whenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    form.Savetoend1->trigger();  // cancelled: nothing written

    std::string block;
    editor.writeAsm8Block(block);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), block + block);
}

TEST_F(CommandWiringTest, SetSizeGoesThroughTheDialog) {
    QString shownWidth, shownHeight;
    whenModalOpens([&](QWidget* modal) {
        ASSERT_EQ(modal, shell.Form2);
        shownWidth = shell.Form2->Edit2->text();
        shownHeight = shell.Form2->Edit1->text();
        shell.Form2->Edit2->setText(QStringLiteral("30"));
        shell.Form2->Edit1->setText(QStringLiteral("20"));
        shell.Form2->Button1->click();
    });
    form.ToolButton10->click();
    EXPECT_EQ(shownWidth, "96");
    EXPECT_EQ(shownHeight, "92");
    EXPECT_EQ(form.WID->text(), "30");
    EXPECT_EQ(form.HEIG->text(), "20");
    EXPECT_TRUE(form.UndoButton->isEnabled());

    whenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    form.SetSize1->trigger();
    EXPECT_EQ(form.WID->text(), "30");
    EXPECT_EQ(editor.undoCount, 1);
}

TEST_F(CommandWiringTest, PanelAndAboutBoxAreShown) {
    showActive();
    form.ToolButton12->click();
    EXPECT_TRUE(shell.Form4->isVisible());
    EXPECT_FALSE(shell.Form4->isModal());

    bool aboutWasModal = false;
    whenModalOpens([&](QWidget* modal) {
        aboutWasModal = modal == shell.About;
        static_cast<QDialog*>(modal)->reject();
    });
    form.About2->trigger();
    EXPECT_TRUE(aboutWasModal);
}

}  // namespace
