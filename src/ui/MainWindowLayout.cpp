#include "ui/MainWindowLayout.h"

#include <QAction>
#include <QButtonGroup>
#include <QByteArray>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResource>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <optional>

#include "ui/CommandIds.h"
#include "ui/Glyphs.h"
#include "ui/NameEdit.h"
#include "ui/SurfaceWidget.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

const std::array<QuickSize, 32> kQuickSizes = {{
    {"SpeedButton42", 2, true},   {"SpeedButton19", 3, true},   {"SpeedButton38", 4, true},
    {"SpeedButton10", 5, true},   {"SpeedButton40", 6, true},   {"SpeedButton17", 7, true},
    {"SpeedButton16", 8, true},   {"SpeedButton18", 9, true},   {"SpeedButton11", 10, true},
    {"SpeedButton12", 15, true},  {"SpeedButton13", 20, true},  {"SpeedButton14", 25, true},
    {"SpeedButton15", 30, true},  {"SpeedButton20", 50, true},  {"SpeedButton21", 70, true},
    {"SpeedButton22", 96, true},  {"SpeedButton43", 2, false},  {"SpeedButton28", 3, false},
    {"SpeedButton39", 4, false},  {"SpeedButton37", 5, false},  {"SpeedButton41", 6, false},
    {"SpeedButton30", 7, false},  {"SpeedButton31", 8, false},  {"SpeedButton29", 9, false},
    {"SpeedButton36", 10, false}, {"SpeedButton35", 15, false}, {"SpeedButton34", 20, false},
    {"SpeedButton33", 25, false}, {"SpeedButton32", 30, false}, {"SpeedButton27", 50, false},
    {"SpeedButton26", 70, false}, {"SpeedButton25", 92, false},
}};

