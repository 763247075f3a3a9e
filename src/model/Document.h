#pragma once
// What the user thinks of as the document: its pictures in order (the frames of an
// animation, a group of icons; a single picture is a set of one), each with its name, the
// one being edited, the set's own name and frame rate, and the file it was last read from
// or written to. A font is a set whose frames are its glyphs.

#include <optional>
#include <string>
#include <vector>

#include "model/Picture.h"

namespace stipple {

// Where a glyph's picture stands when it is drawn, in pixels. The picture is the glyph's
// box: drawn at the pen position (pen x, baseline y), its left edge is at x + xOffset and
// its top row at y - yOffset (yOffset counts up from the baseline), and the pen then moves
// on by advance.
struct Glyph {
    int codePoint = 32;  // Unicode
    int advance = 0;
    int xOffset = 0;
    int yOffset = 0;
    bool operator==(const Glyph&) const = default;
};

// A font's lines: ascent above the baseline, descent below it, lineHeight from one
// baseline to the next.
struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int lineHeight = 0;
    bool operator==(const FontMetrics&) const = default;
};

// Code points and every metric a font may hold.
constexpr int kMaxCodePoint = 0x10FFFF;
constexpr int kMaxFontMetric = 1024;  // each metric is -kMaxFontMetric to kMaxFontMetric

struct Frame {
    Picture picture;
    std::string name;            // UTF-8, as the name box shows it
    std::optional<Glyph> glyph;  // of a font's frame; empty in any other set
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
    // Present when the set is a font; then every frame is a glyph with its own code point.
    std::optional<FontMetrics> font;

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
        Glyph,    // the frame at `index` takes `glyph` as its code point and metrics, and
                  // becomes the current one
    };
    Kind kind = Kind::Insert;
    int index = 0;
    int to = 0;
    Frame frame;
    Glyph glyph;
    Document whole;  // Replace only; its file is not used
};

// Applies the change, which must fit the document (an index within it; a Remove never takes
// the last frame), and returns its inverse.
FramesChange applyFramesChange(Document& document, FramesChange change);

}  // namespace stipple
