// Scrolling and zooming the surface in the main window: the bars reach every cell, the
// wheel scrolls, Ctrl and the wheel zoom around the pointer.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "editor/ViewCommands.h"
#include "support/StateChange.h"
#include "ui/AboutBox.h"
#include "ui/BitmapImportDialog.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/Controls.h"
#include "ui/ExportWindow.h"
#include "ui/MainWindow.h"
#include "ui/SaveSelectionDialog.h"
#include "ui/SelectToolPanel.h"
#include "ui/SetSizeDialog.h"
#include "ui/SurfaceWidget.h"

namespace {

using namespace stipple;
using stipple::testing::control;

class SurfaceScrollTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void wheel(QPoint at, int notches, Qt::KeyboardModifiers keys) {
        QWheelEvent event(QPointF(at), QPointF(surface->mapToGlobal(at)), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface, &event);
    }
    void click(QPoint at) { QTest::mouseClick(surface, Qt::LeftButton, {}, at); }

    ui::MainWindow form;
    Session& session = form.session();
    ui::SurfaceWidget* surface = control<ui::SurfaceWidget>(&form, "Image1");
    QScrollBar* across = control<QScrollBar>(&form, "SurfaceScrollX");
    QScrollBar* down = control<QScrollBar>(&form, "SurfaceScrollY");
};

TEST_F(SurfaceScrollTest, TheBarsReachTheLastCellAndOnlyShowWhenNeeded) {
    // 96 x 92 cells of 10 pixels and the grid's last line: 961 x 921 in 670 x 514.
    ASSERT_TRUE(across->isVisible());
    ASSERT_TRUE(down->isVisible());
    EXPECT_EQ(across->maximum(), 961 - (670 - 16));
    EXPECT_EQ(down->maximum(), 921 - (514 - 16));
    across->setValue(across->maximum());
    down->setValue(down->maximum());
    EXPECT_EQ(session.view().scrollX, across->maximum());
    // The last cell now shows at the room's far corner, and the pen reaches it.
    click(QPoint(960 - across->maximum() - 5, 920 - down->maximum() - 5));
    EXPECT_EQ(session.picture().pixels[96][92], kBlack);

    setPictureWidth(session, 10);
    setPictureHeight(session, 10);
    EXPECT_FALSE(across->isVisible());
    EXPECT_FALSE(down->isVisible());
    EXPECT_EQ(session.view().scrollX, 0);
    EXPECT_EQ(session.view().scrollY, 0);
}

TEST_F(SurfaceScrollTest, TheWheelScrollsAndCtrlWheelZoomsAroundThePointer) {
    wheel(QPoint(100, 100), -1, Qt::NoModifier);
    EXPECT_EQ(session.view().scrollY, 3 * down->singleStep());
    wheel(QPoint(100, 100), -1, Qt::ShiftModifier);
    EXPECT_EQ(session.view().scrollX, 3 * across->singleStep());

    const QPoint at(203, 117);
    const auto cellUnder = [&] {
        const ViewSettings& v = session.view();
        return QPoint((v.scrollX + at.x()) / v.pixelSize, (v.scrollY + at.y()) / v.pixelSize);
    };
    const QPoint before = cellUnder();
    for (const int notches : {1, 1, 1, -1, -1, -1, -1}) {
        const int size = session.pixelSize();
        wheel(at, notches, Qt::ControlModifier);
        EXPECT_EQ(session.pixelSize(), size + notches);
        EXPECT_EQ(cellUnder(), before) << session.pixelSize();
    }
}

}  // namespace
