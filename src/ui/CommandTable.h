#pragma once
// Binds menu items and controls, found under a window by their layout names, to the
// commands of editor/Commands.h. A toolbar button and its menu item share one id; a command
// runs through runCommand, so an error escaping it is shown to the user. What is bound is
// kept, so that after each announcement the items and controls are enabled and checked from
// their commands' rules in one place.

#include <QPointer>
#include <span>
#include <vector>

#include "editor/Commands.h"
#include "ui/CommandIds.h"

class QAction;
class QWidget;

namespace stipple::ui {

class CommandControls {
  public:
    // Which of an id's names a window holds: a command's menu item may stand in the main
    // window and its control in another.
    enum class Names { Both, MenuItems, Controls };
    // Binds each id's menu item and control under `window` to its command. Throws
    // std::logic_error for a name not found under the window.
    void bind(QWidget* window, Session& session, std::span<const CommandId> ids,
              Names names = Names::Both);
    // Enables and checks every bound item and control as its command's rules say now.
    void showStates(const Session& session) const;
    // Whether the menu item runs the command of its id.
    bool binds(const QAction* item) const;

  private:
    struct Bound {
        CommandId id;
        QPointer<QAction> item;
        QPointer<QWidget> control;
    };
    std::vector<Bound> bound_;
};

class MainWindow;
// The main window's commands: menus, toolbar, palette, tools, sizes, the swatch, and the
// quick size buttons by their layout names.
void bindMainWindowCommands(MainWindow& window, Session& session, CommandControls& controls);

}  // namespace stipple::ui
