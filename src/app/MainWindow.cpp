#include "app/MainWindow.h"
#include "app/WindowSetupShell.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "app/ErrorMessageBox.h"
#include "app/Glyphs.h"
#include "app/NameEditWidget.h"
#include "dialogs/AboutBox.h"
#include "dialogs/SetSizeDialog.h"
#include "export/ExportFiles.h"
#include "export/MoveToClipboardPanel.h"
#include "files/BitmapImportWindow.h"
#include "files/PictureFile.h"
#include "files/SaveSelectBox.h"
#include "tools/SelectToolPanel.h"
#include "view/SurfaceWidget.h"

using stipple::ExportSource;
using stipple::Glyph;
using stipple::MouseButton;
using stipple::SurfaceButton;
using stipple::Tool;

const std::array<TForm1::QuickSize, 32> TForm1::kQuickSizes = {{
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

const QColor kLabelBlue(0x00, 0x00, 0xFF);
const QColor kLabelGreen(0x00, 0x80, 0x00);

// The labels of the info row are bold at 10 points (13 pixels at 96 dots per inch), in a
// narrow face of their own so that each ends before its field.
constexpr int kInfoLabelFontPixels = 13;

QFont infoLabelFont(const QFont& fallback) {
    registerResources();
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/label-bold.ttf"));
        return QFontDatabase::applicationFontFamilies(id).value(0);
    }();
    QFont font = fallback;
    if (!family.isEmpty()) {
        font.setFamilies({family});
    }
    font.setBold(true);
    return font;
}

// A bold label in `face` at `fontPixels`.
QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top,
              const QColor& colour, QFont face, int fontPixels) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    face.setBold(true);
    face.setPixelSize(fontPixels);
    l->setFont(face);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->adjustSize();
    l->move(left, top);
    return l;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QRect& geometry) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLineEdit* sizeField(QWidget* parent, const char* name, int left) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setGeometry(left, 39, 28, 21);
    e->setReadOnly(true);
    return e;
}

QPixmap swatchPixmap(stipple::Rgb colour) {
    QPixmap p(24, 24);
    p.fill(QColor::fromRgb(colour));
    return p;
}

MouseButton editorButton(SurfaceButton button) {
    switch (button) {
        case SurfaceButton::Left:
            return MouseButton::Left;
        case SurfaceButton::Right:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;
    }
}

MouseButton editorButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;  // sets no colour
    }
}

}  // namespace

QStringList stipple::qtNameFilters(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            // "*.*" means every file, also one without an extension.
            if (pattern == QLatin1String("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' '))));
    }
    return filters;
}

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), editor_(std::make_unique<stipple::Editor>(*this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vexlan Tarn Stippleworkshop"));
    setWindowIcon(stipple::glyphIcon(Glyph::Pen));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    stipple::useWindowFont(this);

    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->installEventFilter(this);
    setCentralWidget(client);

    buildToolBar();
    buildMenu();
    buildPalette();
    buildQuickSizes();
    buildInfoRow();
    buildSurfaceAndStatus();
    wireCommands();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    centreOnDesktop();

    editor_->FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::attachWindows(TForm2* form2, TAbout* about, TForm4* form4, Tselpanel* selectPanel,
                           Tsavebox* saveBox, TbmpWin* bitmapWindow) {
    Form2 = form2;
    About = about;
    Form4 = form4;
    selpanel = selectPanel;
    savebox = saveBox;
    bmpWin = bitmapWindow;
}

void TForm1::buildToolBar() {
    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, kClientWidth, 29);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));

    auto button = [this](const char* name, Glyph glyph, const char* hint) {
        auto* b = new QToolButton;
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(stipple::glyphIcon(glyph));
        b->setIconSize(QSize(16, 16));
        b->setFixedSize(23, 22);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        if (hint != nullptr) {
            b->setToolTip(QString::fromUtf8(hint));
        }
        ToolBar1->addWidget(b);
        return b;
    };
    ToolButton1 = button("ToolButton1", Glyph::New, "New...");
    ToolButton2 = button("ToolButton2", Glyph::Open, "Open");
    ToolButton21 = button("ToolButton21", Glyph::OpenBitmap, nullptr);
    ToolButton3 = button("ToolButton3", Glyph::Save, "Save...");
    ToolButton11 = button("ToolButton11", Glyph::SaveToEnd, nullptr);
    ToolBar1->addSeparator();
    UndoButton = button("UndoButton", Glyph::Undo, "Undo changes");
    ToolBar1->addSeparator();
    ToolButton12 = button("ToolButton12", Glyph::ClipboardPanel, "Move to ClipBoard panel");
    align = button("align", Glyph::Align, "Clipboard with align up to byte");
    align->setCheckable(true);
    ToolButton7 = button("ToolButton7", Glyph::ExportCpp, "Move to Clipboard (format C++)");
    ToolButton5 = button("ToolButton5", Glyph::Export1, "Move to Clipboard (format ASM 1bpp)");
    ToolButton16 = button("ToolButton16", Glyph::Export2, "Move to Clipboard (format ASM 2bpp)");
    ToolButton17 = button("ToolButton17", Glyph::Export4, "Move to Clipboard (format ASM 4bpp)");
    ToolButton8 = button("ToolButton8", Glyph::Export8, "Move to Clipboard (format ASM)");
    ToolBar1->addSeparator();
    ToolButton10 = button("ToolButton10", Glyph::SetSize, "Set Size");
    // Its hint "Clear Image" is never shown as a tooltip; it stays for assistive tools.
    ToolButton19 = button("ToolButton19", Glyph::Clear, nullptr);
    ToolButton19->setAccessibleDescription(QStringLiteral("Clear Image"));
    ToolBar1->addSeparator();
    GridsButton = button("GridsButton", Glyph::Grid, "View Grids");
    GridsButton->setCheckable(true);
    BorderButton = button("BorderButton", Glyph::Border, "View Border");
    BorderButton->setCheckable(true);
    ToolBar1->addSeparator();
    ToolButton15 = button("ToolButton15", Glyph::Exit, "Exit");
}

