#include "ui/ClipboardExportPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The format items in the order shown; exportFormatForPanelItem knows them by index.
const char* const kFormatItems[] = {"C++ array format", "ASM 1bpp format", "ASM 2bpp format",
                                    "ASM 4bpp format", "ASM 8bpp format"};
constexpr int kAsm8Item = 4;

struct ExportButton {
    const char* name;
    const char* hint;
    Glyph glyph;
    int top;
    ExportSource source;
};
const ExportButton kExportButtons[] = {
    {"BitBtn1", "Move to ClipBoard", Glyph::ClipboardPanel, 16, ExportSource::Picture},
    {"BitBtn2", "Move to ClipBoard Selected Box", Glyph::SelectBox, 52, ExportSource::SelectedBox},
};

}  // namespace

ClipboardExportPanel::ClipboardExportPanel(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), session_(session) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Move to ClipBoard..."));
    setFixedSize(168, 134);
    move(660, 380);
    useWindowFont(this);

    auto* formats = new QGroupBox(QStringLiteral("Format"), this);
    formats->setObjectName(QStringLiteral("formats"));
    formats->setGeometry(3, 3, 135, 105);
    formatItems_ = new QButtonGroup(this);
    int id = 0;
    for (const char* item : kFormatItems) {
        auto* radio = new QRadioButton(QString::fromUtf8(item), formats);
        radio->setGeometry(5, 17 + 17 * id, 127, 17);
        formatItems_->addButton(radio, id++);
    }
    formatItems_->button(kAsm8Item)->setChecked(true);

    alignBox_ = new QCheckBox(QStringLiteral("align up to byte"), this);
    alignBox_->setObjectName(QStringLiteral("alignbox"));
    alignBox_->setGeometry(6, 112, 156, 17);

    for (const ExportButton& e : kExportButtons) {
        QPushButton* b = pushButton(this, e.name, "", QRect(141, e.top, 24, 26));
        b->setToolTip(QString::fromUtf8(e.hint));
        b->setIcon(glyphIcon(e.glyph));
        b->setIconSize(QSize(16, 16));
        connect(b, &QPushButton::clicked, this,
                [this, source = e.source] { runCommand(this, [&] { exportFrom(source); }); });
    }
}

// The toolbar's align button has no say here: the panel has its own box. The box goes
// to the clipboard only once one has been copied.
void ClipboardExportPanel::exportFrom(ExportSource source) {
    if (const std::optional<ExportFormat> format =
            exportFormatForPanelItem(formatItems_->checkedId())) {
        copyExportToClipboard(session_, source, *format, alignBox_->isChecked());
    }
}

}  // namespace stipple::ui
