#pragma once
// bmpWin, the Bitmap Image Open Dialog: loads a Windows bitmap, previews its cut into the
// four gray levels and takes the result into the editor. Shown modally.

#include <QDialog>

class TbmpWin : public QDialog {
    Q_OBJECT
  public:
    explicit TbmpWin(QWidget* parent = nullptr);
};
