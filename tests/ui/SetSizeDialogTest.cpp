// The Set Size dialog as a user meets it: typing, refusals, Enter, Tab and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/Controls.h"
#include "ui/SetSizeDialog.h"

namespace {

using stipple::testing::control;
using stipple::ui::SetSizeDialog;

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

    SetSizeDialog dialog;
    QLineEdit* heightEdit = control<QLineEdit>(&dialog, "Edit1");
    QLineEdit* widthEdit = control<QLineEdit>(&dialog, "Edit2");
    QPushButton* okButton = control<QPushButton>(&dialog, "Button1");
    QPushButton* cancelButton = control<QPushButton>(&dialog, "Button2");
    int boxes = 0;
    QString boxText, boxCaption;
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    bool boxOwned = true;
    int boxButtons = 0;
};

TEST_F(SetSizeDialogTest, RefusesABadHeightThenAcceptsTheCorrectedInput) {
    int width = 96, height = 92;
    const bool accepted = ask(width, height, [this] {
        EXPECT_EQ(QApplication::focusWidget(), heightEdit);
        EXPECT_EQ(widthEdit->text(), "96");
        EXPECT_EQ(heightEdit->text(), "92");
        EXPECT_LT(widthEdit->y(), heightEdit->y());  // width above height

        // The height is selected at open, so typing replaces it; a third digit is refused.
        QTest::keyClicks(heightEdit, "934");
        EXPECT_EQ(heightEdit->text(), "93");

        answerNextMessageBox();
        QTest::mouseClick(okButton, Qt::LeftButton);
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(boxText, "Incorrect Parameters");
        EXPECT_EQ(boxCaption, "Message");
        EXPECT_EQ(boxIcon, QMessageBox::NoIcon);
        EXPECT_FALSE(boxOwned);
        EXPECT_EQ(boxButtons, 1);
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_EQ(heightEdit->text(), "93");
        EXPECT_EQ(widthEdit->text(), "96");

        typeInto(heightEdit, "05");
        typeInto(widthEdit, "2");
        QTest::mouseClick(okButton, Qt::LeftButton);
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(boxes, 1);
}

TEST_F(SetSizeDialogTest, EnterPressesOkFromTheWidthFieldAndFromCancel) {
    int width = 40, height = 30;
    EXPECT_TRUE(ask(width, height, [this] {
        QTest::keyClick(heightEdit, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), widthEdit);
        typeInto(widthEdit, "96");
        QTest::keyClick(widthEdit, Qt::Key_Return);
    }));
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 30);

    // Tab order: height, width, OK, Cancel; Enter on Cancel still means OK.
    EXPECT_TRUE(ask(width, height, [this] {
        EXPECT_EQ(QApplication::focusWidget(), heightEdit);
        typeInto(heightEdit, "92");
        for (QWidget* next : {static_cast<QWidget*>(widthEdit), static_cast<QWidget*>(okButton),
                              static_cast<QWidget*>(cancelButton)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next);
        }
        QTest::keyClick(cancelButton, Qt::Key_Return);
    }));
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 92);
}

TEST_F(SetSizeDialogTest, CancelAndTheCloseBoxLeaveTheValues) {
    const std::function<void()> ways[] = {
        [this] { QTest::mouseClick(cancelButton, Qt::LeftButton); },
        [this] { dialog.close(); },
    };
    for (const auto& leave : ways) {
        int width = 20, height = 30;
        EXPECT_FALSE(ask(width, height, [&] {
            typeInto(heightEdit, "40");
            typeInto(widthEdit, "50");
            leave();
        }));
        EXPECT_EQ(width, 20);
        EXPECT_EQ(height, 30);
    }
    EXPECT_EQ(boxes, 0);
}

}  // namespace
