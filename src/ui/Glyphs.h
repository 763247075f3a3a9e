#pragma once
// The program's own button pictures: small pixel-art drawings turned into icons.

#include <QIcon>
#include <QPixmap>
#include <QRgb>

namespace stipple::ui {

enum class Glyph {
    Pen,
    Bucket,
    Pipe,
    ChangeColour,
    SelectBox,
    New,
    Open,
    OpenBitmap,
    Save,
    SaveToEnd,
    Undo,
    ClipboardPanel,
    Align,
    ExportCpp,
    Export1,
    Export2,
    Export4,
    Export8,
    SetSize,
    Clear,
    Grid,
    Border,
    Exit,
    // The Select tool panel
    SelectArrow,
    Paste,
    SaveSelection,
    ClearSelection,
    Crop,
    RotateLeft,
    RotateRight,
    FlipHorizontally,  // top and bottom change places
    FlipVertically,    // left and right change places
    ArrowUp,           // 7 x 4, for the small step buttons
    ArrowDown,
};

// 16 x 16 unless noted at the glyph; unpainted pixels are transparent.
QPixmap glyphPixmap(Glyph glyph);
QIcon glyphIcon(Glyph glyph);

// A square of the colour with a dark outline: the chips of the palette buttons and of the
// colour menus.
QPixmap colourChip(QRgb colour, int size);

}  // namespace stipple::ui
