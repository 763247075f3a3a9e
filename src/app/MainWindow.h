#pragma once
// Form1, the editor's main window: the controls of the layout around the editing
// surface. It owns the editing core and is the core's Host; its handlers forward to the
// core and bring the controls in line.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

class TForm2;
class TAbout;
class TForm4;
class Tselpanel;
class Tsavebox;
class TbmpWin;

namespace stipple {
class NameEditWidget;
class SurfaceWidget;
enum class SurfaceButton;

// A filter of the form "description|patterns|description|patterns" as Qt's file dialogs
// take it: one "description (patterns)" entry per pair, ';' between patterns becoming a
// space and "*.*" meaning every file.
QStringList qtNameFilters(std::string_view filter);
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

    // The secondary windows, created after the main window; until they are attached the
    // commands that need them do nothing.
    void attachWindows(TForm2* form2, TAbout* about, TForm4* form4, Tselpanel* selectPanel,
                       Tsavebox* saveBox, TbmpWin* bitmapWindow);

    // Host
    void presentSurface(const stipple::Raster& surface) override;
    void showSizeFields(int width, int height, int pixelSize) override;
    void showSwatches(stipple::Rgb left, stipple::Rgb right) override;
    void setUndoControlsEnabled(bool enabled) override;
    void setViewControls(bool gridsOn, bool borderOn) override;
    void showStatusText(int panel, const std::string& text) override;
    std::string pictureName() const override;
    void setPictureName(const std::string& name) override;
    void showSelectToolPanel(bool visible) override;
    bool pasteButtonDown() const override;
    bool askPictureSize(int& width, int& height) override;
    std::optional<std::string> askExportFile() override;
    void setClipboardText(const std::string& utf8) override;
    void setAlignButtonDown(bool down) override;
    std::optional<std::string> askOpenPictureFile() override;
    std::optional<std::string> askSavePictureFile(const std::string& presetName) override;
    void showBoxCoordinates(int x1, int y1, int x2, int y2) override;
    std::optional<std::string> askSaveSelectName(const std::string& name) override;
    void showMessage(const std::string& text, const std::string& caption) override;

    // Handlers
    void FormPaint();
    void Undochange1Click();
    void UndoButtonClick();
    void ClearImage1Click();
    void ToolButton19Click();
    void Exit1Click();
    void ToolButton15Click();

    void Image1MouseDown(stipple::SurfaceButton button, int X, int Y);
    void Image1MouseMove(int X, int Y);
    void Image1MouseUp(stipple::SurfaceButton button, int X, int Y);

    void SpeedButton9MouseDown(Qt::MouseButton button);
    void SpeedButton6MouseDown(Qt::MouseButton button);
    void SpeedButton7MouseDown(Qt::MouseButton button);
    void SpeedButton8MouseDown(Qt::MouseButton button);
    void SpeedButton5MouseDown(Qt::MouseButton button);
    void white1Click();
    void N33gray1Click();
    void N66gray1Click();
    void black1Click();
    void transparent1Click();
    void MenuItem1Click();
    void MenuItem2Click();
    void MenuItem3Click();
    void MenuItem4Click();
    void MenuItem5Click();
    void ColClick();

    void pen_buttonClick();
    void fill_buttonClick();
    void pipe_buttonClick();  // also for box_button and chcol_button
    void Pen1Click();
    void Bucket1Click();
    void Pipe1Click();
    void ChangeColor1Click();

    // The 32 quick size buttons share one handler; `index` is into kQuickSizes.
    void quickSizeClick(std::size_t index);
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void SpeedButton1Click();
    void SpeedButton23Click();
    void SpeedButton24Click();
    void x11Click();
    void x2NoGrids1Click();
    void x3NoGrids1Click();
    void x51Click();
    void x101Click();
    void x151Click();
    void ViewGrids1Click();
    void GridsButtonClick();
    void ViewBorder1Click();
    void BorderButtonClick();
    void SetSize1Click();
    void ToolButton10Click();
    void About2Click();

    void ToolButton7Click();
    void ToolButton5Click();
    void ToolButton16Click();
    void ToolButton17Click();
    void ToolButton8Click();
    void alignClick();
    void Save1Click();
    void Savetoend1Click();
    void ToolButton11Click();
    void ToolButton12Click();

    void NewPicture1Click();
    void ToolButton1Click();
    void OpenPicture1Click();
    void ToolButton2Click();
    void Savepicture1Click();
    void ToolButton3Click();
    void OpenBMPfile1Click();
    void ToolButton21Click();

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
    template <class Command>
    void run(Command&& command);
    void toolFromMenu(QToolButton* button);
    void exportPicture(int formatCode);

    std::unique_ptr<stipple::Editor> editor_;
    TForm2* Form2 = nullptr;
    TAbout* About = nullptr;
    TForm4* Form4 = nullptr;
    Tselpanel* selpanel = nullptr;
    Tsavebox* savebox = nullptr;
    TbmpWin* bmpWin = nullptr;
    QString lastExportFile_;     // offered again by the next export save dialog
    QString lastOpenedPicture_;  // offered again by the next OpenDialog1
    QString lastPictureFolder_;  // where the picture dialogs open: the last one used
    bool inFormPaint_ = false;
    stipple::Rgb leftSwatch_ = 0, rightSwatch_ = 0;
    bool swatchesShown_ = false;
};
