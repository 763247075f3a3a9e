// The Export window: its text follows the picture, and the trace runs both ways between the
// numbers of the text and the cells of the surface.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "editor/MouseTools.h"
#include "formats/ExportFormats.h"
#include "support/FakeHost.h"
#include "support/StateChange.h"
#include "support/TestFiles.h"
#include "ui/Controls.h"
#include "ui/ExportWindow.h"
#include "ui/SurfaceWidget.h"

namespace {

using namespace stipple;
using stipple::testing::control;

class ExportWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.start();
        stipple::testing::changeState(session, [&](SessionState& st) {
            st.name() = "ship";
            stipple::testing::setPicture(st.picture(), {"0123401230", "3210432104", "0000011111"});
        });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        choose("exportFormat", "GNU as");
        choose("exportTarget", "gameboy");
        choose("exportBase", "hex");
    }
    // As a user picks an item, also the one shown (a target with options on top).
    void choose(const char* box, const char* item) {
        QComboBox* c = control<QComboBox>(&window, box);
        const int index = c->findText(QString::fromUtf8(item), Qt::MatchStartsWith);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    std::string expectedText() const {
        return exportFormatRow(ExportFormat::Gas)
            .write(session.picture().view(), "ship", settings());
    }
    static ExportSettings settings() {
        ExportSettings s;
        s.layout = *layoutForTarget("gameboy");
        s.base = Base::Hex;
        return s;
    }
    // The shown positions of the numbers of the text, in order.
    std::vector<ValueSpan> numbers() const {
        return valueSpans(window.shownText().toStdString(), ExportFormat::Gas);
    }

    stipple::testing::FakeHost host;
    Session session{host};
    ui::SurfaceWidget surface;
    ui::ExportWindow window{session, surface, nullptr};
};

TEST_F(ExportWindowTest, ThePenChangesTheTextAtOnce) {
    EXPECT_EQ(window.shownText().toStdString(), expectedText());
    EXPECT_EQ(window.countText(), QStringLiteral("32 bytes"));  // two 8 x 8 tiles, 2 planes
    EXPECT_EQ(window.commandLine(),
              QStringLiteral("stipple export --target gameboy --syntax gas --base hex --name ship "
                             "PICTURE.stw"));
    const std::string before = window.shownText().toStdString();
    const int size = session.pixelSize();
    press(session, MouseButton::Left, 2 * size + 1, 1);  // black into cell (3, 1)
    release(session, MouseButton::Left, 2 * size + 1, 1);
    EXPECT_NE(window.shownText().toStdString(), before);
    EXPECT_EQ(window.shownText().toStdString(), expectedText());
}

TEST_F(ExportWindowTest, PointingAtANumberFramesItsCells) {
    QPlainTextEdit* text = control<QPlainTextEdit>(&window, "exportText");
    QTextCursor at(text->document());
    at.setPosition(static_cast<int>(numbers()[16].offset + 1));  // tile 2 row 1
    QMouseEvent move(QEvent::MouseMove, QPointF(text->cursorRect(at).center()),
                     QPointF(text->viewport()->mapToGlobal(text->cursorRect(at).center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(text->viewport(), &move);
    const int size = session.pixelSize();
    // The first row of the second tile holds the picture's cells 9 and 10 of row 1.
    EXPECT_EQ(surface.traceFrames(),
              QList<QRect>({QRect(8 * size, 0, size, size), QRect(9 * size, 0, size, size)}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(text->viewport(), &leave);
    EXPECT_TRUE(surface.traceFrames().isEmpty());
}

TEST_F(ExportWindowTest, PointingAtACellHighlightsItsNumbers) {
    const int size = session.pixelSize();
    QPlainTextEdit* text = control<QPlainTextEdit>(&window, "exportText");
    const auto pointAt = [&](int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                         QPointF(surface.mapToGlobal(QPoint(x, y))), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&surface, &move);
        std::vector<std::pair<int, int>> marked;
        for (const QTextEdit::ExtraSelection& mark : text->extraSelections()) {
            marked.emplace_back(mark.cursor.selectionStart(),
                                mark.cursor.selectionEnd() - mark.cursor.selectionStart());
        }
        return marked;
    };
    // Cell (10, 2) lies in the second tile, its row 2: the bytes of both planes hold it.
    const std::vector<ValueSpan> all = numbers();
    const std::vector<std::pair<int, int>> expected = {
        {static_cast<int>(all[18].offset), static_cast<int>(all[18].length)},
        {static_cast<int>(all[19].offset), static_cast<int>(all[19].length)}};
    EXPECT_EQ(pointAt(9 * size + 2, size + 2), expected);
    EXPECT_TRUE(pointAt(30 * size, 2).empty());  // off the picture
}

TEST_F(ExportWindowTest, TheLevelsFieldIsAnOrdinaryTextField) {
    QLineEdit* levels = control<QLineEdit>(&window, "exportLevels");
    QLabel* why = control<QLabel>(&window, "exportLevelsProblem");
    QPushButton* copy = control<QPushButton>(&window, "exportCopy");
    QTest::keyClick(levels, Qt::Key_End);
    QTest::keyClick(levels, Qt::Key_Backspace);
    EXPECT_EQ(levels->text(), QStringLiteral("3,2,1,0,"));
    EXPECT_TRUE(why->isVisible());
    EXPECT_EQ(why->text(), window.countText());
    EXPECT_FALSE(copy->isEnabled());
    QTest::keyClick(levels, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(levels, Qt::Key_Delete);
    EXPECT_EQ(levels->text(), QString());
    QTest::keyClicks(levels, "1,1,0,0,0");
    EXPECT_EQ(levels->text(), QStringLiteral("1,1,0,0,0"));
    EXPECT_FALSE(why->isVisible());
    EXPECT_TRUE(copy->isEnabled());
    EXPECT_EQ(control<QComboBox>(&window, "exportTarget")->currentText(),
              QStringLiteral("gameboy + levels 1,1,0,0,0"));
    EXPECT_NE(window.commandLine().indexOf(QStringLiteral("--levels 1,1,0,0,0")), -1);
}

TEST_F(ExportWindowTest, ASecondWindowStartsWithTheSettingsOfTheFirst) {
    choose("exportFormat", "ca65");
    window.hide();  // which keeps the settings
    ui::SurfaceWidget otherSurface;
    ui::ExportWindow other(session, otherSurface, nullptr);
    other.show();
    EXPECT_EQ(other.commandLine(),
              QStringLiteral("stipple export --target gameboy --syntax ca65 --base hex --name ship "
                             "PICTURE.stw"));
}

}  // namespace