namespace {

using Controls = MainWindowControls;

enum class Kind { Plain, Toggles, QuietHint };

// The toolbar from the left; an entry without a name is a separator.
struct ToolBarButton {
    std::optional<CommandId> id;  // none: a separator
    Glyph glyph;
    const char* hint;
    // QuietHint: the hint is never shown as a tooltip; it stays for assistive tools.
    Kind kind;
};
const ToolBarButton kToolBar[] = {
    {CommandId::NewPicture, Glyph::New, "New...", Kind::Plain},
    {CommandId::OpenPicture, Glyph::Open, "Open", Kind::Plain},
    {CommandId::OpenBitmap, Glyph::OpenBitmap, nullptr, Kind::Plain},
    {CommandId::SavePicture, Glyph::Save, "Save...", Kind::Plain},
    {CommandId::AppendAsm8, Glyph::SaveToEnd, nullptr, Kind::Plain},
    {},
    {CommandId::Undo, Glyph::Undo, "Undo changes", Kind::Plain},
    {},
    {CommandId::ClipboardPanel, Glyph::ClipboardPanel, "Move to ClipBoard panel", Kind::Plain},
    {CommandId::AlignToByte, Glyph::Align, "Clipboard with align up to byte", Kind::Toggles},
    {CommandId::ExportCpp, Glyph::ExportCpp, "Move to Clipboard (format C++)", Kind::Plain},
    {CommandId::ExportAsm1, Glyph::Export1, "Move to Clipboard (format ASM 1bpp)", Kind::Plain},
    {CommandId::ExportAsm2, Glyph::Export2, "Move to Clipboard (format ASM 2bpp)", Kind::Plain},
    {CommandId::ExportAsm4, Glyph::Export4, "Move to Clipboard (format ASM 4bpp)", Kind::Plain},
    {CommandId::ExportAsm8, Glyph::Export8, "Move to Clipboard (format ASM)", Kind::Plain},
    {},
    {CommandId::SetSize, Glyph::SetSize, "Set Size", Kind::Plain},
    {CommandId::ClearImage, Glyph::Clear, "Clear Image", Kind::QuietHint},
    {},
    {CommandId::ViewGrids, Glyph::Grid, "View Grids", Kind::Toggles},
    {CommandId::ViewBorder, Glyph::Border, "View Border", Kind::Toggles},
    {},
    {CommandId::Exit, Glyph::Exit, "Exit", Kind::Plain},
};

// The main menu in order: an entry that opens a menu is followed by its items, an entry
// without a name is a separator. Shortcuts are in portable text, several split by "; ".
struct MenuEntry {
    std::optional<CommandId> id;    // an item's command; none for a menu or a separator
    const char* caption = nullptr;  // none: a separator
    const char* shortcut = "";
    bool checkable = false;
    const char* menuName = nullptr;
    bool anyWindow = false;  // its shortcut works in every window of the program  // the layout
                             // name of a menu that opens here
};
const MenuEntry kMenu[] = {
    {{}, "File", "", false, "File1"},
    {CommandId::NewPicture, "New Picture...", "Ctrl+N"},
    {CommandId::OpenPicture, "Open Picture...", "Ctrl+O"},
    {CommandId::OpenBitmap, "Open BMP file..."},
    {CommandId::NewFont, "New Font..."},
    {CommandId::SavePicture, "Save Picture...", "Ctrl+S"},
    {CommandId::SaveSet, "Save Set...", "Ctrl+Shift+S"},
    {},
    {CommandId::SaveAsm8, "Save (asm 8bpp format)...", "Ctrl+A"},
    {CommandId::AppendAsm8, "Save to end (asm 8bpp format)...", "Ctrl+E"},
    {CommandId::ExportWindow, "Export...", "Ctrl+Shift+E"},
    {},
    {CommandId::Exit, "Exit"},
    {{}, "Image", "", false, "Image2"},
    {CommandId::Undo, "Undo change", "Ctrl+Z"},
    {CommandId::Redo, "Redo change", "Ctrl+Y; Ctrl+Shift+Z"},
    {},
    {CommandId::SetSize, "Set Size", "Ctrl+Alt+S"},
    {CommandId::ClearImage, "Clear Image", "Ctrl+Alt+C"},
    {{}, "Tools", "", false, "Tools1"},
    {CommandId::Pen, "Pen", "F2"},
    {CommandId::Bucket, "Bucket", "F3"},
    {CommandId::Pipe, "Pipe", "F4"},
    {CommandId::ChangeColour, "Change Color", "F5"},
    {},
    {CommandId::JoinStrokes, "Join pen strokes", "", true},
    {{}, "View", "", false, "View1"},
    {CommandId::ViewGrids, "View Grids", "", true},
    {CommandId::ViewBorder, "View Border", "", true},
    {},
    {CommandId::FramesWindow, "Frames...", "Ctrl+Shift+F"},
    {CommandId::OnionSkin, "Onion skin", "", true},
    {CommandId::PreviousFrame, "Previous frame", "Ctrl+PgUp", false, nullptr, true},
    {CommandId::NextFrame, "Next frame", "Ctrl+PgDown", false, nullptr, true},
    {{}, "Pixel", "", false, "Pixel1"},
    {CommandId::PixelSize1, "x1 (No Grids)"},
    {CommandId::PixelSize2, "x2 (No Grids)"},
    {CommandId::PixelSize3, "x3 (No Grids)"},
    {CommandId::PixelSize5, "x5"},
    {CommandId::PixelSize10, "x10"},
    {CommandId::PixelSize15, "x15"},
    {{}, "?", "", false, "N1"},
    {CommandId::About, "About...", "F1"},
};

// The five colours in the order of both swatch menus: the left swatch's item, the right
// swatch's item, the caption and the value whose display colour the chip shows.
struct ColourItem {
    CommandId left;
    CommandId right;
    const char* caption;
    Pixel chip;
};
const ColourItem kColourItems[] = {
    {CommandId::LeftWhite, CommandId::RightWhite, "white", kWhite},
    {CommandId::LeftGray33, CommandId::RightGray33, "33 % gray", kGray33},
    {CommandId::LeftGray66, CommandId::RightGray66, "66 % gray", kGray66},
    {CommandId::LeftBlack, CommandId::RightBlack, "black", kBlack},
    {CommandId::LeftTransparent, CommandId::RightTransparent, "transparent", kTransparent},
};

struct PaletteButton {
    CommandId id;
    QPoint at;
    Pixel chip;
};
const PaletteButton kPalette[] = {
    {CommandId::PaletteTransparent, {4, 68}, kTransparent},
    {CommandId::PaletteWhite, {20, 68}, kWhite},
    {CommandId::PaletteGray33, {36, 68}, kGray33},
    {CommandId::PaletteGray66, {4, 84}, kGray66},
    {CommandId::PaletteBlack, {20, 84}, kBlack},
};

// The tool buttons; the first is down at start.
struct ToolButton {
    CommandId id;
    QPoint at;
    Glyph glyph;
    const char* hint;
};
const ToolButton kTools[] = {
    {CommandId::Pen, {3, 108}, Glyph::Pen, "Pen"},
    {CommandId::Bucket, {27, 108}, Glyph::Bucket, "Bucket"},
    {CommandId::Pipe, {3, 132}, Glyph::Pipe, "Pipe"},
    {CommandId::ChangeColour, {27, 132}, Glyph::ChangeColour, "Change color"},
    {CommandId::SelectBox, {3, 156}, Glyph::SelectBox, "Select box"},
};

// The labels of the info row, each with the left edge of the control after it.
struct InfoLabel {
    const char* name;
    const char* text;
    QPoint at;
    const QColor& colour;
    int nextLeft;
};
const InfoLabel kInfoLabels[] = {
    {"Label1", "Name:", {62, 39}, kLabelBlue, 113},
    {"Label2", "Size:", {248, 40}, kLabelBlue, 290},
    {"Label3", "Width :", {290, 41}, kLabelGreen, 339},
    {"Label4", "Height :", {391, 41}, kLabelGreen, 444},
    {"Label6", "Pixel Size :", {496, 40}, kLabelBlue, 573},
};

struct SizeField {
    const char* name;
    int left;
    QLineEdit* Controls::*kept;
};
const SizeField kSizeFields[] = {
    {"WID", 339, &Controls::widthField},
    {"HEIG", 444, &Controls::heightField},
    {"PSIZE", 573, &Controls::pixelSizeField},
};

// The small arrows beside the size fields.
struct StepButton {
    CommandId id;
    QPoint at;
    Glyph glyph;
};
const StepButton kStepButtons[] = {
    {CommandId::WidthUp, {367, 33}, Glyph::ArrowUp},
    {CommandId::WidthDown, {367, 49}, Glyph::ArrowDown},
    {CommandId::HeightUp, {474, 33}, Glyph::ArrowUp},
    {CommandId::HeightDown, {474, 49}, Glyph::ArrowDown},
    {CommandId::PixelSizeUp, {605, 33}, Glyph::ArrowUp},
    {CommandId::PixelSizeDown, {605, 49}, Glyph::ArrowDown},
};

// The info row's labels are bold at 10 points (13 pixels at 96 dots per inch), in a narrow
// face of their own so that each ends before its field.
constexpr int kInfoLabelFontPixels = 13;

QFont infoLabelFont(const QFont& fallback) {
    registerResources();
    static const QString family = [] {
        // The face is read where the program holds it, not copied: loaded by its name, Qt
        // would keep two copies of the whole file on the heap.
        const QResource resource(QStringLiteral(":/fonts/label-bold.ttf"));
        QByteArray data;
        if (resource.compressionAlgorithm() == QResource::NoCompression) {
            data = QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                           static_cast<qsizetype>(resource.size()));
        } else {
            data = resource.uncompressedData();
        }
        const int id = QFontDatabase::addApplicationFontFromData(data);
        return QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    QFont font = fallback;
    if (!family.isEmpty()) {
        font.setFamilies({family});
    }
    font.setBold(true);
    return font;
}

// The largest size, at most 10 points, at which every info label ends before its field.
int infoLabelPixels(QFont bold) {
    int pixels = kInfoLabelFontPixels;
    for (; pixels > kWindowFontPixels; --pixels) {
        bold.setPixelSize(pixels);
        const QFontMetrics metrics(bold);
        bool fits = true;
        for (const InfoLabel& l : kInfoLabels) {
            fits = fits &&
                   metrics.horizontalAdvance(QString::fromUtf8(l.text)) <= l.nextLeft - l.at.x();
        }
        if (fits) {
            break;
        }
    }
    return pixels;
}

void setUpWindow(QMainWindow& window) {
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(QStringLiteral("Vexlan Tarn Stippleworkshop"));
    window.setWindowIcon(glyphIcon(Glyph::Pen));
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    useWindowFont(&window);
}

void buildToolBar(Controls& c) {
    auto* bar = new QToolBar(c.client);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setGeometry(0, 0, kClientWidth, 29);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    for (const ToolBarButton& t : kToolBar) {
        if (!t.id) {
            bar->addSeparator();
            continue;
        }
        auto* b = new QToolButton;
        b->setObjectName(QString::fromUtf8(namesOf(*t.id).control));
        b->setIcon(glyphIcon(t.glyph));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(23, 22);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (t.kind == Kind::QuietHint) {
            b->setAccessibleDescription(QString::fromUtf8(t.hint));
        } else if (t.hint != nullptr) {
            b->setToolTip(QString::fromUtf8(t.hint));
        }
        b->setCheckable(t.kind == Kind::Toggles);
        bar->addWidget(b);
    }
}

void buildMenu(QMainWindow& window) {
    QMenu* menu = nullptr;
    for (const MenuEntry& e : kMenu) {
        if (e.menuName != nullptr) {
            menu = window.menuBar()->addMenu(QString::fromUtf8(e.caption));
            menu->setObjectName(QString::fromUtf8(e.menuName));
        } else if (!e.id) {
            menu->addSeparator();
        } else {
            QAction* a = menu->addAction(QString::fromUtf8(e.caption));
            a->setObjectName(QString::fromUtf8(namesOf(*e.id).menuItem));
            a->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(e.shortcut),
                                                         QKeySequence::PortableText));
            a->setCheckable(e.checkable);
            if (e.anyWindow) {
                a->setShortcutContext(Qt::ApplicationShortcut);
            }
            // Held by the window too, so the shortcut works while the menu is closed.
            window.addAction(a);
        }
    }
}

