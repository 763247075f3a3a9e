#pragma once
// Binds controls and menu items, found under a window by their layout names, to the
// commands they run. A toolbar button and its menu item share one row; a command runs
// through runCommand, so an error escaping it is shown to the user.

#include <functional>
#include <utility>
#include <variant>
#include <vector>

#include "editor/Session.h"
#include "ui/CommandIds.h"

class QWidget;

namespace stipple::ui {

// Runs on a click of a button, a trigger of a menu item, or a left click on another
// control.
using ClickCommand = std::function<void()>;
// Runs on the press of any mouse button, with the button; a left press still shows the
// button pressed. Bound to a control only, never to a menu item.
using PressCommand = std::function<void(MouseButton)>;

// A command by its id, or a control by its layout name for the quick size buttons.
struct CommandRow {
    CommandNames names;
    std::variant<ClickCommand, PressCommand> command;
    CommandRow(CommandId id, std::variant<ClickCommand, PressCommand> run)
        : names(namesOf(id)), command(std::move(run)) {}
    CommandRow(const char* control, std::variant<ClickCommand, PressCommand> run)
        : names{nullptr, control}, command(std::move(run)) {}
};

// Binds each row to its menu item and control under `window`. A menu item whose control
// stays down when clicked (a tool's button) puts the control down first. Throws
// std::logic_error for a name not found under the window.
void bindCommands(QWidget* window, const std::vector<CommandRow>& rows);

class MainWindow;
// The main window's table: menus, toolbar, palette, tools, sizes and the swatch.
void bindMainWindowCommands(MainWindow& window, Session& session);

}  // namespace stipple::ui