void TForm1::buildMenu() {
    auto menu = [this](const char* name, const char* title) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(title));
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const char* caption,
                       QKeySequence shortcut = {}) {
        QAction* a = m->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcut(shortcut);
        // Held by the window too, so the shortcut works while the menu is closed.
        addAction(a);
        return a;
    };
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    const auto ctrlAlt = [](Qt::Key key) { return QKeySequence(Qt::CTRL | Qt::ALT | key); };

    QMenu* file = menu("File1", "File");
    NewPicture1 = item(file, "NewPicture1", "New Picture...", ctrl(Qt::Key_N));
    OpenPicture1 = item(file, "OpenPicture1", "Open Picture...", ctrl(Qt::Key_O));
    OpenBMPfile1 = item(file, "OpenBMPfile1", "Open BMP file...");
    Savepicture1 = item(file, "Savepicture1", "Save Picture...", ctrl(Qt::Key_S));
    file->addSeparator();
    Save1 = item(file, "Save1", "Save (asm 8bpp format)...", ctrl(Qt::Key_A));
    Savetoend1 = item(file, "Savetoend1", "Save to end (asm 8bpp format)...", ctrl(Qt::Key_E));
    file->addSeparator();
    Exit1 = item(file, "Exit1", "Exit");

    QMenu* image = menu("Image2", "Image");
    Undochange1 = item(image, "Undochange1", "Undo change", ctrl(Qt::Key_Z));
    image->addSeparator();
    SetSize1 = item(image, "SetSize1", "Set Size", ctrlAlt(Qt::Key_S));
    ClearImage1 = item(image, "ClearImage1", "Clear Image", ctrlAlt(Qt::Key_C));

    QMenu* tools = menu("Tools1", "Tools");
    Pen1 = item(tools, "Pen1", "Pen", QKeySequence(Qt::Key_F2));
    Bucket1 = item(tools, "Bucket1", "Bucket", QKeySequence(Qt::Key_F3));
    Pipe1 = item(tools, "Pipe1", "Pipe", QKeySequence(Qt::Key_F4));
    ChangeColor1 = item(tools, "ChangeColor1", "Change Color", QKeySequence(Qt::Key_F5));

    QMenu* view = menu("View1", "View");
    ViewGrids1 = item(view, "ViewGrids1", "View Grids");
    ViewGrids1->setCheckable(true);
    ViewBorder1 = item(view, "ViewBorder1", "View Border");
    ViewBorder1->setCheckable(true);

    QMenu* pixel = menu("Pixel1", "Pixel");
    x11 = item(pixel, "x11", "x1 (No Grids)");
    x2NoGrids1 = item(pixel, "x2NoGrids1", "x2 (No Grids)");
    x3NoGrids1 = item(pixel, "x3NoGrids1", "x3 (No Grids)");
    x51 = item(pixel, "x51", "x5");
    x101 = item(pixel, "x101", "x10");
    x151 = item(pixel, "x151", "x15");

    QMenu* help = menu("N1", "?");
    About2 = item(help, "About2", "About...", QKeySequence(Qt::Key_F1));
}