// A swatch's menu of the five colours, opened with the right button on the swatch.
void addColourMenu(QMainWindow& window, QLabel* swatch, const char* name, bool left) {
    auto* m = new QMenu(&window);
    m->setObjectName(QString::fromUtf8(name));
    for (const ColourItem& item : kColourItems) {
        QAction* a = m->addAction(QIcon(colourChip(kDisplayColours[item.chip], 12)),
                                  QString::fromUtf8(item.caption));
        a->setObjectName(QString::fromUtf8(namesOf(left ? item.left : item.right).menuItem));
    }
    swatch->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(swatch, &QWidget::customContextMenuRequested, m,
                     [m, swatch](const QPoint& pos) { m->popup(swatch->mapToGlobal(pos)); });
}

void buildPaletteAndTools(QMainWindow& window, Controls& c) {
    c.leftSwatch = new QLabel(c.client);
    c.leftSwatch->setObjectName(QString::fromUtf8(namesOf(CommandId::ShowLeftSwatch).control));
    c.leftSwatch->setGeometry(4, 34, 24, 24);
    c.rightSwatch = new QLabel(c.client);
    c.rightSwatch->setObjectName(QStringLiteral("ColRight"));
    c.rightSwatch->setGeometry(33, 34, 24, 24);
    addColourMenu(window, c.leftSwatch, "ColMenu", true);
    addColourMenu(window, c.rightSwatch, "ColRightMenu", false);

    for (const PaletteButton& p : kPalette) {
        QToolButton* b = speedButton(c.client, namesOf(p.id).control, QRect(p.at, QSize(17, 17)));
        b->setIcon(QIcon(colourChip(kDisplayColours[p.chip], 11)));
        b->setIconSize(QSize(11, 11));
    }

    auto* tools = new QButtonGroup(&window);
    tools->setExclusive(true);
    for (const ToolButton& t : kTools) {
        QToolButton* b = glyphButton(c.client, namesOf(t.id).control, QRect(t.at, QSize(23, 22)),
                                     t.glyph, t.hint);
        b->setAutoRaise(true);
        b->setCheckable(true);
        tools->addButton(b);
    }
    tools->buttons().constFirst()->setChecked(true);
}

