#pragma once
// What every window of the program sets up the same way: its layout name, caption, fixed
// client size and the small font of the whole program.

#include <QFont>
#include <QString>
#include <QWidget>

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
