#pragma once
// About, the About box: the program's name, version and author over a picture. Shown
// modally from the "?" menu.

#include <QDialog>

class TAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TAbout(QWidget* parent = nullptr);
};
