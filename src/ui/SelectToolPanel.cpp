#include "ui/SelectToolPanel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <vector>

#include "ui/CommandTable.h"
#include "ui/Glyphs.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

// The panel's buttons, by command; the modes are one group, one of them always down.
struct PanelButton {
    CommandId id;
    QPoint at;
    Glyph glyph;
    const char* hint;
};
const PanelButton kModeButtons[] = {
    {CommandId::SelectMode, {8, 16}, Glyph::SelectArrow, "Select mode"},
    {CommandId::PasteMode, {40, 16}, Glyph::Paste, "Paste mode"},
};
const PanelButton kOperations[] = {
    {CommandId::SaveSelection, {8, 56}, Glyph::SaveSelection, "Save select to STW file"},
    {CommandId::ClearBox, {40, 56}, Glyph::ClearSelection, "Clear select"},
    {CommandId::CropBox, {72, 56}, Glyph::Crop, "Cut off select"},
};
const PanelButton kTransformations[] = {
    {CommandId::RotateLeft, {8, 96}, Glyph::RotateLeft, "Rotate left (90 degrees)"},
    {CommandId::RotateRight, {40, 96}, Glyph::RotateRight, "Rotate right (90 degrees)"},
    {CommandId::FlipHorizontally, {72, 96}, Glyph::FlipHorizontally, "Flip horizontally"},
    {CommandId::FlipVertically, {104, 96}, Glyph::FlipVertically, "Flip vertically"},
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

SelectToolPanel::SelectToolPanel(Session& session, CommandControls& commands, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("selpanel"));
    setWindowTitle(QStringLiteral("Select tool panel"));
    setFixedSize(136, 159);
    move(662, 221);
    useWindowFont(this);

    const QSize buttonSize(23, 22);
    std::vector<CommandId> ids;
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    const auto addButtons = [&](const auto& buttons) {
        for (const PanelButton& p : buttons) {
            QToolButton* b =
                glyphButton(this, namesOf(p.id).control, QRect(p.at, buttonSize), p.glyph, p.hint);
            if (commandFor(p.id).checked != nullptr) {
                b->setCheckable(true);
                modes->addButton(b);
            }
            ids.push_back(p.id);
        }
    };
    label(this, "Label1", "Mode", {8, 0});
    addButtons(kModeButtons);
    label(this, "Label2", "Operation", {8, 40});
    addButtons(kOperations);
    label(this, "Label5", "Transformation", {8, 80});
    addButtons(kTransformations);
    // The mode shown is the session's, from the first showing on.
    commands.bind(this, session, ids);

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
