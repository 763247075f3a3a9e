#pragma once
// Form2, the Set Size dialog: asks for a picture width and height. Shown modally by Set
// Size and New Picture.

#include <QDialog>

class TForm2 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);
};
