#pragma once
// The About box: the program's name, version and author over a picture. Shown modally
// from the "?" menu; the picture is decoded when the box is first shown.

#include <QDialog>

class QLabel;

namespace stipple::ui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* picture_ = nullptr;  // stretched over the client area, under the texts
    bool pictureShown_ = false;
};

}  // namespace stipple::ui
