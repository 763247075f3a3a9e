#pragma once
// The editing surface on screen: shows the session's raster as it is, without copying or
// smoothing, and reports the mouse as plain values (button, x, y) in surface pixels: its
// own pixels plus how far the surface is scrolled.

#include <QList>
#include <QRect>
#include <QWidget>

#include "editor/Session.h"
#include "render/Raster.h"

namespace stipple::ui {

class SurfaceWidget : public QWidget {
    Q_OBJECT
  public:
    explicit SurfaceWidget(QWidget* parent = nullptr);

    // The raster must outlive the widget; null shows an empty (white) surface.
    void setRaster(const Raster* raster);
    const Raster* raster() const { return raster_; }
    // The session whose geometry turns the widget's pixels into surface pixels; without
    // one they are the same.
    void setSession(const Session* session) { session_ = session; }

    // Rectangles in surface pixels framed over the raster (the Export window's
    // trace); empty for none.
    void setTraceFrames(QList<QRect> frames);
    const QList<QRect>& traceFrames() const { return traceFrames_; }

  signals:
    // Only the left, right and middle buttons are reported; `keys` as press() takes them.
    void mousePressed(stipple::MouseButton button, int x, int y, unsigned keys);
    // Also while a button is held outside the widget, with the position outside it.
    void mouseMoved(int x, int y);
    void mouseReleased(stipple::MouseButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint surfacePosition(const QMouseEvent* event) const;

    const Raster* raster_ = nullptr;
    const Session* session_ = nullptr;
    QList<QRect> traceFrames_;
};

}  // namespace stipple::ui
