#include "ui/ExportWindow.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cctype>

#include "editor/ExportCommands.h"
#include "formats/PictureFile.h"
#include "ui/CommandErrors.h"
#include "ui/SurfaceWidget.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// A word of a command line, quoted for a POSIX shell where it needs it.
QString shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 ||
               std::string_view("-_.,/=+:%").find(static_cast<char>(c)) != std::string_view::npos;
    });
    if (plain) {
        return QString::fromStdString(word);
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return QString::fromStdString(quoted + "'");
}

// What the numbers of a text come to: the device bytes, the assembler texts' bytes with
// the size line's two, the values of the C++ array.
QString countOf(ExportFormat id, std::size_t numbers) {
    const FormatFamily family = exportFormatRow(id).family;
    if (family == FormatFamily::Device) {
        return QStringLiteral("%1 bytes").arg(numbers);
    }
    if (id == ExportFormat::CppArray) {
        return QStringLiteral("%1 values").arg(numbers);
    }
    return QStringLiteral("%1 bytes: 2 of size, %2 of pixels").arg(numbers + 2).arg(numbers);
}

}  // namespace

ExportWindow::ExportWindow(Session& session, SurfaceWidget& surface, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), surface_(surface) {
    setObjectName(QStringLiteral("ExportWindow"));
    setWindowTitle(QStringLiteral("Export"));
    changing_ = true;  // until the settings stand in the controls
    buildControls();
    loadSettings();
    showControls();
    session_.subscribe(*this);
    // Pointing at a cell of the surface shows the numbers that hold it.
    connect(&surface_, &SurfaceWidget::mouseMoved, this, [this](int x, int y) {
        const SurfaceGeometry geometry = session_.geometry();
        const bool inside = geometry.inPicture(x, y);
        traceFromCell(inside ? geometry.cellX(x) : 0, inside ? geometry.cellY(y) : 0);
    });
}

ExportWindow::~ExportWindow() {
    session_.unsubscribe(*this);
    storeSettings();
}

void ExportWindow::mapBytes() {
    const PixelView view = fromBox() ? session_.selection().view() : session_.picture().view();
    const ByteLayout layout = tracedLayout(format().id, settings_);
    mapWidth_ = view.width();
    mapHeight_ = view.height();
    byteMap_ = layoutProblem(layout).empty() ? byteMap(mapWidth_, mapHeight_, layout)
                                             : std::vector<ByteCells>();
    bytesOfCell_.assign(static_cast<std::size_t>(mapWidth_ * mapHeight_), {});
    for (std::size_t b = 0; b < byteMap_.size(); ++b) {
        for (const BitPlace& place : byteMap_[b]) {
            std::vector<int>& bytes =
                bytesOfCell_[static_cast<std::size_t>((place.y - 1) * mapWidth_ + place.x - 1)];
            if (bytes.empty() || bytes.back() != static_cast<int>(b)) {
                bytes.push_back(static_cast<int>(b));
            }
        }
    }
}

void ExportWindow::refresh() {
    if (!isVisible()) {
        ready_ = false;  // brought up to date when shown
        return;
    }
    ready_ = true;
    const ExportFormatRow& row = format();
    const PixelView view = fromBox() ? session_.selection().view() : session_.picture().view();
    const std::string& name = session_.pictureName();
    std::string problem = exportableNameProblem(name);
    if (fromBox() && !session_.selection().bufferFilled) {
        problem = "No box has been copied yet: copy one with the box tool first.";
    }
    if (row.family == FormatFamily::Device && problem.empty()) {
        problem = layoutProblem(settings_.layout);
        if (problem.empty()) {
            ByteLayout typed = settings_.layout;
            problem = setLayoutWord(typed, "levels", levels_->text().toStdString());
            problem = problem.empty() ? layoutProblem(typed) : problem;
        }
    }

    std::string display;
    if (problem.empty()) {
        bytes_ = row.write(view, name, settings_);
        display = row.id == ExportFormat::Bin ? byteDump(bytes_) : bytes_;
        display.erase(std::remove(display.begin(), display.end(), '\r'), display.end());
        spans_ = valueSpans(display, row.id);
    } else {
        bytes_.clear();
        spans_.clear();
    }
    spanShift_ =
        spans_.empty()
            ? 0
            : static_cast<int>(
                  QString::fromUtf8(display.data(), static_cast<qsizetype>(spans_.front().offset))
                      .size()) -
                  static_cast<int>(spans_.front().offset);

    // Only what changed goes into the document: one press changes a number or two.
    const QString next = QString::fromStdString(display);
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

    const bool written = problem.empty();
    count_->setText(written ? countOf(row.id, spans_.size()) : QString::fromStdString(problem));
    save_->setEnabled(written);
    append_->setEnabled(written);
    copy_->setEnabled(written && row.id != ExportFormat::Bin);

    command_->setText(commandText(name));
    // The number pointed at may now hold other cells, or be gone.
    frameTracedByte();
}

