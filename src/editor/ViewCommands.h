#pragma once
// Commands of the main window that pick colours and tools, size the picture and its cells,
// and switch the grid and border.

#include "editor/Session.h"

namespace stipple {

void setLeftColour(Session& session, Pixel value);
void setRightColour(Session& session, Pixel value);
// A press on a palette button: the left button sets the left colour, the right one the
// right colour, any other nothing.
void pressPaletteColour(Session& session, MouseButton button, Pixel value);

void selectTool(Session& session, Tool tool);
// The Select tool panel's mode buttons, pushed in whenever they change.
void setBoxMode(Session& session, BoxMode mode);
// Tools > Join pen strokes: whether a pen drag paints every cell on its way.
void setJoinStrokes(Session& session, bool on);
void toggleJoinStrokes(Session& session);

// The quick size buttons: one undo step each, holding the picture before them.
void setPictureWidth(Session& session, int width);
void setPictureHeight(Session& session, int height);
// The arrows beside the size fields: one undo step each, even at the limit. The width
// grows up to 95 and shrinks down to 2, the height up to 91 and down to 2.
void widthUp(Session& session);
void widthDown(Session& session);
void heightUp(Session& session);
void heightDown(Session& session);
// Pixel size 1..49.
void pixelSizeUp(Session& session);
void pixelSizeDown(Session& session);
void setPixelSize(Session& session, int size);

// The room the window gives the surface (see ViewSettings); without scrolling.
void setSurfaceRoom(Session& session, int width, int height);
// Scrolls the surface so that its pixel (x, y) shows at the room's top-left, held to what
// the scroll bars reach.
void scrollSurfaceTo(Session& session, int x, int y);
// The next (zoomIn) or previous pixel size, keeping the surface point under the pointer,
// at (x, y) in the room, where it was.
void zoomAt(Session& session, bool zoomIn, int x, int y);

void toggleGrids(Session& session);
void toggleBorder(Session& session);

// Image > Set Size: asks for a size and applies it as one undo step.
void askAndSetSize(Session& session);
// Every cell of the grid, also beyond the picture's size, takes the right colour.
void fillPicture(SessionState& state);
// Image > Clear Image: every cell takes the right colour, as one undo step.
void clearImage(Session& session);

}  // namespace stipple
