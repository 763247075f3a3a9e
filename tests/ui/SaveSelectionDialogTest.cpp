// The Save Select box gives OK only through its "Save..." button, Enter included.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "ui/Controls.h"
#include "ui/SaveSelectionDialog.h"

namespace {

using stipple::testing::control;
using stipple::ui::SaveSelectionDialog;

TEST(SaveSelectionDialogTest, LayoutOfTheBox) {
    SaveSelectionDialog box;
    EXPECT_EQ(box.size(), QSize(200, 76));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    const auto* label = control<QLabel>(&box, "Label1");
    EXPECT_EQ(label->text(), "Name:");
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
    EXPECT_EQ(control<QLineEdit>(&box, "Edit1")->text(), "Name");
    const auto* save = control<QPushButton>(&box, "Button1");
    EXPECT_EQ(save->text(), "Save...");
    EXPECT_TRUE(save->isDefault());
}

TEST(SaveSelectionDialogTest, OnlyTheSaveButtonGivesOk) {
    struct Way {
        const char* what;
        std::function<void(SaveSelectionDialog&)> close;
        bool ok;
    };
    const auto name = [](SaveSelectionDialog& b) { return control<QLineEdit>(&b, "Edit1"); };
    const Way ways[] = {
        {"Enter in the name field",
         [&](SaveSelectionDialog& b) { QTest::keyClick(name(b), Qt::Key_Return); }, true},
        {"click on Save...",
         [](SaveSelectionDialog& b) {
             QTest::mouseClick(control<QPushButton>(&b, "Button1"), Qt::LeftButton);
         },
         true},
        {"Escape", [&](SaveSelectionDialog& b) { QTest::keyClick(name(b), Qt::Key_Escape); },
         false},
        {"close box", [](SaveSelectionDialog& b) { b.close(); }, false},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        SaveSelectionDialog box;
        QString offered;
        QTimer::singleShot(0, [&] {
            offered = name(box)->text();
            name(box)->setText(QStringLiteral("Edited"));
            way.close(box);
        });
        const std::optional<QString> answer = box.askName(QStringLiteral("Picture"));
        EXPECT_EQ(offered, "Picture");
        EXPECT_EQ(answer.has_value(), way.ok);
        if (answer) {
            EXPECT_EQ(*answer, "Edited");
        }
    }
}

}  // namespace
