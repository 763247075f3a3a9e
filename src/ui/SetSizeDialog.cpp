#include "ui/SetSizeDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

#include "editor/SizeInput.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The layout gives the outer size, 214 x 141, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 214 - 2 * 4;
constexpr int kClientHeight = 141 - 23 - 4;

QLineEdit* sizeEdit(QWidget* parent, const char* name, int top) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setGeometry(64, top, 57, 21);
    e->setMaxLength(2);  // nothing above 99 can be typed
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, int top) {
    QPushButton* b = pushButton(parent, name, text, QRect(128, top, 75, 25));
    // Enter presses OK wherever the focus is, Cancel included.
    b->setAutoDefault(false);
    return b;
}

std::optional<PictureSize> parsedSize(const QLineEdit* heightEdit, const QLineEdit* widthEdit) {
    return parseSizeInput(heightEdit->text().toStdString(), widthEdit->text().toStdString());
}

}  // namespace

SetSizeDialog::SetSizeDialog(QWidget* parent) : QDialog(parent) {
    setUpFixedWindow(this, "Form2", "Set Size", kClientWidth, kClientHeight);

    // The width stands above the height, yet the height comes first in the tab order.
    label(this, "Label2", "Width", {16, 12});
    widthEdit_ = sizeEdit(this, "Edit2", 8);
    label(this, "Label1", "Heigth", {16, 45});
    heightEdit_ = sizeEdit(this, "Edit1", 40);
    QPushButton* ok = button(this, "Button1", "OK", 8);
    ok->setDefault(true);
    QPushButton* cancel = button(this, "Button2", "Cancel", 40);
    setTabOrder(heightEdit_, widthEdit_);
    setTabOrder(widthEdit_, ok);
    setTabOrder(ok, cancel);

    connect(ok, &QPushButton::clicked, this, &SetSizeDialog::acceptIfValid);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool SetSizeDialog::askSize(int& width, int& height) {
    widthEdit_->setText(QString::number(width));
    heightEdit_->setText(QString::number(height));
    heightEdit_->selectAll();
    heightEdit_->setFocus();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    const std::optional<PictureSize> size = parsedSize(heightEdit_, widthEdit_);
    if (!size) {
        return false;  // OK accepts only a valid input; this is a guard, not a path
    }
    width = size->width;
    height = size->height;
    return true;
}

void SetSizeDialog::acceptIfValid() {
    if (parsedSize(heightEdit_, widthEdit_)) {
        accept();
        return;
    }
    // No owner and no icon; the fields keep what was typed so it can be corrected.
    QMessageBox message(QMessageBox::NoIcon, QStringLiteral("Message"),
                        QStringLiteral("Incorrect Parameters"), QMessageBox::Ok, nullptr);
    message.exec();
}

}  // namespace stipple::ui
