#include "export/MoveToClipboardPanel.h"
#include "app/WindowSetupShell.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

#include "app/Editor.h"
#include "app/Glyphs.h"
#include "export/ExportCommands.h"
#include "export/ExportText.h"

namespace {

constexpr int kAsm8Item = 4;

QPushButton* exportButton(QWidget* parent, const char* name, const char* hint, stipple::Glyph glyph,
                          int top) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(QString::fromUtf8(hint));
    b->setIcon(stipple::glyphIcon(glyph));
    b->setIconSize(QSize(16, 16));
    b->setGeometry(141, top, 24, 26);
    return b;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Move to ClipBoard..."));
    setFixedSize(168, 134);
    move(660, 380);
    stipple::useWindowFont(this);

    formats = new QGroupBox(QStringLiteral("Format"), this);
    formats->setObjectName(QStringLiteral("formats"));
    formats->setGeometry(3, 3, 135, 105);
    formatItems = new QButtonGroup(this);
    const char* const items[] = {"C++ array format", "ASM 1bpp format", "ASM 2bpp format",
                                 "ASM 4bpp format", "ASM 8bpp format"};
    int id = 0;
    for (const char* item : items) {
        auto* radio = new QRadioButton(QString::fromUtf8(item), formats);
        radio->setGeometry(5, 17 + 17 * id, 127, 17);
        formatItems->addButton(radio, id++);
    }
    formatItems->button(kAsm8Item)->setChecked(true);

    alignbox = new QCheckBox(QStringLiteral("align up to byte"), this);
    alignbox->setObjectName(QStringLiteral("alignbox"));
    alignbox->setGeometry(6, 112, 156, 17);

    BitBtn1 =
        exportButton(this, "BitBtn1", "Move to ClipBoard", stipple::Glyph::ClipboardPanel, 16);
    BitBtn2 = exportButton(this, "BitBtn2", "Move to ClipBoard Selected Box",
                           stipple::Glyph::SelectBox, 52);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm4::BitBtn2Click);
}

void TForm4::setEditor(stipple::Editor* editor) {
    editor_ = editor;
}

int TForm4::formatsItemIndex() const {
    return formatItems->checkedId();
}

void TForm4::BitBtn1Click() {
    exportTo(stipple::ExportSource::Picture);
}

// The editor leaves the clipboard alone when no box has been copied.
void TForm4::BitBtn2Click() {
    exportTo(stipple::ExportSource::SelectedBox);
}

void TForm4::exportTo(stipple::ExportSource source) {
    const std::optional<int> code = stipple::formatCodeForPanelItem(formatsItemIndex());
    if (editor_ == nullptr || !code) {
        return;
    }
    editor_->copyExportToClipboard(source, *code, alignbox->isChecked());
}
