#include "tools/SelectToolPanel.h"

Tselpanel::Tselpanel(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("selpanel"));
    setWindowTitle(QStringLiteral("Select tool panel"));
    setFixedSize(136, 159);
    move(662, 221);
}