void buildQuickSizes(QMainWindow& window, Controls& c) {
    const QFont bold = boldFont(&window);
    label(c.client, "Label5", "Quick size", {3, 179}, bold, kLabelBlue);
    label(c.client, "Label7", "W", {10, 191}, bold, kLabelGreen);
    label(c.client, "Label8", "H", {42, 191}, bold, kLabelGreen);
    // Fifteen rows at a step of 16; the last row, holding the two maxima, stands a little
    // apart.
    constexpr int kRows = 16;
    for (std::size_t i = 0; i < kQuickSizes.size(); ++i) {
        const QuickSize& q = kQuickSizes[i];
        const int row = static_cast<int>(i) % kRows;
        const int top = row < kRows - 1 ? 211 + 16 * row : 455;
        QToolButton* b = speedButton(c.client, q.name, QRect(q.setsWidth ? 4 : 36, top, 26, 17));
        b->setText(QString::number(q.value));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

void buildInfoRow(QMainWindow& window, Controls& c) {
    QFont bold = infoLabelFont(window.font());
    bold.setPixelSize(infoLabelPixels(bold));
    for (const InfoLabel& l : kInfoLabels) {
        label(c.client, l.name, l.text, l.at, bold, l.colour);
    }

    c.nameEdit = new NameEdit(c.client);
    c.nameEdit->setObjectName(QStringLiteral("Edit1"));
    c.nameEdit->setGeometry(113, 36, 121, 21);
    c.nameEdit->setText(QStringLiteral("Name"));

    for (const SizeField& f : kSizeFields) {
        auto* e = new QLineEdit(c.client);
        e->setObjectName(QString::fromUtf8(f.name));
        e->setGeometry(f.left, 39, 28, 21);
        e->setReadOnly(true);
        c.*f.kept = e;
    }
    for (const StepButton& s : kStepButtons) {
        QToolButton* b = speedButton(c.client, namesOf(s.id).control, QRect(s.at, QSize(16, 16)));
        b->setIcon(glyphIcon(s.glyph));
        b->setIconSize(QSize(7, 4));
    }
}

void buildSurfaceAndStatus(QMainWindow& window, Controls& c) {
    c.surface = new SurfaceWidget(c.client);
    c.surface->setObjectName(QStringLiteral("Image1"));
    c.surface->setGeometry(70, 67, 960, 920);

    auto* status = new QStatusBar(c.client);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->setAutoFillBackground(true);
    status->setGeometry(0, kClientHeight - 19, kClientWidth, 19);
    const char* const texts[] = {"X:", "Y:", ""};
    for (std::size_t i = 0; i < c.statusPanels.size(); ++i) {
        auto* panel = new QLabel(QString::fromUtf8(texts[i]));
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(50);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        status->addWidget(panel);
        c.statusPanels[i] = panel;
    }
    // The surface runs on under the status bar.
    status->raise();

    // Every menu shortcut stays with the menu while the name box has the focus.
    QList<QKeySequence> shortcuts;
    for (QAction* a : window.actions()) {
        shortcuts.append(a->shortcuts());
    }
    c.nameEdit->setMenuShortcuts(shortcuts);
}

void centreOnDesktop(QMainWindow& window) {
    const QScreen* desktop =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (desktop == nullptr) {
        return;
    }
    QRect frame(QPoint(0, 0), window.size());
    frame.moveCenter(desktop->availableGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace

MainWindowControls buildMainWindowControls(QMainWindow& window) {
    setUpWindow(window);
    Controls c;
    c.client = new QWidget(&window);
    c.client->setObjectName(QStringLiteral("client"));
    c.client->setFixedSize(kClientWidth, kClientHeight);
    window.setCentralWidget(c.client);

    buildToolBar(c);
    buildMenu(window);
    buildPaletteAndTools(window, c);
    buildQuickSizes(window, c);
    buildInfoRow(window, c);
    buildSurfaceAndStatus(window, c);

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.layout()->activate();
    centreOnDesktop(window);
    return c;
}

}  // namespace stipple::ui
