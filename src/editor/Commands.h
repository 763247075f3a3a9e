#pragma once
// Every command of the windows by one id: what it runs, and when it applies. The windows
// bind their menu items and controls to the ids (the layout names live there) and, after
// every announcement, enable and check them from these rows.

#include <span>

#include "editor/Session.h"

namespace stipple {

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
    // The Select tool panel's.
    SelectMode,
    PasteMode,
    SaveSelection,
    ClearBox,
    CropBox,
    RotateLeft,
    RotateRight,
    FlipHorizontally,
    FlipVertically,
    JoinStrokes,
    // The frames of a set.
    FramesWindow,
    NewFrame,
    DuplicateFrame,
    DeleteFrame,
    MoveFrameEarlier,
    MoveFrameLater,
    PreviousFrame,
    NextFrame,
    OnionSkin,
    SaveSet,
    NewFont,
};

// A click of a button or a menu item, or the press of any mouse button on a control.
enum class Trigger { Click, Press };

struct Command {
    CommandId id;
    Trigger trigger;
    // The mouse button matters only to the commands triggered by a press.
    void (*run)(Session& session, MouseButton button);
    // When the command can be given; nullptr: always.
    bool (*enabled)(const Session& session);
    // For a toggle or one of a group, whether it is on; nullptr: it has no such state.
    bool (*checked)(const Session& session);
};

// One row per id, in the order of the ids.
std::span<const Command> commands();
const Command& commandFor(CommandId id);
inline bool isEnabled(const Session& session, CommandId id) {
    const Command& c = commandFor(id);
    return c.enabled == nullptr || c.enabled(session);
}
inline bool isChecked(const Session& session, CommandId id) {
    const Command& c = commandFor(id);
    return c.checked != nullptr && c.checked(session);
}
inline void run(Session& session, CommandId id, MouseButton button = MouseButton::Left) {
    commandFor(id).run(session, button);
}

}  // namespace stipple
