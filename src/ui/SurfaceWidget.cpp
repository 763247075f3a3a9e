#include "ui/SurfaceWidget.h"

#include "editor/MouseTools.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QtMath>
#include <optional>
#include <utility>

namespace stipple::ui {

namespace {

// Whole pixels, rounding towards the top left also left of and above the widget.
QPoint pixelPosition(const QMouseEvent* event) {
    const QPointF p = event->position();
    return {qFloor(p.x()), qFloor(p.y())};
}

std::optional<MouseButton> sessionButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return std::nullopt;
    }
}

}  // namespace

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted here, so nothing behind needs repainting when the surface
    // changes.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void SurfaceWidget::setRaster(const Raster* raster) {
    raster_ = raster;
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect shown(0, 0, Raster::kStoredWidth, Raster::kStoredHeight);
    if (raster_ != nullptr) {
        const QImage image(reinterpret_cast<const uchar*>(raster_->bits()), Raster::kStoredWidth,
                           Raster::kStoredHeight, Raster::bytesPerLine(), QImage::Format_RGB32);
        painter.drawImage(0, 0, image);
    } else {
        painter.fillRect(shown, Qt::white);
    }
    // Beyond the stored part the window's own background shows.
    const QRegion rest = QRegion(event->rect()).subtracted(shown);
    for (const QRect& r : rest) {
        painter.fillRect(r, palette().window());
    }
    // Red shows on every gray; a second, white line inside keeps it apart from the cell.
    if (raster_ != nullptr) {
        painter.translate(-raster_->originX(), -raster_->originY());
    }
    for (const QRect& frame : traceFrames_) {
        painter.setPen(QColor(220, 0, 0));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        if (frame.width() > 4 && frame.height() > 4) {
            painter.setPen(Qt::white);
            painter.drawRect(frame.adjusted(1, 1, -2, -2));
        }
    }
}

void SurfaceWidget::setTraceFrames(QList<QRect> frames) {
    if (frames == traceFrames_) {
        return;
    }
    QRegion changed;
    for (const QRect& frame : traceFrames_) {
        changed += frame;
    }
    traceFrames_ = std::move(frames);
    for (const QRect& frame : traceFrames_) {
        changed += frame;
    }
    if (raster_ != nullptr) {
        changed.translate(-raster_->originX(), -raster_->originY());
    }
    update(changed);
}

QPoint SurfaceWidget::surfacePosition(const QMouseEvent* event) const {
    const QPoint p = pixelPosition(event);
    if (session_ == nullptr) {
        return p;
    }
    const SurfaceGeometry geometry = session_->geometry();
    return {geometry.surfaceX(p.x()), geometry.surfaceY(p.y())};
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = sessionButton(event->button())) {
        const QPoint p = surfacePosition(event);
        const unsigned keys = event->modifiers().testFlag(Qt::ShiftModifier) ? kShiftHeld : 0u;
        emit mousePressed(*button, p.x(), p.y(), keys);
    }
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = surfacePosition(event);
    emit mouseMoved(p.x(), p.y());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (const std::optional<MouseButton> button = sessionButton(event->button())) {
        const QPoint p = surfacePosition(event);
        emit mouseReleased(*button, p.x(), p.y());
    }
}

}  // namespace stipple::ui
