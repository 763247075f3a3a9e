#pragma once
// The mouse on the editing surface. Positions are surface pixels, origin at its top-left;
// a press is taken where it lands (the box tool holds it to the picture), moves and
// releases are held to the picture's area.

#include "editor/Session.h"

namespace stipple {

void press(Session& session, MouseButton button, int x, int y);
void move(Session& session, int x, int y);
void release(Session& session, MouseButton button, int x, int y);

}  // namespace stipple
