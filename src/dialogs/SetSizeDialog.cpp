#include "dialogs/SetSizeDialog.h"
#include "app/WindowSetupShell.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/SizeInput.h"

namespace {

// The layout gives the outer size, 214 x 141, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 214 - 2 * 4;
constexpr int kClientHeight = 141 - 23 - 4;
// The 8-point dialog font the layout was made with, as on the main window.

QLabel* fieldLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->adjustSize();
    l->move(left, top);
    return l;
}

QLineEdit* sizeEdit(QWidget* parent, const char* name, int top) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setGeometry(64, top, 57, 21);
    e->setMaxLength(2);  // nothing above 99 can be typed
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, int top) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(128, top, 75, 25);
    // Enter presses OK wherever the focus is, Cancel included.
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    stipple::setUpFixedWindow(this, "Form2", "Set Size", kClientWidth, kClientHeight);

    // The width stands above the height, yet the height comes first in the tab order.
    Label2 = fieldLabel(this, "Label2", "Width", 16, 12);
    Edit2 = sizeEdit(this, "Edit2", 8);
    Label1 = fieldLabel(this, "Label1", "Heigth", 16, 45);
    Edit1 = sizeEdit(this, "Edit1", 40);
    Button1 = button(this, "Button1", "OK", 8);
    Button1->setDefault(true);
    Button2 = button(this, "Button2", "Cancel", 40);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

bool TForm2::askSize(int& width, int& height) {
    Edit2->setText(QString::number(width));
    Edit1->setText(QString::number(height));
    Edit1->selectAll();
    Edit1->setFocus();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    const std::optional<stipple::PictureSize> size =
        stipple::parseSizeInput(Edit1->text().toStdString(), Edit2->text().toStdString());
    if (!size) {
        return false;  // OK accepts only a valid input; this is a guard, not a path
    }
    width = size->width;
    height = size->height;
    return true;
}

void TForm2::Button1Click() {
    if (stipple::parseSizeInput(Edit1->text().toStdString(), Edit2->text().toStdString())) {
        accept();
        return;
    }
    // No owner and no icon; the fields keep what was typed so it can be corrected.
    QMessageBox message(QMessageBox::NoIcon, QStringLiteral("Message"),
                        QStringLiteral("Incorrect Parameters"), QMessageBox::Ok, nullptr);
    message.exec();
}

void TForm2::Button2Click() {
    reject();
}
