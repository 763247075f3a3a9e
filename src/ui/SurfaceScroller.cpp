#include "ui/SurfaceScroller.h"

#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "editor/ViewCommands.h"
#include "ui/CommandErrors.h"
#include "ui/SurfaceWidget.h"

namespace stipple::ui {

SurfaceScroller::SurfaceScroller(Session& session, SurfaceWidget& surface, QWidget* parent,
                                 const QRect& room)
    : QObject(parent), session_(session), surface_(surface), room_(room) {
    horizontal_ = new QScrollBar(Qt::Horizontal, parent);
    horizontal_->setObjectName(QStringLiteral("SurfaceScrollX"));
    vertical_ = new QScrollBar(Qt::Vertical, parent);
    vertical_->setObjectName(QStringLiteral("SurfaceScrollY"));
    // Where both bars meet, the window's own background rather than the surface.
    corner_ = new QWidget(parent);
    corner_->setObjectName(QStringLiteral("SurfaceScrollCorner"));
    corner_->setAutoFillBackground(true);
    corner_->hide();
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (!showing_) {
                runCommand(surface_.window(), [this] {
                    scrollSurfaceTo(session_, horizontal_->value(), vertical_->value());
                });
            }
        });
    }
    surface_.installEventFilter(this);
    session_.subscribe(*this);
    setSurfaceRoom(session_, room_.width(), room_.height());
}

SurfaceScroller::~SurfaceScroller() {
    session_.unsubscribe(*this);
}

void SurfaceScroller::sessionChanged(const Session&, const Changes& changes) {
    if (changes.has(changed::kView | changed::kSize)) {
        showRange();
    }
}

void SurfaceScroller::showRange() {
    const Picture& picture = session_.picture();
    const ViewSettings& view = session_.view();
    const SurfaceScroll range = SurfaceGeometry(view, picture.width, picture.height).scroll();
    showing_ = true;
    const int thickness = kScrollBarThickness;
    horizontal_->setGeometry(room_.left(), room_.top() + range.shownHeight, range.shownWidth,
                             thickness);
    vertical_->setGeometry(room_.left() + range.shownWidth, room_.top(), thickness,
                           range.shownHeight);
    const auto show = [&](QScrollBar* bar, bool needed, int max, int value, int page) {
        bar->setRange(0, max);
        bar->setPageStep(page);
        bar->setSingleStep(std::max(view.pixelSize, 8));
        bar->setValue(value);
        bar->setVisible(needed);
        if (needed) {
            bar->raise();
        }
    };
    show(horizontal_, range.horizontal, range.maxX, view.scrollX, range.shownWidth);
    show(vertical_, range.vertical, range.maxY, view.scrollY, range.shownHeight);
    corner_->setGeometry(room_.left() + range.shownWidth, room_.top() + range.shownHeight,
                         thickness, thickness);
    corner_->setVisible(range.horizontal && range.vertical);
    corner_->raise();
    showing_ = false;
}

bool SurfaceScroller::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &surface_ || event->type() != QEvent::Wheel) {
        return QObject::eventFilter(watched, event);
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint steps = wheel->angleDelta();
    if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
        if (steps.y() != 0) {
            const QPoint at = wheel->position().toPoint();
            runCommand(surface_.window(), [&] { zoomAt(session_, steps.y() > 0, at.x(), at.y()); });
        }
        return true;
    }
    // The bars take the wheel as they would over themselves; Shift turns it sideways.
    const bool sideways = steps.y() == 0 || wheel->modifiers().testFlag(Qt::ShiftModifier);
    QScrollBar* bar = sideways ? horizontal_ : vertical_;
    if (bar->isVisible()) {
        const int notches = (sideways && steps.x() != 0 ? steps.x() : steps.y()) / 120;
        const int by = (notches != 0 ? notches : (steps.y() > 0 || steps.x() > 0 ? 1 : -1)) * 3;
        bar->setValue(bar->value() - by * bar->singleStep());
    }
    return true;
}

}  // namespace stipple::ui
