#include <QApplication>
#include <QIcon>
#include <csignal>
#include <memory>

#include "ui/CommandErrors.h"
#include "ui/MainWindow.h"
#include "ui/WidgetHelpers.h"

int main(int argc, char* argv[]) {
    // Under a file size limit a save then fails with a message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    stipple::ui::registerResources();
    // The icon of the installed desktop entry, for every window of the program.
    const QIcon icon(QStringLiteral(":/icons/stippleworkshop-64.png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("stippleworkshop"));
    // An error that escapes the start or the message loop is shown, and the program then
    // ends normally.
    stipple::ui::runCommand(nullptr, [&icon] {
        // On the heap: the session it holds is a few megabytes.
        const auto window = std::make_unique<stipple::ui::MainWindow>();
        window->setWindowIcon(icon);
        window->show();
        QApplication::exec();
    });
    return 0;
}
