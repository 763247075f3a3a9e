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
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <string>

#include "editor/ViewCommands.h"
#include "formats/ExportText.h"
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

using stipple::ExportFormat;
using stipple::Tool;
using stipple::testing::control;
using stipple::ui::MainWindow;
using stipple::ui::NameEdit;
using stipple::ui::SurfaceWidget;

QRgb shownPixel(QWidget* widget, QPoint at) {
    return widget->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF;
}

class CommandTableTest : public ::testing::Test {
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

    QAction* item(CommandId id) { return stipple::testing::menuItem(&form, id); }
    template <class T>
    T* button(CommandId id) {
        return stipple::testing::commandControl<T>(&form, id);
    }
    template <class T>
    T* named(const char* name) {
        return control<T>(&form, name);
    }

    MainWindow form;
    stipple::Session& session = form.session();
    const stipple::Picture& picture = session.picture();
    NameEdit* nameEdit = named<NameEdit>("Edit1");
    SurfaceWidget* surface = named<SurfaceWidget>("Image1");
};

TEST_F(CommandTableTest, PaletteButtonsActOnThePressOfLeftOrRight) {
    QTest::mousePress(button<QToolButton>(CommandId::PaletteWhite), Qt::RightButton);
    EXPECT_EQ(session.rightColour(), stipple::kWhite);
    EXPECT_EQ(session.leftColour(), stipple::kBlack);
    EXPECT_EQ(shownPixel(named<QLabel>("ColRight"), {12, 12}), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(button<QLabel>(CommandId::ShowLeftSwatch), {12, 12}), 0x000000u);
    QTest::mouseRelease(button<QToolButton>(CommandId::PaletteWhite), Qt::RightButton);

    QTest::mousePress(button<QToolButton>(CommandId::PaletteGray33), Qt::MiddleButton);
    QTest::mouseRelease(button<QToolButton>(CommandId::PaletteGray33), Qt::MiddleButton);
    EXPECT_EQ(session.rightColour(), stipple::kWhite);
    EXPECT_EQ(session.leftColour(), stipple::kBlack);

    // The press alone is enough; the release changes nothing more.
    QTest::mousePress(button<QToolButton>(CommandId::PaletteGray66), Qt::LeftButton);
    EXPECT_EQ(session.leftColour(), stipple::kGray66);
    EXPECT_EQ(shownPixel(button<QLabel>(CommandId::ShowLeftSwatch), {12, 12}), 0x808080u);
    QTest::mouseRelease(button<QToolButton>(CommandId::PaletteGray66), Qt::LeftButton);
    EXPECT_EQ(session.rightColour(), stipple::kWhite);
}

TEST_F(CommandTableTest, ColourMenusSetTheirOwnColour) {
    struct Item {
        QAction* action;
        bool left;
        stipple::Pixel value;
    };
    const Item items[] = {
        {item(CommandId::LeftWhite), true, stipple::kWhite},
        {item(CommandId::LeftGray33), true, stipple::kGray33},
        {item(CommandId::LeftGray66), true, stipple::kGray66},
        {item(CommandId::LeftBlack), true, stipple::kBlack},
        {item(CommandId::LeftTransparent), true, stipple::kTransparent},
        {item(CommandId::RightWhite), false, stipple::kWhite},
        {item(CommandId::RightGray33), false, stipple::kGray33},
        {item(CommandId::RightGray66), false, stipple::kGray66},
        {item(CommandId::RightBlack), false, stipple::kBlack},
        {item(CommandId::RightTransparent), false, stipple::kTransparent},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.action->objectName().toStdString());
        // Start from the colour the other side of the menu would not set.
        changeState(session, [&](SessionState& st) {
            st.leftColour = st.rightColour =
                item.value == stipple::kGray33 ? stipple::kWhite : stipple::kGray33;
        });
        const stipple::Pixel other = session.leftColour();
        item.action->trigger();
        EXPECT_EQ(item.left ? session.leftColour() : session.rightColour(), item.value);
        EXPECT_EQ(item.left ? session.rightColour() : session.leftColour(), other);
        EXPECT_EQ(shownPixel(item.left ? button<QLabel>(CommandId::ShowLeftSwatch)
                                       : named<QLabel>("ColRight"),
                             {12, 12}),
                  session.displayColour(item.value));
    }
}

