#include "ui/BitmapImportDialog.h"

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

#include "editor/FileCommands.h"
#include "editor/Messages.h"
#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The layout gives the outer size, 608 x 296, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels.
constexpr int kClientWidth = 608 - 2 * 4;
constexpr int kClientHeight = 296 - 23 - 4;

constexpr QSize kBitmapSurfaceSize(273, 223);
constexpr QSize kPreviewSurfaceSize(200, 200);

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

}  // namespace

BitmapImportDialog::BitmapImportDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setUpFixedWindow(this, "bmpWin", "Bitmap Image Open Dialog", kClientWidth, kClientHeight);

    label(this, "Label1", "Image", {31, 8});
    bitmapView_ = new SurfaceView(&bitmapSurface_, this);
    bitmapView_->setObjectName(QStringLiteral("bmp1"));
    bitmapView_->setGeometry(QRect(QPoint(33, 24), kBitmapSurfaceSize));
    label(this, "Label2", "Preview", {328, 8});
    previewView_ = new SurfaceView(&previewSurface_, this);
    previewView_->setObjectName(QStringLiteral("bmp2"));
    previewView_->setGeometry(QRect(QPoint(328, 24), kPreviewSurfaceSize));

    levelSlider_ = new QScrollBar(Qt::Vertical, this);
    levelSlider_->setObjectName(QStringLiteral("ScrollBar1"));
    levelSlider_->setGeometry(8, 24, 16, 225);
    levelSlider_->setRange(kMinLevelStep, kMaxLevelStep);
    levelSlider_->setSingleStep(1);
    levelSlider_->setPageStep(1);
    levelSlider_->setValue(kDefaultLevelStep);

    // Plain text buttons: the layout's 75 pixels leave no room for a glyph beside "Open BMP".
    QPushButton* open = pushButton(this, "BitBtn3", "Open BMP", QRect(336, 232, 75, 25));
    QPushButton* cancel = pushButton(this, "BitBtn2", "Cancel", QRect(424, 232, 75, 25));
    okButton_ = pushButton(this, "BitBtn1", "OK", QRect(504, 232, 75, 25));
    okButton_->setDefault(true);
    // Nothing to take before a bitmap is loaded: a 0 x 0 picture is no picture.
    okButton_->setEnabled(false);

    connect(open, &QPushButton::clicked, this, &BitmapImportDialog::chooseBitmapFile);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(okButton_, &QPushButton::clicked, this, [this] {
        runCommand(this, [this] { applyBitmapImport(session_, import_); });
        accept();
    });
    connect(levelSlider_, &QScrollBar::valueChanged, this, &BitmapImportDialog::takeLevelStep);
}

void BitmapImportDialog::showEvent(QShowEvent* event) {
    makeSurfaces();
    QDialog::showEvent(event);
}

void BitmapImportDialog::makeSurfaces() {
    if (!bitmapSurface_.isNull()) {
        return;
    }
    bitmapSurface_ = QImage(kBitmapSurfaceSize, QImage::Format_RGB32);
    drawEmptyArea(bitmapSurface_);
    previewSurface_ = QImage(kPreviewSurfaceSize, QImage::Format_RGB32);
    drawEmptyArea(previewSurface_);
}

void BitmapImportDialog::chooseBitmapFile() {
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

bool BitmapImportDialog::loadBitmapFile(const QString& path) {
    // Into a bitmap of its own first, so that a failure leaves the window as it was.
    QImage loaded;
    if (const std::optional<QString> problem = readBitmap(path, loaded)) {
        showLoadError(*problem);
        return false;
    }
    sourceBitmap_ = std::move(loaded);
    makeSurfaces();

    {
        QPainter painter(&bitmapSurface_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, sourceBitmap_);
    }
    bitmapView_->resize(sourceBitmap_.size().boundedTo(kBitmapSurfaceSize));
    bitmapView_->update();

    takeImportSize(sourceView(), import_);
    previewView_->resize(2 * import_.importWidth, 2 * import_.importHeight);
    import_.levelStep = kDefaultLevelStep;
    convertBitmap();
    okButton_->setEnabled(true);
    // Takes the step once more when the slider was elsewhere; same step, same result.
    levelSlider_->setValue(import_.levelStep);
    return true;
}

void BitmapImportDialog::takeLevelStep() {
    import_.levelStep = levelSlider_->value();
    convertBitmap();
}

void BitmapImportDialog::convertBitmap() {
    stipple::convertBitmap(sourceView(), import_);
    drawPreview();
}

RgbView BitmapImportDialog::sourceView() const {
    if (sourceBitmap_.isNull()) {
        return {};
    }
    return {reinterpret_cast<const std::uint32_t*>(sourceBitmap_.constBits()),
            sourceBitmap_.width(), sourceBitmap_.height(),
            static_cast<int>(sourceBitmap_.bytesPerLine() / 4)};
}

// Each picture pixel as a 2 x 2 square in its display colour.
void BitmapImportDialog::drawPreview() {
    makeSurfaces();
    for (int x = 1; x <= import_.importWidth; ++x) {
        for (int y = 1; y <= import_.importHeight; ++y) {
            const QRgb colour = 0xFF000000u | session_.displayColour(import_.importPixels[x][y]);
            for (int row = 2 * y - 2; row < 2 * y; ++row) {
                auto* line = reinterpret_cast<QRgb*>(previewSurface_.scanLine(row));
                line[2 * x - 2] = colour;
                line[2 * x - 1] = colour;
            }
        }
    }
    previewView_->update();
}

void BitmapImportDialog::showLoadError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kMessageCaption), text,
                    QMessageBox::Ok, this);
    box.exec();
}

}  // namespace stipple::ui
