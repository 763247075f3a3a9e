// The Frames window: the strip shows the frames as they are, its buttons and clicks reach the
// set, the onion skin follows window and menu alike, and playback runs on its own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <functional>

#include "editor/FrameCommands.h"
#include "editor/MouseTools.h"
#include "ui/Controls.h"
#include "ui/FramesViews.h"
#include "ui/FramesWindow.h"
#include "ui/MainWindow.h"
#include "ui/NameEdit.h"

namespace {

using namespace stipple;
using stipple::testing::commandControl;
using stipple::testing::control;
using ui::CommandId;

class FramesWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        frames.show();
        frames.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frames));
    }
    QPushButton* button(CommandId id) { return commandControl<QPushButton>(&frames, id); }
    // The value each slot of the strip shows in its first cell, and where the strip is marked.
    std::string shownFirstCells() const {
        const QImage shot = strip.grab().toImage();
        std::string values;
        for (int i = 0; i < session.document().frameCount(); ++i) {
            const QRgb rgb = shot.pixel(strip.pictureRect(i).topLeft()) & 0xFFFFFF;
            values += static_cast<char>(
                '0' + (std::find(std::begin(kDisplayColours), std::end(kDisplayColours), rgb) -
                       std::begin(kDisplayColours)));
            const bool marked = shot.pixel(strip.slotRect(i).topLeft() + QPoint(1, 1)) ==
                                strip.palette().color(QPalette::Highlight).rgb();
            values += marked ? "*" : "";
        }
        return values;
    }

    ui::MainWindow form;
    Session& session = form.session();
    ui::FramesWindow& frames = form.framesWindow();
    ui::FramesStrip& strip = frames.strip();
};

TEST_F(FramesWindowTest, TheStripFollowsTheFramesAndTheButtonsTheirRules) {
    const auto click = [this](CommandId id) { return [this, id] { button(id)->click(); }; };
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* shown;  // each slot's first cell, the current one marked with *
    };
    const Step steps[] = {
        {"at start", [] {}, "4*"},
        {"pen", [this] { press(session, MouseButton::Left, 1, 1); }, "0*"},
        {"new", click(CommandId::NewFrame), "04*"},
        {"duplicate", click(CommandId::DuplicateFrame), "044*"},
        {"pen", [this] { press(session, MouseButton::Left, 1, 1); }, "040*"},
        {"earlier", click(CommandId::MoveFrameEarlier), "00*4"},
        {"click on the last",
         [this] { QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.slotRect(2).center()); },
         "004*"},
        {"later at the end", click(CommandId::MoveFrameLater), "004*"},
        {"delete", click(CommandId::DeleteFrame), "00*"},
        {"delete", click(CommandId::DeleteFrame), "0*"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        release(session, MouseButton::Left, 1, 1);
        EXPECT_EQ(shownFirstCells(), step.shown);
        const int count = session.document().frameCount();
        const int current = session.document().current;
        EXPECT_EQ(strip.width(), count * strip.slotRect(0).width());
        EXPECT_EQ(button(CommandId::DeleteFrame)->isEnabled(), count > 1);
        EXPECT_EQ(button(CommandId::MoveFrameEarlier)->isEnabled(), current > 0);
        EXPECT_EQ(button(CommandId::MoveFrameLater)->isEnabled(), current + 1 < count);
    }
}

TEST_F(FramesWindowTest, ABigSetScrollsTheCurrentFrameIntoSight) {
    for (int i = 1; i < 64; ++i) {
        newFrame(session);
    }
    auto* area = control<QScrollArea>(&frames, "framesStripArea");
    for (const int chosen : {63, 0, 32}) {
        selectFrame(session, chosen);
        const QRect inSight(-strip.x(), 0, area->viewport()->width(), strip.height());
        EXPECT_TRUE(inSight.contains(strip.slotRect(chosen))) << chosen;
    }
}

TEST_F(FramesWindowTest, OnionSkinTogglesFromTheWindowAndTheMenuAlike) {
    auto* box = commandControl<QCheckBox>(&frames, CommandId::OnionSkin);
    QAction* item = stipple::testing::menuItem(&form, CommandId::OnionSkin);
    box->click();
    EXPECT_TRUE(session.view().onionSkin);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(session.view().onionSkin);
    EXPECT_FALSE(box->isChecked());
}

TEST_F(FramesWindowTest, PlayShowsTheFramesInTurnAtTheRateAndLeavesTheCurrentOne) {
    newFrame(session);
    newFrame(session);
    selectFrame(session, 1);
    control<QSpinBox>(&frames, "framesRate")->setValue(40);
    EXPECT_EQ(session.document().frameRate, 40);
    auto* play = control<QPushButton>(&frames, "framesPlay");
    play->click();
    ASSERT_TRUE(frames.playing());
    EXPECT_EQ(frames.findChild<QTimer*>("framesTimer")->interval(), 25);
    EXPECT_EQ(frames.player().shownFrame(), 1);
    // Round the set and back to the first: it loops.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.player().shownFrame() == 2; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.player().shownFrame() == 0; }));
    EXPECT_EQ(session.document().current, 1);
    play->click();
    EXPECT_FALSE(frames.playing());
    EXPECT_EQ(frames.player().shownFrame(), 1);
    EXPECT_EQ(play->text(), QStringLiteral("&Play"));
}

TEST_F(FramesWindowTest, CtrlPageKeysChooseFramesFromTheFramesWindowAndTheNameBox) {
    newFrame(session);
    newFrame(session);
    selectFrame(session, 0);
    QWidget* inFrames[] = {&strip, control<QSpinBox>(&frames, "framesRate"),
                           button(CommandId::NewFrame)};
    for (QWidget* focused : inFrames) {
        SCOPED_TRACE(focused->objectName().toStdString());
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(session.document().current, 1);
        QTest::keyClick(focused, Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(session.document().current, 0);
    }
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* name = control<ui::NameEdit>(&form, "Edit1");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_PageUp, Qt::ControlModifier);  // round to the last
    EXPECT_EQ(session.document().current, 2);
    EXPECT_EQ(name->text().toStdString(), session.document().frames[2].name);
}

}  // namespace
