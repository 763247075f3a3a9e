#include "dialogs/AboutBox.h"

#include <QPalette>

TAbout::TAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Vexlan Stippleworkshop"));
    // Only the close box: no minimise, no maximise, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(332, 240);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
    setPalette(p);
    setAutoFillBackground(true);
}
