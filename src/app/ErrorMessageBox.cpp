#include "app/ErrorMessageBox.h"

#include <QMessageBox>

namespace stipple {

void showErrorMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vexlan Tarn Stippleworkshop"), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace stipple
