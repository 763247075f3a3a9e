#include "ui/BitmapImportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "editor/FileCommands.h"
#include "editor/Messages.h"
#include "formats/ImageImport.h"
#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The layout gives the outer size, 608 x 296, for a frame of 4 pixels at the sides and the
// bottom and a caption bar of 23 pixels; four rows more below hold the choice of dithering,
// the cut into frames, the region with its fit, and the levels with exact colours.
constexpr int kClientWidth = 608 - 2 * 4;
constexpr int kLayoutClientHeight = 296 - 23 - 4;
constexpr int kClientHeight = kLayoutClientHeight + 120;

// The cut's cells outlined on the Image area.
const QColor kCellOutline(0xFF, 0x00, 0xFF, 0xA0);
// The region's frame: a colour no gray image has.
const QColor kRegionFrame(0x00, 0xA0, 0xFF);

constexpr QSize kBitmapSurfaceSize(kImportRegionWidth, kImportRegionHeight);
constexpr QSize kPreviewSurfaceSize(200, 200);

// A white area with a black one-pixel frame on its outermost pixels.
void drawEmptyArea(QImage& surface) {
    surface.fill(Qt::black);
    QPainter painter(&surface);
    painter.fillRect(surface.rect().adjusted(1, 1, -1, -1), Qt::white);
}

// An image control: shows the top-left part of its drawing surface, as much as its size.
// A frame may be drawn over it, leaving the surface as it is. A drag with the left button
// reports where it was pressed and where the pointer is now.
class SurfaceView : public QWidget {
  public:
    SurfaceView(const QImage* surface, const QRect* frame, QWidget* parent)
        : QWidget(parent), surface_(surface), frame_(frame) {}
    std::function<void(QPoint, QPoint)> dragged;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, *surface_);
        if (frame_ != nullptr && !frame_->isEmpty()) {
            painter.setPen(kRegionFrame);
            painter.drawRect(frame_->adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = event->position().toPoint();
        if (dragged && event->button() == Qt::LeftButton) {
            dragged(pressed_, pressed_);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (dragged && (event->buttons() & Qt::LeftButton)) {
            dragged(pressed_, event->position().toPoint());
        }
    }

  private:
    const QImage* surface_;
    const QRect* frame_;
    QPoint pressed_;
};

}  // namespace

BitmapImportDialog::BitmapImportDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setUpFixedWindow(this, "bmpWin", "Bitmap Image Open Dialog", kClientWidth, kClientHeight);

    label(this, "Label1", "Image", {31, 8});
    auto* bitmapView = new SurfaceView(&bitmapSurface_, &regionFrame_, this);
    bitmapView->dragged = [this](QPoint pressed, QPoint now) { dragRegion(pressed, now); };
    bitmapView_ = bitmapView;
    bitmapView_->setObjectName(QStringLiteral("bmp1"));
    bitmapView_->setGeometry(QRect(QPoint(33, 24), kBitmapSurfaceSize));
    label(this, "Label2", "Preview", {328, 8});
    previewView_ = new SurfaceView(&previewSurface_, nullptr, this);
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
        if (takeImport()) {
            accept();
        }
    });
    connect(levelSlider_, &QScrollBar::valueChanged, this, &BitmapImportDialog::takeLevelStep);

    // The slider's value, just below it.
    stepLabel_ = new QLabel(QString::number(kDefaultLevelStep), this);
    stepLabel_->setObjectName(QStringLiteral("LevelStepValue"));
    stepLabel_->setGeometry(0, 251, 32, 15);
    stepLabel_->setAlignment(Qt::AlignCenter);
    buildChoiceRows(kLayoutClientHeight + 2);
}

