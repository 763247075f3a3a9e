#pragma once
// Form2, the Set Size dialog: asks for a picture width and height. Shown modally by Set
// Size and New Picture.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);

    // Fills the fields with the values, shows the dialog modally and, on OK, returns true
    // with the width and height the user accepted (both already checked).
    bool askSize(int& width, int& height);

    void Button1Click();
    void Button2Click();

    QLabel* Label1 = nullptr;        // "Heigth"
    QLabel* Label2 = nullptr;        // "Width"
    QLineEdit* Edit1 = nullptr;      // height
    QLineEdit* Edit2 = nullptr;      // width
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // Cancel
};
