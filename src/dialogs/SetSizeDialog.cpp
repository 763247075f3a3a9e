#include "dialogs/SetSizeDialog.h"

namespace {

// The layout gives the outer size, 214 x 141, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 214 - 2 * 4;
constexpr int kClientHeight = 141 - 23 - 4;

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Set Size"));
    setFixedSize(kClientWidth, kClientHeight);
}
