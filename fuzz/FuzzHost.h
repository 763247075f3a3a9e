#pragma once
// The fuzz targets' host, a check that stays in optimised builds, and a scratch folder.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/SilentHost.h"
#include "support/StateChange.h"

// Fails the run with a message; unlike assert() it stays in optimised builds.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace stipple::fuzz {

using FuzzHost = testing::SilentHost;

// Starts the session with a one-pixel view, so that a redraw draws only the picture itself,
// not the whole visible surface.
inline void startSmallSession(Session& session) {
    session.start();
    testing::changeState(session, [](SessionState& st) {
        st.view.viewWidth = 1;
        st.view.viewHeight = 1;
        st.view.pixelSize = 1;
    });
}

// A folder of its own for the files a run writes, on a memory file system when there is one.
inline const std::string& scratchFolder() {
    // Never destroyed, so that the clean-up at exit can still name it.
    static const std::string* folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr ? base : "/dev/shm") + "/stipple-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            pattern = "/tmp/stipple-fuzz-XXXXXX";
            FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

}  // namespace stipple::fuzz