QString ExportWindow::commandText(const std::string& name) const {
    const Selection& box = session_.selection();
    if (fromBox() && box.bufferFilled && !boxInPlace()) {
        return QStringLiteral(
            "(a box turned, mirrored or cut off has no stipple export: save it "
            "as a picture of its own with Save select)");
    }
    QStringList words{QStringLiteral("stipple"), QStringLiteral("export")};
    for (const std::string& word : exportOptionWords(format().id, settings_)) {
        words << shellWord(word);
    }
    // The name as the text holds it, whatever the file stores.
    words << QStringLiteral("--name") << shellWord(name);
    if (fromBox() && box.bufferFilled) {
        words << QStringLiteral("--box")
              << QStringLiteral("%1,%2,%3,%4")
                     .arg(box.boxLeft)
                     .arg(box.boxTop)
                     .arg(box.boxRight)
                     .arg(box.boxBottom);
    }
    words << QStringLiteral("PICTURE.stw");
    return words.join(' ');
}

bool ExportWindow::boxInPlace() const {
    const Selection& box = session_.selection();
    return !boxMoved_ && box.selWidth == box.boxRight - box.boxLeft + 1 &&
           box.selHeight == box.boxBottom - box.boxTop + 1;
}

void ExportWindow::sessionChanged(const Session&, const Changes& changes) {
    using namespace changed;
    const unsigned what = changes.what;
    if ((what & kBox) != 0) {
        boxMoved_ = false;
    } else if ((what & (kBuffer | kSize)) != 0) {
        boxMoved_ = true;  // its cells no longer stand where they were copied from
    }
    const unsigned shape = kSize | (fromBox() ? kBox | kBuffer : 0u);
    if ((what & shape) != 0) {
        mapBytes();
    }
    if ((what & (kCells | kSize | kName | kBox | kBuffer)) != 0) {
        refresh();
    }
    if ((what & (kView | kBox | kBuffer)) != 0) {
        frameTracedByte();
    }
}

void ExportWindow::traceFromText(int position) {
    tracedByte_ = -1;
    const auto after = std::upper_bound(
        spans_.begin(), spans_.end(), position,
        [this](int p, const ValueSpan& s) { return p < static_cast<int>(s.offset) + spanShift_; });
    if (position >= 0 && after != spans_.begin()) {
        const ValueSpan& span = *(after - 1);
        const int start = static_cast<int>(span.offset) + spanShift_;
        if (position <= start + static_cast<int>(span.length)) {
            tracedByte_ = static_cast<int>(after - 1 - spans_.begin());
        }
    }
    frameTracedByte();
}

