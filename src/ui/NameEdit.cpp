#include "ui/NameEdit.h"

#include <QKeyEvent>
#include <utility>

namespace stipple::ui {

NameEdit::NameEdit(QWidget* parent) : QLineEdit(parent) {}

void NameEdit::setMenuShortcuts(QList<QKeySequence> shortcuts) {
    menuShortcuts_ = std::move(shortcuts);
}

bool NameEdit::isMenuShortcut(const QKeyEvent* event) const {
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    return menuShortcuts_.contains(pressed);
}

bool NameEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isMenuShortcut(static_cast<QKeyEvent*>(event))) {
        // Not accepting the override lets the menu's shortcut fire.
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void NameEdit::keyPressEvent(QKeyEvent* event) {
    // Reached only when the menu item is disabled: the key still belongs to the menu.
    if (isMenuShortcut(event)) {
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace stipple::ui
