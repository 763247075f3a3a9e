#include "ui/SaveSelectionDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/WidgetHelpers.h"

namespace stipple::ui {

SaveSelectionDialog::SaveSelectionDialog(QWidget* parent) : QDialog(parent) {
    setUpFixedWindow(this, "savebox", "Save Select...", 200, 76);

    label(this, "Label1", "Name:", {8, 14}, boldFont(this), kLabelBlue);
    nameEdit_ = new QLineEdit(QStringLiteral("Name"), this);
    nameEdit_->setObjectName(QStringLiteral("Edit1"));
    nameEdit_->setGeometry(56, 10, 136, 21);

    // Only this button gives OK, Enter in the name field included; the close box and
    // Escape reject.
    QPushButton* save = pushButton(this, "Button1", "Save...", QRect(62, 42, 75, 25));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
}

std::optional<QString> SaveSelectionDialog::askName(const QString& name) {
    nameEdit_->setText(name);
    nameEdit_->selectAll();
    nameEdit_->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return nameEdit_->text();
}

}  // namespace stipple::ui
