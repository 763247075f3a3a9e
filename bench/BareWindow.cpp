// The smallest Qt Widgets program with a window of the editor's size: a main window with a
// menu bar over a 742 x 600 client area. Its resident memory is what Qt itself costs, the
// measure the editor's own memory is compared with.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.menuBar()->addMenu(QStringLiteral("File"));
    auto* client = new QWidget(&window);
    client->setFixedSize(742, 600);
    window.setCentralWidget(client);
    window.show();
    // As the editor does for measuring its start: end once shown and painted.
    if (qEnvironmentVariableIsSet("STIPPLE_QUIT_WHEN_SHOWN")) {
        while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        QCoreApplication::processEvents();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
