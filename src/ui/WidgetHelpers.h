#pragma once
// What the windows of the program build the same way: the resources, the small font of
// every window, fixed-size windows, labels and buttons placed at their pixel positions.

#include <QColor>
#include <QFileDialog>
#include <QFont>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QSettings>

#include <optional>

#include "ui/Glyphs.h"

class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

namespace stipple::ui {

// The resources live in a static library, where nothing else would pull them in; safe to
// call any number of times.
void registerResources();

// The settings the program keeps between runs (~/.config/stippleworkshop/stippleworkshop.conf).
QSettings programSettings();

// Every window's font: 11 pixels, the size the layout was made for.
constexpr int kWindowFontPixels = 11;
void useWindowFont(QWidget* window);

// A window's layout name, caption and fixed client size, in the window font.
void setUpFixedWindow(QWidget* window, const char* name, const char* caption, int width,
                      int height);

inline const QColor kLabelBlue{0x00, 0x00, 0xFF};
inline const QColor kLabelGreen{0x00, 0x80, 0x00};

// The parent's font made bold.
QFont boldFont(const QWidget* parent);

// A label sized to its text with its top-left at `at`, in the parent's font.
QLabel* label(QWidget* parent, const char* name, const char* text, QPoint at);
// The same in a font and text colour of its own.
QLabel* label(QWidget* parent, const char* name, const char* text, QPoint at, const QFont& font,
              const QColor& colour);

// A flat button that never takes the keyboard focus.
QToolButton* speedButton(QWidget* parent, const char* name, const QRect& geometry);
// A speed button showing a 16 x 16 glyph, with a hint unless `hint` is null.
QToolButton* glyphButton(QWidget* parent, const char* name, const QRect& geometry, Glyph glyph,
                         const char* hint);

QPushButton* pushButton(QWidget* parent, const char* name, const char* text, const QRect& geometry);

// Qt's own file dialog (the same on every desktop, and a whole path may be typed into its
// name field) under the layout's name. It takes the name of a file that does not exist
// too; `suffix`, when not empty, is added to a name typed without an extension.
void setUpFileDialog(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode,
                     QFileDialog::Options options, const QStringList& filters,
                     const QString& suffix = {});
// Shows the dialog; the chosen file, or nothing on Cancel.
std::optional<QString> chosenFile(QFileDialog& dialog);

// The control of type T named `name` among the window's own controls and menus, or null.
// The panels and dialogs a window owns are windows of their own and reuse its layout names,
// so the search does not go into them.
template <class T>
T* findOwnControl(const QObject* parent, const QString& name) {
    for (QObject* child : parent->children()) {
        const auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(child) == nullptr) {
            continue;
        }
        if (auto* found = qobject_cast<T*>(child);
            found != nullptr && child->objectName() == name) {
            return found;
        }
        if (T* found = findOwnControl<T>(child, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace stipple::ui
