#include "ui/CommandIds.h"

#include <array>
#include <utility>

namespace stipple::ui {

namespace {

using enum CommandId;

// In the order of the ids; checked at compile time below.
constexpr std::pair<CommandId, CommandNames> kNames[] = {
    {NewPicture, {"NewPicture1", "ToolButton1"}},
    {OpenPicture, {"OpenPicture1", "ToolButton2"}},
    {OpenBitmap, {"OpenBMPfile1", "ToolButton21"}},
    {SavePicture, {"Savepicture1", "ToolButton3"}},
    {SaveAsm8, {"Save1", nullptr}},
    {AppendAsm8, {"Savetoend1", "ToolButton11"}},
    {ExportWindow, {"Export1", nullptr}},
    {Exit, {"Exit1", "ToolButton15"}},
    {Undo, {"Undochange1", "UndoButton"}},
    {Redo, {"Redochange1", nullptr}},
    {SetSize, {"SetSize1", "ToolButton10"}},
    {ClearImage, {"ClearImage1", "ToolButton19"}},
    {Pen, {"Pen1", "pen_button"}},
    {Bucket, {"Bucket1", "fill_button"}},
    {Pipe, {"Pipe1", "pipe_button"}},
    {ChangeColour, {"ChangeColor1", "chcol_button"}},
    {SelectBox, {nullptr, "box_button"}},
    {ViewGrids, {"ViewGrids1", "GridsButton"}},
    {ViewBorder, {"ViewBorder1", "BorderButton"}},
    {PixelSize1, {"x11", nullptr}},
    {PixelSize2, {"x2NoGrids1", nullptr}},
    {PixelSize3, {"x3NoGrids1", nullptr}},
    {PixelSize5, {"x51", nullptr}},
    {PixelSize10, {"x101", nullptr}},
    {PixelSize15, {"x151", nullptr}},
    {PixelSizeUp, {nullptr, "SpeedButton23"}},
    {PixelSizeDown, {nullptr, "SpeedButton24"}},
    {WidthUp, {nullptr, "SpeedButton2"}},
    {WidthDown, {nullptr, "SpeedButton4"}},
    {HeightUp, {nullptr, "SpeedButton3"}},
    {HeightDown, {nullptr, "SpeedButton1"}},
    {About, {"About2", nullptr}},
    {ClipboardPanel, {nullptr, "ToolButton12"}},
    {AlignToByte, {nullptr, "align"}},
    {ExportCpp, {nullptr, "ToolButton7"}},
    {ExportAsm1, {nullptr, "ToolButton5"}},
    {ExportAsm2, {nullptr, "ToolButton16"}},
    {ExportAsm4, {nullptr, "ToolButton17"}},
    {ExportAsm8, {nullptr, "ToolButton8"}},
    {PaletteTransparent, {nullptr, "SpeedButton9"}},
    {PaletteWhite, {nullptr, "SpeedButton6"}},
    {PaletteGray33, {nullptr, "SpeedButton7"}},
    {PaletteGray66, {nullptr, "SpeedButton8"}},
    {PaletteBlack, {nullptr, "SpeedButton5"}},
    {LeftWhite, {"white1", nullptr}},
    {LeftGray33, {"N33gray1", nullptr}},
    {LeftGray66, {"N66gray1", nullptr}},
    {LeftBlack, {"black1", nullptr}},
    {LeftTransparent, {"transparent1", nullptr}},
    {RightWhite, {"MenuItem1", nullptr}},
    {RightGray33, {"MenuItem2", nullptr}},
    {RightGray66, {"MenuItem3", nullptr}},
    {RightBlack, {"MenuItem4", nullptr}},
    {RightTransparent, {"MenuItem5", nullptr}},
    {ShowLeftSwatch, {nullptr, "Col"}},
    {SelectMode, {nullptr, "selectbutton"}},
    {PasteMode, {nullptr, "PasteButton"}},
    {SaveSelection, {nullptr, "SaveButton"}},
    {ClearBox, {nullptr, "ClearButton"}},
    {CropBox, {nullptr, "CropButton"}},
    {RotateLeft, {nullptr, "SpeedButton1"}},
    {RotateRight, {nullptr, "SpeedButton2"}},
    {FlipHorizontally, {nullptr, "SpeedButton3"}},
    {FlipVertically, {nullptr, "SpeedButton4"}},
    {JoinStrokes, {"JoinPenStrokes1", nullptr}},
    {FramesWindow, {"Frames1", nullptr}},
    {NewFrame, {nullptr, "framesNew"}},
    {DuplicateFrame, {nullptr, "framesDuplicate"}},
    {DeleteFrame, {nullptr, "framesDelete"}},
    {MoveFrameEarlier, {nullptr, "framesEarlier"}},
    {MoveFrameLater, {nullptr, "framesLater"}},
    {PreviousFrame, {"PreviousFrame1", nullptr}},
    {NextFrame, {"NextFrame1", nullptr}},
    {OnionSkin, {"OnionSkin1", "framesOnionSkin"}},
    {SaveSet, {"SaveSet1", nullptr}},
    {NewFont, {"NewFont1", nullptr}},
};

constexpr bool inIdOrder() {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (static_cast<std::size_t>(kNames[i].first) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(NewFont) + 1 == std::size(kNames);
}
static_assert(inIdOrder(), "one row per id, in the order of the ids");

}  // namespace

const CommandNames& namesOf(CommandId id) {
    return kNames[static_cast<std::size_t>(id)].second;
}

}  // namespace stipple::ui