void TForm1::buildPalette() {
    Col = new QLabel(client);
    Col->setObjectName(QStringLiteral("Col"));
    Col->setGeometry(4, 34, 24, 24);
    ColRight = new QLabel(client);
    ColRight->setObjectName(QStringLiteral("ColRight"));
    ColRight->setGeometry(33, 34, 24, 24);

    struct Chip {
        const char* leftName;
        const char* rightName;
        const char* caption;
        QRgb colour;
    };
    // Same order as the five items of both colour menus.
    static constexpr Chip kChips[] = {
        {"white1", "MenuItem1", "white", 0xFFFFFF},
        {"N33gray1", "MenuItem2", "33 % gray", 0xC0C0C0},
        {"N66gray1", "MenuItem3", "66 % gray", 0x808080},
        {"black1", "MenuItem4", "black", 0x000000},
        {"transparent1", "MenuItem5", "transparent", 0x008080},
    };
    auto colourMenu = [this](QLabel* swatch, const char* name, bool left) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromUtf8(name));
        std::array<QAction*, 5> items{};
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Chip& c = kChips[i];
            items[i] = m->addAction(QIcon(stipple::colourChip(c.colour, 12)),
                                    QString::fromUtf8(c.caption));
            items[i]->setObjectName(QString::fromUtf8(left ? c.leftName : c.rightName));
        }
        swatch->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(swatch, &QWidget::customContextMenuRequested, m,
                [m, swatch](const QPoint& pos) { m->popup(swatch->mapToGlobal(pos)); });
        return std::make_pair(m, items);
    };
    auto [leftMenu, leftItems] = colourMenu(Col, "ColMenu", true);
    ColMenu = leftMenu;
    white1 = leftItems[0];
    N33gray1 = leftItems[1];
    N66gray1 = leftItems[2];
    black1 = leftItems[3];
    transparent1 = leftItems[4];
    auto [rightMenu, rightItems] = colourMenu(ColRight, "ColRightMenu", false);
    ColRightMenu = rightMenu;
    MenuItem1 = rightItems[0];
    MenuItem2 = rightItems[1];
    MenuItem3 = rightItems[2];
    MenuItem4 = rightItems[3];
    MenuItem5 = rightItems[4];

    auto paletteButton = [this](const char* name, int left, int top, QRgb colour) {
        QToolButton* b = speedButton(client, name, QRect(left, top, 17, 17));
        b->setIcon(QIcon(stipple::colourChip(colour, 11)));
        b->setIconSize(QSize(11, 11));
        return b;
    };
    SpeedButton9 = paletteButton("SpeedButton9", 4, 68, 0x008080);
    SpeedButton6 = paletteButton("SpeedButton6", 20, 68, 0xFFFFFF);
    SpeedButton7 = paletteButton("SpeedButton7", 36, 68, 0xC0C0C0);
    SpeedButton8 = paletteButton("SpeedButton8", 4, 84, 0x808080);
    SpeedButton5 = paletteButton("SpeedButton5", 20, 84, 0x000000);

    toolGroup = new QButtonGroup(this);
    toolGroup->setExclusive(true);
    auto toolButton = [this](const char* name, int left, int top, Glyph glyph, const char* hint) {
        QToolButton* b = speedButton(client, name, QRect(left, top, 23, 22));
        b->setIcon(stipple::glyphIcon(glyph));
        b->setIconSize(QSize(16, 16));
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setToolTip(QString::fromUtf8(hint));
        toolGroup->addButton(b);
        return b;
    };
    pen_button = toolButton("pen_button", 3, 108, Glyph::Pen, "Pen");
    fill_button = toolButton("fill_button", 27, 108, Glyph::Bucket, "Bucket");
    pipe_button = toolButton("pipe_button", 3, 132, Glyph::Pipe, "Pipe");
    chcol_button = toolButton("chcol_button", 27, 132, Glyph::ChangeColour, "Change color");
    box_button = toolButton("box_button", 3, 156, Glyph::SelectBox, "Select box");
    pen_button->setChecked(true);
}

void TForm1::buildQuickSizes() {
    label(client, "Label5", "Quick size", 3, 179, kLabelBlue, font(), stipple::kWindowFontPixels);
    label(client, "Label7", "W", 10, 191, kLabelGreen, font(), stipple::kWindowFontPixels);
    label(client, "Label8", "H", 42, 191, kLabelGreen, font(), stipple::kWindowFontPixels);
    // Fifteen rows at a step of 16; the last row, holding the two maxima, stands a little
    // apart.
    constexpr int kRows = 16;
    for (std::size_t i = 0; i < kQuickSizes.size(); ++i) {
        const QuickSize& q = kQuickSizes[i];
        const int row = static_cast<int>(i) % kRows;
        const int top = row < kRows - 1 ? 211 + 16 * row : 455;
        QToolButton* b = speedButton(client, q.name, QRect(q.setsWidth ? 4 : 36, top, 26, 17));
        b->setText(QString::number(q.value));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        quickSizeButtons[i] = b;
    }
}

