#pragma once
// Controls of a window found by their layout names. Like the command table, it looks
// only at the window's own controls and menus, not into the panels and dialogs it owns.

#include <gtest/gtest.h>

#include <QMenu>
#include <QWidget>

namespace stipple::testing {

template <class T>
T* findOwnChild(const QObject* parent, const QString& name) {
    for (QObject* child : parent->children()) {
        const auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(child) == nullptr) {
            continue;
        }
        if (auto* found = qobject_cast<T*>(child);
            found != nullptr && child->objectName() == name) {
            return found;
        }
        if (T* found = findOwnChild<T>(child, name)) {
            return found;
        }
    }
    return nullptr;
}

// The window's control of type T named `name`; a failure of the test when there is none.
template <class T>
T* control(const QWidget* window, const char* name) {
    T* found = findOwnChild<T>(window, QString::fromUtf8(name));
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << name;
    }
    return found;
}

}  // namespace stipple::testing
