// The rows of the import window below the layout's controls: the dithering, the cut into
// frames, the region with its fit, and the levels with exact colours.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <initializer_list>
#include <string>

#include "ui/BitmapImportDialog.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The cells of a new cut: the commonest sprite size.
constexpr int kDefaultCellSide = 16;

}  // namespace

void BitmapImportDialog::buildChoiceRows(int top) {
    const int kDitherRowTop = top;
    const int kCutRowTop = kDitherRowTop + 30;
    const int kRegionRowTop = kCutRowTop + 30;
    const int kLevelsRowTop = kRegionRowTop + 30;
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
    frameCount_ = new QLabel(this);
    frameCount_->setObjectName(QStringLiteral("FrameCount"));
    frameCount_->setGeometry(336, kDitherRowTop + 5, 256, 15);

    // The cut into frames: cells of W x H, S pixels apart, in reading order.
    cutChoice_ = new QCheckBox(QStringLiteral("Cut into &frames of"), this);
    cutChoice_->setObjectName(QStringLiteral("FramesCut"));
    cutChoice_->setGeometry(33, kCutRowTop + 2, cutChoice_->sizeHint().width(), 20);
    // Each control of the row a little after the one before it.
    const auto after = [](const QWidget* before, int gap) {
        return before->geometry().right() + 1 + gap;
    };
    const auto spinBox = [this, kCutRowTop](const char* name, int x, int least, int most,
                                            int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(least, most);
        box->setValue(value);
        box->setGeometry(x, kCutRowTop, 52, 24);
        box->setEnabled(false);
        connect(box, &QSpinBox::valueChanged, this, &BitmapImportDialog::takeCut);
        return box;
    };
    cellWidth_ = spinBox("FrameWidth", after(cutChoice_, 4), 1, kMaxPictureWidth, kDefaultCellSide);
    QLabel* times = label(this, "FrameTimes", "x", {after(cellWidth_, 5), kCutRowTop + 5});
    cellHeight_ = spinBox("FrameHeight", after(times, 5), 1, kMaxPictureHeight, kDefaultCellSide);
    QLabel* spacingCaption =
        label(this, "SpacingLabel", "&Spacing:", {after(cellHeight_, 12), kCutRowTop + 5});
    spacing_ = spinBox("FrameSpacing", after(spacingCaption, 4), 0, 1000, 0);
    spacingCaption->setBuddy(spacing_);
    skipEmpty_ = new QCheckBox(QStringLiteral("Skip &empty cells"), this);
    skipEmpty_->setObjectName(QStringLiteral("SkipEmpty"));
    skipEmpty_->setGeometry(after(spacing_, 12), kCutRowTop + 2, skipEmpty_->sizeHint().width(),
                            20);
    skipEmpty_->setEnabled(false);
    connect(skipEmpty_, &QCheckBox::toggled, this, &BitmapImportDialog::showFrameCount);
    connect(cutChoice_, &QCheckBox::toggled, this, [this](bool on) {
        // A sheet is read further than the Image area shows.
        if (!loadedFile_.isEmpty() && !readImage(loadedFile_)) {
            const QSignalBlocker keep(cutChoice_);
            cutChoice_->setChecked(!on);
            return;
        }
        for (QWidget* control :
             std::initializer_list<QWidget*>{cellWidth_, cellHeight_, spacing_, skipEmpty_}) {
            control->setEnabled(on);
        }
        takeFitOrCut(fitChoice_->isChecked(), !on);
    });

    // The region, in image pixels, and its fit.
    const char* const regionNames[4][2] = {
        {"RegionX", "Region &X:"}, {"RegionY", "&Y:"}, {"RegionW", "&W:"}, {"RegionH", "&H:"}};
    int x = 33;
    for (int i = 0; i < 4; ++i) {
        QLabel* caption = label(this, (regionNames[i][0] + std::string("Label")).c_str(),
                                regionNames[i][1], {x, kRegionRowTop + 5});
        QSpinBox* box = regionBoxes_[i] = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(regionNames[i][0]));
        box->setGeometry(after(caption, 3), kRegionRowTop, 58, 24);
        box->setEnabled(false);
        caption->setBuddy(box);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            takeRegion({regionBoxes_[0]->value(), regionBoxes_[1]->value(),
                        regionBoxes_[2]->value(), regionBoxes_[3]->value()});
        });
        x = after(box, 6);
    }
    fitChoice_ = new QCheckBox(QStringLiteral("Fi&t to"), this);
    fitChoice_->setObjectName(QStringLiteral("FitChoice"));
    fitChoice_->setGeometry(x + 4, kRegionRowTop + 2, fitChoice_->sizeHint().width(), 20);
    const auto fitBox = [&](const char* name, int left, int most) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, most);
        box->setValue(most);
        box->setGeometry(left, kRegionRowTop, 44, 24);
        box->setEnabled(false);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (fitChoice_->isChecked()) {
                import_.fit = std::pair(fitWidth_->value(), fitHeight_->value());
                takeCut();
            }
        });
        return box;
    };
    fitWidth_ = fitBox("FitWidth", after(fitChoice_, 2), kMaxPictureWidth);
    QLabel* fitTimes = label(this, "FitTimes", "x", {after(fitWidth_, 4), kRegionRowTop + 5});
    fitHeight_ = fitBox("FitHeight", after(fitTimes, 4), kMaxPictureHeight);
    connect(fitChoice_, &QCheckBox::toggled, this, [this](bool on) {
        fitWidth_->setEnabled(on);
        fitHeight_->setEnabled(on);
        import_.fit =
            on ? std::optional(std::pair(fitWidth_->value(), fitHeight_->value())) : std::nullopt;
        takeFitOrCut(!on, cutChoice_->isChecked());
    });

    // The levels aimed at, and exact colours instead of the cut or a dither.
    QLabel* graysCaption = label(this, "GraysLabel", "&Levels:", {33, kLevelsRowTop + 5});
    graysChoice_ = new QComboBox(this);
    graysChoice_->setObjectName(QStringLiteral("GraysChoice"));
    graysChoice_->addItems({QStringLiteral("4 grays"), QStringLiteral("Black and white")});
    graysChoice_->setGeometry(after(graysCaption, 8), kLevelsRowTop, 140, 24);
    graysCaption->setBuddy(graysChoice_);
    connect(graysChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        import_.grays = index == 1 ? Grays::Two : Grays::Four;
        takeCut();
    });
    exactChoice_ = new QCheckBox(QStringLiteral("E&xact colours"), this);
    exactChoice_->setObjectName(QStringLiteral("ExactColours"));
    exactChoice_->setGeometry(after(graysChoice_, 12), kLevelsRowTop + 2,
                              exactChoice_->sizeHint().width(), 20);
    connect(exactChoice_, &QCheckBox::toggled, this, [this](bool on) {
        import_.exactColours = on;
        // The colours are taken as they are: no dither applies.
        ditherChoice_->setEnabled(!on);
        takeCut();
    });
    coloursNote_ = new QLabel(this);
    coloursNote_->setObjectName(QStringLiteral("ColoursNote"));
    coloursNote_->setGeometry(after(exactChoice_, 8), kLevelsRowTop + 5,
                              width() - after(exactChoice_, 8) - 4, 15);
}

}  // namespace stipple::ui
