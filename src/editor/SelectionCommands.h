#pragma once
// What the Select tool panel does with the captured box: clear it in the picture, cut the
// picture down to it, and turn or mirror the selection buffer. All do nothing before the
// first capture.

#include "editor/Session.h"

namespace stipple {

// Fills the box in the picture with the right colour; one undo step.
void clearBox(Session& session);
// The picture becomes the buffer, size and cells; one undo step. A quarter-turned box
// taller than a picture is refused with a message.
void cropToSelection(Session& session);
void rotateLeft(Session& session);
void rotateRight(Session& session);
void flipHorizontally(Session& session);
void flipVertically(Session& session);

// Whether the buffer fits a picture of at most 92 rows; if not, tells the user that it must
// be turned back before `action` and returns false.
bool boxFitsAPicture(Session& session, const char* action);

}  // namespace stipple
