#include "ui/CommandErrors.h"

#include <QMessageBox>

#include "editor/Messages.h"

namespace stipple::ui {

void showErrorMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kMessageCaption), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace stipple::ui
