// A font in the windows: the Frames window shows the current glyph's fields and edits it
// through them, its sample line follows the glyphs, and New Font makes a font set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "editor/MouseTools.h"
#include "support/TestFiles.h"
#include "ui/Controls.h"
#include "ui/FramesViews.h"
#include "ui/FramesWindow.h"
#include "ui/MainWindow.h"
#include "ui/NewFontDialog.h"

namespace {

using namespace stipple;
using stipple::testing::control;

// A of 3 x 3 cells, advance 4; B of 1 x 2 cells below the baseline, advance 2.
const char* const kTinyFont =
    "STARTFONT 2.1\nFONT tiny\nSIZE 4 75 75\nFONTBOUNDINGBOX 3 4 0 -1\n"
    "STARTPROPERTIES 2\nFONT_ASCENT 3\nFONT_DESCENT 1\nENDPROPERTIES\nCHARS 2\n"
    "STARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 4 0\nBBX 3 3 0 0\nBITMAP\n"
    "40\nA0\nE0\nENDCHAR\n"
    "STARTCHAR B\nENCODING 66\nSWIDTH 500 0\nDWIDTH 2 0\nBBX 1 2 1 -1\nBITMAP\n"
    "80\n80\nENDCHAR\nENDFONT\n";

class FontWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        frames.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frames));
    }
    void openTinyFont() {
        const std::string path = folder.filePath(QStringLiteral("tiny.bdf")).toStdString();
        stipple::testing::writeFile(path, kTinyFont);
        ASSERT_TRUE(openPictureFile(session, path));
    }
    QSpinBox* field(const char* name) { return control<QSpinBox>(&frames, name); }
    // The glyph fields as they read: code point, advance, x offset, y offset.
    std::string shownFields() {
        return field("glyphCodePoint")->text().toStdString() + " " +
               field("glyphAdvance")->text().toStdString() + " " +
               field("glyphXOffset")->text().toStdString() + " " +
               field("glyphYOffset")->text().toStdString();
    }
    bool detailsShown() { return control<QWidget>(&frames, "fontDetails")->isVisibleTo(&frames); }
    // Runs `answer` on the next modal window once it is up.
    void answerNextModal(std::function<void(QWidget*)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            answer(modal);
        });
    }

    QTemporaryDir folder;
    ui::MainWindow form;
    Session& session = form.session();
    ui::FramesWindow& frames = form.framesWindow();
};

TEST_F(FontWindowsTest, TheGlyphFieldsShowTheCurrentGlyphAndEditIt) {
    EXPECT_FALSE(detailsShown()) << "a picture is no font";
    openTinyFont();
    ASSERT_TRUE(detailsShown());
    QString told;
    const auto typeCodePoint = [&](const char* typed) {
        QLineEdit* line = field("glyphCodePoint")->findChild<QLineEdit*>();
        line->selectAll();
        QTest::keyClicks(line, QString::fromUtf8(typed));
        QTest::keyClick(line, Qt::Key_Return);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* shown;
        int undoLevels;
    };
    const Step steps[] = {
        {"opened", [] {}, "U+0041 4 0 3", 1},
        {"next glyph", [&] { selectFrame(session, 1); }, "U+0042 2 1 1", 1},
        {"advance", [&] { field("glyphAdvance")->setValue(7); }, "U+0042 7 1 1", 2},
        {"y offset down a step", [&] { field("glyphYOffset")->stepDown(); }, "U+0042 7 1 0", 3},
        {"undo", [&] { session.undoChange(); }, "U+0042 7 1 1", 2},
        {"code point typed in hex", [&] { typeCodePoint("0x43"); }, "U+0043 7 1 1", 3},
        {"code point taken",
         [&] {
             answerNextModal([&](QWidget* modal) {
                 auto* box = qobject_cast<QMessageBox*>(modal);
                 ASSERT_NE(box, nullptr);
                 told = box->text();
                 box->accept();
             });
             typeCodePoint("65");
         },
         "U+0043 7 1 1", 3},
        {"first glyph", [&] { selectFrame(session, 0); }, "U+0041 4 0 3", 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(shownFields(), step.shown);
        EXPECT_EQ(session.undoCount(), step.undoLevels);
    }
    EXPECT_EQ(told, QStringLiteral("U+0041 is the code point of frame 1 already."));
    EXPECT_EQ(session.document().frames[1].glyph, (Glyph{67, 7, 1, 1}));
}

TEST_F(FontWindowsTest, TheSampleLineFollowsTheGlyphsAndItsText) {
    openTinyFont();
    auto* text = control<QLineEdit>(&frames, "fontSampleText");
    EXPECT_EQ(text->text(), QStringLiteral("The quick brown fox jumps"));
    text->setText(QStringLiteral("AB"));
    ui::SampleLineView& sample = frames.sample();
    const SampleLine drawn = sample.line();
    // A's advance and B's offset and width: 4 + 1 + 1 cells; the ascent, and B below it.
    EXPECT_EQ(drawn.width, 6);
    EXPECT_EQ(drawn.height, 4);
    EXPECT_EQ(sample.size(), QSize(6, 4) * sample.pixelSize());
    const QImage before = sample.grab().toImage();

    press(session, MouseButton::Left, 1, 1);  // A's transparent top-left cell, black
    release(session, MouseButton::Left, 1, 1);
    EXPECT_NE(sample.line().cells, drawn.cells);
    EXPECT_NE(sample.grab().toImage(), before);
    session.undoChange();
    EXPECT_EQ(sample.line().cells, drawn.cells);

    control<QSpinBox>(&frames, "fontSamplePixelSize")->setValue(5);
    EXPECT_EQ(sample.size(), QSize(30, 20));
    text->setText(QStringLiteral("B"));
    EXPECT_EQ(sample.line().width, 2);
    // Taken back to the picture before the font, the set is no font any more.
    session.undoChange();
    EXPECT_FALSE(detailsShown());
}

TEST_F(FontWindowsTest, NewFontAsksTheDialogAndMakesAFontSetInOneStep) {
    answerNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ui::NewFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        control<QComboBox>(dialog, "newFontFamily")
            ->setCurrentText(QStringLiteral(STIPPLE_OUTLINE_FONT_FILE));
        control<QSpinBox>(dialog, "newFontPixelSize")->setValue(10);
        control<QSpinBox>(dialog, "newFontFirst")->setValue(65);
        QSpinBox* last = control<QSpinBox>(dialog, "newFontLast");
        last->setValue(64);
        auto* buttons = control<QDialogButtonBox>(dialog, "newFontButtons");
        EXPECT_FALSE(buttons->button(QDialogButtonBox::Ok)->isEnabled()) << "a range backwards";
        last->setValue(67);
        control<QRadioButton>(dialog, "newFontFourGrays")->setChecked(true);
        const OutlineFontRequest asked = dialog->request();
        EXPECT_EQ(asked.file, STIPPLE_OUTLINE_FONT_FILE);
        EXPECT_EQ(asked.grays, 4);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    stipple::testing::menuItem(&form, CommandId::NewFont)->trigger();
    const Document& made = session.document();
    ASSERT_TRUE(made.font.has_value());
    ASSERT_EQ(made.frameCount(), 3);
    EXPECT_EQ(made.frames[2].glyph->codePoint, 67);
    EXPECT_EQ(session.undoCount(), 1);
    EXPECT_TRUE(detailsShown());
    EXPECT_EQ(field("glyphCodePoint")->text(), QStringLiteral("U+0041"));
    session.undoChange();
    EXPECT_FALSE(session.document().font.has_value());
}

}  // namespace
