// The Export window's controls, the settings they stand for, and their keeping between runs.
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <algorithm>

#include "ui/CommandErrors.h"
#include "ui/ExportWindow.h"

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

QSettings programSettings() {
    return QSettings(QStringLiteral("stippleworkshop"), QStringLiteral("stippleworkshop"));
}

}  // namespace

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
    mask_ = check(this, "exportMask", "Mas&k");
    preview_ = check(this, "exportPreview", "Previe&w");

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
    save_ = new QPushButton(QStringLiteral("Sa&ve..."), this);
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
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

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
    // Only the packed texts and the rows scan align; elsewhere the box is off and means no.
    layout.align = align_->isChecked() &&
                   (format().family != FormatFamily::Device || layout.scan == Scan::Rows);
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
    mapBytes();
    refresh();
}

void ExportWindow::loadSettings() {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Export"));
    if (!setFormatNamed(stored.value(QStringLiteral("format")).toString().toStdString())) {
        setFormatNamed("gas");
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
    if (layoutProblem(settings_.layout).empty()) {
        stored.setValue(QStringLiteral("layout"),
                        QString::fromStdString(layoutWords(settings_.layout)));
    }
    stored.setValue(QStringLiteral("base"), static_cast<int>(settings_.base));
    stored.setValue(QStringLiteral("preview"), settings_.preview);
    if (placed_) {
        stored.setValue(QStringLiteral("geometry"), saveGeometry());
    }
}

}  // namespace stipple::ui
