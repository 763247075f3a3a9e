// The Save Select box gives OK only through its "Save..." button, Enter included.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "files/SaveSelectBox.h"

namespace {

TEST(SaveSelectBoxTest, LayoutOfTheBox) {
    Tsavebox box;
    EXPECT_EQ(box.size(), QSize(200, 76));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.Label1->text(), "Name:");
    EXPECT_TRUE(box.Label1->font().bold());
    EXPECT_EQ(box.Label1->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
    EXPECT_EQ(box.Edit1->text(), "Name");
    EXPECT_EQ(box.Button1->text(), "Save...");
    EXPECT_TRUE(box.Button1->isDefault());
}

TEST(SaveSelectBoxTest, OnlyTheSaveButtonGivesOk) {
    struct Way {
        const char* what;
        std::function<void(Tsavebox&)> close;
        bool ok;
    };
    const Way ways[] = {
        {"Enter in the name field", [](Tsavebox& b) { QTest::keyClick(b.Edit1, Qt::Key_Return); },
         true},
        {"click on Save...", [](Tsavebox& b) { QTest::mouseClick(b.Button1, Qt::LeftButton); },
         true},
        {"Escape", [](Tsavebox& b) { QTest::keyClick(b.Edit1, Qt::Key_Escape); }, false},
        {"close box", [](Tsavebox& b) { b.close(); }, false},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        Tsavebox box;
        QString offered;
        QTimer::singleShot(0, [&] {
            offered = box.Edit1->text();
            box.Edit1->setText(QStringLiteral("Edited"));
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
