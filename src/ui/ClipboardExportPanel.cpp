#include "ui/ClipboardExportPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

#include "formats/ExportFormats.h"
#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

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
    // The items in the table's order; exportFormatForPanelItem knows them by index.
    int id = 0;
    for (const ExportFormatRow& row : exportFormats()) {
        if (row.family != FormatFamily::ClipboardText) {
            continue;
        }
        auto* radio =
            new QRadioButton(QString::fromUtf8(row.label.data(), row.label.size()), formats);
        radio->setGeometry(5, 17 + 17 * id, 127, 17);
        radio->setChecked(row.id == ExportFormat::Asm8);
        formatItems_->addButton(radio, id++);
    }

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
