#pragma once
// A command that fails tells the user in a message box and the editor goes on.

#include <QString>
#include <exception>

class QWidget;

namespace stipple::ui {

void showErrorMessage(QWidget* parent, const QString& text);

// Runs one command; an error escaping it is shown with its text, and anything thrown
// that is not an error object with an empty text.
template <class Command>
void runCommand(QWidget* parent, Command&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        showErrorMessage(parent, QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorMessage(parent, QString());
    }
}

}  // namespace stipple::ui
