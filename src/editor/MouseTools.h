#pragma once
// The mouse on the editing surface. Positions are surface pixels, origin at its top-left;
// a press is taken where it lands (the box tool holds it to the picture), moves and
// releases are held to the picture's area.

#include "editor/Session.h"

namespace stipple {

// Keys held with a press.
inline constexpr unsigned kShiftHeld = 1u;

// With the pen, a press with kShiftHeld draws a straight line from the last cell the pen
// touched in this picture to the pressed one; without such a cell it paints the one cell.
void press(Session& session, MouseButton button, int x, int y, unsigned keys = 0);
void move(Session& session, int x, int y);
void release(Session& session, MouseButton button, int x, int y);

}  // namespace stipple
