#pragma once
// Binds controls and menu items, found under a window by their layout names, to the
// commands they run. A toolbar button and its menu item share one row; a command runs
// through runCommand, so an error escaping it is shown to the user.

#include <functional>
#include <variant>
#include <vector>

#include "editor/Session.h"

class QWidget;

namespace stipple::ui {

// Runs on a click of a button, a trigger of a menu item, or a left click on another
// control.
using ClickCommand = std::function<void()>;
// Runs on the press of any mouse button, with the button; a left press still shows the
// button pressed. Bound to a control only, never to a menu item.
using PressCommand = std::function<void(MouseButton)>;

struct CommandRow {
    const char* menuItem;  // a menu item's layout name, or nullptr
    const char* control;   // a control's layout name, or nullptr
    std::variant<ClickCommand, PressCommand> command;
};

// Binds each row to its menu item and control under `window`. A menu item whose control
// stays down when clicked (a tool's button) puts the control down first. Throws
// std::logic_error for a name not found under the window.
void bindCommands(QWidget* window, const std::vector<CommandRow>& rows);

class MainWindow;
// The main window's table: menus, toolbar, palette, tools, sizes and the swatch.
void bindMainWindowCommands(MainWindow& window, Session& session);

}  // namespace stipple::ui