void ExportWindow::frameTracedByte() {
    if (tracedByte_ >= static_cast<int>(spans_.size())) {
        tracedByte_ = -1;
    }
    QList<QRect> frames;
    const Selection& box = session_.selection();
    // The copied box is framed where it was copied from, unless it has been moved since.
    if (tracedByte_ >= 0 && tracedByte_ < static_cast<int>(byteMap_.size()) &&
        (!fromBox() || boxInPlace())) {
        const SurfaceGeometry geometry = session_.geometry();
        const int left = fromBox() ? box.boxLeft - 1 : 0;
        const int top = fromBox() ? box.boxTop - 1 : 0;
        for (const BitPlace& place : byteMap_[static_cast<std::size_t>(tracedByte_)]) {
            const CellRect at = geometry.cell(left + place.x, top + place.y);
            const QRect cell(at.left, at.top, at.size, at.size);
            if (!frames.contains(cell)) {
                frames.push_back(cell);
            }
        }
    }
    surface_.setTraceFrames(frames);
    showHighlights();
}

void ExportWindow::traceFromCell(int x, int y) {
    const Selection& box = session_.selection();
    if (fromBox()) {
        // The cells of a box moved since it was copied are not where the pointer is.
        const bool inPlace = boxInPlace();
        x = inPlace ? x - (box.boxLeft - 1) : 0;
        y = inPlace ? y - (box.boxTop - 1) : 0;
    }
    const bool inside = x >= 1 && y >= 1 && x <= mapWidth_ && y <= mapHeight_;
    tracedX_ = inside ? x : 0;
    tracedY_ = inside ? y : 0;
    showHighlights();
    // The first number of the cell is scrolled into sight.
    const std::vector<std::pair<int, int>> shown = highlighted();
    if (inside && !shown.empty() && isVisible()) {
        QTextCursor cursor(text_->document());
        cursor.setPosition(shown.front().first);
        text_->setTextCursor(cursor);
        text_->ensureCursorVisible();
    }
}

std::vector<std::pair<int, int>> ExportWindow::highlighted() const {
    std::vector<std::pair<int, int>> ranges;
    if (tracedX_ < 1 || tracedY_ < 1 || tracedX_ > mapWidth_ || tracedY_ > mapHeight_) {
        return ranges;
    }
    for (const int b :
         bytesOfCell_[static_cast<std::size_t>((tracedY_ - 1) * mapWidth_ + tracedX_ - 1)]) {
        if (b < static_cast<int>(spans_.size())) {
            const ValueSpan& span = spans_[static_cast<std::size_t>(b)];
            ranges.emplace_back(static_cast<int>(span.offset) + spanShift_,
                                static_cast<int>(span.length));
        }
    }
    return ranges;
}

void ExportWindow::showHighlights() {
    QList<QTextEdit::ExtraSelection> marks;
    const auto mark = [&](int position, int length, const QColor& colour) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(text_->document());
        selection.cursor.setPosition(position);
        selection.cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        selection.format.setBackground(colour);
        marks.push_back(selection);
    };
    for (const auto& [position, length] : highlighted()) {
        mark(position, length, QColor(255, 230, 120));
    }
    if (tracedByte_ >= 0 && tracedByte_ < static_cast<int>(spans_.size())) {
        const ValueSpan& span = spans_[static_cast<std::size_t>(tracedByte_)];
        mark(static_cast<int>(span.offset) + spanShift_, static_cast<int>(span.length),
             QColor(255, 180, 180));
    }
    text_->setExtraSelections(marks);
}

bool ExportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            // One way at a time: the cell last pointed at lets go of its numbers.
            tracedX_ = tracedY_ = 0;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            traceFromText(text_->cursorForPosition(at).position());
        } else if (event->type() == QEvent::Leave) {
            traceFromText(-1);
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
    if (!ready_) {
        mapBytes();
        refresh();
    }
}

void ExportWindow::hideEvent(QHideEvent* event) {
    traceFromText(-1);
    storeSettings();
    QWidget::hideEvent(event);
}

void ExportWindow::writeToFile(bool append) {
    refresh();  // the name box may have changed since
    if (save_->isEnabled()) {
        runCommand(this, [&] { writeExportText(session_, bytes_, append); });
    }
}

void ExportWindow::copyText() {
    refresh();
    if (copy_->isEnabled()) {
        runCommand(this, [this] { session_.host().setClipboardText(bytes_); });
    }
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
