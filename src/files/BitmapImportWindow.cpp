#include "files/BitmapImportWindow.h"
#include "app/WindowSetupShell.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <optional>
#include <utility>

#include "app/Editor.h"
#include "export/ExportCommands.h"

namespace {

// The layout gives the outer size, 608 x 296, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 608 - 2 * 4;
constexpr int kClientHeight = 296 - 23 - 4;

constexpr QSize kBmp1SurfaceSize(273, 223);
constexpr QSize kBmp2SurfaceSize(200, 200);

// 128 MiB as 32-bit pixels: bitmaps of any camera load, while a header that claims an
// absurd size is refused before anything is allocated. It stays under Qt's own allocation
// limit, whose refusal would only read as an invalid bitmap.
constexpr qint64 kMaxBitmapPixels = qint64{32} * 1024 * 1024;

const char* const kNotValidText = "Bitmap image is not valid.";

// Qt's bitmap reader stops quietly where a cut-off file ends and leaves the rows it did not
// get undefined. Opened unbuffered, every read reaches readData with the size the reader
// asked for, so a short one means the file ended before the bitmap did.
class EndWatchingFile : public QFile {
  public:
    using QFile::QFile;
    bool ranShort() const { return ranShort_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 got = QFile::readData(data, maxSize);
        if (got < maxSize) {
            ranShort_ = true;
        }
        return got;
    }

  private:
    bool ranShort_ = false;
};

// Decodes a bitmap file into an image that is already sized and filled with `fill` (a
// colour index for a bitmap with a palette, else a colour), so that pixels a compressed file
// skips keep that value rather than leftover memory. On failure returns the text to tell
// the user.
std::optional<QString> decodeFilled(const QString& path, uint fill, QImage& decoded) {
    const QString shownPath = QDir::toNativeSeparators(path);
    if (QFileInfo(path).isDir()) {
        return QStringLiteral("\"%1\" is a folder, not a bitmap file.").arg(shownPath);
    }
    EndWatchingFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return QStringLiteral("Could not open \"%1\": %2.").arg(shownPath, file.errorString());
    }
    // The bitmap reader only, whatever the content: a PNG named .bmp is not a bitmap.
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    const auto readFailure = [&]() -> QString {
        if (reader.error() == QImageReader::DeviceError) {
            return QStringLiteral("Could not read \"%1\": %2.").arg(shownPath, file.errorString());
        }
        return QString::fromLatin1(kNotValidText);
    };

    // The header's own numbers: a top-down bitmap gives a negative height.
    const QSize size = reader.size();
    const qint64 width = size.width();
    const qint64 height = qAbs(qint64{size.height()});
    if (width <= 0 || height <= 0) {
        return readFailure();
    }
    if (width * height > kMaxBitmapPixels) {
        return QStringLiteral(
                   "The bitmap \"%1\" is too large to load: it has %2 x %3 pixels, and at most "
                   "%4 million pixels can be loaded.")
            .arg(shownPath)
            .arg(width)
            .arg(height)
            .arg(kMaxBitmapPixels / (1024 * 1024));
    }
    // The reader decodes into an image of the right size and format as it is.
    decoded = QImage(static_cast<int>(width), static_cast<int>(height), reader.imageFormat());
    if (decoded.isNull()) {
        return readFailure();
    }
    decoded.fill(fill);
    if (!reader.read(&decoded) || decoded.isNull()) {
        return readFailure();
    }
    if (file.ranShort()) {
        return QStringLiteral("The bitmap \"%1\" is cut off: the file ends before all its pixels.")
            .arg(shownPath);
    }
    return std::nullopt;
}

// Reads a bitmap file into 32-bit pixels with (0, 0) at the top-left; pixels the file skips
// are black. On failure returns the text to tell the user and leaves `bitmap` alone.
std::optional<QString> readBitmap(const QString& path, QImage& bitmap) {
    QImage decoded;
    if (std::optional<QString> problem = decodeFilled(path, 0xFF000000u, decoded)) {
        return problem;
    }
    // A palette bitmap is read a second time with another fill: a pixel that differs
    // between the two was skipped by the file.
    QImage otherFill;
    if (decoded.format() == QImage::Format_Indexed8) {
        if (std::optional<QString> problem = decodeFilled(path, 0xFFu, otherFill)) {
            return problem;
        }
    }
    QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        return QStringLiteral("There is not enough memory to load the bitmap \"%1\".")
            .arg(QDir::toNativeSeparators(path));
    }
    if (otherFill.size() == decoded.size() && otherFill.format() == decoded.format()) {
        for (int y = 0; y < rgb.height(); ++y) {
            const uchar* first = decoded.constScanLine(y);
            const uchar* second = otherFill.constScanLine(y);
            auto* line = reinterpret_cast<QRgb*>(rgb.scanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                if (first[x] != second[x]) {
                    line[x] = 0xFF000000u;
                }
            }
        }
    }
    bitmap = std::move(rgb);
    return std::nullopt;
}

// A white area with a black one-pixel frame on its outermost pixels.
void drawEmptyArea(QImage& surface) {
    surface.fill(Qt::black);
    QPainter painter(&surface);
    painter.fillRect(surface.rect().adjusted(1, 1, -1, -1), Qt::white);
}

// An image control: shows the top-left part of its drawing surface, as much as its size.
class SurfaceView : public QWidget {
  public:
    SurfaceView(const QImage* surface, QWidget* parent) : QWidget(parent), surface_(surface) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, *surface_);
    }

  private:
    const QImage* surface_;
};

QLabel* titleLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->adjustSize();
    l->move(left, top);
    return l;
}

