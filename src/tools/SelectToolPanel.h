#pragma once
// selpanel, the Select tool panel: a small tool window that stays on top while the box
// tool is active, with the box tool's modes and the operations on the selection.

#include <QWidget>

class Tselpanel : public QWidget {
    Q_OBJECT
  public:
    explicit Tselpanel(QWidget* parent = nullptr);
};
