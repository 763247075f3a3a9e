#include "export/MoveToClipboardPanel.h"

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Move to ClipBoard..."));
    setFixedSize(168, 134);
    move(660, 380);
}
