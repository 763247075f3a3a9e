#pragma once
// bmpWin, the Bitmap Image Open Dialog: loads a Windows bitmap, previews its cut into the
// four gray levels and takes the result into the editor. Shown modally; created once, it
// keeps its bitmap, preview and slider from one opening to the next.

#include <QDialog>
#include <QImage>
#include <QString>

#include "files/BitmapConversion.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace stipple {
class Editor;
}  // namespace stipple

class TbmpWin : public QDialog {
    Q_OBJECT
  public:
    explicit TbmpWin(QWidget* parent = nullptr);

    // The editor that OK writes the picture into; without one OK only closes.
    void setEditor(stipple::Editor* editor);

    // Loads the bitmap file and converts it, as Open BMP does after its file dialog. On a
    // failure it tells the user and leaves the window exactly as it was.
    bool loadBitmapFile(const QString& path);

    const stipple::BitmapImport& import() const { return import_; }
    const QImage& sourceBitmap() const { return sourceBitmap_; }
    // The drawing surfaces behind bmp1 (273 x 223) and bmp2 (200 x 200); the controls'
    // sizes only say how much of them shows.
    const QImage& bmp1Surface() const { return bmp1Surface_; }
    const QImage& bmp2Surface() const { return bmp2Surface_; }

    void FormCreate();
    void BitBtn3Click();
    void ScrollBar1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void convertBitmap();

    QLabel* Label1 = nullptr;          // "Image"
    QWidget* bmp1 = nullptr;           // the loaded bitmap, one screen pixel per bitmap pixel
    QLabel* Label2 = nullptr;          // "Preview"
    QWidget* bmp2 = nullptr;           // the conversion, a 2 x 2 square per picture pixel
    QScrollBar* ScrollBar1 = nullptr;  // levelStep, 1 at the top to 200 at the bottom
    QPushButton* BitBtn3 = nullptr;    // "Open BMP"
    QPushButton* BitBtn2 = nullptr;    // "Cancel"
    QPushButton* BitBtn1 = nullptr;    // "OK"

  private:
    void showLoadError(const QString& text);
    stipple::RgbView sourceView() const;
    void drawPreview();

    stipple::Editor* editor_ = nullptr;
    stipple::BitmapImport import_;
    QImage sourceBitmap_;
    QImage bmp1Surface_;
    QImage bmp2Surface_;
    QString lastBitmapFile_;
};
