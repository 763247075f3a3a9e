#include "ui/ExportWindow.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "ui/SurfaceWidget.h"

namespace stipple::ui {

ExportWindow::ExportWindow(Session& session, SurfaceWidget& surface, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), surface_(surface), preview_(session) {
    setObjectName(QStringLiteral("ExportWindow"));
    setWindowTitle(QStringLiteral("Export"));
    buildControls();
    loadSettings();
    preview_.setListener([this](unsigned what) {
        if ((what & ExportPreview::kChoices) != 0) {
            showChoices();
        }
        if ((what & ExportPreview::kText) != 0) {
            showText();
        }
        if ((what & ExportPreview::kTrace) != 0) {
            showTrace();
        }
    });
    showChoices();
    // Pointing at a cell of the surface shows the numbers that hold it, the first in sight.
    connect(&surface_, &SurfaceWidget::mouseMoved, this, [this](int x, int y) {
        const std::vector<TextRange> shown = preview_.traceFromSurface(x, y);
        if (!shown.empty() && isVisible()) {
            QTextCursor cursor(text_->document());
            cursor.setPosition(shown.front().position);
            text_->setTextCursor(cursor);
            text_->ensureCursorVisible();
        }
    });
}

ExportWindow::~ExportWindow() {
    preview_.setListener(nullptr);
    storeSettings();
}

bool ExportWindow::setFormatNamed(std::string_view commandName) {
    return preview_.chooseFormatNamed(commandName);
}

void ExportWindow::showText() {
    // Only what changed goes into the document: one press changes a number or two.
    const QString next = QString::fromStdString(preview_.shownText());
    qsizetype same = 0;
    const qsizetype shorter = std::min(next.size(), shown_.size());
    while (same < shorter && next[same] == shown_[same]) {
        ++same;
    }
    qsizetype sameEnd = 0;
    while (sameEnd < shorter - same &&
           next[next.size() - 1 - sameEnd] == shown_[shown_.size() - 1 - sameEnd]) {
        ++sameEnd;
    }
    if (same != next.size() || next.size() != shown_.size()) {
        QTextCursor cursor(text_->document());
        cursor.setPosition(static_cast<int>(same));
        cursor.setPosition(static_cast<int>(shown_.size() - sameEnd), QTextCursor::KeepAnchor);
        cursor.insertText(next.mid(same, next.size() - sameEnd - same));
    }
    shown_ = next;
    count_->setText(QString::fromStdString(preview_.countLine()));
    command_->setText(QString::fromStdString(preview_.commandLine()));
    copy_->setEnabled(preview_.applies(ExportOption::Copy));
    save_->setEnabled(preview_.applies(ExportOption::Save));
    append_->setEnabled(preview_.applies(ExportOption::Append));
    device_->show(preview_.deviceImage());
}

void DeviceViewWidget::show(DeviceImage image) {
    image_ = std::move(image);
    update();
}

void DeviceViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x40, 0x40, 0x40));
    if (image_.width < 1) {
        return;
    }
    const QImage cells(reinterpret_cast<const uchar*>(image_.pixels.data()), image_.width,
                       image_.height, image_.width * 4, QImage::Format_RGB32);
    const int scale =
        std::max(1, std::min((width() - 8) / image_.width, (height() - 8) / image_.height));
    const QSize shown(image_.width * scale, image_.height * scale);
    painter.drawImage(QRect(QPoint((width() - shown.width()) / 2, 4), shown), cells);
}

void ExportWindow::showTrace() {
    QList<QRect> frames;
    for (const CellRect& cell : preview_.frames()) {
        frames.push_back(QRect(cell.left, cell.top, cell.size, cell.size));
    }
    surface_.setTraceFrames(frames);

    QList<QTextEdit::ExtraSelection> marks;
    const auto mark = [&](const TextRange& range, const QColor& colour) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(text_->document());
        selection.cursor.setPosition(range.position);
        selection.cursor.setPosition(range.position + range.length, QTextCursor::KeepAnchor);
        selection.format.setBackground(colour);
        marks.push_back(selection);
    };
    for (const TextRange& range : preview_.highlights()) {
        mark(range, QColor(255, 230, 120));
    }
    if (const std::optional<TextRange> number = preview_.tracedNumber()) {
        mark(*number, QColor(255, 180, 180));
    }
    text_->setExtraSelections(marks);
}

bool ExportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            preview_.traceFromText(text_->cursorForPosition(at).position());
        } else if (event->type() == QEvent::Leave) {
            preview_.traceFromText(-1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ExportWindow::showEvent(QShowEvent* event) {
    // The first time, beside the main window where the screen has room for it.
    if (!placed_ && parentWidget() != nullptr && !settingsHadGeometry_) {
        const QRect main = parentWidget()->window()->frameGeometry();
        const QRect screen = parentWidget()->window()->screen()->availableGeometry();
        if (main.right() + 8 + width() <= screen.right()) {
            move(main.right() + 8, main.top());
        }
    }
    placed_ = true;
    QWidget::showEvent(event);
    preview_.setShown(true);
}

void ExportWindow::hideEvent(QHideEvent* event) {
    preview_.traceFromText(-1);
    storeSettings();
    preview_.setShown(false);
    QWidget::hideEvent(event);
}

QString ExportWindow::shownText() const {
    return text_->toPlainText();
}

QString ExportWindow::countText() const {
    return count_->text();
}

QString ExportWindow::commandLine() const {
    return command_->text();
}

}  // namespace stipple::ui
