#include "tools/SelectToolPanel.h"
#include "app/WindowSetupShell.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <utility>

#include "app/Editor.h"
#include "app/ErrorMessageBox.h"
#include "app/Glyphs.h"

using stipple::Glyph;

namespace {

// The 8-point dialog font the layout was made with, as on the main window.
const QColor kLabelGreen(0x00, 0x80, 0x00);

QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    l->adjustSize();
    l->move(left, top);
    return l;
}

QLabel* coordinateLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    QLabel* l = label(parent, name, text, left, top);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kLabelGreen);
    l->setPalette(p);
    l->adjustSize();
    return l;
}

// Read-only, without a frame, on the button face, and never in the way of the keyboard.
QLineEdit* coordinateField(QWidget* parent, const char* name, const char* hint, int left, int top) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setGeometry(left, top, 28, 13);
    e->setReadOnly(true);
    e->setFrame(false);
    e->setFocusPolicy(Qt::NoFocus);
    e->setTextMargins(0, 0, 0, 0);
    e->setToolTip(QString::fromUtf8(hint));
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    e->setPalette(p);
    return e;
}

QToolButton* speedButton(QWidget* parent, const char* name, int left, int top, Glyph glyph,
                         const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(left, top, 23, 22);
    b->setIcon(stipple::glyphIcon(glyph));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(QString::fromUtf8(hint));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

Tselpanel::Tselpanel(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("selpanel"));
    setWindowTitle(QStringLiteral("Select tool panel"));
    setFixedSize(kClientWidth, kClientHeight);
    move(662, 221);
    stipple::useWindowFont(this);

    Label1 = label(this, "Label1", "Mode", 8, 0);
    selectbutton = speedButton(this, "selectbutton", 8, 16, Glyph::SelectArrow, "Select mode");
    PasteButton = speedButton(this, "PasteButton", 40, 16, Glyph::Paste, "Paste mode");
    modeGroup = new QButtonGroup(this);
    modeGroup->setExclusive(true);
    for (QToolButton* b : {selectbutton, PasteButton}) {
        b->setCheckable(true);
        modeGroup->addButton(b);
    }
    selectbutton->setChecked(true);

    Label2 = label(this, "Label2", "Operation", 8, 40);
    SaveButton =
        speedButton(this, "SaveButton", 8, 56, Glyph::SaveSelection, "Save select to STW file");
    ClearButton = speedButton(this, "ClearButton", 40, 56, Glyph::ClearSelection, "Clear select");
    CropButton = speedButton(this, "CropButton", 72, 56, Glyph::Crop, "Cut off select");

    Label5 = label(this, "Label5", "Transformation", 8, 80);
    SpeedButton1 =
        speedButton(this, "SpeedButton1", 8, 96, Glyph::RotateLeft, "Rotate left (90 degrees)");
    SpeedButton2 =
        speedButton(this, "SpeedButton2", 40, 96, Glyph::RotateRight, "Rotate right (90 degrees)");
    SpeedButton3 =
        speedButton(this, "SpeedButton3", 72, 96, Glyph::FlipHorizontally, "Flip horizontally");
    SpeedButton4 =
        speedButton(this, "SpeedButton4", 104, 96, Glyph::FlipVertically, "Flip vertically");

    labelx1 = coordinateLabel(this, "labelx1", "X1:", 10, 124);
    Label10 = coordinateLabel(this, "Label10", "Y1:", 66, 124);
    Label3 = coordinateLabel(this, "Label3", "X2:", 10, 140);
    Label4 = coordinateLabel(this, "Label4", "Y2:", 66, 140);
    X1 = coordinateField(this, "X1", "coordinate X", 32, 125);
    Y1 = coordinateField(this, "Y1", "coordinate Y", 88, 125);
    X2 = coordinateField(this, "X2", "coordinate X", 32, 141);
    Y2 = coordinateField(this, "Y2", "coordinate Y", 88, 141);

    const std::pair<QToolButton*, void (Tselpanel::*)()> handlers[] = {
        {selectbutton, &Tselpanel::selectbuttonClick},
        {PasteButton, &Tselpanel::PasteButtonClick},
        {SaveButton, &Tselpanel::SaveButtonClick},
        {ClearButton, &Tselpanel::ClearButtonClick},
        {CropButton, &Tselpanel::CropButtonClick},
        {SpeedButton1, &Tselpanel::SpeedButton1Click},
        {SpeedButton2, &Tselpanel::SpeedButton2Click},
        {SpeedButton3, &Tselpanel::SpeedButton3Click},
        {SpeedButton4, &Tselpanel::SpeedButton4Click},
    };
    for (const auto& [button, handler] : handlers) {
        connect(button, &QToolButton::clicked, this, handler);
    }
}

void Tselpanel::setEditor(stipple::Editor* editor) {
    editor_ = editor;
    FormCreate();
}

void Tselpanel::showBoxCoordinates(int x1, int y1, int x2, int y2) {
    X1->setText(QString::number(x1));
    Y1->setText(QString::number(y1));
    X2->setText(QString::number(x2));
    Y2->setText(QString::number(y2));
}

template <class Operation>
void Tselpanel::run(Operation&& operation) {
    if (editor_ != nullptr) {
        stipple::runCommand(this, std::forward<Operation>(operation));
    }
}

void Tselpanel::FormCreate() {
    run([this] { editor_->syncSelectModes(); });
}

// The mode button is down already when its handler runs; the editor reads which one.
void Tselpanel::syncModes() {
    run([this] {
        editor_->syncSelectModes();
        editor_->redrawSurface();
    });
}

void Tselpanel::selectbuttonClick() {
    syncModes();
}

void Tselpanel::PasteButtonClick() {
    syncModes();
}

void Tselpanel::SaveButtonClick() {
    run([this] { editor_->SaveButtonClick(); });
}

void Tselpanel::ClearButtonClick() {
    run([this] { editor_->clearBox(); });
}

void Tselpanel::CropButtonClick() {
    run([this] { editor_->cropToSelection(); });
}

void Tselpanel::SpeedButton1Click() {
    run([this] { editor_->rotateLeft(); });
}

void Tselpanel::SpeedButton2Click() {
    run([this] { editor_->rotateRight(); });
}

void Tselpanel::SpeedButton3Click() {
    run([this] { editor_->flipHorizontally(); });
}

void Tselpanel::SpeedButton4Click() {
    run([this] { editor_->flipVertically(); });
}
