#pragma once
// Tests set up the session's state without announcing it, so nothing is redrawn or shown
// until a command or the test asks for it.

#include <utility>

#include "editor/Session.h"

namespace stipple::testing {

template <typename Change>
void changeState(Session& session, Change&& apply) {
    session.arrange(std::forward<Change>(apply));
}

// A history step, as the commands that take one take it, and nothing else.
inline void takeSnapshot(Session& session) {
    session.edit(Step::Snapshot, [](SessionState&) { return Changes{}; });
}

// Announces `changes` without changing anything, as if an edit had changed that.
inline void announce(Session& session, Changes changes) {
    session.edit(Step::None, [changes](SessionState&) { return changes; });
}

}  // namespace stipple::testing
