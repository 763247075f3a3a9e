#pragma once
// About, the About box: the program's name, version and author over a picture. Shown
// modally from the "?" menu.

#include <QDialog>

class QLabel;
class QPushButton;

class TAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TAbout(QWidget* parent = nullptr);

    void Button1Click();

    QLabel* Image1 = nullptr;  // the picture, stretched over the client area
    QLabel* Label1 = nullptr;  // author line
    QLabel* Label2 = nullptr;  // "Vexlan"
    QLabel* Label3 = nullptr;  // "Stippleworkshop"
    QLabel* Label4 = nullptr;  // "ver. 1.4 beta"
    QPushButton* Button1 = nullptr;
};
