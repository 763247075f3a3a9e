#pragma once
// Controls of a window found by their layout names. Like the command table, it looks
// only at the window's own controls and menus, not into the panels and dialogs it owns.

#include <gtest/gtest.h>

#include <QWidget>

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

}  // namespace stipple::testing
