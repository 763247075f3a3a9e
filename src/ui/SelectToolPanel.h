#pragma once
// The Select tool panel: a small tool window that stays on top while the box tool is
// chosen, with the box tool's modes, the operations on the copied box and its corners.
// Its close box only hides it.

#include <QWidget>
#include <array>

#include "editor/Session.h"

class QLineEdit;

namespace stipple::ui {

class CommandControls;

class SelectToolPanel : public QWidget {
    Q_OBJECT
  public:
    // Its buttons run their commands and show their state through `commands`.
    SelectToolPanel(Session& session, CommandControls& commands, QWidget* parent = nullptr);

    // The cells of the last captured box, 1-based.
    void showBoxCoordinates(int x1, int y1, int x2, int y2);

  private:
    std::array<QLineEdit*, 4> boxFields_{};  // X1, Y1, X2, Y2
};

}  // namespace stipple::ui
