#include "ui/ExportWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTextBlock>
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

// The words of the layout choices, as the option words and the stored settings spell them.
const char* const kDepths[] = {"1", "2", "4", "8"};
const char* const kOrders[] = {"lsb", "msb"};
const char* const kScans[] = {"rows", "pages", "tiles"};
const char* const kPlanes[] = {"packed", "separate", "interleaved"};
const char* const kBases[] = {"dec", "hex", "bin"};
const char* const kSources[] = {"Whole picture", "Copied box"};
const char* const kCustom[] = {"custom"};

template <std::size_t N>
QComboBox* choice(QWidget* parent, const char* name, const char* const (&items)[N]) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    for (const char* item : items) {
        box->addItem(QString::fromUtf8(item));
    }
    return box;
}

QCheckBox* check(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A word of a command line, quoted for a POSIX shell where it needs it.
QString shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 ||
               std::string_view("-_.,/=+:%").find(static_cast<char>(c)) != std::string_view::npos;
    });
    if (plain) {
        return QString::fromStdString(word);
    }
    QString quoted = QStringLiteral("'");
    for (const char c : word) {
        quoted += c == '\'' ? QStringLiteral("'\\''") : QString(QChar(c));
    }
    return quoted + QStringLiteral("'");
}

QSettings programSettings() {
    return QSettings(QStringLiteral("stippleworkshop"), QStringLiteral("stippleworkshop"));
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
        const int size = session_.pixelSize();
        const Picture& picture = session_.picture();
        const bool inside =
            x >= 0 && y >= 0 && x < picture.width * size && y < picture.height * size;
        traceFromCell(inside ? x / size + 1 : 0, inside ? y / size + 1 : 0);
    });
}

ExportWindow::~ExportWindow() {
    session_.unsubscribe(*this);
}

