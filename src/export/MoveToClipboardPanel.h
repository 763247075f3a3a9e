#pragma once
// Form4, the Move to ClipBoard panel: a small tool window that stays on top and puts the
// picture or the selected box on the clipboard in a chosen format.

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;

namespace stipple {
class Editor;
enum class ExportSource;
}  // namespace stipple

class TForm4 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm4(QWidget* parent = nullptr);

    // The editor whose picture and box the buttons export; without one they do nothing.
    void setEditor(stipple::Editor* editor);

    // Index of the checked item of `formats`, 0 = "C++ array format"; -1 for none.
    int formatsItemIndex() const;

    void BitBtn1Click();
    void BitBtn2Click();

    QGroupBox* formats = nullptr;         // radio group "Format"
    QButtonGroup* formatItems = nullptr;  // its items, ids 0..4 in the order shown
    QCheckBox* alignbox = nullptr;
    QPushButton* BitBtn1 = nullptr;  // the whole picture
    QPushButton* BitBtn2 = nullptr;  // the copied box

  private:
    void exportTo(stipple::ExportSource source);

    stipple::Editor* editor_ = nullptr;
};