TEST_F(CommandTableTest, ClickOnTheLeftSwatchRepaintsItAlone) {
    changeState(session,
                [&](SessionState& st) { st.leftColour = stipple::kWhite; });  // not shown yet
    changeState(session, [&](SessionState& st) { st.rightColour = stipple::kBlack; });  // nor this
    QTest::mouseClick(button<QLabel>(CommandId::ShowLeftSwatch), Qt::LeftButton);
    EXPECT_EQ(shownPixel(button<QLabel>(CommandId::ShowLeftSwatch), {12, 12}), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(named<QLabel>("ColRight"), {12, 12}), 0x008080u);
}

TEST_F(CommandTableTest, ViewMenuAndToolbarAgreeWhicheverToggles) {
    struct Pair {
        QAction* item;
        QToolButton* button;
        bool stipple::ViewSettings::*flag;
    };
    const Pair pairs[] = {{item(CommandId::ViewGrids), button<QToolButton>(CommandId::ViewGrids),
                           &stipple::ViewSettings::gridsOn},
                          {item(CommandId::ViewBorder), button<QToolButton>(CommandId::ViewBorder),
                           &stipple::ViewSettings::borderOn}};
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.item->objectName().toStdString());
        const bool start = session.view().*p.flag;
        for (int step = 1; step <= 4; ++step) {
            if (step % 2 == 1) {
                p.button->click();
            } else {
                p.item->trigger();
            }
            const bool expected = step % 2 == 1 ? !start : start;
            EXPECT_EQ(session.view().*p.flag, expected) << "step " << step;
            EXPECT_EQ(p.item->isChecked(), expected) << "step " << step;
            EXPECT_EQ(p.button->isChecked(), expected) << "step " << step;
        }
    }
}

TEST_F(CommandTableTest, FunctionKeysChooseToolsAlsoFromTheNameBox) {
    showActive();
    nameEdit->setFocus();
    struct Key {
        Qt::Key key;
        QToolButton* button;
        Tool tool;
    };
    const Key keys[] = {
        {Qt::Key_F3, button<QToolButton>(CommandId::Bucket), Tool::Bucket},
        {Qt::Key_F4, button<QToolButton>(CommandId::Pipe), Tool::Pipe},
        {Qt::Key_F5, button<QToolButton>(CommandId::ChangeColour), Tool::ChangeColour},
        {Qt::Key_F2, button<QToolButton>(CommandId::Pen), Tool::Pen},
    };
    for (const Key& k : keys) {
        SCOPED_TRACE(k.button->objectName().toStdString());
        QTest::keyClick(nameEdit, k.key);
        EXPECT_TRUE(k.button->isChecked());
        EXPECT_EQ(session.tool(), k.tool);
    }
    EXPECT_EQ(nameEdit->text(), "Name");
}

TEST_F(CommandTableTest, BoxButtonShowsTheSelectToolPanelAndPenHidesIt) {
    showActive();
    button<QToolButton>(CommandId::SelectBox)->click();
    EXPECT_EQ(session.tool(), Tool::Box);
    EXPECT_TRUE(session.selectMode());
    EXPECT_TRUE(form.selectToolPanel().isVisible());
    button<QToolButton>(CommandId::ChangeColour)->click();
    EXPECT_EQ(session.tool(), Tool::ChangeColour);
    EXPECT_FALSE(form.selectToolPanel().isVisible());
    button<QToolButton>(CommandId::Pen)->click();
    EXPECT_EQ(session.tool(), Tool::Pen);
}

