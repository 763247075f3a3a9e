#include "ui/FramesWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <optional>
#include <utility>

#include "editor/FrameCommands.h"
#include "formats/FontSample.h"
#include "ui/CodePointBox.h"
#include "ui/CommandErrors.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/FramesViews.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

constexpr int kMaxPlayerPixelSize = 8;
constexpr int kMaxSamplePixelSize = 8;
// The sample line's room, in screen pixels; a taller line scrolls.
constexpr int kMaxSampleRoom = 160;
const QString kDefaultSample = QStringLiteral("The quick brown fox jumps");

int frameInterval(int framesPerSecond) {
    return static_cast<int>(std::lround(1000.0 / std::max(framesPerSecond, 1)));
}

}  // namespace

FramesWindow::FramesWindow(Session& session, CommandControls& commands, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("FramesWindow"));
    setWindowTitle(QStringLiteral("Frames"));
    timer_.setObjectName(QStringLiteral("framesTimer"));
    timer_.setTimerType(Qt::PreciseTimer);
    buildControls(commands);
    loadSettings();
    session_.subscribe(*this);
    showFrames();
}

FramesWindow::~FramesWindow() {
    session_.unsubscribe(*this);
    storeSettings();
}

void FramesWindow::buildControls(CommandControls& commands) {
    auto* outer = new QVBoxLayout(this);

    strip_ = new FramesStrip(session_, this);
    strip_->setObjectName(QStringLiteral("framesStrip"));
    stripArea_ = new QScrollArea(this);
    stripArea_->setObjectName(QStringLiteral("framesStripArea"));
    stripArea_->setWidget(strip_);
    stripArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    stripArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stripArea_->setFocusPolicy(Qt::NoFocus);  // the strip itself takes the keys
    outer->addWidget(stripArea_);
    // Room for what a frame carries beyond its picture (a glyph's character and metrics).
    auto* details = new QVBoxLayout;
    details->setObjectName(QStringLiteral("framesDetails"));
    outer->addLayout(details);
    buildFontDetails(details);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](CommandId id, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromUtf8(namesOf(id).control));
        b->setAutoDefault(false);
        buttons->addWidget(b);
    };
    button(CommandId::NewFrame, "&New frame");
    button(CommandId::DuplicateFrame, "&Duplicate");
    button(CommandId::DeleteFrame, "Dele&te");
    button(CommandId::MoveFrameEarlier, "Move &earlier");
    button(CommandId::MoveFrameLater, "Move &later");
    buttons->addStretch();
    outer->addLayout(buttons);

    auto* playback = new QHBoxLayout;
    auto* settings = new QGridLayout;
    auto* onion = new QCheckBox(QStringLiteral("&Onion skin"), this);
    onion->setObjectName(QString::fromUtf8(namesOf(CommandId::OnionSkin).control));
    onion->setToolTip(QStringLiteral("The frame before shows faintly in the transparent cells"));
    settings->addWidget(onion, 0, 0, 1, 2);
    play_ = new QPushButton(QStringLiteral("&Play"), this);
    play_->setObjectName(QStringLiteral("framesPlay"));
    play_->setCheckable(true);
    play_->setAutoDefault(false);
    settings->addWidget(play_, 1, 0, 1, 2);
    const auto spin = [&](int row, const char* name, const char* caption, int most,
                          const char* suffix) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromUtf8(name));
        box->setRange(1, most);
        box->setSuffix(QString::fromUtf8(suffix));
        auto* shown = new QLabel(QString::fromUtf8(caption), this);
        shown->setBuddy(box);
        settings->addWidget(shown, row, 0);
        settings->addWidget(box, row, 1);
        return box;
    };
    rate_ = spin(2, "framesRate", "&Rate:", kMaxFrameRate, " fps");
    playerSize_ = spin(3, "framesPlayerSize", "Pi&xel size:", kMaxPlayerPixelSize, "");
    settings->setRowStretch(4, 1);
    playback->addLayout(settings);

    player_ = new FramesPlayer(session_, this);
    player_->setObjectName(QStringLiteral("framesPlayer"));
    auto* playerArea = new QScrollArea(this);
    playerArea->setObjectName(QStringLiteral("framesPlayerArea"));
    playerArea->setWidget(player_);
    playerArea->setAlignment(Qt::AlignCenter);
    playerArea->setFocusPolicy(Qt::NoFocus);
    playback->addWidget(playerArea, 1);
    outer->addLayout(playback, 1);
    resize(520, 620);

    const CommandId ids[] = {CommandId::NewFrame,       CommandId::DuplicateFrame,
                             CommandId::DeleteFrame,    CommandId::MoveFrameEarlier,
                             CommandId::MoveFrameLater, CommandId::OnionSkin};
    commands.bind(this, session_, ids, CommandControls::Names::Controls);

    connect(strip_, &FramesStrip::frameChosen, this,
            [this](int index) { runCommand(this, [&] { selectFrame(session_, index); }); });
    connect(play_, &QPushButton::toggled, this, &FramesWindow::setPlaying);
    connect(rate_, &QSpinBox::valueChanged, this,
            [this](int rate) { runCommand(this, [&] { setFrameRate(session_, rate); }); });
    connect(playerSize_, &QSpinBox::valueChanged, player_, &FramesPlayer::setPixelSize);
    connect(&timer_, &QTimer::timeout, this, [this] {
        player_->showFrame((player_->shownFrame() + 1) % session_.document().frameCount());
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

void FramesWindow::buildFontDetails(QVBoxLayout* details) {
    fontDetails_ = new QWidget(this);
    fontDetails_->setObjectName(QStringLiteral("fontDetails"));
    auto* rows = new QVBoxLayout(fontDetails_);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* fields = new QGridLayout;
    const auto caption = [&](QWidget* buddy, const char* text) {
        auto* shown = new QLabel(QString::fromUtf8(text), fontDetails_);
        shown->setBuddy(buddy);
        return shown;
    };
    const auto field = [&](QSpinBox* box, int row, int column, const char* name, const char* text) {
        box->setObjectName(QString::fromUtf8(name));
        box->setKeyboardTracking(false);  // one step when the typing is done, not one a digit
        fields->addWidget(caption(box, text), row, column);
        fields->addWidget(box, row, column + 1);
        connect(box, &QSpinBox::valueChanged, this, [this] { editGlyph(); });
    };
    const auto metric = [&] {
        auto* box = new QSpinBox(fontDetails_);
        box->setRange(-kMaxFontMetric, kMaxFontMetric);
        return box;
    };
    codePoint_ = new CodePointBox(fontDetails_);
    field(codePoint_, 0, 0, "glyphCodePoint", "&Code point:");
    field(advance_ = metric(), 0, 2, "glyphAdvance", "&Advance:");
    field(xOffset_ = metric(), 1, 0, "glyphXOffset", "X o&ffset:");
    field(yOffset_ = metric(), 1, 2, "glyphYOffset", "&Y offset:");
    fields->setColumnStretch(4, 1);
    rows->addLayout(fields);

    auto* line = new QHBoxLayout;
    sampleText_ = new QLineEdit(kDefaultSample, fontDetails_);
    sampleText_->setObjectName(QStringLiteral("fontSampleText"));
    sampleCharacters_ = kDefaultSample.toStdU32String();
    line->addWidget(caption(sampleText_, "Sa&mple:"));
    line->addWidget(sampleText_, 1);
    samplePixelSize_ = new QSpinBox(fontDetails_);
    samplePixelSize_->setObjectName(QStringLiteral("fontSamplePixelSize"));
    samplePixelSize_->setRange(1, kMaxSamplePixelSize);
    samplePixelSize_->setValue(2);
    line->addWidget(caption(samplePixelSize_, "Si&ze:"));
    line->addWidget(samplePixelSize_);
    rows->addLayout(line);

    sample_ = new SampleLineView(fontDetails_);
    sample_->setObjectName(QStringLiteral("fontSample"));
    sampleArea_ = new QScrollArea(fontDetails_);
    sampleArea_->setObjectName(QStringLiteral("fontSampleArea"));
    sampleArea_->setWidget(sample_);
    sampleArea_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sampleArea_->setFocusPolicy(Qt::NoFocus);
    rows->addWidget(sampleArea_);
    details->addWidget(fontDetails_);

    connect(sampleText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        sampleCharacters_ = text.toStdU32String();
        drawSample();
    });
    connect(samplePixelSize_, &QSpinBox::valueChanged, this, [this](int size) {
        sample_->setPixelSize(size);
        drawSample();
    });
}

void FramesWindow::showFont() {
    const bool font = session_.document().font.has_value();
    fontDetails_->setVisible(font);
    if (font) {
        showGlyphFields();
        drawSample();
    }
}

void FramesWindow::showGlyphFields() {
    const stipple::Glyph glyph =
        session_.document().currentFrame().glyph.value_or(stipple::Glyph{});
    const std::pair<QSpinBox*, int> shown[] = {{codePoint_, glyph.codePoint},
                                               {advance_, glyph.advance},
                                               {xOffset_, glyph.xOffset},
                                               {yOffset_, glyph.yOffset}};
    for (const auto& [box, value] : shown) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
}

void FramesWindow::editGlyph() {
    runCommand(this, [&] {
        setGlyph(session_,
                 {codePoint_->value(), advance_->value(), xOffset_->value(), yOffset_->value()});
    });
    showGlyphFields();  // a refused code point shows the glyph's own again
}

void FramesWindow::drawSample() {
    if (!session_.document().font) {
        return;
    }
    sample_->showLine(drawSampleLine(session_.document(), sampleText_->text().toStdString()));
    const int room = std::min(sample_->height(), kMaxSampleRoom) +
                     sampleArea_->horizontalScrollBar()->sizeHint().height() +
                     2 * sampleArea_->frameWidth();
    if (sampleArea_->height() != room) {
        sampleArea_->setFixedHeight(room);
    }
}

void FramesWindow::setPlaying(bool on) {
    if (on == playing()) {
        return;
    }
    if (on) {
        timer_.start(frameInterval(session_.document().frameRate));
    } else {
        timer_.stop();
        player_->showFrame(session_.document().current);
    }
    const QSignalBlocker quiet(play_);
    play_->setChecked(on);
    play_->setText(on ? QStringLiteral("&Stop") : QStringLiteral("&Play"));
}

void FramesWindow::showFrames() {
    const Document& document = session_.document();
    strip_->rebuild();
    stripArea_->setFixedHeight(strip_->height() +
                               stripArea_->horizontalScrollBar()->sizeHint().height() +
                               2 * stripArea_->frameWidth());
    // The current slot whole in sight (its left edge first where the view is narrower).
    const QRect current = strip_->slotRect(document.current);
    QScrollBar* bar = stripArea_->horizontalScrollBar();
    const int inSight = stripArea_->viewport()->width();
    if (current.right() >= bar->value() + inSight) {
        bar->setValue(current.right() + 1 - inSight);
    }
    if (current.left() < bar->value()) {
        bar->setValue(current.left());
    }
    {
        const QSignalBlocker quiet(rate_);
        rate_->setValue(document.frameRate);
    }
    if (playing()) {
        timer_.setInterval(frameInterval(document.frameRate));
    }
    player_->refresh();
    if (!playing()) {
        player_->showFrame(document.current);
    }
    showFont();
}

void FramesWindow::sessionChanged(const Session& session, const Changes& changes) {
    using namespace changed;
    if (changes.has(kFrames | kSize)) {
        showFrames();
        return;
    }
    if (changes.has(kCells | kName)) {
        // One press repaints one cell; a new name, the caption of its slot.
        const bool oneCell = !changes.has(kName);
        strip_->refreshCurrent(oneCell ? changes.cellX : 0, oneCell ? changes.cellY : 0);
        if (player_->shownFrame() == session.document().current && changes.has(kCells)) {
            player_->refreshCell(changes.cellX, changes.cellY);
        }
        const std::optional<stipple::Glyph>& glyph = session.document().currentFrame().glyph;
        if (changes.has(kCells) && session.document().font && glyph &&
            sampleCharacters_.find(static_cast<char32_t>(glyph->codePoint)) !=
                std::u32string::npos) {
            drawSample();
        }
    }
}

void FramesWindow::showEvent(QShowEvent* event) {
    // The first time, beside the main window, at its foot where the screen has room.
    if (!placed_ && parentWidget() != nullptr && !settingsHadGeometry_) {
        const QRect main = parentWidget()->window()->frameGeometry();
        const QRect screen = parentWidget()->window()->screen()->availableGeometry();
        if (main.right() + 8 + width() <= screen.right()) {
            move(main.right() + 8, std::max(main.top(), main.bottom() - height()));
        }
    }
    placed_ = true;
    QWidget::showEvent(event);
}

void FramesWindow::hideEvent(QHideEvent* event) {
    setPlaying(false);
    storeSettings();
    QWidget::hideEvent(event);
}

void FramesWindow::loadSettings() {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Frames"));
    playerSize_->setValue(stored.value(QStringLiteral("playerSize"), 3).toInt());
    samplePixelSize_->setValue(stored.value(QStringLiteral("samplePixelSize"), 2).toInt());
    player_->setPixelSize(playerSize_->value());
    settingsHadGeometry_ = restoreGeometry(stored.value(QStringLiteral("geometry")).toByteArray());
}

void FramesWindow::storeSettings() const {
    QSettings stored = programSettings();
    stored.beginGroup(QStringLiteral("Frames"));
    stored.setValue(QStringLiteral("playerSize"), playerSize_->value());
    stored.setValue(QStringLiteral("samplePixelSize"), samplePixelSize_->value());
    if (placed_) {
        stored.setValue(QStringLiteral("geometry"), saveGeometry());
    }
}

}  // namespace stipple::ui
