// A font in the windows: the Frames window shows the current glyph's fields and edits it
// through them, its sample line follows the glyphs, and New Font asks its dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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

// A of 3 x 3 cells, advance 4; B of 1 x 2 cells across the baseline, advance 2.
const char* const kTinyFont =
    "STARTFONT 2.1\nFONT tiny\nSIZE 4 75 75\nFONTBOUNDINGBOX 3 4 0 -1\n"
    "STARTPROPERTIES 2\nFONT_ASCENT 3\nFONT_DESCENT 1\nENDPROPERTIES\nCHARS 2\n"
    "STARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 4 0\nBBX 3 3 0 0\nBITMAP\n40\nA0\nE0\n"
    "ENDCHAR\nSTARTCHAR B\nENCODING 66\nSWIDTH 500 0\nDWIDTH 2 0\nBBX 1 2 1 -1\nBITMAP\n80\n80\n"
    "ENDCHAR\nENDFONT\n";

class FontWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        frames.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frames));
        EXPECT_FALSE(detailsShown()) << "a picture is no font";
        const std::string path = folder.filePath(QStringLiteral("tiny.bdf")).toStdString();
        stipple::testing::writeFile(path, kTinyFont);
        ASSERT_TRUE(openPictureFile(session, path));
    }
    QSpinBox* field(const char* name) { return control<QSpinBox>(&frames, name); }
    // Code point, advance, x offset and y offset as the fields read.
    QString shownFields() {
        QStringList shown;
        for (const char* name :
             {"glyphCodePoint", "glyphAdvance", "glyphXOffset", "glyphYOffset"}) {
            shown << field(name)->text();
        }
        return shown.join(QLatin1Char(' '));
    }
    bool detailsShown() { return control<QWidget>(&frames, "fontDetails")->isVisibleTo(&frames); }
    // Runs `answer` on the next modal window once it is up.
    static void answerNextModal(std::function<void(QWidget*)> answer) {
        QTimer::singleShot(0, [answer] { answer(QApplication::activeModalWidget()); });
    }

    QTemporaryDir folder;
    ui::MainWindow form;
    Session& session = form.session();
    ui::FramesWindow& frames = form.framesWindow();
};

TEST_F(FontWindowsTest, TheGlyphFieldsShowTheCurrentGlyphAndEditIt) {
    QString told;
    const auto typeCodePoint = [&](const char* typed) {
        QLineEdit* line = field("glyphCodePoint")->findChild<QLineEdit*>();
        line->selectAll();
        QTest::keyClicks(line, QString::fromUtf8(typed));
        QTest::keyClick(line, Qt::Key_Return);
    };
    const struct {
        std::function<void()> act;
        const char* shown;
        int undoLevels;
    } steps[] = {
        {[] {}, "U+0041 4 0 3", 1},
        {[&] { selectFrame(session, 1); }, "U+0042 2 1 1", 1},
        {[&] { field("glyphAdvance")->setValue(7); }, "U+0042 7 1 1", 2},
        {[&] { field("glyphYOffset")->stepDown(); }, "U+0042 7 1 0", 3},
        {[&] { session.undoChange(); }, "U+0042 7 1 1", 2},
        {[&] { typeCodePoint("0x43"); }, "U+0043 7 1 1", 3},
        {[&] {
             answerNextModal([&](QWidget* modal) {
                 told = qobject_cast<QMessageBox*>(modal)->text();
                 qobject_cast<QDialog*>(modal)->accept();
             });
             typeCodePoint("65");  // A's
         },
         "U+0043 7 1 1", 3},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        step.act();
        EXPECT_EQ(shownFields(), QString::fromUtf8(step.shown));
        EXPECT_EQ(session.undoCount(), step.undoLevels);
    }
    EXPECT_EQ(told, QStringLiteral("U+0041 is the code point of frame 1 already."));
    EXPECT_EQ(session.document().frames[1].glyph, (Glyph{67, 7, 1, 1}));
}

TEST_F(FontWindowsTest, TheSampleLineFollowsTheGlyphsAndItsText) {
    auto* text = control<QLineEdit>(&frames, "fontSampleText");
    EXPECT_EQ(text->text(), QStringLiteral("The quick brown fox jumps"));
    text->setText(QStringLiteral("AB"));
    ui::SampleLineView& sample = frames.sample();
    const SampleLine drawn = sample.line();
    // A's advance, then B one cell on: 6 cells; the ascent and the descent: 4.
    EXPECT_EQ(QSize(drawn.width, drawn.height), QSize(6, 4));
    const QImage before = sample.grab().toImage();
    press(session, MouseButton::Left, 1, 1);  // A's transparent top-left cell, black
    release(session, MouseButton::Left, 1, 1);
    EXPECT_NE(sample.grab().toImage(), before);
    session.undoChange();
    EXPECT_EQ(sample.line().cells, drawn.cells);
    control<QSpinBox>(&frames, "fontSamplePixelSize")->setValue(5);
    EXPECT_EQ(sample.size(), QSize(30, 20));
    session.undoChange();  // the picture before the font
    EXPECT_FALSE(detailsShown());
}

TEST_F(FontWindowsTest, NewFontAsksItsDialog) {
    answerNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ui::NewFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        control<QComboBox>(dialog, "newFontFamily")
            ->setCurrentText(QStringLiteral(STIPPLE_OUTLINE_FONT_FILE));
        control<QSpinBox>(dialog, "newFontFirst")->setValue(65);
        control<QSpinBox>(dialog, "newFontLast")->setValue(64);
        QPushButton* ok =
            control<QDialogButtonBox>(dialog, "newFontButtons")->button(QDialogButtonBox::Ok);
        EXPECT_FALSE(ok->isEnabled()) << "a range backwards";
        control<QSpinBox>(dialog, "newFontLast")->setValue(67);
        EXPECT_EQ(dialog->request().file, STIPPLE_OUTLINE_FONT_FILE);
        ok->click();
    });
    session.markWritten();  // nothing to ask about first
    stipple::testing::menuItem(&form, CommandId::NewFont)->trigger();
    EXPECT_EQ(session.document().frameCount(), 3);
    EXPECT_EQ(field("glyphCodePoint")->text(), QStringLiteral("U+0041"));
}

}  // namespace
