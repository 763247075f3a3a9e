#include "editor/Session.h"

#include <algorithm>
#include <cstring>

namespace stipple {

Session::Session(Host& host) : host_(host) {
    if constexpr (kEditsChecked) {
        before_ = std::make_unique<SessionState>();
    }
}

void Session::beginEdit() {
    pending_ = {};
    if constexpr (kEditsChecked) {
        *before_ = state_;
        undoBefore_ = undo_.undoCount();
        redoBefore_ = redo_.undoCount();
    }
}

void Session::finishEdit() {
    if (pending_.has(changed::kSize | changed::kView | changed::kFrames)) {
        pending_ |= holdScroll();
    }
    if constexpr (kEditsChecked) {
        std::string parts = unannouncedChanges(*before_, state_, pending_.what);
        if ((undo_.undoCount() != undoBefore_ || redo_.undoCount() != redoBefore_) &&
            !pending_.has(changed::kHistory)) {
            parts += parts.empty() ? "history" : " history";
        }
        if (!parts.empty()) {
            reportEditFault(parts);
        }
    }
    if (pending_.what != 0) {
        announce(pending_);
    }
}

Changes Session::holdScroll() {
    const SurfaceGeometry geometry = state_.geometry();
    const int x = geometry.scrollX();
    const int y = geometry.scrollY();
    if (x == state_.view.scrollX && y == state_.view.scrollY) {
        return {};
    }
    state_.view.scrollX = x;
    state_.view.scrollY = y;
    return {changed::kView};
}

void Session::start() {
    renderer_.initColourTable();
    started_ = true;
    edit(Step::None, [](SessionState& st) {
        st.picture().fileVersion = 1;
        st.tool = Tool::Pen;
        st.picture().height = kMaxPictureHeight;
        st.picture().width = kMaxPictureWidth;
        st.view.viewHeight = Raster::kStoredHeight;
        st.view.viewWidth = Raster::kStoredWidth;
        // The window may have given the surface its room already.
        if (st.view.roomWidth == 0 || st.view.roomHeight == 0) {
            st.view.roomWidth = Raster::kStoredWidth;
            st.view.roomHeight = Raster::kStoredHeight;
        }
        st.view.gridsOn = true;
        st.boxDragging = false;
        st.view.borderOn = false;
        st.view.pixelSize = 10;
        st.rightColour = kTransparent;
        st.name() = "Name";
        // Every cell of the grid, also beyond the picture's size, takes the right colour.
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            std::fill_n(&st.picture().pixels[x][1], kMaxPictureHeight, st.rightColour);
        }
        return Changes{changed::kEverything};
    });
    markWritten();
}

void Session::takeStep(Step step) {
    if (step == Step::NamedSnapshot) {
        undo_.push(state_.picture(), &state_.name(), state_.document.current);
        // Another picture comes: no line goes on from a cell of this one.
        if (state_.lastPenX != 0 || state_.lastPenY != 0) {
            state_.lastPenX = state_.lastPenY = 0;
            pending_ |= Changes{changed::kDrag};
        }
    } else {
        undo_.push(state_.picture(), nullptr, state_.document.current);
    }
    redo_.clear();  // a new change drops what could be redone
    pending_ |= Changes{changed::kHistory};
}

void Session::announce(const Changes& c) {
    // Before the start there is no surface yet; the start announces everything.
    if (c.what == 0 || !started_) {
        return;
    }
    // While a box is dragged, or pasted, the rubber band or the paste preview redraws the
    // surface as the pointer moves on: the frame shown or hidden by a press or a release
    // alone waits for that.
    const bool bandOnly =
        (state_.boxDragging || pasteMode()) && (c.what & changed::kSurface) == changed::kSelection;
    if ((c.what & changed::kSurface) == changed::kCells && c.cellX > 0) {
        renderer_.view = state_.view;
        renderer_.paintCell(state_.picture(), c.cellX, c.cellY, onionUnder());
        presentSurface();
    } else if (c.has(changed::kSurface) && !bandOnly) {
        redrawSurface();
    }
    host_.sessionChanged(*this, c);
    for (SessionListener* listener : listeners_) {
        listener->sessionChanged(*this, c);
    }
}

void Session::unsubscribe(SessionListener& listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener),
                     listeners_.end());
}

