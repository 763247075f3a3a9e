#pragma once
// selpanel, the Select tool panel: a small tool window that stays on top while the box
// tool is active, with the box tool's modes and the operations on the selection.

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QToolButton;

namespace stipple {
class Editor;
}  // namespace stipple

class Tselpanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 136;
    static constexpr int kClientHeight = 159;

    explicit Tselpanel(QWidget* parent = nullptr);

    // The editor whose selection the buttons work on; without one they do nothing. Setting
    // it runs FormCreate, which hands the mode buttons' state to the editor.
    void setEditor(stipple::Editor* editor);

    // X1, Y1, X2, Y2: the cells of the last captured box, 1-based.
    void showBoxCoordinates(int x1, int y1, int x2, int y2);

    // Handlers
    void FormCreate();
    void selectbuttonClick();
    void PasteButtonClick();
    void SaveButtonClick();
    void ClearButtonClick();
    void CropButtonClick();
    void SpeedButton1Click();  // rotate left
    void SpeedButton2Click();  // rotate right
    void SpeedButton3Click();  // flip horizontally
    void SpeedButton4Click();  // flip vertically

    // Controls, under the names of the layout.
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label5 = nullptr;
    QButtonGroup* modeGroup = nullptr;  // selectbutton and PasteButton, one always down
    QToolButton *selectbutton = nullptr, *PasteButton = nullptr;
    QToolButton *SaveButton = nullptr, *ClearButton = nullptr, *CropButton = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
                *SpeedButton4 = nullptr;
    QLabel *labelx1 = nullptr, *Label10 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLineEdit *X1 = nullptr, *Y1 = nullptr, *X2 = nullptr, *Y2 = nullptr;

  private:
    template <class Operation>
    void run(Operation&& operation);
    void syncModes();

    stipple::Editor* editor_ = nullptr;
};
