#include "ui/FramesViews.h"

#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "editor/GlyphText.h"

namespace stipple::ui {

namespace {

// The largest frame fits this room; small ones are drawn larger, up to a cap that keeps
// several of them in sight.
constexpr int kRoomWidth = 192;
constexpr int kRoomHeight = 184;
constexpr int kMaxThumbnailScale = 4;
constexpr int kMargin = 4;
constexpr int kMinSlotWidth = 64;

// The picture's cells, `scale` screen pixels each, with its top-left at `at`. The cells go
// through an image of one pixel a cell, scaled without smoothing.
void drawCells(QPainter& painter, const Picture& picture, QPoint at, int scale) {
    const int width = std::clamp(picture.width, 1, kMaxPictureWidth);
    const int height = std::clamp(picture.height, 1, kMaxPictureHeight);
    QImage cells(width, height, QImage::Format_RGB32);
    for (int y = 1; y <= height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(y - 1));
        for (int x = 1; x <= width; ++x) {
            const Pixel value = picture.pixels[x][y];
            line[x - 1] = 0xFF000000u | kDisplayColours[value >= 0 && value <= 4 ? value : 4];
        }
    }
    painter.drawImage(QRect(at, QSize(width * scale, height * scale)), cells);
}

}  // namespace

QSize largestFrame(const Document& document) {
    QSize largest(1, 1);
    for (const Frame& frame : document.frames) {
        largest = largest.expandedTo(QSize(frame.picture.width, frame.picture.height));
    }
    return largest.boundedTo(QSize(kMaxPictureWidth, kMaxPictureHeight));
}

FramesStrip::FramesStrip(const Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setFocusPolicy(Qt::StrongFocus);
    rebuild();
}

void FramesStrip::rebuild() {
    const QSize largest = largestFrame(session_.document());
    scale_ = std::clamp(std::min(kRoomWidth / largest.width(), kRoomHeight / largest.height()), 1,
                        kMaxThumbnailScale);
    box_ = largest * scale_;
    // A glyph's character goes on a line of its own under the caption.
    const int lines = session_.document().font ? 2 : 1;
    slot_ = QSize(std::max(box_.width(), kMinSlotWidth) + 2 * kMargin,
                  box_.height() + 3 * kMargin + lines * fontMetrics().height() + kMargin);
    setFixedSize(slot_.width() * session_.document().frameCount(), slot_.height());
    update();
}

QRect FramesStrip::slotRect(int index) const {
    return QRect(QPoint(index * slot_.width(), 0), slot_);
}

QRect FramesStrip::pictureRect(int index) const {
    const Picture& picture = session_.document().frames[static_cast<std::size_t>(index)].picture;
    const QSize size(picture.width * scale_, picture.height * scale_);
    const QRect slot = slotRect(index);
    // Centred in the room of the largest frame.
    return QRect(slot.left() + (slot.width() - size.width()) / 2,
                 slot.top() + kMargin + (box_.height() - size.height()) / 2, size.width(),
                 size.height());
}

int FramesStrip::frameAt(QPoint at) const {
    if (at.x() < 0 || at.y() < 0 || at.y() >= slot_.height()) {
        return -1;
    }
    const int index = at.x() / slot_.width();
    return index < session_.document().frameCount() ? index : -1;
}

void FramesStrip::refreshCurrent(int cellX, int cellY) {
    const int current = session_.document().current;
    if (cellX > 0 && cellY > 0) {
        const QRect picture = pictureRect(current);
        update(QRect(picture.topLeft() + QPoint((cellX - 1) * scale_, (cellY - 1) * scale_),
                     QSize(scale_, scale_)));
    } else {
        update(slotRect(current));
    }
}

void FramesStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const Document& document = session_.document();
    const QRect dirty = event->rect();
    // Only the slots in sight are drawn: a set may hold thousands.
    const int first = std::max(dirty.left() / slot_.width(), 0);
    const int last = std::min(dirty.right() / slot_.width(), document.frameCount() - 1);
    const QFontMetrics metrics = fontMetrics();
    for (int i = first; i <= last; ++i) {
        const QRect slot = slotRect(i);
        const bool current = i == document.current;
        if (current) {
            painter.fillRect(slot, palette().color(QPalette::Highlight));
        }
        const QRect picture = pictureRect(i);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(picture.adjusted(-1, -1, 0, 0));
        drawCells(painter, document.frames[static_cast<std::size_t>(i)].picture, picture.topLeft(),
                  scale_);

        const QRect text(slot.left() + kMargin, slot.top() + box_.height() + 3 * kMargin,
                         slot.width() - 2 * kMargin, metrics.height());
        const Frame& frame = document.frames[static_cast<std::size_t>(i)];
        const QString caption =
            QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromStdString(frame.name));
        painter.setPen(palette().color(current ? QPalette::HighlightedText : QPalette::WindowText));
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(caption, Qt::ElideRight, text.width()));
        if (document.font && frame.glyph) {
            const QString character = QString::fromStdString(glyphCaption(frame.glyph->codePoint));
            painter.drawText(text.translated(0, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                             metrics.elidedText(character, Qt::ElideRight, text.width()));
        }
    }
    if (hasFocus() && document.current >= first && document.current <= last) {
        painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter.drawRect(slotRect(document.current).adjusted(1, 1, -2, -2));
    }
}

void FramesStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const int index = frameAt(event->position().toPoint()); index >= 0) {
            emit frameChosen(index);
        }
    }
    QWidget::mousePressEvent(event);
}

void FramesStrip::keyPressEvent(QKeyEvent* event) {
    const int current = session_.document().current;
    switch (event->key()) {
        case Qt::Key_Left:
            emit frameChosen(current - 1);
            return;
        case Qt::Key_Right:
            emit frameChosen(current + 1);
            return;
        case Qt::Key_Home:
            emit frameChosen(0);
            return;
        case Qt::Key_End:
            emit frameChosen(session_.document().frameCount() - 1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

FramesPlayer::FramesPlayer(const Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    refresh();
}

void FramesPlayer::showFrame(int index) {
    shown_ = std::clamp(index, 0, session_.document().frameCount() - 1);
    update();
}

void FramesPlayer::setPixelSize(int size) {
    pixelSize_ = std::max(size, 1);
    refresh();
}

void FramesPlayer::refresh() {
    // The room of the largest frame, so that the picture stands still from frame to frame.
    setFixedSize(largestFrame(session_.document()) * pixelSize_);
    showFrame(shown_);
}

QRect FramesPlayer::pictureRect() const {
    const Picture& picture = session_.document().frames[static_cast<std::size_t>(shown_)].picture;
    const QSize size(picture.width * pixelSize_, picture.height * pixelSize_);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void FramesPlayer::refreshCell(int cellX, int cellY) {
    if (cellX > 0 && cellY > 0) {
        update(QRect(
            pictureRect().topLeft() + QPoint((cellX - 1) * pixelSize_, (cellY - 1) * pixelSize_),
            QSize(pixelSize_, pixelSize_)));
    } else {
        update();
    }
}

void FramesPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawCells(painter, session_.document().frames[static_cast<std::size_t>(shown_)].picture,
              pictureRect().topLeft(), pixelSize_);
}

SampleLineView::SampleLineView(QWidget* parent) : QWidget(parent) {
    showLine({});
}

void SampleLineView::showLine(SampleLine line) {
    line_ = std::move(line);
    if (line_.cells.empty()) {
        line_ = SampleLine{1, 1, 0, 0, {kTransparent}};
    }
    setFixedSize(line_.width * pixelSize_, line_.height * pixelSize_);
    update();
}

void SampleLineView::setPixelSize(int size) {
    pixelSize_ = std::max(size, 1);
    showLine(std::move(line_));
}

void SampleLineView::paintEvent(QPaintEvent*) {
    QImage cells(line_.width, line_.height, QImage::Format_RGB32);
    const QRgb background = palette().color(QPalette::Window).rgb();
    for (int y = 0; y < line_.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(cells.scanLine(y));
        for (int x = 0; x < line_.width; ++x) {
            const Pixel value = line_.at(x, y);
            row[x] = value >= kBlack && value < kTransparent ? 0xFF000000u | kDisplayColours[value]
                                                             : background;
        }
    }
    QPainter(this).drawImage(rect(), cells);
}

}  // namespace stipple::ui