void TForm1::buildInfoRow() {
    struct InfoLabel {
        const char* name;
        const char* text;
        int left, top;
        const QColor& colour;
        int fieldLeft;  // where the next control begins
    };
    const InfoLabel infoLabels[] = {
        {"Label1", "Name:", 62, 39, kLabelBlue, 113},
        {"Label2", "Size:", 248, 40, kLabelBlue, 290},
        {"Label3", "Width :", 290, 41, kLabelGreen, 339},
        {"Label4", "Height :", 391, 41, kLabelGreen, 444},
        {"Label6", "Pixel Size :", 496, 40, kLabelBlue, 573},
    };
    // The largest bold size, at most 10 points, at which every label ends before its field.
    QFont bold = infoLabelFont(font());
    int fontPixels = kInfoLabelFontPixels;
    for (; fontPixels > stipple::kWindowFontPixels; --fontPixels) {
        bold.setPixelSize(fontPixels);
        const QFontMetrics metrics(bold);
        bool fits = true;
        for (const InfoLabel& l : infoLabels) {
            fits = fits &&
                   metrics.horizontalAdvance(QString::fromUtf8(l.text)) <= l.fieldLeft - l.left;
        }
        if (fits) {
            break;
        }
    }
    for (const InfoLabel& l : infoLabels) {
        label(client, l.name, l.text, l.left, l.top, l.colour, bold, fontPixels);
    }

    Edit1 = new stipple::NameEditWidget(client);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(113, 36, 121, 21);
    Edit1->setText(QStringLiteral("Name"));

    WID = sizeField(client, "WID", 339);
    HEIG = sizeField(client, "HEIG", 444);
    PSIZE = sizeField(client, "PSIZE", 573);

    auto arrow = [this](const char* name, int left, int top, bool up) {
        QToolButton* b = speedButton(client, name, QRect(left, top, 16, 16));
        b->setIcon(stipple::glyphIcon(up ? Glyph::ArrowUp : Glyph::ArrowDown));
        b->setIconSize(QSize(7, 4));
        return b;
    };
    SpeedButton2 = arrow("SpeedButton2", 367, 33, true);
    SpeedButton4 = arrow("SpeedButton4", 367, 49, false);
    SpeedButton3 = arrow("SpeedButton3", 474, 33, true);
    SpeedButton1 = arrow("SpeedButton1", 474, 49, false);
    SpeedButton23 = arrow("SpeedButton23", 605, 33, true);
    SpeedButton24 = arrow("SpeedButton24", 605, 49, false);
}