std::optional<FrameGrid> BitmapImportDialog::grid() const {
    if (!cutChoice_->isChecked()) {
        return std::nullopt;
    }
    return FrameGrid{cellWidth_->value(), cellHeight_->value(), spacing_->value(),
                     skipEmpty_->isChecked()};
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
                    {QStringLiteral("Bitmap files (*.bmp)"), QStringLiteral("PNG images (*.png)"),
                     QStringLiteral("GIF images (*.gif)")},
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

bool BitmapImportDialog::readImage(const QString& path) {
    const QString shownPath = QDir::toNativeSeparators(path);
    const int side = wholeImage_ ? kWholeImage : cutChoice_->isChecked() ? kSheetRegionSide : 0;
    // Into an image of its own first, so that a failure leaves the window as it was.
    LoadedImage loaded =
        loadImportImage(path.toStdString(), shownPath.toStdString(),
                        std::max(side, kImportRegionWidth), std::max(side, kImportRegionHeight));
    if (!loaded) {
        showLoadError(QString::fromStdString(loaded.problem));
        return false;
    }
    const DecodedImage& image = loaded.image();
    // With its alpha: a PNG's pixels below half of it become transparent.
    QImage shown(std::min(image.regionWidth, kImportRegionWidth),
                 std::min(image.regionHeight, kImportRegionHeight), QImage::Format_ARGB32);
    if (shown.isNull()) {
        showLoadError(
            QStringLiteral("There is not enough memory to load the bitmap \"%1\".").arg(shownPath));
        return false;
    }
    for (int y = 0; y < shown.height(); ++y) {
        std::memcpy(shown.scanLine(y), image.pixels.data() + std::size_t(y) * image.regionWidth,
                    std::size_t(shown.width()) * 4);
    }
    decoded_ = std::move(loaded.decoding.image);
    sourceBitmap_ = std::move(shown);
    loadedFile_ = path;
    return true;
}

bool BitmapImportDialog::loadBitmapFile(const QString& path) {
    const bool wasWhole = std::exchange(wholeImage_, fitChoice_->isChecked());
    if (!readImage(path)) {
        wholeImage_ = wasWhole;
        return false;
    }
    makeSurfaces();
    bitmapView_->resize(sourceBitmap_.size().boundedTo(kBitmapSurfaceSize));
    import_.levelStep = kDefaultLevelStep;
    import_.region = regionFor(fitChoice_->isChecked(), cutChoice_->isChecked());
    for (QSpinBox* box : regionBoxes_) {
        box->setEnabled(true);
    }
    showRegion();
    takeCut();
    // Takes the step once more when the slider was elsewhere; same step, same result.
    levelSlider_->setValue(import_.levelStep);
    return true;
}

// A new image or a new cut: the import size, the preview of the first frame, the cells on
// the Image area and how many frames OK makes.
void BitmapImportDialog::takeCut() {
    if (sourceBitmap_.isNull()) {
        return;
    }
    const RgbView region = regionOf(decoded_.view(), import_);
    coloursTaken_ = takeExactColours(std::span(&region, 1), import_);
    // The row has room for the count; the whole sentence shows on hovering.
    const int count = import_.colours.count;
    coloursNote_->setText(coloursTaken_
                              ? QString()
                              : QStringLiteral("%1 colours: too many.")
                                    .arg(count > kCountedColours
                                             ? QStringLiteral("More than %1").arg(kCountedColours)
                                             : QString::number(count)));
    coloursNote_->setToolTip(coloursTaken_
                                 ? QString()
                                 : QStringLiteral("The region has %1.")
                                       .arg(QString::fromStdString(tooManyColours(import_))));
    part_ = fittedPart(sourceView(), import_, fitted_);
    takeImportSize(part_, import_);
    stipple::convertBitmap(part_, import_);
    previewView_->resize(2 * import_.importWidth, 2 * import_.importHeight);
    drawPreview();
    drawBitmapSurface();
    showFrameCount();
}

void BitmapImportDialog::drawBitmapSurface() {
    QPainter painter(&bitmapSurface_);
    // Transparent pixels show the white of the area.
    painter.fillRect(QRect(QPoint(0, 0), sourceBitmap_.size()), Qt::white);
    painter.drawImage(0, 0, sourceBitmap_);
    const ImageRegion region = import_.region.value_or(ImageRegion{});
    if (const std::optional<FrameGrid> cut = grid()) {
        painter.setPen(kCellOutline);
        const int pitchX = cut->cellWidth + cut->spacing;
        const int pitchY = cut->cellHeight + cut->spacing;
        for (int top = 0;
             top + cut->cellHeight <= region.height && region.y + top < bitmapSurface_.height();
             top += pitchY) {
            for (int left = 0;
                 left + cut->cellWidth <= region.width && region.x + left < bitmapSurface_.width();
                 left += pitchX) {
                painter.drawRect(region.x + left, region.y + top, cut->cellWidth - 1,
                                 cut->cellHeight - 1);
            }
        }
    }
    regionFrame_ = QRect(region.x, region.y, region.width, region.height);
    bitmapView_->update();
}

void BitmapImportDialog::showFrameCount() {
    const std::optional<FrameGrid> cut = grid();
    const std::size_t count = framesBeforeSkipping(decoded_, cut ? &*cut : nullptr, import_);
    QString text;
    if (count == 0) {
        text = QStringLiteral("No whole cell fits in the image.");
    } else if (count > std::size_t(kMaxFrames)) {
        text = QStringLiteral("%1 frames: a set holds at most %2.").arg(count).arg(kMaxFrames);
    } else if (cut || count > 1) {
        text = QStringLiteral("OK makes %1%2 %3.")
                   .arg(cut && cut->skipEmpty ? QStringLiteral("at most ") : QString())
                   .arg(count)
                   .arg(count == 1 ? QStringLiteral("frame") : QStringLiteral("frames"));
    }
    frameCount_->setText(text);
    okButton_->setEnabled(count >= 1 && count <= std::size_t(kMaxFrames) &&
                          import_.importWidth > 0 && coloursTaken_);
}

// A new image's region, and the region when the fit or the cut is turned on untouched: with
// a fit the whole image, with a cut up to a sheet's side, otherwise the top-left 96 x 92.
ImageRegion BitmapImportDialog::regionFor(bool fit, bool cut) const {
    const int side = fit ? kWholeImage : cut ? kSheetRegionSide : 0;
    return {0, 0, std::min(decoded_.width, std::max(side, kMaxPictureWidth)),
            std::min(decoded_.height, std::max(side, kMaxPictureHeight))};
}

// Without the fit or the cut a region is at most 96 x 92: all of it is taken.
void BitmapImportDialog::takeFitOrCut(bool wasFit, bool wasCut) {
    if (!import_.region) {
        takeCut();
        return;
    }
    const bool fit = fitChoice_->isChecked();
    const bool cut = cutChoice_->isChecked();
    ImageRegion region = *import_.region;
    if (region == regionFor(wasFit, wasCut)) {
        region = regionFor(fit, cut);
    }
    takeRegion(region);
}

// The region held to the image (and to 96 x 92 without the fit or the cut), read further
// when it reaches past what was read, then the conversion.
void BitmapImportDialog::takeRegion(ImageRegion region) {
    if (!import_.region) {
        return;
    }
    const bool large = fitChoice_->isChecked() || cutChoice_->isChecked();
    region.width = std::clamp(region.width, 1,
                              large ? decoded_.width : std::min(decoded_.width, kMaxPictureWidth));
    region.height = std::clamp(
        region.height, 1, large ? decoded_.height : std::min(decoded_.height, kMaxPictureHeight));
    region.x = std::clamp(region.x, 0, decoded_.width - region.width);
    region.y = std::clamp(region.y, 0, decoded_.height - region.height);
    const ImageRegion before = *import_.region;
    import_.region = region;
    if ((region.x + region.width > decoded_.regionWidth ||
         region.y + region.height > decoded_.regionHeight) &&
        !wholeImage_) {
        // Read once all of it, so that dragging further reads nothing more.
        wholeImage_ = true;
        if (!readImage(loadedFile_)) {
            wholeImage_ = false;
            import_.region = before;
        }
    }
    showRegion();
    takeCut();
}

// The spin boxes show the region; each is bounded by the image and the others.
void BitmapImportDialog::showRegion() {
    const ImageRegion region = import_.region.value_or(ImageRegion{});
    const bool large = fitChoice_->isChecked() || cutChoice_->isChecked();
    const int limits[4][2] = {{0, decoded_.width - region.width},
                              {0, decoded_.height - region.height},
                              {1, large ? decoded_.width - region.x
                                        : std::min(decoded_.width - region.x, kMaxPictureWidth)},
                              {1, large ? decoded_.height - region.y
                                        : std::min(decoded_.height - region.y, kMaxPictureHeight)}};
    const int values[4] = {region.x, region.y, region.width, region.height};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker quiet(regionBoxes_[i]);
        regionBoxes_[i]->setRange(limits[i][0], std::max(limits[i][0], limits[i][1]));
        regionBoxes_[i]->setValue(values[i]);
    }
}

