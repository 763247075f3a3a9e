#pragma once
// The layout names of each command's menu item and control (editor/Commands.h gives the
// ids). The layout builds them by id, the command table binds them, and the tests find them
// by id, so a layout name is written once and a mistyped id does not compile.

#include "editor/Commands.h"

namespace stipple::ui {

using stipple::CommandId;

// The layout names of an id's menu item and control; nullptr where it has none.
struct CommandNames {
    const char* menuItem;
    const char* control;
};
const CommandNames& namesOf(CommandId id);

}  // namespace stipple::ui
