#pragma once
// A host that shows nothing and asks nothing, and an editor started on it with a picture
// of the largest size, so that what is measured is the core alone.

#include <memory>

#include "app/Editor.h"
#include "support/SilentHost.h"

namespace stipple::bench {

using BenchHost = testing::SilentHost;

// The editor is too large for the stack (the undo store alone is 1.8 MB).
struct BenchEditor {
    BenchHost host;
    std::unique_ptr<Editor> editor = std::make_unique<Editor>(host);

    explicit BenchEditor(int pixelSize = 10) {
        editor->FormCreate();
        // A picture of all five values, so that every colour is drawn.
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                editor->pixels[x][y] = (x * 3 + y * 7) % 5;
            }
        }
        editor->setPixelSize(pixelSize);
    }
    Editor* operator->() { return editor.get(); }
};

}  // namespace stipple::bench
