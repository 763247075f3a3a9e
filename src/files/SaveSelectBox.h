#pragma once
// savebox, the Save Select box: asks for the file name under which the selected box is
// saved as a picture file of its own.

#include <QDialog>

class Tsavebox : public QDialog {
    Q_OBJECT
  public:
    explicit Tsavebox(QWidget* parent = nullptr);
};