void TForm1::buildSurfaceAndStatus() {
    Image1 = new stipple::SurfaceWidget(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(70, 67, 960, 920);

    StatusBar1 = new QStatusBar(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);
    StatusBar1->setGeometry(0, kClientHeight - 19, kClientWidth, 19);
    const char* const texts[] = {"X:", "Y:", ""};
    for (std::size_t i = 0; i < statusPanels.size(); ++i) {
        auto* panel = new QLabel(QString::fromUtf8(texts[i]));
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(50);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        StatusBar1->addWidget(panel);
        statusPanels[i] = panel;
    }
    // The surface runs on under the status bar.
    StatusBar1->raise();

    // Every menu shortcut stays with the menu while the name box has the focus.
    QList<QKeySequence> shortcuts;
    for (QAction* a : actions()) {
        if (!a->shortcut().isEmpty()) {
            shortcuts.append(a->shortcut());
        }
    }
    Edit1->setMenuShortcuts(shortcuts);
}

void TForm1::wireCommands() {
    connect(Undochange1, &QAction::triggered, this, &TForm1::Undochange1Click);
    connect(UndoButton, &QToolButton::clicked, this, &TForm1::UndoButtonClick);
    connect(ClearImage1, &QAction::triggered, this, &TForm1::ClearImage1Click);
    connect(ToolButton19, &QToolButton::clicked, this, &TForm1::ToolButton19Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(ToolButton15, &QToolButton::clicked, this, &TForm1::ToolButton15Click);

    connect(Image1, &stipple::SurfaceWidget::mousePressed, this, &TForm1::Image1MouseDown);
    connect(Image1, &stipple::SurfaceWidget::mouseMoved, this, &TForm1::Image1MouseMove);
    connect(Image1, &stipple::SurfaceWidget::mouseReleased, this, &TForm1::Image1MouseUp);

    // The palette buttons act on the press of either button (see eventFilter), the swatch
    // Col on a plain left click.
    for (QWidget* w : {SpeedButton9, SpeedButton6, SpeedButton7, SpeedButton8, SpeedButton5}) {
        w->installEventFilter(this);
    }
    Col->installEventFilter(this);
    const std::pair<QAction*, void (TForm1::*)()> colourItems[] = {
        {white1, &TForm1::white1Click},
        {N33gray1, &TForm1::N33gray1Click},
        {N66gray1, &TForm1::N66gray1Click},
        {black1, &TForm1::black1Click},
        {transparent1, &TForm1::transparent1Click},
        {MenuItem1, &TForm1::MenuItem1Click},
        {MenuItem2, &TForm1::MenuItem2Click},
        {MenuItem3, &TForm1::MenuItem3Click},
        {MenuItem4, &TForm1::MenuItem4Click},
        {MenuItem5, &TForm1::MenuItem5Click},
    };
    for (const auto& [item, handler] : colourItems) {
        connect(item, &QAction::triggered, this, handler);
    }

    connect(pen_button, &QToolButton::clicked, this, &TForm1::pen_buttonClick);
    connect(fill_button, &QToolButton::clicked, this, &TForm1::fill_buttonClick);
    for (QToolButton* b : {pipe_button, box_button, chcol_button}) {
        connect(b, &QToolButton::clicked, this, &TForm1::pipe_buttonClick);
    }
    connect(Pen1, &QAction::triggered, this, &TForm1::Pen1Click);
    connect(Bucket1, &QAction::triggered, this, &TForm1::Bucket1Click);
    connect(Pipe1, &QAction::triggered, this, &TForm1::Pipe1Click);
    connect(ChangeColor1, &QAction::triggered, this, &TForm1::ChangeColor1Click);

    for (std::size_t i = 0; i < quickSizeButtons.size(); ++i) {
        connect(quickSizeButtons[i], &QToolButton::clicked, this, [this, i] { quickSizeClick(i); });
    }
    const std::pair<QToolButton*, void (TForm1::*)()> buttons[] = {
        {SpeedButton2, &TForm1::SpeedButton2Click},
        {SpeedButton4, &TForm1::SpeedButton4Click},
        {SpeedButton3, &TForm1::SpeedButton3Click},
        {SpeedButton1, &TForm1::SpeedButton1Click},
        {SpeedButton23, &TForm1::SpeedButton23Click},
        {SpeedButton24, &TForm1::SpeedButton24Click},
        {GridsButton, &TForm1::GridsButtonClick},
        {BorderButton, &TForm1::BorderButtonClick},
        {ToolButton10, &TForm1::ToolButton10Click},
        {ToolButton7, &TForm1::ToolButton7Click},
        {ToolButton5, &TForm1::ToolButton5Click},
        {ToolButton16, &TForm1::ToolButton16Click},
        {ToolButton17, &TForm1::ToolButton17Click},
        {ToolButton8, &TForm1::ToolButton8Click},
        {align, &TForm1::alignClick},
        {ToolButton11, &TForm1::ToolButton11Click},
        {ToolButton12, &TForm1::ToolButton12Click},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QToolButton::clicked, this, handler);
    }
    const std::pair<QAction*, void (TForm1::*)()> items[] = {
        {x11, &TForm1::x11Click},
        {x2NoGrids1, &TForm1::x2NoGrids1Click},
        {x3NoGrids1, &TForm1::x3NoGrids1Click},
        {x51, &TForm1::x51Click},
        {x101, &TForm1::x101Click},
        {x151, &TForm1::x151Click},
        {ViewGrids1, &TForm1::ViewGrids1Click},
        {ViewBorder1, &TForm1::ViewBorder1Click},
        {SetSize1, &TForm1::SetSize1Click},
        {About2, &TForm1::About2Click},
        {Save1, &TForm1::Save1Click},
        {Savetoend1, &TForm1::Savetoend1Click},
    };
    for (const auto& [item, handler] : items) {
        connect(item, &QAction::triggered, this, handler);
    }

    const std::pair<QToolButton*, void (TForm1::*)()> fileButtons[] = {
        {ToolButton1, &TForm1::ToolButton1Click},
        {ToolButton2, &TForm1::ToolButton2Click},
        {ToolButton3, &TForm1::ToolButton3Click},
        {ToolButton21, &TForm1::ToolButton21Click},
    };
    for (const auto& [button, handler] : fileButtons) {
        connect(button, &QToolButton::clicked, this, handler);
    }
    const std::pair<QAction*, void (TForm1::*)()> fileItems[] = {
        {NewPicture1, &TForm1::NewPicture1Click},
        {OpenPicture1, &TForm1::OpenPicture1Click},
        {Savepicture1, &TForm1::Savepicture1Click},
        {OpenBMPfile1, &TForm1::OpenBMPfile1Click},
    };
    for (const auto& [item, handler] : fileItems) {
        connect(item, &QAction::triggered, this, handler);
    }
}

void TForm1::centreOnDesktop() {
    const QScreen* desktop = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (desktop == nullptr) {
        return;
    }
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(desktop->availableGeometry().center());
    move(frame.topLeft());
}

// Host

void TForm1::presentSurface(const stipple::Raster& surface) {
    if (Image1->raster() != &surface) {
        Image1->setRaster(&surface);
    } else if (inFormPaint_) {
        // The window is being painted already, Image1 with it.
        return;
    }
    Image1->update();
}

void TForm1::showSizeFields(int width, int height, int pixelSize) {
    // Unchanged texts are left alone: setting them again would repaint during a paint.
    auto show = [](QLineEdit* field, int value) {
        const QString text = QString::number(value);
        if (field->text() != text) {
            field->setText(text);
        }
    };
    show(WID, width);
    show(HEIG, height);
    show(PSIZE, pixelSize);
}

void TForm1::showSwatches(stipple::Rgb left, stipple::Rgb right) {
    if (swatchesShown_ && left == leftSwatch_ && right == rightSwatch_) {
        return;
    }
    swatchesShown_ = true;
    leftSwatch_ = left;
    rightSwatch_ = right;
    Col->setPixmap(swatchPixmap(left));
    ColRight->setPixmap(swatchPixmap(right));
}

void TForm1::setUndoControlsEnabled(bool enabled) {
    Undochange1->setEnabled(enabled);
    UndoButton->setEnabled(enabled);
}

void TForm1::setViewControls(bool gridsOn, bool borderOn) {
    ViewGrids1->setChecked(gridsOn);
    GridsButton->setChecked(gridsOn);
    ViewBorder1->setChecked(borderOn);
    BorderButton->setChecked(borderOn);
}

void TForm1::showStatusText(int panel, const std::string& text) {
    if (panel < 0 || panel >= static_cast<int>(statusPanels.size())) {
        return;
    }
    const QString t = QString::fromStdString(text);
    if (statusPanels[panel]->text() != t) {
        statusPanels[panel]->setText(t);
    }
}

std::string TForm1::pictureName() const {
    return Edit1->text().toStdString();
}

void TForm1::setPictureName(const std::string& name) {
    Edit1->setText(QString::fromStdString(name));
}

void TForm1::showSelectToolPanel(bool visible) {
    if (selpanel != nullptr) {
        selpanel->setVisible(visible);
    }
}

bool TForm1::pasteButtonDown() const {
    return selpanel != nullptr && selpanel->PasteButton->isChecked();
}

bool TForm1::askPictureSize(int& width, int& height) {
    return Form2 != nullptr && Form2->askSize(width, height);
}

std::optional<std::string> TForm1::askExportFile() {
    // Qt's own dialog behaves the same on every desktop, also on one without a desktop
    // environment, and takes a whole path typed into its name field.
    QFileDialog dialog(this, QStringLiteral("Save As"));
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The descriptions already name their patterns: they are shown alone.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog |
                      QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(stipple::qtNameFilters(stipple::kExportFileFilter));
    if (!lastExportFile_.isEmpty()) {
        dialog.selectFile(lastExportFile_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    lastExportFile_ = dialog.selectedFiles().constFirst();
    return lastExportFile_.toStdString();
}

namespace {

// SaveDialog2 and OpenDialog1: Qt's own dialog, like the export one, with the picture
// file filter; a name typed without an extension gets ".stw".
void setUpPictureDialog(QFileDialog& dialog, const char* name, QFileDialog::AcceptMode mode) {
    dialog.setObjectName(QString::fromUtf8(name));
    dialog.setAcceptMode(mode);
    // Also a name of a file that does not exist: opening it then tells the user.
    dialog.setFileMode(QFileDialog::AnyFile);
    // The descriptions already name their patterns: they are shown alone.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog |
                      QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(stipple::qtNameFilters(stipple::kPictureFileFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(stipple::kPictureFileExtension));
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<std::string> TForm1::askOpenPictureFile() {
    QFileDialog dialog(this, QStringLiteral("Open"));
    setUpPictureDialog(dialog, "OpenDialog1", QFileDialog::AcceptOpen);
    if (!lastOpenedPicture_.isEmpty()) {
        dialog.selectFile(lastOpenedPicture_);
    } else if (!lastPictureFolder_.isEmpty()) {
        dialog.setDirectory(lastPictureFolder_);
    }
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastOpenedPicture_ = *path;
    lastPictureFolder_ = QFileInfo(*path).absolutePath();
    return path->toStdString();
}

std::optional<std::string> TForm1::askSavePictureFile(const std::string& presetName) {
    QFileDialog dialog(this, QStringLiteral("Save As"));
    setUpPictureDialog(dialog, "SaveDialog2", QFileDialog::AcceptSave);
    if (!lastPictureFolder_.isEmpty()) {
        dialog.setDirectory(lastPictureFolder_);
    }
    dialog.selectFile(QString::fromStdString(presetName));
    const std::optional<QString> path = chosenFile(dialog);
    if (!path) {
        return std::nullopt;
    }
    lastPictureFolder_ = QFileInfo(*path).absolutePath();
    return path->toStdString();
}

void TForm1::showBoxCoordinates(int x1, int y1, int x2, int y2) {
    if (selpanel != nullptr) {
        selpanel->showBoxCoordinates(x1, y1, x2, y2);
    }
}

std::optional<std::string> TForm1::askSaveSelectName(const std::string& name) {
    if (savebox == nullptr) {
        return std::nullopt;
    }
    const std::optional<QString> chosen = savebox->askName(QString::fromStdString(name));
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

void TForm1::setClipboardText(const std::string& utf8) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(utf8), QClipboard::Clipboard);
}

void TForm1::setAlignButtonDown(bool down) {
    align->setChecked(down);
}

void TForm1::showMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

// Handlers

void TForm1::FormPaint() {
    // Unguarded: the redraw allocates nothing and cannot fail, and a message box in the
    // middle of a paint would only bring the next paint.
    inFormPaint_ = true;
    editor_->redrawSurface();
    inFormPaint_ = false;
}

void TForm1::Undochange1Click() {
    stipple::runCommand(this, [this] { editor_->undoChange(); });
}

void TForm1::UndoButtonClick() {
    Undochange1Click();
}

void TForm1::ClearImage1Click() {
    stipple::runCommand(this, [this] { editor_->clearImage(); });
}

void TForm1::ToolButton19Click() {
    ClearImage1Click();
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::ToolButton15Click() {
    Exit1Click();
}

template <class Command>
void TForm1::run(Command&& command) {
    stipple::runCommand(this, std::forward<Command>(command));
}

// The surface. Presses of buttons other than left, right and middle never reach the core.

void TForm1::Image1MouseDown(SurfaceButton button, int X, int Y) {
    if (button != SurfaceButton::Other) {
        run([=, this] { editor_->Image1MouseDown(editorButton(button), X, Y); });
    }
}

void TForm1::Image1MouseMove(int X, int Y) {
    run([=, this] { editor_->Image1MouseMove(X, Y); });
}

void TForm1::Image1MouseUp(SurfaceButton button, int X, int Y) {
    if (button != SurfaceButton::Other) {
        run([=, this] { editor_->Image1MouseUp(editorButton(button), X, Y); });
    }
}

// Colours

void TForm1::SpeedButton9MouseDown(Qt::MouseButton button) {
    run([=, this] { editor_->paletteMouseDown(editorButton(button), stipple::kTransparent); });
}

void TForm1::SpeedButton6MouseDown(Qt::MouseButton button) {
    run([=, this] { editor_->paletteMouseDown(editorButton(button), stipple::kWhite); });
}

void TForm1::SpeedButton7MouseDown(Qt::MouseButton button) {
    run([=, this] { editor_->paletteMouseDown(editorButton(button), stipple::kGray33); });
}

void TForm1::SpeedButton8MouseDown(Qt::MouseButton button) {
    run([=, this] { editor_->paletteMouseDown(editorButton(button), stipple::kGray66); });
}

void TForm1::SpeedButton5MouseDown(Qt::MouseButton button) {
    run([=, this] { editor_->paletteMouseDown(editorButton(button), stipple::kBlack); });
}

void TForm1::white1Click() {
    run([this] { editor_->setLeftColour(stipple::kWhite); });
}

void TForm1::N33gray1Click() {
    run([this] { editor_->setLeftColour(stipple::kGray33); });
}

void TForm1::N66gray1Click() {
    run([this] { editor_->setLeftColour(stipple::kGray66); });
}

void TForm1::black1Click() {
    run([this] { editor_->setLeftColour(stipple::kBlack); });
}

void TForm1::transparent1Click() {
    run([this] { editor_->setLeftColour(stipple::kTransparent); });
}

void TForm1::MenuItem1Click() {
    run([this] { editor_->setRightColour(stipple::kWhite); });
}

void TForm1::MenuItem2Click() {
    run([this] { editor_->setRightColour(stipple::kGray33); });
}

void TForm1::MenuItem3Click() {
    run([this] { editor_->setRightColour(stipple::kGray66); });
}

void TForm1::MenuItem4Click() {
    run([this] { editor_->setRightColour(stipple::kBlack); });
}

void TForm1::MenuItem5Click() {
    run([this] { editor_->setRightColour(stipple::kTransparent); });
}

void TForm1::ColClick() {
    leftSwatch_ = editor_->displayColour(editor_->leftColour);
    Col->setPixmap(swatchPixmap(leftSwatch_));
}

// Tools. The button is already down when its handler runs; the core reads which one.

void TForm1::pen_buttonClick() {
    run([this] { editor_->selectTool(Tool::Pen); });
}

void TForm1::fill_buttonClick() {
    run([this] { editor_->selectTool(Tool::Bucket); });
}

void TForm1::pipe_buttonClick() {
    const Tool down = box_button->isChecked()     ? Tool::Box
                      : chcol_button->isChecked() ? Tool::ChangeColour
                                                  : Tool::Pipe;
    run([=, this] { editor_->selectTool(down); });
}

void TForm1::toolFromMenu(QToolButton* button) {
    button->setChecked(true);
    if (button == pen_button) {
        pen_buttonClick();
    } else if (button == fill_button) {
        fill_buttonClick();
    } else {
        pipe_buttonClick();
    }
}

void TForm1::Pen1Click() {
    toolFromMenu(pen_button);
}

void TForm1::Bucket1Click() {
    toolFromMenu(fill_button);
}

void TForm1::Pipe1Click() {
    toolFromMenu(pipe_button);
}

void TForm1::ChangeColor1Click() {
    toolFromMenu(chcol_button);
}

// Sizes and view

void TForm1::quickSizeClick(std::size_t index) {
    const QuickSize& q = kQuickSizes.at(index);
    run([&q, this] {
        if (q.setsWidth) {
            editor_->quickSizeWidth(q.value);
        } else {
            editor_->quickSizeHeight(q.value);
        }
    });
}

void TForm1::SpeedButton2Click() {
    run([this] { editor_->stepPictureWidth(+1); });
}

void TForm1::SpeedButton4Click() {
    run([this] { editor_->stepPictureWidth(-1); });
}

void TForm1::SpeedButton3Click() {
    run([this] { editor_->stepPictureHeight(+1); });
}

void TForm1::SpeedButton1Click() {
    run([this] { editor_->stepPictureHeight(-1); });
}

void TForm1::SpeedButton23Click() {
    run([this] { editor_->stepPixelSize(+1); });
}

void TForm1::SpeedButton24Click() {
    run([this] { editor_->stepPixelSize(-1); });
}

void TForm1::x11Click() {
    run([this] { editor_->setPixelSize(1); });
}

void TForm1::x2NoGrids1Click() {
    run([this] { editor_->setPixelSize(2); });
}

void TForm1::x3NoGrids1Click() {
    run([this] { editor_->setPixelSize(3); });
}

void TForm1::x51Click() {
    run([this] { editor_->setPixelSize(5); });
}

void TForm1::x101Click() {
    run([this] { editor_->setPixelSize(10); });
}

void TForm1::x151Click() {
    run([this] { editor_->setPixelSize(15); });
}

// The check mark or button has toggled itself already; the core sets both menu and
// toolbar from the flag afterwards.

void TForm1::ViewGrids1Click() {
    run([this] { editor_->toggleGrids(); });
}

void TForm1::GridsButtonClick() {
    ViewGrids1Click();
}

void TForm1::ViewBorder1Click() {
    run([this] { editor_->toggleBorder(); });
}

void TForm1::BorderButtonClick() {
    ViewBorder1Click();
}

void TForm1::SetSize1Click() {
    run([this] { editor_->SetSize1Click(); });
}

void TForm1::ToolButton10Click() {
    SetSize1Click();
}

void TForm1::About2Click() {
    if (About != nullptr) {
        About->exec();
    }
}

// Export

void TForm1::exportPicture(int formatCode) {
    run([=, this] {
        editor_->copyExportToClipboard(ExportSource::Picture, formatCode, editor_->alignToByte);
    });
}

void TForm1::ToolButton7Click() {
    exportPicture(stipple::kFormatCppArray);
}

void TForm1::ToolButton5Click() {
    exportPicture(stipple::kFormatAsm1);
}

void TForm1::ToolButton16Click() {
    exportPicture(stipple::kFormatAsm2);
}

void TForm1::ToolButton17Click() {
    exportPicture(stipple::kFormatAsm4);
}

void TForm1::ToolButton8Click() {
    exportPicture(stipple::kFormatAsm8);
}

void TForm1::alignClick() {
    // The button has toggled itself; the core sets it from the flag it flips.
    run([this] { editor_->alignClick(); });
}

void TForm1::Save1Click() {
    run([this] { editor_->Save1Click(); });
}

void TForm1::Savetoend1Click() {
    run([this] { editor_->Savetoend1Click(); });
}

void TForm1::ToolButton11Click() {
    Savetoend1Click();
}

void TForm1::ToolButton12Click() {
    if (Form4 != nullptr) {
        Form4->show();
        Form4->raise();
    }
}

// Picture files

void TForm1::NewPicture1Click() {
    run([this] { editor_->NewPicture1Click(); });
}

void TForm1::ToolButton1Click() {
    NewPicture1Click();
}

void TForm1::OpenPicture1Click() {
    run([this] { editor_->OpenPicture1Click(); });
}

void TForm1::ToolButton2Click() {
    OpenPicture1Click();
}

void TForm1::Savepicture1Click() {
    run([this] { editor_->Savepicture1Click(); });
}

void TForm1::ToolButton3Click() {
    Savepicture1Click();
}

void TForm1::OpenBMPfile1Click() {
    if (bmpWin != nullptr) {
        bmpWin->exec();
    }
}

void TForm1::ToolButton21Click() {
    OpenBMPfile1Click();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == client && type == QEvent::Paint) {
        FormPaint();
    }
    // A double click's second press arrives as a double-click event: a press all the same.
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        const std::pair<QObject*, void (TForm1::*)(Qt::MouseButton)> palette[] = {
            {SpeedButton9, &TForm1::SpeedButton9MouseDown},
            {SpeedButton6, &TForm1::SpeedButton6MouseDown},
            {SpeedButton7, &TForm1::SpeedButton7MouseDown},
            {SpeedButton8, &TForm1::SpeedButton8MouseDown},
            {SpeedButton5, &TForm1::SpeedButton5MouseDown},
        };
        for (const auto& [paletteButton, handler] : palette) {
            if (watched == paletteButton) {
                (this->*handler)(button);
                // A left press goes on to the button so that it shows pressed.
                return button != Qt::LeftButton;
            }
        }
    }
    if (watched == Col && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Col->rect().contains(mouse->position().toPoint())) {
            ColClick();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Nothing is saved and nothing is asked: closing the main window ends the program.
    event->accept();
    QApplication::quit();
}