// Plain text buttons: the layout's 75 pixels leave no room for a glyph beside "Open BMP".
QPushButton* button(QWidget* parent, const char* name, const char* text, int left) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(left, 232, 75, 25);
    return b;
}

}  // namespace

TbmpWin::TbmpWin(QWidget* parent) : QDialog(parent) {
    stipple::setUpFixedWindow(this, "bmpWin", "Bitmap Image Open Dialog", kClientWidth,
                              kClientHeight);

    bmp1Surface_ = QImage(kBmp1SurfaceSize, QImage::Format_RGB32);
    bmp2Surface_ = QImage(kBmp2SurfaceSize, QImage::Format_RGB32);

    Label1 = titleLabel(this, "Label1", "Image", 31, 8);
    bmp1 = new SurfaceView(&bmp1Surface_, this);
    bmp1->setObjectName(QStringLiteral("bmp1"));
    bmp1->move(33, 24);
    Label2 = titleLabel(this, "Label2", "Preview", 328, 8);
    bmp2 = new SurfaceView(&bmp2Surface_, this);
    bmp2->setObjectName(QStringLiteral("bmp2"));
    bmp2->move(328, 24);

    ScrollBar1 = new QScrollBar(Qt::Vertical, this);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(8, 24, 16, 225);
    ScrollBar1->setRange(stipple::kMinLevelStep, stipple::kMaxLevelStep);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(1);
    ScrollBar1->setValue(stipple::kDefaultLevelStep);

    BitBtn3 = button(this, "BitBtn3", "Open BMP", 336);
    BitBtn2 = button(this, "BitBtn2", "Cancel", 424);
    BitBtn1 = button(this, "BitBtn1", "OK", 504);
    BitBtn1->setDefault(true);
    // Nothing to take before a bitmap is loaded: a 0 x 0 picture is no picture.
    BitBtn1->setEnabled(false);

    connect(BitBtn3, &QPushButton::clicked, this, &TbmpWin::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TbmpWin::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TbmpWin::BitBtn1Click);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TbmpWin::ScrollBar1Change);

    FormCreate();
}

void TbmpWin::setEditor(stipple::Editor* editor) {
    editor_ = editor;
}

void TbmpWin::FormCreate() {
    sourceBitmap_ = QImage();
    bmp2->resize(kBmp2SurfaceSize);
    drawEmptyArea(bmp2Surface_);
    bmp1->resize(kBmp1SurfaceSize);
    drawEmptyArea(bmp1Surface_);
    import_.levelStep = stipple::kDefaultLevelStep;
}

void TbmpWin::BitBtn3Click() {
    QFileDialog dialog(this, QStringLiteral("Open"));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Also a name of a file that does not exist: loading it then tells the user.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("Bitmap files (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (!lastBitmapFile_.isEmpty()) {
        dialog.selectFile(lastBitmapFile_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    lastBitmapFile_ = dialog.selectedFiles().constFirst();
    loadBitmapFile(lastBitmapFile_);
}

bool TbmpWin::loadBitmapFile(const QString& path) {
    // Into a bitmap of its own first, so that a failure leaves the window as it was.
    QImage loaded;
    if (const std::optional<QString> problem = readBitmap(path, loaded)) {
        showLoadError(*problem);
        return false;
    }
    sourceBitmap_ = std::move(loaded);

    {
        QPainter painter(&bmp1Surface_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, sourceBitmap_);
    }
    bmp1->resize(sourceBitmap_.size().boundedTo(kBmp1SurfaceSize));
    bmp1->update();

    stipple::takeImportSize(sourceView(), import_);
    bmp2->resize(2 * import_.importWidth, 2 * import_.importHeight);
    import_.levelStep = stipple::kDefaultLevelStep;
    convertBitmap();
    BitBtn1->setEnabled(true);
    // Runs ScrollBar1Change once more when the slider was elsewhere; same step, same result.
    ScrollBar1->setValue(import_.levelStep);
    return true;
}

void TbmpWin::ScrollBar1Change() {
    import_.levelStep = ScrollBar1->value();
    convertBitmap();
}

void TbmpWin::BitBtn1Click() {
    if (editor_ != nullptr) {
        editor_->applyBitmapImport(import_);
    }
    accept();
}

void TbmpWin::BitBtn2Click() {
    reject();
}

void TbmpWin::convertBitmap() {
    stipple::convertBitmap(sourceView(), import_);
    drawPreview();
}

stipple::RgbView TbmpWin::sourceView() const {
    if (sourceBitmap_.isNull()) {
        return {};
    }
    return {reinterpret_cast<const std::uint32_t*>(sourceBitmap_.constBits()),
            sourceBitmap_.width(), sourceBitmap_.height(),
            static_cast<int>(sourceBitmap_.bytesPerLine() / 4)};
}

// Each picture pixel as a 2 x 2 square in its display colour.
void TbmpWin::drawPreview() {
    if (editor_ == nullptr) {
        return;  // the colours are the editor's
    }
    for (int x = 1; x <= import_.importWidth; ++x) {
        for (int y = 1; y <= import_.importHeight; ++y) {
            const QRgb colour = 0xFF000000u | editor_->displayColour(import_.importPixels[x][y]);
            for (int row = 2 * y - 2; row < 2 * y; ++row) {
                auto* line = reinterpret_cast<QRgb*>(bmp2Surface_.scanLine(row));
                line[2 * x - 2] = colour;
                line[2 * x - 1] = colour;
            }
        }
    }
    bmp2->update();
}

void TbmpWin::showLoadError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(stipple::kExportMessageCaption), text,
                    QMessageBox::Ok, this);
    box.exec();
}