TEST_F(CommandTableTest, DragOnTheSurfacePaintsOneUndoStep) {
    showActive();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(15, 15));
    QTest::mouseMove(surface, QPoint(25, 15));
    QTest::mouseMove(surface, QPoint(-40, 15));  // held beyond the left edge
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(-40, 15));
    EXPECT_EQ(picture.pixels[2][2], stipple::kBlack);
    EXPECT_EQ(picture.pixels[3][2], stipple::kBlack);
    EXPECT_EQ(picture.pixels[1][2], stipple::kBlack);
    EXPECT_EQ(shownPixel(surface, {25, 15}), 0x000000u);
    EXPECT_EQ(named<QLabel>("StatusPanel0")->text(), "X: 0");
    EXPECT_EQ(session.undoCount(), 1);

    // Right button paints with the right colour.
    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(15, 15));
    EXPECT_EQ(picture.pixels[2][2], stipple::kTransparent);
    EXPECT_EQ(session.undoCount(), 2);

    button<QToolButton>(CommandId::Undo)->click();
    button<QToolButton>(CommandId::Undo)->click();
    EXPECT_EQ(picture.pixels[2][2], stipple::kTransparent);
    EXPECT_EQ(picture.pixels[3][2], stipple::kTransparent);
    EXPECT_FALSE(button<QToolButton>(CommandId::Undo)->isEnabled());
}

TEST_F(CommandTableTest, SizeButtonsAndPixelMenuShowInTheFields) {
    auto quick = [this](const char* name) {
        return form.centralWidget()->findChild<QToolButton*>(QString::fromUtf8(name));
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
        {[&] { button<QToolButton>(CommandId::WidthUp)->click(); }, "3", "10", "10"},
        {[&] { button<QToolButton>(CommandId::WidthDown)->click(); }, "2", "10", "10"},
        {[&] { button<QToolButton>(CommandId::HeightUp)->click(); }, "2", "11", "10"},
        {[&] { button<QToolButton>(CommandId::HeightDown)->click(); }, "2", "10", "10"},
        {[&] { button<QToolButton>(CommandId::PixelSizeUp)->click(); }, "2", "10", "11"},
        {[&] { button<QToolButton>(CommandId::PixelSizeDown)->click(); }, "2", "10", "10"},
        {[&] { item(CommandId::PixelSize15)->trigger(); }, "2", "10", "15"},
        {[&] { item(CommandId::PixelSize1)->trigger(); }, "2", "10", "1"},
        {[&] { quick("SpeedButton22")->click(); }, "96", "10", "1"},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        steps[i].press();
        EXPECT_EQ(named<QLineEdit>("WID")->text(), steps[i].wid);
        EXPECT_EQ(named<QLineEdit>("HEIG")->text(), steps[i].heig);
        EXPECT_EQ(named<QLineEdit>("PSIZE")->text(), steps[i].psize);
    }
    EXPECT_EQ(session.undoCount(), 7);  // the three quick sizes and the four size steps
}

TEST_F(CommandTableTest, ToolbarExportsPutTheirFormatOnTheClipboard) {
    changeState(session, [&](SessionState& st) { st.picture().pixels[1][1] = stipple::kWhite; });
    changeState(session, [&](SessionState& st) { st.picture().pixels[2][1] = stipple::kGray33; });
    stipple::setPictureWidth(session, 9);
    stipple::setPictureHeight(session, 2);
    const auto exportText = [this](ExportFormat format, bool aligned) {
        return stipple::exportText(picture.view(), "Name", format, aligned);
    };
    struct Export {
        QToolButton* button;
        ExportFormat format;
    };
    const Export exports[] = {{button<QToolButton>(CommandId::ExportCpp), ExportFormat::CppArray},
                              {button<QToolButton>(CommandId::ExportAsm1), ExportFormat::Asm1},
                              {button<QToolButton>(CommandId::ExportAsm2), ExportFormat::Asm2},
                              {button<QToolButton>(CommandId::ExportAsm4), ExportFormat::Asm4},
                              {button<QToolButton>(CommandId::ExportAsm8), ExportFormat::Asm8}};
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const bool aligned : {false, true}) {
        if (aligned) {
            button<QToolButton>(CommandId::AlignToByte)->click();
        }
        for (const Export& e : exports) {
            SCOPED_TRACE(e.button->objectName().toStdString() + (aligned ? " aligned" : ""));
            clipboard->setText(QStringLiteral("before"));
            e.button->click();
            EXPECT_EQ(clipboard->text().toStdString(), exportText(e.format, aligned));
        }
    }
    // Aligned and unaligned 1-bit rows of 9 pixels differ, so the flag did arrive.
    EXPECT_NE(exportText(ExportFormat::Asm1, true), exportText(ExportFormat::Asm1, false));
}

