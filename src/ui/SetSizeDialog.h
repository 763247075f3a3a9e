#pragma once
// The Set Size dialog: asks for a picture width and height. Shown modally by Set Size and
// New Picture.

#include <QDialog>

class QLineEdit;

namespace stipple::ui {

class SetSizeDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SetSizeDialog(QWidget* parent = nullptr);

    // Fills the fields with the values, shows the dialog modally and, on OK, returns true
    // with the width and height the user accepted (both already checked).
    bool askSize(int& width, int& height);

  private:
    // OK closes the dialog only on an acceptable input, else says so and stays open.
    void acceptIfValid();

    QLineEdit* heightEdit_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
};

}  // namespace stipple::ui