void ExportWindow::buildControls() {
    auto* grid = new QGridLayout(this);
    const auto row = [&](int r, int c, const char* caption, QWidget* control) {
        auto* shown = new QLabel(QString::fromUtf8(caption), this);
        shown->setBuddy(control);
        grid->addWidget(shown, r, c);
        grid->addWidget(control, r, c + 1);
    };
    source_ = choice(this, "exportSource", kSources);
    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("exportFormat"));
    for (const ExportFormatRow& f : exportFormats()) {
        format_->addItem(fromView(f.label));
    }
    target_ = choice(this, "exportTarget", kCustom);
    for (const std::string_view t : kTargetNames) {
        target_->addItem(fromView(t));
    }
    depth_ = choice(this, "exportDepth", kDepths);
    levels_ = new QLineEdit(this);
    levels_->setObjectName(QStringLiteral("exportLevels"));
    levels_->setToolTip(
        QStringLiteral("The codes of black, 66 % gray, 33 % gray, white and "
                       "transparent"));
    order_ = choice(this, "exportOrder", kOrders);
    scan_ = choice(this, "exportScan", kScans);
    planes_ = choice(this, "exportPlanes", kPlanes);
    base_ = choice(this, "exportBase", kBases);
    align_ = check(this, "exportAlign", "&Align rows to bytes");
    mask_ = check(this, "exportMask", "&Mask");
    preview_ = check(this, "exportPreview", "&Preview");

    row(0, 0, "&Export:", source_);
    row(0, 2, "&Format:", format_);
    row(0, 4, "&Target:", target_);
    row(1, 0, "&Depth:", depth_);
    row(1, 2, "&Levels:", levels_);
    row(1, 4, "&Order:", order_);
    row(2, 0, "&Scan:", scan_);
    row(2, 2, "Pla&nes:", planes_);
    row(2, 4, "&Base:", base_);
    auto* checks = new QHBoxLayout;
    checks->addWidget(align_);
    checks->addWidget(mask_);
    checks->addWidget(preview_);
    checks->addStretch();
    grid->addLayout(checks, 3, 0, 1, 6);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("exportText"));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->viewport()->setMouseTracking(true);
    text_->viewport()->installEventFilter(this);
    grid->addWidget(text_, 4, 0, 1, 6);
    grid->setRowStretch(4, 1);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("exportCount"));
    count_->setWordWrap(true);
    grid->addWidget(count_, 5, 0, 1, 6);
    command_ = new QLineEdit(this);
    command_->setObjectName(QStringLiteral("exportCommand"));
    command_->setReadOnly(true);
    row(6, 0, "Co&mmand:", command_);
    grid->removeWidget(command_);
    grid->addWidget(command_, 6, 1, 1, 5);

    auto* buttons = new QHBoxLayout;
    copy_ = new QPushButton(QStringLiteral("&Copy"), this);
    copy_->setObjectName(QStringLiteral("exportCopy"));
    save_ = new QPushButton(QStringLiteral("&Save..."), this);
    save_->setObjectName(QStringLiteral("exportSave"));
    append_ = new QPushButton(QStringLiteral("A&ppend..."), this);
    append_->setObjectName(QStringLiteral("exportAppend"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("exportClose"));
    buttons->addStretch();
    for (QPushButton* b : {copy_, save_, append_, close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 7, 0, 1, 6);
    resize(640, 560);

    connect(copy_, &QPushButton::clicked, this,
            [this] { runCommand(this, [this] { session_.host().setClipboardText(bytes_); }); });
    connect(save_, &QPushButton::clicked, this, [this] { writeToFile(false); });
    connect(append_, &QPushButton::clicked, this, [this] { writeToFile(true); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    const auto changed = [this] {
        if (!changing_) {
            takeControls();
        }
    };
    for (QComboBox* box : {source_, format_, depth_, order_, scan_, planes_, base_}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    for (QCheckBox* box : {align_, mask_, preview_}) {
        connect(box, &QCheckBox::toggled, this, changed);
    }
    connect(levels_, &QLineEdit::textEdited, this, changed);
    // A target sets the whole layout at once; the options then change it further.
    connect(target_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (changing_ || index <= 0) {
            return;
        }
        settings_.layout = *layoutForTarget(kTargetNames[index - 1]);
        showControls();
    });
}

const ExportFormatRow& ExportWindow::format() const {
    const std::span<const ExportFormatRow> all = exportFormats();
    return all[static_cast<std::size_t>(
        std::clamp(format_->currentIndex(), 0, static_cast<int>(all.size()) - 1))];
}

bool ExportWindow::setFormatNamed(std::string_view commandName) {
    const std::span<const ExportFormatRow> all = exportFormats();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].commandName == commandName) {
            format_->setCurrentIndex(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

bool ExportWindow::fromBox() const {
    return source_->currentIndex() == 1;
}

void ExportWindow::takeControls() {
    ByteLayout& layout = settings_.layout;
    const int depth = std::stoi(kDepths[depth_->currentIndex()]);
    if (depth != layout.depth) {
        layout.depth = depth;
        layout.levels = defaultLevels(depth);  // as stipple's --depth does
    } else {
        setLayoutWord(layout, "levels", levels_->text().toStdString());
    }
    layout.order = static_cast<BitOrder>(order_->currentIndex());
    layout.scan = static_cast<Scan>(scan_->currentIndex());
    layout.planes = static_cast<Planes>(planes_->currentIndex());
    layout.align = align_->isChecked();
    layout.mask = mask_->isChecked();
    settings_.base = static_cast<Base>(base_->currentIndex());
    settings_.preview = preview_->isChecked();
    showControls();
}

void ExportWindow::showControls() {
    changing_ = true;
    const ByteLayout& layout = settings_.layout;
    const int depthIndex = layout.depth == 1   ? 0
                           : layout.depth == 2 ? 1
                           : layout.depth == 4 ? 2
                                               : 3;
    depth_->setCurrentIndex(depthIndex);
    const std::string levels = layoutWords(layout);
    const std::size_t at = levels.find("levels ") + 7;
    const QString shownLevels =
        QString::fromStdString(levels.substr(at, levels.find(' ', at) - at));
    // The field keeps what is being typed until it reads as five codes.
    ByteLayout typed = layout;
    if (!setLayoutWord(typed, "levels", levels_->text().toStdString()).empty() ||
        typed.levels != layout.levels) {
        levels_->setText(shownLevels);
    }
    order_->setCurrentIndex(static_cast<int>(layout.order));
    scan_->setCurrentIndex(static_cast<int>(layout.scan));
    planes_->setCurrentIndex(static_cast<int>(layout.planes));
    align_->setChecked(layout.align);
    mask_->setChecked(layout.mask);
    base_->setCurrentIndex(static_cast<int>(settings_.base));
    preview_->setChecked(settings_.preview);
    int target = 0;
    for (std::size_t t = 0; t < std::size(kTargetNames); ++t) {
        if (layoutForTarget(kTargetNames[t]) == layout) {
            target = static_cast<int>(t) + 1;
        }
    }
    target_->setCurrentIndex(target);

    const ExportFormatRow& row = format();
    const bool device = row.family == FormatFamily::Device;
    for (QWidget* w :
         std::initializer_list<QWidget*>{target_, depth_, levels_, order_, scan_, planes_, mask_}) {
        w->setEnabled(device);
    }
    base_->setEnabled(device && row.id != ExportFormat::Bin);
    preview_->setEnabled(device && row.id != ExportFormat::Bin);
    const bool packed = row.id == ExportFormat::Asm1 || row.id == ExportFormat::Asm2 ||
                        row.id == ExportFormat::Asm4;
    align_->setEnabled(packed || (device && layout.scan == Scan::Rows));
    copy_->setEnabled(row.id != ExportFormat::Bin);
    copy_->setToolTip(row.id == ExportFormat::Bin ? QStringLiteral("Bytes go to a file only")
                                                  : QString());
    changing_ = false;
    storeSettings();
    mapBytes();
    refresh();
}

void ExportWindow::loadSettings() {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Export"));
    const std::string formatName =
        stored.value(QStringLiteral("format"), "gas").toString().toStdString();
    const std::span<const ExportFormatRow> all = exportFormats();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].commandName == formatName) {
            format_->setCurrentIndex(static_cast<int>(i));
        }
    }
    source_->setCurrentIndex(
        stored.value(QStringLiteral("source")).toString() == QStringLiteral("box") ? 1 : 0);
    // The layout as the words of a text's first line; a word not read keeps its default.
    const QStringList words = stored.value(QStringLiteral("layout")).toString().split(' ');
    ByteLayout layout;
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        if (words[i] == QStringLiteral("align")) {
            layout.align = words[i + 1] == QStringLiteral("yes");
        } else {
            setLayoutWord(layout, words[i].toStdString(), words[i + 1].toStdString());
        }
    }
    if (layoutProblem(layout).empty()) {
        settings_.layout = layout;
    }
    const int base = stored.value(QStringLiteral("base"), 0).toInt();
    settings_.base = static_cast<Base>(std::clamp(base, 0, 2));
    settings_.preview = stored.value(QStringLiteral("preview"), false).toBool();
    settingsHadGeometry_ = restoreGeometry(stored.value(QStringLiteral("geometry")).toByteArray());
}