TEST_F(CommandTableTest, AlignToggledTwiceIsOffAgain) {
    button<QToolButton>(CommandId::AlignToByte)->click();
    EXPECT_TRUE(session.alignToByte());
    EXPECT_TRUE(button<QToolButton>(CommandId::AlignToByte)->isChecked());
    button<QToolButton>(CommandId::AlignToByte)->click();
    EXPECT_FALSE(session.alignToByte());
    EXPECT_FALSE(button<QToolButton>(CommandId::AlignToByte)->isChecked());
}

TEST_F(CommandTableTest, SaveAndSaveToEndWriteTheFileChosenInTheDialog) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(STIPPLE_TEST_TMP_DIR)));
    QTemporaryDir folder(QStringLiteral(STIPPLE_TEST_TMP_DIR "/wiring-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("out.s"));
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old content that Save replaces after asking\r\n");
    existing.close();

    QStringList filters, shownFilters;
    QFileDialog::Options options;
    QString question;
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
        // The file exists: the dialog asks before it is replaced.
        whenModalOpens([&](QWidget* box) {
            auto* asked = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(asked, nullptr);
            question = asked->text();
            asked->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    item(CommandId::SaveAsm8)->trigger();
    EXPECT_TRUE(question.contains(QStringLiteral("already exists"))) << question.toStdString();
    EXPECT_EQ(filters,
              QStringList({QStringLiteral("(lib *.h , source *.s text *.txt) (*.h *.txt *.s)"),
                           QStringLiteral("(All Files *.*) (*)")}));
    EXPECT_EQ(shownFilters, QStringList({QStringLiteral("(lib *.h , source *.s text *.txt)"),
                                         QStringLiteral("(All Files *.*)")}));
    EXPECT_FALSE(options & QFileDialog::DontConfirmOverwrite);

    // The next dialog offers the same file again; Save to end, which only adds to it,
    // takes it without a question.
    QString preset;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        preset = dialog->selectedFiles().value(0);
        static_cast<QDialog*>(dialog)->accept();
    });
    button<QToolButton>(CommandId::AppendAsm8)->click();
    EXPECT_EQ(preset, path);

    whenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    item(CommandId::AppendAsm8)->trigger();  // cancelled: nothing written

    const std::string block = stipple::asm8FileBlock(picture.view(), "Name");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), block + block);
}

TEST_F(CommandTableTest, SetSizeGoesThroughTheDialog) {
    QString shownWidth, shownHeight;
    whenModalOpens([&](QWidget* modal) {
        ASSERT_EQ(modal, &form.setSizeDialog());
        auto* width = control<QLineEdit>(modal, "Edit2");
        auto* height = control<QLineEdit>(modal, "Edit1");
        shownWidth = width->text();
        shownHeight = height->text();
        width->setText(QStringLiteral("30"));
        height->setText(QStringLiteral("20"));
        control<QPushButton>(modal, "Button1")->click();
    });
    button<QToolButton>(CommandId::SetSize)->click();
    EXPECT_EQ(shownWidth, "96");
    EXPECT_EQ(shownHeight, "92");
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "30");
    EXPECT_EQ(named<QLineEdit>("HEIG")->text(), "20");
    EXPECT_TRUE(button<QToolButton>(CommandId::Undo)->isEnabled());

    whenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    item(CommandId::SetSize)->trigger();
    EXPECT_EQ(named<QLineEdit>("WID")->text(), "30");
    EXPECT_EQ(session.undoCount(), 1);
}

TEST_F(CommandTableTest, PanelAndAboutBoxAreShown) {
    showActive();
    button<QToolButton>(CommandId::ClipboardPanel)->click();
    EXPECT_TRUE(form.clipboardExportPanel().isVisible());
    EXPECT_FALSE(form.clipboardExportPanel().isModal());

    bool aboutWasModal = false;
    whenModalOpens([&](QWidget* modal) {
        aboutWasModal = modal == &form.aboutBox();
        static_cast<QDialog*>(modal)->reject();
    });
    item(CommandId::About)->trigger();
    EXPECT_TRUE(aboutWasModal);
}

}  // namespace
