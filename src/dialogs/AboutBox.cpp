#include "dialogs/AboutBox.h"
#include "app/WindowSetupShell.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <optional>

#include "dialogs/JpegImage.h"

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
    const std::optional<stipple::RgbImage> decoded =
        stipple::decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    if (!decoded) {
        return {};
    }
    // The QImage only borrows the decoded bytes; the scaled copy owns its own.
    const QImage borrowed(decoded->rgb.data(), decoded->width, decoded->height, decoded->width * 3,
                          QImage::Format_RGB888);
    return borrowed.scaled(kClientWidth, kClientHeight, Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
}

QLabel* caption(QWidget* parent, const char* name, const char* text, int left, int top,
                const QFont& font, const QColor& colour) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->setAutoFillBackground(false);  // the picture shows through
    l->adjustSize();
    l->move(left, top);
    return l;
}

}  // namespace

TAbout::TAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Vexlan Stippleworkshop"));
    // Only the close box: no minimise, no maximise, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    stipple::useWindowFont(this);
    QPalette p = palette();
    p.setColor(QPalette::Window, kSkyBlue);
    setPalette(p);
    setAutoFillBackground(true);

    // Made first, so that everything after it lies on top of it.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kClientWidth, kClientHeight);
    const QImage picture = aboutPicture();
    if (!picture.isNull()) {
        Image1->setPixmap(QPixmap::fromImage(picture));
    }

    QFont title = font();
    title.setPixelSize(kTitleFontPixels);
    title.setBold(true);
    Label2 = caption(this, "Label2", "Vexlan", 30, 17, title, kNavy);
    Label3 = caption(this, "Label3", "Stippleworkshop", 136, 17, title, kNavy);
    Label4 = caption(this, "Label4", "ver. 1.4 beta", 191, 44, title, kNavy);
    Label1 = caption(this, "Label1", "Made by the Stippleworkshop developers", 65, 225, font(),
                     palette().color(QPalette::WindowText));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(96, 193, 57, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TAbout::Button1Click);
}

void TAbout::Button1Click() {
    accept();
}
