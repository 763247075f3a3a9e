#pragma once
// What the user thinks of as the document: its pictures in order (the frames of an
// animation, a group of icons; a single picture is a set of one), each with its name, the
// one being edited, the set's own name and frame rate, and the file it was last read from
// or written to.

#include <string>
#include <vector>

#include "model/Picture.h"

namespace stipple {

struct Frame {
    Picture picture;
    std::string name;  // UTF-8, as the name box shows it
};

constexpr int kMinFrameRate = 1;
constexpr int kMaxFrameRate = 60;
constexpr int kDefaultFrameRate = 8;
// Enough for a font of every code point a display library draws, and still a set the
// history can keep whole.
constexpr int kMaxFrames = 4096;

struct Document {
    std::vector<Frame> frames = std::vector<Frame>(1);  // never empty
    int current = 0;                                    // index into frames
    std::string setName = "Name";                       // UTF-8
    int frameRate = kDefaultFrameRate;                  // frames a second
    std::string file;  // UTF-8 path; empty before the first open or save

    Frame& currentFrame() { return frames[static_cast<std::size_t>(current)]; }
    const Frame& currentFrame() const { return frames[static_cast<std::size_t>(current)]; }
    int frameCount() const { return static_cast<int>(frames.size()); }
};

// A change of which frames the document holds, as the history keeps it: applying it changes
// the document and gives back the change that undoes it.
struct FramesChange {
    enum class Kind {
        Insert,   // `frame` goes in at `index` and becomes the current one
        Remove,   // the frame at `index` goes; the one before it (or the new first) is current
        Move,     // the frame at `index` moves to `to`, staying current
        Replace,  // every frame, the current one, the set's name and rate become `whole`'s
    };
    Kind kind = Kind::Insert;
    int index = 0;
    int to = 0;
    Frame frame;
    Document whole;  // Replace only; its file is not used
};

// Applies the change, which must fit the document (an index within it; a Remove never takes
// the last frame), and returns its inverse.
FramesChange applyFramesChange(Document& document, FramesChange change);

}  // namespace stipple
