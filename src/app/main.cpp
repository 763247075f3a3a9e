#include <QApplication>
#include <QIcon>
#include <csignal>
#include <exception>

#include "app/ApplicationShell.h"
#include "app/ErrorMessageBox.h"
#include "app/MainWindow.h"
#include "app/WindowSetupShell.h"

int main(int argc, char* argv[]) {
    // Under a file size limit a save then fails with a message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    registerResources();
    // The icon of the installed desktop entry, for every window of the program.
    const QIcon icon(QStringLiteral(":/icons/stippleworkshop-64.png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("stippleworkshop"));
    // An error that escapes the start or the message loop is shown, and the program then
    // ends normally.
    stipple::runCommand(nullptr, [&icon] {
        ApplicationShell shell;
        shell.Form1->setWindowIcon(icon);
        shell.Form1->show();
        QApplication::exec();
    });
    return 0;
}
