#pragma once
// What every window of the program sets up the same way: its layout name, caption, fixed
// client size and the small font of the whole program.

#include <QFont>
#include <QString>
#include <QWidget>

// The resources are compiled into a static library, where nothing else would pull them in.
// Outside any namespace, as the registration function is declared where this is called.
inline void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)registered;
}

namespace stipple {

constexpr int kWindowFontPixels = 11;

inline void useWindowFont(QWidget* window) {
    QFont base = window->font();
    base.setPixelSize(kWindowFontPixels);
    window->setFont(base);
}

inline void setUpFixedWindow(QWidget* window, const char* name, const char* caption, int width,
                             int height) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(QString::fromLatin1(caption));
    window->setFixedSize(width, height);
    useWindowFont(window);
}

}  // namespace stipple
