#include "editor/FrameCommands.h"

#include <algorithm>
#include <utility>

#include "editor/GlyphText.h"
#include "editor/Messages.h"

namespace stipple {

namespace {

using namespace changed;

// In a font every glyph has a code point of its own: a new one takes the first free one
// after the current glyph's, with the current glyph's metrics.
void takeFreeCodePoint(const Document& document, Frame& frame) {
    if (!document.font) {
        return;
    }
    const std::optional<Glyph>& current = document.currentFrame().glyph;
    Glyph glyph = current.value_or(Glyph{});
    const auto taken = [&](int code) {
        return std::any_of(document.frames.begin(), document.frames.end(), [code](const Frame& f) {
            return f.glyph && f.glyph->codePoint == code;
        });
    };
    do {
        glyph.codePoint = glyph.codePoint < kMaxCodePoint ? glyph.codePoint + 1 : 0;
    } while (taken(glyph.codePoint));
    frame.glyph = glyph;
}

FramesChange insertAfterCurrent(const Session& s, Frame frame) {
    takeFreeCodePoint(s.document(), frame);
    FramesChange change;
    change.kind = FramesChange::Kind::Insert;
    change.index = s.document().current + 1;
    change.frame = std::move(frame);
    return change;
}

}  // namespace

void newFrame(Session& s) {
    if (s.document().frameCount() >= kMaxFrames) {
        return;
    }
    Frame frame;
    frame.picture.fileVersion = s.picture().fileVersion;
    frame.picture.width = s.picture().width;
    frame.picture.height = s.picture().height;
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        std::fill_n(&frame.picture.pixels[x][1], kMaxPictureHeight, kTransparent);
    }
    frame.name = s.document().setName + std::to_string(s.document().current + 2);
    s.changeFrames(insertAfterCurrent(s, std::move(frame)));
}

void duplicateFrame(Session& s) {
    if (s.document().frameCount() >= kMaxFrames) {
        return;
    }
    s.changeFrames(insertAfterCurrent(s, s.document().currentFrame()));
}

void setGlyph(Session& s, Glyph glyph) {
    const Document& document = s.document();
    if (!document.font || !document.currentFrame().glyph) {
        return;
    }
    glyph.codePoint = std::clamp(glyph.codePoint, 0, kMaxCodePoint);
    for (int* metric : {&glyph.advance, &glyph.xOffset, &glyph.yOffset}) {
        *metric = std::clamp(*metric, -kMaxFontMetric, kMaxFontMetric);
    }
    if (glyph == *document.currentFrame().glyph) {
        return;
    }
    for (int i = 0; i < document.frameCount(); ++i) {
        const std::optional<Glyph>& other = document.frames[static_cast<std::size_t>(i)].glyph;
        if (i != document.current && other && other->codePoint == glyph.codePoint) {
            // Two glyphs of one code point would not save.
            s.host().showMessage(codePointText(glyph.codePoint) + " is the code point of frame " +
                                     std::to_string(i + 1) + " already.",
                                 kMessageCaption);
            return;
        }
    }
    FramesChange change;
    change.kind = FramesChange::Kind::Glyph;
    change.index = document.current;
    change.glyph = glyph;
    s.changeFrames(std::move(change));
}

void deleteFrame(Session& s) {
    if (s.document().frameCount() < 2) {
        return;
    }
    FramesChange change;
    change.kind = FramesChange::Kind::Remove;
    change.index = s.document().current;
    s.changeFrames(std::move(change));
}

namespace {

void moveFrame(Session& s, int by) {
    const int from = s.document().current;
    const int to = from + by;
    if (to < 0 || to >= s.document().frameCount()) {
        return;
    }
    FramesChange change;
    change.kind = FramesChange::Kind::Move;
    change.index = from;
    change.to = to;
    s.changeFrames(std::move(change));
}

}  // namespace

void moveFrameEarlier(Session& s) {
    moveFrame(s, -1);
}

void moveFrameLater(Session& s) {
    moveFrame(s, +1);
}

void selectFrame(Session& s, int index) {
    if (index < 0 || index >= s.document().frameCount() || index == s.document().current) {
        return;
    }
    s.edit(Step::None, [index](SessionState& st) {
        st.document.current = index;
        // No line goes on from a cell of another frame.
        st.lastPenX = st.lastPenY = 0;
        return Changes{kFrames | kCells | kSize | kName | kDrag};
    });
}

void previousFrame(Session& s) {
    const int count = s.document().frameCount();
    selectFrame(s, (s.document().current + count - 1) % count);
}

void nextFrame(Session& s) {
    selectFrame(s, (s.document().current + 1) % s.document().frameCount());
}

void renameSet(Session& s, const std::string& name) {
    if (name == s.document().setName) {
        return;
    }
    s.edit(Step::None, [&](SessionState& st) {
        st.document.setName = name;
        return Changes{kFrames};
    });
}

void setFrameRate(Session& s, int framesPerSecond) {
    const int rate = std::clamp(framesPerSecond, kMinFrameRate, kMaxFrameRate);
    if (rate == s.document().frameRate) {
        return;
    }
    s.edit(Step::None, [rate](SessionState& st) {
        st.document.frameRate = rate;
        return Changes{kFrames};
    });
}

void toggleOnionSkin(Session& s) {
    s.edit(Step::None, [](SessionState& st) {
        st.view.onionSkin = !st.view.onionSkin;
        return Changes{kView};
    });
}

}  // namespace stipple
