#pragma once
// The main window's controls at their places: menu, toolbar, palette, tools, quick sizes,
// the info row, the surface and the status bar. Commands find their controls by layout
// name (CommandTable.cpp); the controls that show the session's state are kept here.

#include <QRect>
#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMainWindow;
class QToolButton;
class QWidget;

namespace stipple::ui {

class NameEdit;
class SurfaceWidget;

constexpr int kClientWidth = 742;
constexpr int kClientHeight = 600;

// Where the surface shows: from its top-left to the client's right edge and the top of the
// status bar.
inline QRect surfaceRoom() {
    return QRect(70, 67, kClientWidth - 70, kClientHeight - 19 - 67);
}

// One quick size button: its layout name, its number, and whether it sets the width (left
// column) or the height (right column).
struct QuickSize {
    const char* name;
    int value;
    bool setsWidth;
};
extern const std::array<QuickSize, 32> kQuickSizes;

struct MainWindowControls {
    QWidget* client = nullptr;  // the client area below the menu bar
    SurfaceWidget* surface = nullptr;
    NameEdit* nameEdit = nullptr;
    QLineEdit* widthField = nullptr;
    QLineEdit* heightField = nullptr;
    QLineEdit* pixelSizeField = nullptr;
    QLabel* leftSwatch = nullptr;
    QLabel* rightSwatch = nullptr;
    std::array<QLabel*, 3> statusPanels{};
};

// Gives the window its name, caption and font, builds its controls, fixes its size to
// them and centres it on the desktop.
MainWindowControls buildMainWindowControls(QMainWindow& window);

}  // namespace stipple::ui
