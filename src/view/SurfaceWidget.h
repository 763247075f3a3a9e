#pragma once
// Image1: shows the core's surface raster as it is, without copying or smoothing, and
// reports the mouse as plain values (button, x, y) in its own pixels.

#include <QWidget>

#include "view/Raster.h"

namespace stipple {

enum class SurfaceButton { Left, Right, Middle, Other };

class SurfaceWidget : public QWidget {
    Q_OBJECT
  public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    // The raster must outlive the widget; null shows an empty (white) surface.
    void setRaster(const Raster* raster);
    const Raster* raster() const { return raster_; }

  signals:
    void mousePressed(stipple::SurfaceButton button, int x, int y);
    // Also while a button is held outside the widget, with the position outside it.
    void mouseMoved(int x, int y);
    void mouseReleased(stipple::SurfaceButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const Raster* raster_ = nullptr;
};

}  // namespace stipple