void BitmapImportDialog::dragRegion(QPoint pressed, QPoint now) {
    if (!import_.region) {
        return;
    }
    if (pressed == now) {
        regionAtPress_ = *import_.region;
        return;
    }
    ImageRegion moved = regionAtPress_;
    moved.x += now.x() - pressed.x();
    moved.y += now.y() - pressed.y();
    takeRegion(moved);
}

bool BitmapImportDialog::takeImport() {
    const std::optional<FrameGrid> cut = grid();
    if (!cut && decoded_.frames.size() <= 1) {
        runCommand(this, [this] { applyBitmapImport(session_, import_); });
        return true;
    }
    ImageFrames frames =
        framesOfImage(decoded_, cut ? &*cut : nullptr, import_, session_.document().setName);
    if (!frames) {
        showErrorMessage(this, QStringLiteral("The image is not cut into frames: %1.")
                                   .arg(QString::fromStdString(frames.problem)));
        return false;
    }
    runCommand(this, [&] { applyImportedFrames(session_, std::move(frames.document)); });
    return true;
}

void BitmapImportDialog::takeLevelStep() {
    import_.levelStep = levelSlider_->value();
    stepLabel_->setText(QString::number(import_.levelStep));
    convertBitmap();
}

void BitmapImportDialog::convertBitmap() {
    stipple::convertBitmap(part_, import_);
    drawPreview();
}

// The region, or the first cell of the cut.
RgbView BitmapImportDialog::sourceView() const {
    if (sourceBitmap_.isNull()) {
        return {};
    }
    RgbView view = regionOf(decoded_.view(), import_);
    if (const std::optional<FrameGrid> cut = grid()) {
        if (framesBeforeSkipping(decoded_, &*cut, import_) == 0) {
            return {};
        }
        view.width = cut->cellWidth;
        view.height = cut->cellHeight;
    }
    return view;
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
