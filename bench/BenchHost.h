#pragma once
// A host that shows nothing and asks nothing, and a session started on it with a picture of
// the largest size, so that what is measured is the core alone.

#include <memory>

#include "editor/MouseTools.h"
#include "editor/SelectionCommands.h"
#include "editor/Session.h"
#include "editor/ViewCommands.h"
#include "support/SilentHost.h"
#include "support/StateChange.h"

namespace stipple::bench {

using BenchHost = testing::SilentHost;

// The session is too large for the stack (the undo ring alone is 1.8 MB).
struct BenchSession {
    BenchHost host;
    std::unique_ptr<Session> session = std::make_unique<Session>(host);

    explicit BenchSession(int pixelSize = 10) {
        session->start();
        // A picture of all five values, so that every colour is drawn.
        testing::changeState(*session, [](SessionState& st) {
            for (int x = 1; x <= kMaxPictureWidth; ++x) {
                for (int y = 1; y <= kMaxPictureHeight; ++y) {
                    st.picture().pixels[x][y] = (x * 3 + y * 7) % 5;
                }
            }
        });
        setPixelSize(*session, pixelSize);
    }
    Session& operator*() { return *session; }
    Session* operator->() { return session.get(); }
};

}  // namespace stipple::bench
