#include "model/Document.h"

#include <utility>

namespace stipple {

FramesChange applyFramesChange(Document& document, FramesChange change) {
    FramesChange inverse;
    auto& frames = document.frames;
    const auto at = [&](int i) { return frames.begin() + i; };
    switch (change.kind) {
        case FramesChange::Kind::Insert:
            frames.insert(at(change.index), std::move(change.frame));
            document.current = change.index;
            inverse.kind = FramesChange::Kind::Remove;
            inverse.index = change.index;
            break;
        case FramesChange::Kind::Remove:
            inverse.kind = FramesChange::Kind::Insert;
            inverse.index = change.index;
            inverse.frame = std::move(frames[static_cast<std::size_t>(change.index)]);
            frames.erase(at(change.index));
            document.current = change.index > 0 ? change.index - 1 : 0;
            break;
        case FramesChange::Kind::Move: {
            Frame moved = std::move(frames[static_cast<std::size_t>(change.index)]);
            frames.erase(at(change.index));
            frames.insert(at(change.to), std::move(moved));
            document.current = change.to;
            inverse.kind = FramesChange::Kind::Move;
            inverse.index = change.to;
            inverse.to = change.index;
            break;
        }
        case FramesChange::Kind::Replace: {
            inverse.kind = FramesChange::Kind::Replace;
            std::string file = std::move(document.file);
            inverse.whole = std::move(document);
            document = std::move(change.whole);
            document.file = std::move(file);
            break;
        }
        case FramesChange::Kind::Glyph: {
            std::optional<Glyph>& glyph = frames[static_cast<std::size_t>(change.index)].glyph;
            inverse.kind = FramesChange::Kind::Glyph;
            inverse.index = change.index;
            inverse.glyph = glyph.value_or(Glyph{});
            glyph = change.glyph;
            document.current = change.index;
            break;
        }
    }
    return inverse;
}

}  // namespace stipple
