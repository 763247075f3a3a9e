// The Export window's controls, filled from the preview's words, and the keeping of its
// settings between runs.
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

#include "ui/CommandErrors.h"
#include "ui/ExportWindow.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The list's items become the words, changed ones renamed in place.
void fill(QComboBox* box, const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const QString word = QString::fromStdString(words[i]);
        const int at = static_cast<int>(i);
        if (at >= box->count()) {
            box->addItem(word);
        } else if (box->itemText(at) != word) {
            box->setItemText(at, word);
        }
    }
    while (box->count() > static_cast<int>(words.size())) {
        box->removeItem(box->count() - 1);
    }
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
    const auto list = [&](const char* name, ExportOption option) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromUtf8(name));
        lists_.emplace_back(box, option);
        return box;
    };
    const auto tick = [&](const char* name, const char* caption, ExportOption option) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QString::fromUtf8(name));
        ticks_.emplace_back(box, option);
        return box;
    };
    levels_ = new QLineEdit(this);
    levels_->setObjectName(QStringLiteral("exportLevels"));
    levels_->setToolTip(
        QStringLiteral("The codes of black, 66 % gray, 33 % gray, white and "
                       "transparent"));
    levelsProblem_ = new QLabel(this);
    levelsProblem_->setObjectName(QStringLiteral("exportLevelsProblem"));
    levelsProblem_->setWordWrap(true);
    levelsProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
    levelsProblem_->hide();

    row(0, 0, "&Export:", list("exportSource", ExportOption::Source));
    row(0, 2, "&Format:", list("exportFormat", ExportOption::Format));
    QComboBox* target = list("exportTarget", ExportOption::Target);
    row(0, 4, "&Target:", target);
    row(1, 0, "&Depth:", list("exportDepth", ExportOption::Depth));
    row(1, 2, "&Levels:", levels_);
    row(1, 4, "&Order:", list("exportOrder", ExportOption::Order));
    grid->addWidget(levelsProblem_, 2, 3, 1, 3);  // under the field, while it says why
    row(3, 0, "&Scan:", list("exportScan", ExportOption::Scan));
    row(3, 2, "Pla&nes:", list("exportPlanes", ExportOption::Planes));
    row(3, 4, "&Base:", list("exportBase", ExportOption::Base));
    auto* checks = new QHBoxLayout;
    checks->addWidget(tick("exportAlign", "&Align rows to bytes", ExportOption::Align));
    checks->addWidget(tick("exportMask", "Mas&k", ExportOption::Mask));
    checks->addWidget(tick("exportPreview", "Previe&w", ExportOption::Preview));
    checks->addStretch();
    grid->addLayout(checks, 4, 0, 1, 6);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("exportText"));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->viewport()->setMouseTracking(true);
    text_->viewport()->installEventFilter(this);
    grid->addWidget(text_, 5, 0, 1, 6);
    grid->setRowStretch(5, 1);

    // Beside the settings and the text: what the device shows of the bytes.
    row(0, 6, "S&hows as:", list("exportDeviceColours", ExportOption::DeviceColours));
    device_ = new DeviceViewWidget(this);
    device_->setObjectName(QStringLiteral("exportDeviceView"));
    device_->setToolTip(
        QStringLiteral("The bytes read back through the layout, as the device "
                       "shows them"));
    grid->addWidget(device_, 1, 6, 5, 2);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("exportCount"));
    count_->setWordWrap(true);
    grid->addWidget(count_, 6, 0, 1, 6);
    command_ = new QLineEdit(this);
    command_->setObjectName(QStringLiteral("exportCommand"));
    command_->setReadOnly(true);
    row(7, 0, "Co&mmand:", command_);
    grid->removeWidget(command_);
    grid->addWidget(command_, 7, 1, 1, 5);

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
    grid->addLayout(buttons, 8, 0, 1, 6);
    resize(860, 560);

    connect(copy_, &QPushButton::clicked, this,
            [this] { runCommand(this, [this] { preview_.copy(); }); });
    connect(save_, &QPushButton::clicked, this,
            [this] { runCommand(this, [this] { preview_.save(); }); });
    connect(append_, &QPushButton::clicked, this,
            [this] { runCommand(this, [this] { preview_.append(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    for (const auto& [box, option] : lists_) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, option](int item) {
            if (!changing_) {
                preview_.choose(option, item);
            }
        });
    }
    // The target shown with options on top, chosen again, is the target alone.
    connect(target, &QComboBox::activated, this, [this](int item) {
        if (item == preview_.choice(ExportOption::Target)) {
            preview_.choose(ExportOption::Target, item);
        }
    });
    for (const auto& [box, option] : ticks_) {
        connect(box, &QCheckBox::toggled, this, [this, option](bool on) {
            if (!changing_) {
                preview_.check(option, on);
            }
        });
    }
    connect(levels_, &QLineEdit::textEdited, this,
            [this](const QString& text) { preview_.typeLevels(text.toStdString()); });
}

void ExportWindow::showChoices() {
    changing_ = true;
    for (const auto& [box, option] : lists_) {
        fill(box, preview_.choices(option));
        box->setCurrentIndex(preview_.choice(option));
        box->setEnabled(preview_.applies(option));
        if (option == ExportOption::Target) {
            box->setToolTip(box->currentText());  // with options on top it may read longer
        }
    }
    for (const auto& [box, option] : ticks_) {
        box->setChecked(preview_.checked(option));
        box->setEnabled(preview_.applies(option));
    }
    // The field keeps what is being typed; it changes only when the levels come from
    // elsewhere (a depth, a target).
    const QString levels = QString::fromStdString(preview_.levelsText());
    if (levels_->text() != levels) {
        levels_->setText(levels);
    }
    levels_->setEnabled(preview_.applies(ExportOption::Levels));
    levelsProblem_->setText(QString::fromStdString(preview_.levelsProblem()));
    levelsProblem_->setVisible(!preview_.levelsProblem().empty());
    copy_->setToolTip(QString::fromStdString(preview_.copyRefusal()));
    changing_ = false;
}

void ExportWindow::loadSettings() {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Export"));
    std::vector<std::pair<std::string, std::string>> words;
    for (const std::string_view key : ExportPreview::kStoredKeys) {
        if (stored.contains(fromView(key))) {
            words.emplace_back(key, stored.value(fromView(key)).toString().toStdString());
        }
    }
    preview_.restore(words);
    settingsHadGeometry_ = restoreGeometry(stored.value(QStringLiteral("geometry")).toByteArray());
}

void ExportWindow::storeSettings() const {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Export"));
    for (const auto& [key, word] : preview_.storedSettings()) {
        stored.setValue(QString::fromStdString(key), QString::fromStdString(word));
    }
    if (placed_) {
        stored.setValue(QStringLiteral("geometry"), saveGeometry());
    }
}

}  // namespace stipple::ui
