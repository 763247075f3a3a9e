#pragma once
// Form4, the Move to ClipBoard panel: a small tool window that stays on top and puts the
// picture or the selected box on the clipboard in a chosen format.

#include <QWidget>

class TForm4 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm4(QWidget* parent = nullptr);
};
