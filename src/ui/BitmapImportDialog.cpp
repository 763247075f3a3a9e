#include "ui/BitmapImportDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "editor/FileCommands.h"
#include "editor/Messages.h"
#include "formats/ImageImport.h"
#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The layout gives the outer size, 608 x 296, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels; one row more below holds the choice of dithering.
constexpr int kClientWidth = 608 - 2 * 4;
constexpr int kLayoutClientHeight = 296 - 23 - 4;
constexpr int kDitherRowTop = kLayoutClientHeight + 2;
constexpr int kClientHeight = kLayoutClientHeight + 30;

constexpr QSize kBitmapSurfaceSize(kImportRegionWidth, kImportRegionHeight);
constexpr QSize kPreviewSurfaceSize(200, 200);

// Reads the region of an image file that the Image area shows, 32-bit pixels with (0, 0) at
// the top-left. On failure returns the text to tell the user and leaves `bitmap` alone.
std::optional<QString> readBitmap(const QString& path, QImage& bitmap) {
    const QString shownPath = QDir::toNativeSeparators(path);
    const LoadedImage loaded = loadImportImage(path.toStdString(), shownPath.toStdString());
    if (!loaded) {
        return QString::fromStdString(loaded.problem);
    }
    const DecodedImage& decoded = loaded.image();
    // With its alpha: a PNG's pixels below half of it become transparent.
    QImage rgb(decoded.regionWidth, decoded.regionHeight, QImage::Format_ARGB32);
    if (rgb.isNull()) {
        return QStringLiteral("There is not enough memory to load the bitmap \"%1\".")
            .arg(shownPath);
    }
    for (int y = 0; y < decoded.regionHeight; ++y) {
        std::memcpy(rgb.scanLine(y), decoded.pixels.data() + std::size_t(y) * decoded.regionWidth,
                    std::size_t(decoded.regionWidth) * 4);
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

    // The slider's value, just below it.
    stepLabel_ = new QLabel(QString::number(kDefaultLevelStep), this);
    stepLabel_->setObjectName(QStringLiteral("LevelStepValue"));
    stepLabel_->setGeometry(0, 251, 32, 15);
    stepLabel_->setAlignment(Qt::AlignCenter);
    QLabel* ditherCaption = label(this, "DitherLabel", "&Dithering:", {33, kDitherRowTop + 5});
    ditherChoice_ = new QComboBox(this);
    ditherChoice_->setObjectName(QStringLiteral("DitherChoice"));
    for (const DitherRow& row : dithers()) {
        ditherChoice_->addItem(QString::fromUtf8(row.label.data(), row.label.size()));
    }
    ditherChoice_->setGeometry(ditherCaption->geometry().right() + 8, kDitherRowTop, 200, 24);
    ditherCaption->setBuddy(ditherChoice_);
    connect(ditherChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        import_.dither = dithers()[static_cast<std::size_t>(std::max(index, 0))].id;
        convertBitmap();
    });
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
    // Also a name of a file that does not exist: loading it then tells the user.
    setUpFileDialog(dialog, "OpenDialog1", QFileDialog::AcceptOpen, {},
                    {QStringLiteral("Bitmap files (*.bmp)"), QStringLiteral("PNG images (*.png)")},
                    QStringLiteral("bmp"));
    if (!lastBitmapFile_.isEmpty()) {
        dialog.selectFile(lastBitmapFile_);
    }
    const std::optional<QString> chosen = chosenFile(dialog);
    if (!chosen) {
        return;
    }
    lastBitmapFile_ = *chosen;
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
        // Transparent pixels show the white of the area.
        QPainter painter(&bitmapSurface_);
        painter.fillRect(QRect(QPoint(0, 0), sourceBitmap_.size()), Qt::white);
        painter.drawImage(0, 0, sourceBitmap_);
    }
    bitmapView_->resize(sourceBitmap_.size().boundedTo(kBitmapSurfaceSize));
    bitmapView_->update();

    import_.levelStep = kDefaultLevelStep;
    importRegion(sourceView(), import_);
    previewView_->resize(2 * import_.importWidth, 2 * import_.importHeight);
    drawPreview();
    okButton_->setEnabled(true);
    // Takes the step once more when the slider was elsewhere; same step, same result.
    levelSlider_->setValue(import_.levelStep);
    return true;
}

void BitmapImportDialog::takeLevelStep() {
    import_.levelStep = levelSlider_->value();
    stepLabel_->setText(QString::number(import_.levelStep));
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
    showErrorMessage(this, text);
}

}  // namespace stipple::ui
