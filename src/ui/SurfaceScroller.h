#pragma once
// Scrolling and zooming the editing surface: two scroll bars inside the surface's room that
// show where they are needed, the wheel to scroll, Ctrl and the wheel to change the pixel
// size around the pointer.

#include <QObject>
#include <QRect>

#include "editor/Session.h"

class QScrollBar;
class QWidget;

namespace stipple::ui {

class SurfaceWidget;

class SurfaceScroller final : public QObject, public SessionListener {
  public:
    // `room` is the part of `parent` the surface may show in, in the parent's pixels.
    SurfaceScroller(Session& session, SurfaceWidget& surface, QWidget* parent, const QRect& room);
    ~SurfaceScroller() override;

    void sessionChanged(const Session& session, const Changes& changes) override;
    QScrollBar* horizontalBar() const { return horizontal_; }
    QScrollBar* verticalBar() const { return vertical_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showRange();

    Session& session_;
    SurfaceWidget& surface_;
    QRect room_;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QWidget* corner_ = nullptr;
    bool showing_ = false;  // while the bars are set from the session
};

}  // namespace stipple::ui
