// The Set Size dialog as a user meets it: typing, refusals, Enter, Tab and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs/SetSizeDialog.h"

namespace {

class SetSizeDialogTest : public ::testing::Test {
  protected:
    // Runs askSize with `user` acting inside the shown dialog; a dialog the user leaves
    // open is a failure and is cancelled so the test goes on.
    bool ask(int& width, int& height, const std::function<void()>& user) {
        QTimer::singleShot(0, &dialog, [this, user] {
            if (QTest::qWaitForWindowActive(&dialog)) {
                user();
            } else {
                ADD_FAILURE() << "the dialog did not become active";
            }
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                dialog.reject();
            }
        });
        return dialog.askSize(width, height);
    }

    // Answers the message box that the next action opens, keeping what it showed.
    void answerNextMessageBox() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box";
            ++boxes;
            boxText = box->text();
            boxCaption = box->windowTitle();
            boxIcon = box->icon();
            boxOwned = box->parentWidget() != nullptr;
            boxButtons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
    }

    void typeInto(QLineEdit* field, const char* text) {
        field->clear();
        QTest::keyClicks(field, QString::fromUtf8(text));
    }

    TForm2 dialog;
    int boxes = 0;
    QString boxText, boxCaption;
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    bool boxOwned = true;
    int boxButtons = 0;
};

TEST_F(SetSizeDialogTest, RefusesABadHeightThenAcceptsTheCorrectedInput) {
    int width = 96, height = 92;
    const bool accepted = ask(width, height, [this] {
        EXPECT_EQ(QApplication::focusWidget(), dialog.Edit1);
        EXPECT_EQ(dialog.Edit2->text(), "96");
        EXPECT_EQ(dialog.Edit1->text(), "92");
        EXPECT_LT(dialog.Edit2->y(), dialog.Edit1->y());  // width above height

        // The height is selected at open, so typing replaces it; a third digit is refused.
        QTest::keyClicks(dialog.Edit1, "934");
        EXPECT_EQ(dialog.Edit1->text(), "93");

        answerNextMessageBox();
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(boxText, "Incorrect Parameters");
        EXPECT_EQ(boxCaption, "Message");
        EXPECT_EQ(boxIcon, QMessageBox::NoIcon);
        EXPECT_FALSE(boxOwned);
        EXPECT_EQ(boxButtons, 1);
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Edit1->text(), "93");
        EXPECT_EQ(dialog.Edit2->text(), "96");

        typeInto(dialog.Edit1, "05");
        typeInto(dialog.Edit2, "2");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(boxes, 1);
}

TEST_F(SetSizeDialogTest, EnterPressesOkFromTheWidthFieldAndFromCancel) {
    int width = 40, height = 30;
    EXPECT_TRUE(ask(width, height, [this] {
        QTest::keyClick(dialog.Edit1, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), dialog.Edit2);
        typeInto(dialog.Edit2, "96");
        QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    }));
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 30);

    // Tab order: height, width, OK, Cancel; Enter on Cancel still means OK.
    EXPECT_TRUE(ask(width, height, [this] {
        EXPECT_EQ(QApplication::focusWidget(), dialog.Edit1);
        typeInto(dialog.Edit1, "92");
        for (QWidget* next :
             {static_cast<QWidget*>(dialog.Edit2), static_cast<QWidget*>(dialog.Button1),
              static_cast<QWidget*>(dialog.Button2)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next);
        }
        QTest::keyClick(dialog.Button2, Qt::Key_Return);
    }));
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 92);
}

TEST_F(SetSizeDialogTest, CancelAndTheCloseBoxLeaveTheValues) {
    const std::function<void(TForm2&)> ways[] = {
        [](TForm2& d) { QTest::mouseClick(d.Button2, Qt::LeftButton); },
        [](TForm2& d) { d.close(); },
    };
    for (const auto& leave : ways) {
        int width = 20, height = 30;
        EXPECT_FALSE(ask(width, height, [&] {
            typeInto(dialog.Edit1, "40");
            typeInto(dialog.Edit2, "50");
            leave(dialog);
        }));
        EXPECT_EQ(width, 20);
        EXPECT_EQ(height, 30);
    }
    EXPECT_EQ(boxes, 0);
}

}  // namespace