bool Session::stepHistory(UndoRing& from, UndoRing& to) {
    if (from.undoCount() == 0) {
        return false;
    }
    edit(Step::None, [&](SessionState& st) {
        Changes changes{changed::kCells | changed::kSize | changed::kHistory};
        if (from.newestChangesFrames()) {
            to.push(applyFramesChange(st.document, from.popFramesChange()));
            st.lastPenX = st.lastPenY = 0;
            changes.what |= changed::kFrames | changed::kName | changed::kDrag;
            return changes;
        }
        // The step belongs to a frame: that frame is shown again to take it back.
        if (const int frame = from.newestFrame(); frame != st.document.current) {
            st.document.current = frame;
            st.lastPenX = st.lastPenY = 0;
            changes.what |= changed::kFrames | changed::kName | changed::kDrag;
        }
        const int frame = st.document.current;
        if (from.newestHoldsName()) {
            to.push(st.picture(), &st.name(), frame);
            from.pop(st.picture(), &st.name());
            changes.what |= changed::kName;
        } else {
            to.push(st.picture(), nullptr, frame);
            from.pop(st.picture());
        }
        return changes;
    });
    return true;
}

void Session::changeFrames(FramesChange change) {
    edit(Step::None, [&](SessionState& st) {
        undo_.push(applyFramesChange(st.document, std::move(change)));
        redo_.clear();
        st.lastPenX = st.lastPenY = 0;
        return Changes{changed::kFrames | changed::kCells | changed::kSize | changed::kName |
                       changed::kHistory | changed::kDrag};
    });
}

void Session::undoChange() {
    stepHistory(undo_, redo_);
}

void Session::redoChange() {
    stepHistory(redo_, undo_);
}

void Session::markWritten(const std::string* file) {
    edit(Step::None, [&](SessionState& st) {
        written_.frames = st.document.frames;
        written_.setName = st.document.setName;
        written_.frameRate = st.document.frameRate;
        written_.font = st.document.font;
        if (file != nullptr) {
            st.document.file = *file;
        }
        return Changes{changed::kFile};
    });
}

namespace {

// Whether the frame holds what was written: its name, glyph, size and the cells inside it.
bool sameAsWritten(const Frame& now, const Frame& written) {
    const Picture& p = now.picture;
    if (written.picture.width != p.width || written.picture.height != p.height ||
        written.name != now.name || written.glyph != now.glyph) {
        return false;
    }
    for (int x = 1; x <= p.width; ++x) {
        if (std::memcmp(&written.picture.pixels[x][1], &p.pixels[x][1],
                        sizeof(Pixel) * static_cast<std::size_t>(p.height)) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool Session::hasUnwrittenChanges() const {
    const Document& d = state_.document;
    if (d.frames.size() != written_.frames.size() || d.setName != written_.setName ||
        d.frameRate != written_.frameRate || d.font != written_.font) {
        return true;
    }
    for (std::size_t i = 0; i < d.frames.size(); ++i) {
        if (!sameAsWritten(d.frames[i], written_.frames[i])) {
            return true;
        }
    }
    return false;
}

void Session::redrawSurface() {
    renderer_.view = state_.view;
    renderer_.drawPicture(state_.picture(), onionUnder());
    if (state_.selection.frameShown) {
        renderer_.drawSelectionFrame(state_.selection);
    }
    presentSurface();
}

const Picture* Session::onionUnder() const {
    const Document& d = state_.document;
    if (!state_.view.onionSkin || d.current == 0) {
        return nullptr;
    }
    return &d.frames[static_cast<std::size_t>(d.current - 1)].picture;
}

void Session::presentSurface() {
    host_.presentSurface(renderer_.raster());
}

void Session::drawRubberBand(int anchorX, int anchorY, int cellX, int cellY) {
    if (renderer_.rubberBandMoved(cellX, cellY)) {
        redrawSurface();
        renderer_.drawRubberBand(anchorX, anchorY, cellX, cellY);
        presentSurface();
    }
}

void Session::drawPastePreview(int X, int Y) {
    const SurfaceGeometry geometry = state_.geometry();
    const int cx = geometry.cellX(X);
    const int cy = geometry.cellY(Y);
    if (cx > state_.picture().width || cy > state_.picture().height) {
        return;
    }
    if (renderer_.pastePreviewMoved(cx, cy)) {
        redrawSurface();
        renderer_.drawPastePreview(state_.picture(), state_.selection, cx, cy);
        presentSurface();
    }
}

}  // namespace stipple
