#include "ui/SelectToolPanel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "editor/FileCommands.h"
#include "editor/SelectionCommands.h"
#include "editor/ViewCommands.h"
#include "ui/CommandErrors.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The mode buttons; one is always down, the first at start.
struct ModeButton {
    const char* name;
    QPoint at;
    Glyph glyph;
    const char* hint;
    BoxMode mode;
};
const ModeButton kModeButtons[] = {
    {"selectbutton", {8, 16}, Glyph::SelectArrow, "Select mode", BoxMode::Select},
    {"PasteButton", {40, 16}, Glyph::Paste, "Paste mode", BoxMode::Paste},
};

struct OperationButton {
    const char* name;
    QPoint at;
    Glyph glyph;
    const char* hint;
    void (*command)(Session&);
};
const OperationButton kOperations[] = {
    {"SaveButton", {8, 56}, Glyph::SaveSelection, "Save select to STW file", saveSelectionAs},
    {"ClearButton", {40, 56}, Glyph::ClearSelection, "Clear select", clearBox},
    {"CropButton", {72, 56}, Glyph::Crop, "Cut off select", cropToSelection},
};
const OperationButton kTransformations[] = {
    {"SpeedButton1", {8, 96}, Glyph::RotateLeft, "Rotate left (90 degrees)", rotateLeft},
    {"SpeedButton2", {40, 96}, Glyph::RotateRight, "Rotate right (90 degrees)", rotateRight},
    {"SpeedButton3", {72, 96}, Glyph::FlipHorizontally, "Flip horizontally", flipHorizontally},
    {"SpeedButton4", {104, 96}, Glyph::FlipVertically, "Flip vertically", flipVertically},
};

// The fields of the box's corners with their labels.
struct BoxField {
    const char* labelName;
    const char* labelText;
    QPoint labelAt;
    const char* name;
    const char* hint;
    QPoint at;
};
const BoxField kBoxFields[] = {
    {"labelx1", "X1:", {10, 124}, "X1", "coordinate X", {32, 125}},
    {"Label10", "Y1:", {66, 124}, "Y1", "coordinate Y", {88, 125}},
    {"Label3", "X2:", {10, 140}, "X2", "coordinate X", {32, 141}},
    {"Label4", "Y2:", {66, 140}, "Y2", "coordinate Y", {88, 141}},
};

// Read-only, without a frame, on the button face, and never in the way of the keyboard.
QLineEdit* boxField(QWidget* parent, const BoxField& f) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(f.name));
    e->setGeometry(QRect(f.at, QSize(28, 13)));
    e->setReadOnly(true);
    e->setFrame(false);
    e->setFocusPolicy(Qt::NoFocus);
    e->setTextMargins(0, 0, 0, 0);
    e->setToolTip(QString::fromUtf8(f.hint));
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    e->setPalette(p);
    return e;
}

}  // namespace

SelectToolPanel::SelectToolPanel(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("selpanel"));
    setWindowTitle(QStringLiteral("Select tool panel"));
    setFixedSize(136, 159);
    move(662, 221);
    useWindowFont(this);

    const QSize buttonSize(23, 22);
    label(this, "Label1", "Mode", {8, 0});
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    for (const ModeButton& m : kModeButtons) {
        QToolButton* b = glyphButton(this, m.name, QRect(m.at, buttonSize), m.glyph, m.hint);
        b->setCheckable(true);
        modes->addButton(b);
        // The session learns the mode with every click; the surface shows it at once.
        connect(b, &QToolButton::clicked, this, [this, &session, mode = m.mode] {
            runCommand(this, [&] { setBoxMode(session, mode); });
        });
    }
    modes->buttons().constFirst()->setChecked(true);
    setBoxMode(session, kModeButtons[0].mode);

    const auto addButtons = [this, &session, buttonSize](const auto& buttons) {
        for (const OperationButton& o : buttons) {
            QToolButton* b = glyphButton(this, o.name, QRect(o.at, buttonSize), o.glyph, o.hint);
            connect(b, &QToolButton::clicked, this, [this, &session, command = o.command] {
                runCommand(this, [&] { command(session); });
            });
        }
    };
    label(this, "Label2", "Operation", {8, 40});
    addButtons(kOperations);
    label(this, "Label5", "Transformation", {8, 80});
    addButtons(kTransformations);

    const QFont bold = boldFont(this);
    for (const BoxField& f : kBoxFields) {
        label(this, f.labelName, f.labelText, f.labelAt, bold, kLabelGreen);
    }
    for (std::size_t i = 0; i < boxFields_.size(); ++i) {
        boxFields_[i] = boxField(this, kBoxFields[i]);
    }
}

void SelectToolPanel::showBoxCoordinates(int x1, int y1, int x2, int y2) {
    const int values[] = {x1, y1, x2, y2};
    for (std::size_t i = 0; i < boxFields_.size(); ++i) {
        boxFields_[i]->setText(QString::number(values[i]));
    }
}

}  // namespace stipple::ui
