#pragma once
// What the user thinks of as the document: its pictures in order, each with its name, the
// one being edited, and the file it was last read from or written to. A single picture is a
// document of one picture.

#include <string>
#include <vector>

#include "model/Picture.h"

namespace stipple {

struct Frame {
    Picture picture;
    std::string name;  // UTF-8, as the name box shows it
};

struct Document {
    std::vector<Frame> frames = std::vector<Frame>(1);  // never empty
    int current = 0;                                    // index into frames
    std::string file;  // UTF-8 path; empty before the first open or save

    Frame& currentFrame() { return frames[static_cast<std::size_t>(current)]; }
    const Frame& currentFrame() const { return frames[static_cast<std::size_t>(current)]; }
};

}  // namespace stipple
