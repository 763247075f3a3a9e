#pragma once
// The Save Select box: asks for the name under which the selected box is saved as a
// picture file of its own. Shown modally.

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace stipple::ui {

class SaveSelectionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SaveSelectionDialog(QWidget* parent = nullptr);

    // Puts `name` into the name field and shows the box modally; returns the field's text
    // as the user left it when "Save..." closed the box, nothing when it was closed any
    // other way.
    std::optional<QString> askName(const QString& name);

  private:
    QLineEdit* nameEdit_ = nullptr;
};

}  // namespace stipple::ui
