// The Move to ClipBoard panel: its start state, and that its buttons hand the chosen
// format, source and alignment to the session.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "editor/ExportCommands.h"
#include "editor/Session.h"
#include "formats/ExportText.h"
#include "support/FakeHost.h"
#include "support/StateChange.h"
#include "support/TestFiles.h"
#include "ui/ClipboardExportPanel.h"
#include "ui/Controls.h"

namespace {

using stipple::SessionState;
using stipple::testing::changeState;
using stipple::testing::takeSnapshot;

using stipple::ExportFormat;
using stipple::testing::control;

class ClipboardExportPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.start();
        // Nine wide, so that aligned and unaligned packings differ.
        changeState(session, [&](SessionState& st) {
            stipple::testing::setPicture(st.picture(), {"012340123", "321043210"});
        });
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    QList<QRadioButton*> formatItems() const {
        return control<QGroupBox>(&panel, "formats")->findChildren<QRadioButton*>();
    }
    void choose(int item) { formatItems()[item]->click(); }
    int chosenItem() const {
        const QList<QRadioButton*> items = formatItems();
        for (int i = 0; i < items.size(); ++i) {
            if (items[i]->isChecked()) {
                return i;
            }
        }
        return -1;
    }
    QCheckBox* alignBox() const { return control<QCheckBox>(&panel, "alignbox"); }
    QPushButton* button(const char* name) const { return control<QPushButton>(&panel, name); }

    std::string pictureText(ExportFormat format, bool align) const {
        return stipple::exportText(session.picture().view(), "Name", format, align);
    }

    stipple::testing::FakeHost host;
    stipple::Session session{host};
    stipple::ui::ClipboardExportPanel panel{session};
};

TEST_F(ClipboardExportPanelTest, StartsWithAsm8AndNoAlignment) {
    const char* const items[] = {"C++ array format", "ASM 1bpp format", "ASM 2bpp format",
                                 "ASM 4bpp format", "ASM 8bpp format"};
    EXPECT_EQ(control<QGroupBox>(&panel, "formats")->title(), "Format");
    ASSERT_EQ(formatItems().size(), 5);
    for (int i = 0; i < 5; ++i) {
        QRadioButton* item = formatItems()[i];
        EXPECT_EQ(item->text(), items[i]);
        EXPECT_LE(item->sizeHint().width(), item->width()) << items[i];  // not cut off
    }
    EXPECT_EQ(chosenItem(), 4);
    EXPECT_EQ(alignBox()->text(), "align up to byte");
    EXPECT_FALSE(alignBox()->isChecked());
    EXPECT_LE(alignBox()->sizeHint().width(), alignBox()->width());
    EXPECT_EQ(button("BitBtn1")->toolTip(), "Move to ClipBoard");
    EXPECT_EQ(button("BitBtn2")->toolTip(), "Move to ClipBoard Selected Box");
    EXPECT_EQ(panel.pos(), QPoint(660, 380));
    for (QWidget* w : panel.findChildren<QWidget*>()) {
        EXPECT_TRUE(panel.rect().contains(w->geometry())) << w->objectName().toStdString();
    }

    QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(host.clipboard, pictureText(ExportFormat::Asm8, false));
}

TEST_F(ClipboardExportPanelTest, EachItemExportsItsFormatWithThePanelsOwnAlignment) {
    // The toolbar's alignment is on; the panel does not follow it.
    stipple::toggleAlignToByte(session);
    ASSERT_TRUE(session.alignToByte());
    const struct {
        int item;
        ExportFormat format;
        bool align;
    } cases[] = {{0, ExportFormat::CppArray, false}, {1, ExportFormat::Asm1, false},
                 {1, ExportFormat::Asm1, true},      {2, ExportFormat::Asm2, true},
                 {3, ExportFormat::Asm4, false},     {3, ExportFormat::Asm4, true},
                 {4, ExportFormat::Asm8, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item " << c.item << " align " << c.align);
        choose(c.item);
        alignBox()->setChecked(c.align);
        button("BitBtn1")->click();
        EXPECT_EQ(host.clipboard, pictureText(c.format, c.align));
    }
    EXPECT_TRUE(session.alignToByte());
    // And ticking the panel's box leaves the toolbar's flag alone.
    stipple::toggleAlignToByte(session);
    alignBox()->setChecked(true);
    EXPECT_FALSE(session.alignToByte());
}

TEST_F(ClipboardExportPanelTest, BoxExportNeedsACopiedBox) {
    button("BitBtn2")->click();
    EXPECT_EQ(host.clipboardWrites, 0);
    EXPECT_EQ(host.clipboard, "(earlier clipboard)");

    changeState(session, [&](SessionState& st) {
        stipple::testing::setBox(st.selection, {"33", "01", "44"});
    });
    choose(1);
    button("BitBtn2")->click();
    EXPECT_EQ(host.clipboardWrites, 1);
    EXPECT_EQ(host.clipboard,
              stipple::exportText(session.selection().view(), "Name", ExportFormat::Asm1, false));
    EXPECT_NE(host.clipboard, pictureText(ExportFormat::Asm1, false));
}

TEST_F(ClipboardExportPanelTest, ClosingHidesAndKeepsTheChoices) {
    choose(2);
    alignBox()->setChecked(true);
    EXPECT_TRUE(panel.close());
    EXPECT_FALSE(panel.isVisible());
    panel.show();
    EXPECT_EQ(chosenItem(), 2);
    EXPECT_TRUE(alignBox()->isChecked());
}

}  // namespace
