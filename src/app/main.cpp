#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <memory>

#include "ui/CommandErrors.h"
#include "ui/MainWindow.h"
#include "ui/WidgetHelpers.h"

namespace {

// Ends the event loop once the window is on the screen and its first paint is done.
void quitWhenShown(QWidget& window) {
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QCoreApplication::processEvents();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

}  // namespace

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
        // For measuring the start: end as soon as the window has been shown and painted.
        if (qEnvironmentVariableIsSet("STIPPLE_QUIT_WHEN_SHOWN")) {
            quitWhenShown(*window);
        }
        QApplication::exec();
    });
    return 0;
}
