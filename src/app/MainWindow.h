#pragma once
// Form1, the editor's main window: the controls of the layout around the editing
// surface. It owns the editing core and is the core's Host; its handlers forward to the
// core and bring the controls in line.

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

#include "app/Editor.h"
#include "app/Host.h"

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace stipple {
class NameEditWidget;
class SurfaceWidget;
}  // namespace stipple

class TForm1 final : public QMainWindow, public stipple::Host {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 742;
    static constexpr int kClientHeight = 600;

    // One quick size button: its name in the layout, its number, and whether it sets the
    // width (left column) or the height (right column).
    struct QuickSize {
        const char* name;
        int value;
        bool setsWidth;
    };
    static const std::array<QuickSize, 32> kQuickSizes;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    stipple::Editor& editor() { return *editor_; }

    // Host
    void presentSurface(const stipple::Raster& surface) override;
    void showSizeFields(int width, int height, int pixelSize) override;
    void showSwatches(stipple::Rgb left, stipple::Rgb right) override;
    void setUndoControlsEnabled(bool enabled) override;
    void setViewControls(bool gridsOn, bool borderOn) override;
    void showStatusText(int panel, const std::string& text) override;
    std::string pictureName() const override;
    void setPictureName(const std::string& name) override;
    void showMessage(const std::string& text, const std::string& caption) override;

    // Handlers
    void FormPaint();
    void Undochange1Click();
    void UndoButtonClick();
    void ClearImage1Click();
    void ToolButton19Click();
    void Exit1Click();
    void ToolButton15Click();

    // Controls, under the names of the layout.
    QWidget* client = nullptr;  // the client area below the menu bar
    QToolBar* ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr, *ToolButton2 = nullptr, *ToolButton21 = nullptr,
                *ToolButton3 = nullptr, *ToolButton11 = nullptr, *UndoButton = nullptr,
                *ToolButton12 = nullptr, *align = nullptr, *ToolButton7 = nullptr,
                *ToolButton5 = nullptr, *ToolButton16 = nullptr, *ToolButton17 = nullptr,
                *ToolButton8 = nullptr, *ToolButton10 = nullptr, *ToolButton19 = nullptr,
                *GridsButton = nullptr, *BorderButton = nullptr, *ToolButton15 = nullptr;

    QLabel *Col = nullptr, *ColRight = nullptr;
    QMenu *ColMenu = nullptr, *ColRightMenu = nullptr;
    QAction *white1 = nullptr, *N33gray1 = nullptr, *N66gray1 = nullptr, *black1 = nullptr,
            *transparent1 = nullptr;
    QAction *MenuItem1 = nullptr, *MenuItem2 = nullptr, *MenuItem3 = nullptr, *MenuItem4 = nullptr,
            *MenuItem5 = nullptr;
    QToolButton *SpeedButton9 = nullptr, *SpeedButton6 = nullptr, *SpeedButton7 = nullptr,
                *SpeedButton8 = nullptr, *SpeedButton5 = nullptr;

    QButtonGroup* toolGroup = nullptr;
    QToolButton *pen_button = nullptr, *fill_button = nullptr, *pipe_button = nullptr,
                *chcol_button = nullptr, *box_button = nullptr;

    std::array<QToolButton*, 32> quickSizeButtons{};  // in the order of kQuickSizes

    stipple::NameEditWidget* Edit1 = nullptr;
    QLineEdit *WID = nullptr, *HEIG = nullptr, *PSIZE = nullptr;
    QToolButton *SpeedButton2 = nullptr, *SpeedButton4 = nullptr, *SpeedButton3 = nullptr,
                *SpeedButton1 = nullptr, *SpeedButton23 = nullptr, *SpeedButton24 = nullptr;

    stipple::SurfaceWidget* Image1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 3> statusPanels{};

    // Main menu
    QAction *NewPicture1 = nullptr, *OpenPicture1 = nullptr, *OpenBMPfile1 = nullptr,
            *Savepicture1 = nullptr, *Save1 = nullptr, *Savetoend1 = nullptr, *Exit1 = nullptr;
    QAction *Undochange1 = nullptr, *SetSize1 = nullptr, *ClearImage1 = nullptr;
    QAction *Pen1 = nullptr, *Bucket1 = nullptr, *Pipe1 = nullptr, *ChangeColor1 = nullptr;
    QAction *ViewGrids1 = nullptr, *ViewBorder1 = nullptr;
    QAction *x11 = nullptr, *x2NoGrids1 = nullptr, *x3NoGrids1 = nullptr, *x51 = nullptr,
            *x101 = nullptr, *x151 = nullptr;
    QAction* About2 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildToolBar();
    void buildMenu();
    void buildPalette();
    void buildQuickSizes();
    void buildInfoRow();
    void buildSurfaceAndStatus();
    void wireCommands();
    void centreOnDesktop();

    std::unique_ptr<stipple::Editor> editor_;
    bool inFormPaint_ = false;
    stipple::Rgb leftSwatch_ = 0, rightSwatch_ = 0;
    bool swatchesShown_ = false;
};
