#include "files/SaveSelectBox.h"

Tsavebox::Tsavebox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("savebox"));
    setWindowTitle(QStringLiteral("Save Select..."));
    setFixedSize(200, 76);
}
