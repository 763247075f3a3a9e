#include "ui/AboutBox.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <optional>

#include "formats/JpegImage.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

constexpr int kClientWidth = 332;
constexpr int kClientHeight = 240;
constexpr int kTitleFontPixels = 16;
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kNavy(0x00, 0x00, 0x80);

// The background picture, decoded by our own JPEG reader so that it does not depend on
// which image plugins Qt was built with. A null image when it cannot be read.
QImage aboutPicture() {
    registerResources();
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const std::optional<RgbImage> decoded =
        decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    if (!decoded) {
        return {};
    }
    // The QImage only borrows the decoded bytes; the scaled copy owns its own.
    const QImage borrowed(decoded->rgb.data(), decoded->width, decoded->height, decoded->width * 3,
                          QImage::Format_RGB888);
    return borrowed.scaled(kClientWidth, kClientHeight, Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Vexlan Stippleworkshop"));
    // Only the close box: no minimise, no maximise, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    useWindowFont(this);
    QPalette p = palette();
    p.setColor(QPalette::Window, kSkyBlue);
    setPalette(p);
    setAutoFillBackground(true);

    // Made first, so that everything after it lies on top of it.
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setGeometry(0, 0, kClientWidth, kClientHeight);

    // The texts lie on the picture: their labels fill no background.
    QFont title = font();
    title.setPixelSize(kTitleFontPixels);
    title.setBold(true);
    label(this, "Label2", "Vexlan", {30, 17}, title, kNavy);
    label(this, "Label3", "Stippleworkshop", {136, 17}, title, kNavy);
    label(this, "Label4", "ver. 1.4 beta", {191, 44}, title, kNavy);
    label(this, "Label1", "Made by the Stippleworkshop developers", {65, 225}, font(),
          palette().color(QPalette::WindowText));

    QPushButton* ok = pushButton(this, "Button1", "OK", QRect(96, 193, 57, 25));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::showEvent(QShowEvent* event) {
    if (!pictureShown_) {
        pictureShown_ = true;
        const QImage picture = aboutPicture();
        if (!picture.isNull()) {
            picture_->setPixmap(QPixmap::fromImage(picture));
        }
    }
    QDialog::showEvent(event);
}

}  // namespace stipple::ui