void ExportWindow::storeSettings() const {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Export"));
    stored.setValue(QStringLiteral("format"), fromView(format().commandName));
    stored.setValue(QStringLiteral("source"),
                    fromBox() ? QStringLiteral("box") : QStringLiteral("picture"));
    stored.setValue(QStringLiteral("layout"),
                    QString::fromStdString(layoutWords(settings_.layout)));
    stored.setValue(QStringLiteral("base"), static_cast<int>(settings_.base));
    stored.setValue(QStringLiteral("preview"), settings_.preview);
    stored.setValue(QStringLiteral("geometry"), saveGeometry());
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
    const std::string name = session_.host().pictureName();
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
    count_->setText(written ? QStringLiteral("%1 bytes").arg(spans_.size())
                            : QString::fromStdString(problem));
    save_->setEnabled(written);
    append_->setEnabled(written);
    copy_->setEnabled(written && row.id != ExportFormat::Bin);

    QStringList words{QStringLiteral("stipple"), QStringLiteral("export")};
    for (const std::string& word : exportOptionWords(row.id, settings_)) {
        words << shellWord(word);
    }
    const Selection& box = session_.selection();
    if (fromBox() && box.bufferFilled) {
        words << QStringLiteral("--box")
              << QStringLiteral("%1,%2,%3,%4")
                     .arg(box.boxLeft)
                     .arg(box.boxTop)
                     .arg(box.boxRight)
                     .arg(box.boxBottom);
    }
    words << QStringLiteral("PICTURE.stw");
    command_->setText(words.join(' '));
    showHighlights();
}

void ExportWindow::sessionChanged(const Session&, const Changes& changes) {
    using namespace changed;
    const unsigned what = changes.what;
    const unsigned shape = kSize | (fromBox() ? kBox | kBuffer : 0u);
    if ((what & shape) != 0) {
        mapBytes();
    }
    if ((what & (kCells | kSize | kName | kBox | kBuffer)) != 0) {
        refresh();
    }
    if ((what & (kView | kSize)) != 0 && tracedByte_ >= 0) {
        const int position = tracedByte_ < static_cast<int>(spans_.size())
                                 ? static_cast<int>(spans_[tracedByte_].offset) + spanShift_
                                 : -1;
        traceFromText(position);
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
    QList<QRect> frames;
    const Selection& box = session_.selection();
    // The copied box is framed where it was copied from, unless it has been turned since.
    const bool boxInPlace = box.selWidth == box.boxRight - box.boxLeft + 1 &&
                            box.selHeight == box.boxBottom - box.boxTop + 1;
    if (tracedByte_ >= 0 && tracedByte_ < static_cast<int>(byteMap_.size()) &&
        (!fromBox() || boxInPlace)) {
        const int size = session_.pixelSize();
        const int left = fromBox() ? box.boxLeft - 1 : 0;
        const int top = fromBox() ? box.boxTop - 1 : 0;
        for (const BitPlace& place : byteMap_[static_cast<std::size_t>(tracedByte_)]) {
            const QRect cell((left + place.x - 1) * size, (top + place.y - 1) * size, size, size);
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
        x -= box.boxLeft - 1;
        y -= box.boxTop - 1;
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
    runCommand(this, [&] { writeExportText(session_, bytes_, append); });
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
