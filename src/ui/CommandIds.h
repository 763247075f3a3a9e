#pragma once
// Every command of the main window has one id. The layout builds the id's menu item and
// control, the command table binds the id to what it runs, and the tests find them by id,
// so a layout name is written once and a mistyped id does not compile.

namespace stipple::ui {

enum class CommandId {
    NewPicture,
    OpenPicture,
    OpenBitmap,
    SavePicture,
    SaveAsm8,
    AppendAsm8,
    ExportWindow,
    Exit,
    Undo,
    Redo,
    SetSize,
    ClearImage,
    Pen,
    Bucket,
    Pipe,
    ChangeColour,
    SelectBox,
    ViewGrids,
    ViewBorder,
    PixelSize1,
    PixelSize2,
    PixelSize3,
    PixelSize5,
    PixelSize10,
    PixelSize15,
    PixelSizeUp,
    PixelSizeDown,
    WidthUp,
    WidthDown,
    HeightUp,
    HeightDown,
    About,
    ClipboardPanel,
    AlignToByte,
    ExportCpp,
    ExportAsm1,
    ExportAsm2,
    ExportAsm4,
    ExportAsm8,
    PaletteTransparent,
    PaletteWhite,
    PaletteGray33,
    PaletteGray66,
    PaletteBlack,
    LeftWhite,
    LeftGray33,
    LeftGray66,
    LeftBlack,
    LeftTransparent,
    RightWhite,
    RightGray33,
    RightGray66,
    RightBlack,
    RightTransparent,
    ShowLeftSwatch,
};

// The layout names of an id's menu item and control; nullptr where it has none.
struct CommandNames {
    const char* menuItem;
    const char* control;
};
const CommandNames& namesOf(CommandId id);

}  // namespace stipple::ui
