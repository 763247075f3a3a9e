#include "ui/NewFontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/CodePointBox.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

const QString kOutlineFontFilter =
    QStringLiteral("(Outline fonts *.ttf *.otf *.ttc *.pfb) (*.ttf *.otf *.ttc *.pfb)");

// A row of the form whose caption's key takes the focus to `buddy`.
void addRow(QFormLayout* form, const char* caption, QWidget* buddy, QLayout* row) {
    auto* shown = new QLabel(QString::fromUtf8(caption), buddy->parentWidget());
    shown->setBuddy(buddy);
    row->setContentsMargins(0, 0, 0, 0);
    form->addRow(shown, row);
}

}  // namespace

NewFontDialog::NewFontDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewFontDialog"));
    setWindowTitle(QStringLiteral("New Font"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    auto* source = new QHBoxLayout;
    family_ = new QComboBox(this);
    family_->setObjectName(QStringLiteral("newFontFamily"));
    family_->setEditable(true);
    family_->setInsertPolicy(QComboBox::NoInsert);
    family_->addItems(QFontDatabase::families());
    // The family the system's fixed font resolves to, rather than an alias of it.
    family_->setCurrentText(
        QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family());
    family_->setMinimumContentsLength(24);
    source->addWidget(family_, 1);
    browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
    browse_->setObjectName(QStringLiteral("newFontBrowse"));
    browse_->setAutoDefault(false);
    source->addWidget(browse_);
    addRow(form, "&Family or file:", family_, source);

    pixelSize_ = new QSpinBox(this);
    pixelSize_->setObjectName(QStringLiteral("newFontPixelSize"));
    pixelSize_->setRange(kMinOutlinePixels, kMaxOutlinePixels);
    pixelSize_->setValue(OutlineFontRequest{}.pixelSize);
    pixelSize_->setSuffix(QStringLiteral(" pixels"));
    auto* size = new QHBoxLayout;
    size->addWidget(pixelSize_);
    size->addStretch();
    addRow(form, "&Size:", pixelSize_, size);

    auto* range = new QHBoxLayout;
    first_ = new CodePointBox(this);
    first_->setObjectName(QStringLiteral("newFontFirst"));
    first_->setValue(OutlineFontRequest{}.first);
    last_ = new CodePointBox(this);
    last_->setObjectName(QStringLiteral("newFontLast"));
    last_->setValue(OutlineFontRequest{}.last);
    range->addWidget(first_);
    range->addWidget(new QLabel(QStringLiteral("to"), this));
    range->addWidget(last_);
    range->addStretch();
    addRow(form, "&Characters:", first_, range);

    auto* grays = new QHBoxLayout;
    blackAndWhite_ = new QRadioButton(QStringLiteral("B&lack and white"), this);
    blackAndWhite_->setObjectName(QStringLiteral("newFontBlackAndWhite"));
    blackAndWhite_->setChecked(true);
    fourGrays_ = new QRadioButton(QStringLiteral("Four &grays"), this);
    fourGrays_->setObjectName(QStringLiteral("newFontFourGrays"));
    grays->addWidget(blackAndWhite_);
    grays->addWidget(fourGrays_);
    grays->addStretch();
    addRow(form, "Rendered:", blackAndWhite_, grays);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("newFontButtons"));
    ok_ = buttons->button(QDialogButtonBox::Ok);
    outer->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &NewFontDialog::browse);
    connect(family_, &QComboBox::currentTextChanged, this, &NewFontDialog::showAcceptable);
    connect(first_, &QSpinBox::valueChanged, this, &NewFontDialog::showAcceptable);
    connect(last_, &QSpinBox::valueChanged, this, &NewFontDialog::showAcceptable);
    showAcceptable();
}

std::optional<OutlineFontRequest> NewFontDialog::askRequest() {
    family_->setFocus();
    family_->lineEdit()->selectAll();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return request();
}

OutlineFontRequest NewFontDialog::request() const {
    OutlineFontRequest asked;
    const QString named = family_->currentText().trimmed();
    if (named.contains(QLatin1Char('/')) && QFileInfo(named).isFile()) {
        asked.file = named.toStdString();
    } else {
        asked.family = named.toStdString();
    }
    asked.pixelSize = pixelSize_->value();
    asked.first = first_->value();
    asked.last = last_->value();
    asked.grays = fourGrays_->isChecked() ? 4 : 2;
    return asked;
}

void NewFontDialog::browse() {
    QFileDialog dialog(this, QStringLiteral("Outline Font"));
    setUpFileDialog(dialog, "NewFontFileDialog", QFileDialog::AcceptOpen, {},
                    {kOutlineFontFilter, QStringLiteral("(All Files *.*) (*)")});
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (const QFileInfo shown(family_->currentText()); shown.isFile()) {
        dialog.selectFile(shown.absoluteFilePath());
    }
    if (const std::optional<QString> path = chosenFile(dialog)) {
        family_->setCurrentText(*path);
    }
}

void NewFontDialog::showAcceptable() {
    ok_->setEnabled(!family_->currentText().trimmed().isEmpty() &&
                    first_->value() <= last_->value());
}

}  // namespace stipple::ui
