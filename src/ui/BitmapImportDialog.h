#pragma once
// The Bitmap Image Open Dialog: loads a Windows bitmap, a PNG or a GIF, previews its cut
// into the four gray levels (or black and white, or its exact colours) of a region, fitted
// when asked, and takes the result into the session, or cuts it into frames (a sheet's
// cells, an animation's frames) that replace the set. Shown modally; it keeps its image,
// preview, slider, region and cut from one opening to the next.

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/Session.h"
#include "formats/BitmapConversion.h"
#include "formats/FrameCut.h"
#include "formats/ImageDecoders.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;

namespace stipple::ui {

class BitmapImportDialog : public QDialog {
    Q_OBJECT
  public:
    BitmapImportDialog(Session& session, QWidget* parent = nullptr);

    // "Open BMP": asks for a bitmap file and loads it.
    void chooseBitmapFile();
    // Loads the bitmap file and converts it. On a failure it tells the user and leaves the
    // window exactly as it was.
    bool loadBitmapFile(const QString& path);

    const BitmapImport& import() const { return import_; }
    // The cells the image is cut into, while "Cut into frames" is on.
    std::optional<FrameGrid> grid() const;
    const QImage& sourceBitmap() const { return sourceBitmap_; }
    // The drawing surfaces behind the bitmap (273 x 223) and the preview (200 x 200); the
    // controls' sizes only say how much of them shows. Both are made when the window is
    // first shown or a bitmap is first loaded.
    const QImage& bitmapSurface() const { return bitmapSurface_; }
    const QImage& previewSurface() const { return previewSurface_; }

    // Moves the region by the pointer's way from where it was pressed on the Image area.
    void dragRegion(QPoint pressed, QPoint now);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The rows below the layout's controls, from `top` down.
    void buildChoiceRows(int top);
    void makeSurfaces();
    bool readImage(const QString& path);
    ImageRegion regionFor(bool fit, bool cut) const;
    void takeRegion(ImageRegion region);
    void showRegion();
    void takeFitOrCut(bool wasFit, bool wasCut);
    void takeLevelStep();
    void takeCut();
    void drawBitmapSurface();
    void showFrameCount();
    bool takeImport();
    void convertBitmap();
    RgbView sourceView() const;
    void drawPreview();
    void showLoadError(const QString& text);

    Session& session_;
    BitmapImport import_;
    // The image as read: all of it once a region needs more than the default, otherwise
    // with the cut up to a sheet's side, or what the Image area shows. sourceBitmap_ is the
    // shown part of its first frame.
    DecodedImage decoded_;
    bool wholeImage_ = false;
    // The region (or its first cell) as the conversion takes it: fitted into fitted_ when asked.
    std::vector<std::uint32_t> fitted_;
    RgbView part_;
    ImageRegion regionAtPress_;
    QRect regionFrame_;         // drawn over the Image area, in its pixels
    bool coloursTaken_ = true;  // exact colours are off, or the region has few enough
    QString loadedFile_;
    QImage sourceBitmap_;
    QImage bitmapSurface_;
    QImage previewSurface_;
    QString lastBitmapFile_;
    QWidget* bitmapView_ = nullptr;      // one screen pixel per bitmap pixel
    QWidget* previewView_ = nullptr;     // a 2 x 2 square per picture pixel
    QScrollBar* levelSlider_ = nullptr;  // the level step, 1 at the top to 200 at the bottom
    QPushButton* okButton_ = nullptr;
    QLabel* stepLabel_ = nullptr;
    QComboBox* ditherChoice_ = nullptr;
    QCheckBox* cutChoice_ = nullptr;
    QSpinBox* cellWidth_ = nullptr;
    QSpinBox* cellHeight_ = nullptr;
    QSpinBox* spacing_ = nullptr;
    QCheckBox* skipEmpty_ = nullptr;
    QLabel* frameCount_ = nullptr;
    QSpinBox* regionBoxes_[4] = {};  // X, Y, W, H
    QCheckBox* fitChoice_ = nullptr;
    QSpinBox* fitWidth_ = nullptr;
    QSpinBox* fitHeight_ = nullptr;
    QComboBox* graysChoice_ = nullptr;
    QCheckBox* exactChoice_ = nullptr;
    QLabel* coloursNote_ = nullptr;
};

}  // namespace stipple::ui
