#pragma once
// In test and debug builds every edit of the session is checked: the state after it is
// compared with the state before it, part by part, and a part that changed without the
// edit announcing it is a fault in that edit. The check fails loudly; tests may catch it.

#include <string>

#include "editor/Changes.h"
#include "editor/SessionState.h"

namespace stipple {

#if !defined(NDEBUG) || defined(STIPPLE_CHECK_EDITS)
inline constexpr bool kEditsChecked = true;
#else
inline constexpr bool kEditsChecked = false;
#endif

// The parts of the state that differ between `before` and `after` although `announced` does
// not name them, as words ("cells", "tool", ...) separated by spaces; empty when none.
std::string unannouncedChanges(const SessionState& before, const SessionState& after,
                               unsigned announced);

// Called with the parts an edit changed without announcing them. The default prints them and
// aborts; a test may set its own and count what it is told. Returns the one it replaced.
using EditFaultHandler = void (*)(const std::string& parts);
EditFaultHandler setEditFaultHandler(EditFaultHandler handler);
void reportEditFault(const std::string& parts);

}  // namespace stipple
