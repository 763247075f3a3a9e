#include "editor/Commands.h"

#include "editor/ExportCommands.h"
#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "editor/SelectionCommands.h"
#include "editor/ViewCommands.h"

namespace stipple {

namespace {

using enum CommandId;
using S = Session&;
using B = MouseButton;

bool canUndo(const Session& s) {
    return s.undoCount() > 0;
}
bool canRedo(const Session& s) {
    return s.redoCount() > 0;
}
template <Tool tool>
bool toolIs(const Session& s) {
    return s.tool() == tool;
}
template <BoxMode mode>
bool boxModeIs(const Session& s) {
    return s.boxMode() == mode;
}
bool severalFrames(const Session& s) {
    return s.document().frameCount() > 1;
}
bool roomForAFrame(const Session& s) {
    return s.document().frameCount() < kMaxFrames;
}
template <ExportFormat format>
void exportPicture(S s, B) {
    copyExportToClipboard(s, ExportSource::Picture, format, s.alignToByte());
}

constexpr Trigger C = Trigger::Click;

// clang-format off
constexpr Command kCommands[] = {
    {NewPicture, C, [](S s, B) { newPicture(s); }, nullptr, nullptr},
    {OpenPicture, C, [](S s, B) { openPicture(s); }, nullptr, nullptr},
    {OpenBitmap, C, [](S s, B) { s.host().openWindow(Window::BitmapImport); }, nullptr, nullptr},
    {SavePicture, C, [](S s, B) { savePicture(s); }, nullptr, nullptr},
    {SaveAsm8, C, [](S s, B) { saveAsm8File(s); }, nullptr, nullptr},
    {AppendAsm8, C, [](S s, B) { appendAsm8ToFile(s); }, nullptr, nullptr},
    {ExportWindow, C, [](S s, B) { s.host().openWindow(Window::Export); }, nullptr, nullptr},
    {Exit, C, [](S s, B) { s.host().closeProgram(); }, nullptr, nullptr},
    {Undo, C, [](S s, B) { s.undoChange(); }, canUndo, nullptr},
    {Redo, C, [](S s, B) { s.redoChange(); }, canRedo, nullptr},
    {SetSize, C, [](S s, B) { askAndSetSize(s); }, nullptr, nullptr},
    {ClearImage, C, [](S s, B) { clearImage(s); }, nullptr, nullptr},
    {Pen, C, [](S s, B) { selectTool(s, Tool::Pen); }, nullptr, toolIs<Tool::Pen>},
    {Bucket, C, [](S s, B) { selectTool(s, Tool::Bucket); }, nullptr, toolIs<Tool::Bucket>},
    {Pipe, C, [](S s, B) { selectTool(s, Tool::Pipe); }, nullptr, toolIs<Tool::Pipe>},
    {ChangeColour, C, [](S s, B) { selectTool(s, Tool::ChangeColour); }, nullptr,
     toolIs<Tool::ChangeColour>},
    {SelectBox, C, [](S s, B) { selectTool(s, Tool::Box); }, nullptr, toolIs<Tool::Box>},
    {ViewGrids, C, [](S s, B) { toggleGrids(s); }, nullptr,
     [](const Session& s) { return s.view().gridsOn; }},
    {ViewBorder, C, [](S s, B) { toggleBorder(s); }, nullptr,
     [](const Session& s) { return s.view().borderOn; }},
    {PixelSize1, C, [](S s, B) { setPixelSize(s, 1); }, nullptr, nullptr},
    {PixelSize2, C, [](S s, B) { setPixelSize(s, 2); }, nullptr, nullptr},
    {PixelSize3, C, [](S s, B) { setPixelSize(s, 3); }, nullptr, nullptr},
    {PixelSize5, C, [](S s, B) { setPixelSize(s, 5); }, nullptr, nullptr},
    {PixelSize10, C, [](S s, B) { setPixelSize(s, 10); }, nullptr, nullptr},
    {PixelSize15, C, [](S s, B) { setPixelSize(s, 15); }, nullptr, nullptr},
    {PixelSizeUp, C, [](S s, B) { pixelSizeUp(s); }, nullptr, nullptr},
    {PixelSizeDown, C, [](S s, B) { pixelSizeDown(s); }, nullptr, nullptr},
    {WidthUp, C, [](S s, B) { widthUp(s); }, nullptr, nullptr},
    {WidthDown, C, [](S s, B) { widthDown(s); }, nullptr, nullptr},
    {HeightUp, C, [](S s, B) { heightUp(s); }, nullptr, nullptr},
    {HeightDown, C, [](S s, B) { heightDown(s); }, nullptr, nullptr},
    {About, C, [](S s, B) { s.host().openWindow(Window::About); }, nullptr, nullptr},
    {ClipboardPanel, C, [](S s, B) { s.host().openWindow(Window::ClipboardPanel); }, nullptr,
     nullptr},
    {AlignToByte, C, [](S s, B) { toggleAlignToByte(s); }, nullptr,
     [](const Session& s) { return s.alignToByte(); }},
    {ExportCpp, C, exportPicture<ExportFormat::CppArray>, nullptr, nullptr},
    {ExportAsm1, C, exportPicture<ExportFormat::Asm1>, nullptr, nullptr},
    {ExportAsm2, C, exportPicture<ExportFormat::Asm2>, nullptr, nullptr},
    {ExportAsm4, C, exportPicture<ExportFormat::Asm4>, nullptr, nullptr},
    {ExportAsm8, C, exportPicture<ExportFormat::Asm8>, nullptr, nullptr},
    {PaletteTransparent, Trigger::Press, [](S s, B b) { pressPaletteColour(s, b, kTransparent); },
     nullptr, nullptr},
    {PaletteWhite, Trigger::Press, [](S s, B b) { pressPaletteColour(s, b, kWhite); }, nullptr,
     nullptr},
    {PaletteGray33, Trigger::Press, [](S s, B b) { pressPaletteColour(s, b, kGray33); }, nullptr,
     nullptr},
    {PaletteGray66, Trigger::Press, [](S s, B b) { pressPaletteColour(s, b, kGray66); }, nullptr,
     nullptr},
    {PaletteBlack, Trigger::Press, [](S s, B b) { pressPaletteColour(s, b, kBlack); }, nullptr,
     nullptr},
    {LeftWhite, C, [](S s, B) { setLeftColour(s, kWhite); }, nullptr, nullptr},
    {LeftGray33, C, [](S s, B) { setLeftColour(s, kGray33); }, nullptr, nullptr},
    {LeftGray66, C, [](S s, B) { setLeftColour(s, kGray66); }, nullptr, nullptr},
    {LeftBlack, C, [](S s, B) { setLeftColour(s, kBlack); }, nullptr, nullptr},
    {LeftTransparent, C, [](S s, B) { setLeftColour(s, kTransparent); }, nullptr, nullptr},
    {RightWhite, C, [](S s, B) { setRightColour(s, kWhite); }, nullptr, nullptr},
    {RightGray33, C, [](S s, B) { setRightColour(s, kGray33); }, nullptr, nullptr},
    {RightGray66, C, [](S s, B) { setRightColour(s, kGray66); }, nullptr, nullptr},
    {RightBlack, C, [](S s, B) { setRightColour(s, kBlack); }, nullptr, nullptr},
    {RightTransparent, C, [](S s, B) { setRightColour(s, kTransparent); }, nullptr, nullptr},
    // A plain click on the left swatch shows its colour again and changes nothing.
    {ShowLeftSwatch, C, [](S s, B) { s.host().showLeftSwatch(s.displayColour(s.leftColour())); }, nullptr, nullptr},
    {SelectMode, C, [](S s, B) { setBoxMode(s, BoxMode::Select); }, nullptr,
     boxModeIs<BoxMode::Select>},
    {PasteMode, C, [](S s, B) { setBoxMode(s, BoxMode::Paste); }, nullptr,
     boxModeIs<BoxMode::Paste>},
    {SaveSelection, C, [](S s, B) { saveSelectionAs(s); }, nullptr, nullptr},
    {ClearBox, C, [](S s, B) { clearBox(s); }, nullptr, nullptr},
    {CropBox, C, [](S s, B) { cropToSelection(s); }, nullptr, nullptr},
    {RotateLeft, C, [](S s, B) { rotateLeft(s); }, nullptr, nullptr},
    {RotateRight, C, [](S s, B) { rotateRight(s); }, nullptr, nullptr},
    {FlipHorizontally, C, [](S s, B) { flipHorizontally(s); }, nullptr, nullptr},
    {FlipVertically, C, [](S s, B) { flipVertically(s); }, nullptr, nullptr},
    {JoinStrokes, C, [](S s, B) { toggleJoinStrokes(s); }, nullptr,
     [](const Session& s) { return s.state().joinStrokes; }},
    {FramesWindow, C, [](S s, B) { s.host().openWindow(Window::Frames); }, nullptr, nullptr},
    {NewFrame, C, [](S s, B) { newFrame(s); }, roomForAFrame, nullptr},
    {DuplicateFrame, C, [](S s, B) { duplicateFrame(s); }, roomForAFrame, nullptr},
    {DeleteFrame, C, [](S s, B) { deleteFrame(s); }, severalFrames, nullptr},
    {MoveFrameEarlier, C, [](S s, B) { moveFrameEarlier(s); },
     [](const Session& s) { return s.document().current > 0; }, nullptr},
    {MoveFrameLater, C, [](S s, B) { moveFrameLater(s); },
     [](const Session& s) { return s.document().current + 1 < s.document().frameCount(); },
     nullptr},
    {PreviousFrame, C, [](S s, B) { previousFrame(s); }, severalFrames, nullptr},
    {NextFrame, C, [](S s, B) { nextFrame(s); }, severalFrames, nullptr},
    {OnionSkin, C, [](S s, B) { toggleOnionSkin(s); }, nullptr,
     [](const Session& s) { return s.view().onionSkin; }},
    {SaveSet, C, [](S s, B) { saveSet(s); }, nullptr, nullptr},
    {NewFont, C, [](S s, B) { newFont(s); }, nullptr, nullptr},
};
// clang-format on

constexpr bool inIdOrder() {
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        if (static_cast<std::size_t>(kCommands[i].id) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(NewFont) + 1 == std::size(kCommands);
}
static_assert(inIdOrder(), "one row per id, in the order of the ids");

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}

const Command& commandFor(CommandId id) {
    return kCommands[static_cast<std::size_t>(id)];
}

}  // namespace stipple
