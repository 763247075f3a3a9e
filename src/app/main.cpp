#include <QApplication>
#include <QIcon>
#include <exception>

#include "app/ApplicationShell.h"
#include "app/ErrorMessageBox.h"
#include "app/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The resources live in a static library, where nothing would pull them in.
    Q_INIT_RESOURCE(resources);
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
