// The Move to ClipBoard panel: its start state, and that its buttons hand the chosen
// format, source and alignment to the editor.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "app/Editor.h"
#include "export/ExportTestSupport.h"
#include "export/ExportText.h"
#include "export/MoveToClipboardPanel.h"
#include "support/FakeHost.h"

namespace {

using stipple::ExportSource;

class MoveToClipboardPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        editor.FormCreate();
        // Nine wide, so that aligned and unaligned packings differ.
        stipple::testing::setPicture(editor, {"012340123", "321043210"});
        panel.setEditor(&editor);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    void choose(int item) { panel.formatItems->button(item)->click(); }

    stipple::testing::FakeHost host;
    stipple::Editor editor{host};
    TForm4 panel;
};

TEST_F(MoveToClipboardPanelTest, StartsWithAsm8AndNoAlignment) {
    const char* const items[] = {"C++ array format", "ASM 1bpp format", "ASM 2bpp format",
                                 "ASM 4bpp format", "ASM 8bpp format"};
    EXPECT_EQ(panel.formats->title(), "Format");
    for (int i = 0; i < 5; ++i) {
        QAbstractButton* item = panel.formatItems->button(i);
        EXPECT_EQ(item->text(), items[i]);
        EXPECT_LE(item->sizeHint().width(), item->width()) << items[i];  // not cut off
    }
    EXPECT_EQ(panel.formatsItemIndex(), 4);
    EXPECT_EQ(panel.alignbox->text(), "align up to byte");
    EXPECT_FALSE(panel.alignbox->isChecked());
    EXPECT_LE(panel.alignbox->sizeHint().width(), panel.alignbox->width());
    EXPECT_EQ(panel.BitBtn1->toolTip(), "Move to ClipBoard");
    EXPECT_EQ(panel.BitBtn2->toolTip(), "Move to ClipBoard Selected Box");
    EXPECT_EQ(panel.pos(), QPoint(660, 380));
    for (QWidget* w : panel.findChildren<QWidget*>()) {
        EXPECT_TRUE(panel.rect().contains(w->geometry())) << w->objectName().toStdString();
    }

    QTest::mouseClick(panel.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(host.clipboard, editor.buildExportText(ExportSource::Picture, 1, false));
}

TEST_F(MoveToClipboardPanelTest, EachItemExportsItsFormatWithThePanelsOwnAlignment) {
    // The toolbar's alignment is on; the panel does not follow it.
    editor.alignClick();
    ASSERT_TRUE(editor.alignToByte);
    const struct {
        int item;
        int code;
        bool align;
    } cases[] = {{0, 2, false}, {1, 3, false}, {1, 3, true}, {2, 4, true},
                 {3, 5, false}, {3, 5, true},  {4, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item " << c.item << " align " << c.align);
        choose(c.item);
        panel.alignbox->setChecked(c.align);
        panel.BitBtn1->click();
        EXPECT_EQ(host.clipboard, editor.buildExportText(ExportSource::Picture, c.code, c.align));
    }
    EXPECT_TRUE(editor.alignToByte);
    // And ticking the panel's box leaves the toolbar's flag alone.
    editor.alignClick();
    panel.alignbox->setChecked(true);
    EXPECT_FALSE(editor.alignToByte);
}

TEST_F(MoveToClipboardPanelTest, BoxExportNeedsACopiedBox) {
    panel.BitBtn2->click();
    EXPECT_EQ(host.clipboardWrites, 0);
    EXPECT_EQ(host.clipboard, "(earlier clipboard)");

    stipple::testing::setBox(editor, {"33", "01", "44"});
    choose(1);
    panel.BitBtn2->click();
    EXPECT_EQ(host.clipboardWrites, 1);
    EXPECT_EQ(host.clipboard, editor.buildExportText(ExportSource::SelectedBox, 3, false));
    EXPECT_NE(host.clipboard, editor.buildExportText(ExportSource::Picture, 3, false));
}

TEST_F(MoveToClipboardPanelTest, ClosingHidesAndKeepsTheChoices) {
    choose(2);
    panel.alignbox->setChecked(true);
    EXPECT_TRUE(panel.close());
    EXPECT_FALSE(panel.isVisible());
    panel.show();
    EXPECT_EQ(panel.formatsItemIndex(), 2);
    EXPECT_TRUE(panel.alignbox->isChecked());
}

}  // namespace
