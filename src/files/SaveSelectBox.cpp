#include "files/SaveSelectBox.h"
#include "app/WindowSetupShell.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The 8-point dialog font the layout was made with, as on the main window.
const QColor kLabelBlue(0x00, 0x00, 0xFF);

}  // namespace

Tsavebox::Tsavebox(QWidget* parent) : QDialog(parent) {
    stipple::setUpFixedWindow(this, "savebox", "Save Select...", kClientWidth, kClientHeight);

    Label1 = new QLabel(QStringLiteral("Name:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, kLabelBlue);
    Label1->setPalette(p);
    Label1->adjustSize();
    Label1->move(8, 14);

    Edit1 = new QLineEdit(QStringLiteral("Name"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(56, 10, 136, 21);

    Button1 = new QPushButton(QStringLiteral("Save..."), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(62, 42, 75, 25);
    Button1->setDefault(true);  // Enter in the name field presses it

    connect(Button1, &QPushButton::clicked, this, &Tsavebox::Button1Click);
}

std::optional<QString> Tsavebox::askName(const QString& name) {
    Edit1->setText(name);
    Edit1->selectAll();
    Edit1->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return Edit1->text();
}

// Only this button gives OK; the close box and Escape reject.
void Tsavebox::Button1Click() {
    accept();
}
