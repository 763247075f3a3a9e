#pragma once
// The frames of the document: making, copying, dropping and moving them and a glyph's code
// point and metrics (each a step of the history), choosing the one edited, and the set's
// name, frame rate and onion skin.

#include <string>

#include "editor/Session.h"

namespace stipple {

// A blank (transparent) frame of the current frame's size after it, which becomes current.
// In a font it is a glyph of the first free code point after the current one's.
void newFrame(Session& session);
// A copy of the current frame after it, which becomes current; in a font, with a code point
// of its own as New frame gives.
void duplicateFrame(Session& session);
// In a font: the current glyph takes `glyph`'s code point and metrics as one step of the
// history, the code point held to 0..kMaxCodePoint and the metrics to
// -kMaxFontMetric..kMaxFontMetric. A code point another glyph has is refused and the user
// told so; nothing changes. Nothing in a set that is no font.
void setGlyph(Session& session, Glyph glyph);
// Drops the current frame, unless it is the only one; the one before it becomes current.
void deleteFrame(Session& session);
// The current frame one place earlier or later; nothing at either end.
void moveFrameEarlier(Session& session);
void moveFrameLater(Session& session);

// Makes frame `index` (0-based) the current one; not a step of the history. Nothing for an
// index outside the set.
void selectFrame(Session& session, int index);
// The frame before or after the current one, going round from the last to the first.
void previousFrame(Session& session);
void nextFrame(Session& session);

// The set's name (UTF-8) and frame rate (held to 1..60); not steps of the history.
void renameSet(Session& session, const std::string& name);
void setFrameRate(Session& session, int framesPerSecond);
// The frame before the current one shows faintly in its transparent cells.
void toggleOnionSkin(Session& session);

}  // namespace stipple
