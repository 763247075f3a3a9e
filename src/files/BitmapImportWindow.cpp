#include "files/BitmapImportWindow.h"

namespace {

// The layout gives the outer size, 608 x 296, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 608 - 2 * 4;
constexpr int kClientHeight = 296 - 23 - 4;

}  // namespace

TbmpWin::TbmpWin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("bmpWin"));
    setWindowTitle(QStringLiteral("Bitmap Image Open Dialog"));
    setFixedSize(kClientWidth, kClientHeight);
}
