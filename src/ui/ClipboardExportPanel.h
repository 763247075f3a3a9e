#pragma once
// The Move to ClipBoard panel: a small tool window that stays on top and puts the picture
// or the copied box on the clipboard in the format and alignment chosen on it.

#include <QWidget>

#include "editor/ExportCommands.h"

class QButtonGroup;
class QCheckBox;

namespace stipple::ui {

class ClipboardExportPanel : public QWidget {
    Q_OBJECT
  public:
    ClipboardExportPanel(Session& session, QWidget* parent = nullptr);

  private:
    void exportFrom(ExportSource source);

    Session& session_;
    QButtonGroup* formatItems_ = nullptr;  // ids 0..4 in the order shown
    QCheckBox* alignBox_ = nullptr;
};

}  // namespace stipple::ui
