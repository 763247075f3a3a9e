#include "ui/CommandTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include "editor/ViewCommands.h"
#include "ui/CommandErrors.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowLayout.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

template <class T>
T* findNamed(QWidget* window, const char* name) {
    T* found = findOwnControl<T>(window, QString::fromUtf8(name));
    if (found == nullptr) {
        throw std::logic_error(std::string("no control named ") + name);
    }
    return found;
}

// Any button other than left and right sets no colour.
MouseButton sessionButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;
    }
}

class PressFilter : public QObject {
  public:
    PressFilter(QWidget* control, QWidget* window, Session& session, CommandId id)
        : QObject(control), window_(window), session_(session), id_(id) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A double click's second press arrives as a double-click event: a press all the same.
        if (event->type() != QEvent::MouseButtonPress &&
            event->type() != QEvent::MouseButtonDblClick) {
            return false;
        }
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        runCommand(window_, [this, button] { run(session_, id_, sessionButton(button)); });
        // A left press goes on to the button so that it shows pressed.
        return button != Qt::LeftButton;
    }

  private:
    QWidget* window_;
    Session& session_;
    CommandId id_;
};

// A left button released over a control that has no click of its own.
class ClickFilter : public QObject {
  public:
    ClickFilter(QWidget* control, std::function<void()> command)
        : QObject(control), control_(control), command_(std::move(command)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                control_->rect().contains(mouse->position().toPoint())) {
                command_();
            }
        }
        return false;
    }

  private:
    QWidget* control_;
    std::function<void()> command_;
};

// Runs `run` on a click of the control, or the trigger of the menu item.
void bindClick(QWidget* window, QWidget* control, QAction* item, const std::function<void()>& run) {
    const auto guarded = [window, run] { runCommand(window, run); };
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, window, guarded);
    } else if (control != nullptr) {
        new ClickFilter(control, guarded);
    }
    if (item != nullptr) {
        QObject::connect(item, &QAction::triggered, window, guarded);
    }
}

}  // namespace

void CommandControls::bind(QWidget* window, Session& session, std::span<const CommandId> ids,
                           Names which) {
    for (const CommandId id : ids) {
        const CommandNames& names = namesOf(id);
        QWidget* control = names.control != nullptr && which != Names::MenuItems
                               ? findNamed<QWidget>(window, names.control)
                               : nullptr;
        QAction* item = names.menuItem != nullptr && which != Names::Controls
                            ? findNamed<QAction>(window, names.menuItem)
                            : nullptr;
        if (commandFor(id).trigger == Trigger::Press) {
            new PressFilter(control, window, session, id);
        } else {
            bindClick(window, control, item, [&session, id] { run(session, id); });
        }
        bound_.push_back({id, item, control});
    }
    showStates(session);
}

void CommandControls::showStates(const Session& session) const {
    for (const Bound& b : bound_) {
        const Command& command = commandFor(b.id);
        if (command.enabled != nullptr) {
            const bool enabled = command.enabled(session);
            if (b.item != nullptr) {
                b.item->setEnabled(enabled);
            }
            if (b.control != nullptr) {
                b.control->setEnabled(enabled);
            }
        }
        if (command.checked != nullptr) {
            const bool checked = command.checked(session);
            if (b.item != nullptr && b.item->isCheckable()) {
                b.item->setChecked(checked);
            }
            if (auto* button = qobject_cast<QAbstractButton*>(b.control.data());
                button != nullptr && button->isCheckable()) {
                button->setChecked(checked);
            }
        }
    }
}

bool CommandControls::binds(const QAction* item) const {
    return std::any_of(bound_.begin(), bound_.end(),
                       [item](const Bound& b) { return b.item == item; });
}

void bindMainWindowCommands(MainWindow& window, Session& session, CommandControls& controls) {
    std::vector<CommandId> ids;
    for (int id = 0; id <= static_cast<int>(CommandId::ShowLeftSwatch); ++id) {
        ids.push_back(static_cast<CommandId>(id));
    }
    ids.push_back(CommandId::JoinStrokes);
    ids.push_back(CommandId::NewFont);
    controls.bind(&window, session, ids);
    // Of the frames' commands, the main window holds the menu items; the Frames window
    // binds its buttons.
    const CommandId frames[] = {CommandId::FramesWindow, CommandId::PreviousFrame,
                                CommandId::NextFrame, CommandId::OnionSkin, CommandId::SaveSet};
    controls.bind(&window, session, frames, CommandControls::Names::MenuItems);
    for (const QuickSize& q : kQuickSizes) {
        bindClick(&window, findNamed<QWidget>(&window, q.name), nullptr, [&session, q] {
            if (q.setsWidth) {
                setPictureWidth(session, q.value);
            } else {
                setPictureHeight(session, q.value);
            }
        });
    }
}

}  // namespace stipple::ui
