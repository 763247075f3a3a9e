#pragma once
// Controls of a window found by their layout names. Like the command table, it looks
// only at the window's own controls and menus, not into the panels and dialogs it owns.

#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>

#include "ui/CommandIds.h"
#include "ui/WidgetHelpers.h"

namespace stipple::testing {

// The window's control of type T named `name`; a failure of the test when there is none.
template <class T>
T* control(const QWidget* window, const char* name) {
    T* found = ui::findOwnControl<T>(window, QString::fromUtf8(name));
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << name;
    }
    return found;
}

// A command's menu item and its control under the main window, found by the command's id.
inline QAction* menuItem(const QWidget* window, ui::CommandId id) {
    return control<QAction>(window, ui::namesOf(id).menuItem);
}
template <class T>
T* commandControl(const QWidget* window, ui::CommandId id) {
    return control<T>(window, ui::namesOf(id).control);
}

}  // namespace stipple::testing
