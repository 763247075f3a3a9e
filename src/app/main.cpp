#include <QApplication>
#include <exception>

#include "app/ApplicationShell.h"
#include "app/ErrorMessageBox.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // An error that escapes the start or the message loop is shown, and the program then
    // ends normally.
    stipple::runCommand(nullptr, [] {
        ApplicationShell shell;
        shell.Form1->show();
        QApplication::exec();
    });
    return 0;
}
