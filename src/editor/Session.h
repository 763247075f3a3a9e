#pragma once
// One editing session: the picture with its history, the selection, the view, the tools
// and colours, and the renderer of the surface. Its state is read through const accessors
// and changed only through edit(): a transaction that takes the history step its command
// takes, applies the change and announces once, at its end, what changed. The surface is
// redrawn in one place, in answer to that announcement; the Host and any other listener
// read from the session what they show.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/Changes.h"
#include "editor/EditCheck.h"
#include "editor/Host.h"
#include "editor/SessionState.h"
#include "model/UndoRing.h"
#include "render/SurfaceRenderer.h"

namespace stipple {

// The history step an edit takes before it changes anything.
enum class Step {
    None,
    Snapshot,       // the picture's cells and size
    NamedSnapshot,  // the same with the picture's name: a change of the whole picture
};

class Session {
  public:
    explicit Session(Host& host);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Host& host() { return host_; }

    // The state of a new session, as the program starts: a 96 x 92 transparent picture at
    // pixel size 10 with grids, the pen, black and transparent.
    void start();

    // The one way to change the state: takes `step`, then calls change(state), which
    // returns what it changed, and announces that. Edits inside an edit announce with the
    // outermost one. In test and debug builds the outermost edit is checked (EditCheck.h).
    template <typename Change>
    void edit(Step step, Change&& change) {
        if (editDepth_++ == 0) {
            beginEdit();
        }
        if (step != Step::None) {
            takeStep(step);
        }
        pending_ |= std::forward<Change>(change)(state_);
        if (--editDepth_ == 0) {
            finishEdit();
        }
    }
    // Sets the state up without announcing or checking anything: only for tests and
    // benchmarks that arrange what the commands under them start from.
    template <typename Change>
    void arrange(Change&& change) {
        std::forward<Change>(change)(state_);
    }
    // Changes which frames the document holds as one step of the history (see FramesChange).
    void changeFrames(FramesChange change);
    // The step before the newest back, keeping the state it replaces for a redo; does
    // nothing when there is none. A step of another frame than the current one makes that
    // frame current first.
    void undoChange();
    // The state the last undo replaced back; does nothing when there is none.
    void redoChange();

    // The document (every frame, its name, the set's name and rate) as last written or as
    // opened or created; a close asks first while it differs from that. With `file`, the
    // picture or set file (UTF-8) it was read from or written to.
    void markWritten(const std::string* file = nullptr);
    bool hasUnwrittenChanges() const;

    // Told of every announcement after the Host; must stay subscribed only while it lives.
    void subscribe(SessionListener& listener) { listeners_.push_back(&listener); }
    void unsubscribe(SessionListener& listener);

    const SessionState& state() const { return state_; }
    const Document& document() const { return state_.document; }
    const Picture& picture() const { return state_.picture(); }
    // The picture's name, UTF-8, as the name box shows it.
    const std::string& pictureName() const { return state_.name(); }
    const Selection& selection() const { return state_.selection; }
    const ViewSettings& view() const { return state_.view; }
    Tool tool() const { return state_.tool; }
    BoxMode boxMode() const { return state_.boxMode; }
    Pixel leftColour() const { return state_.leftColour; }
    Pixel rightColour() const { return state_.rightColour; }
    bool alignToByte() const { return state_.alignToByte; }
    int pixelSize() const { return state_.view.pixelSize; }
    SurfaceGeometry geometry() const { return state_.geometry(); }
    bool pasteMode() const { return state_.tool == Tool::Box && state_.boxMode == BoxMode::Paste; }
    bool selectMode() const {
        return state_.tool == Tool::Box && state_.boxMode == BoxMode::Select;
    }
    int undoCount() const { return undo_.undoCount(); }
    int redoCount() const { return redo_.undoCount(); }
    const UndoRing& undoLevels() const { return undo_; }

    Rgb displayColour(Pixel value) const { return renderer_.displayColour(value); }
    const SurfaceRenderer& renderer() const { return renderer_; }
    const Raster& surface() const { return renderer_.raster(); }

    // Repaints the whole surface from the picture, with the selection frame when it shows,
    // and presents it: what a window's paint asks for.
    void redrawSurface();
    // The overlays that follow the mouse, drawn over the surface; they change no state.
    // The rubber band of a box drag: 0-based cells of the press and of the pointer.
    void drawRubberBand(int anchorX, int anchorY, int cellX, int cellY);
    // The paste preview at the pointer position (X, Y) in surface pixels; nothing when the
    // pointer is beyond the picture.
    void drawPastePreview(int X, int Y);

  private:
    void beginEdit();
    void finishEdit();
    // Holds the scroll position to what the scroll bars reach; kView when it moved.
    Changes holdScroll();
    void takeStep(Step step);
    void announce(const Changes& changes);
    // Moves the newest level of `from` into the picture, keeping the state it replaces in
    // `to`; false when `from` is empty.
    bool stepHistory(UndoRing& from, UndoRing& to);
    void presentSurface();
    // The picture the onion skin shows under the current one, or null.
    const Picture* onionUnder() const;

    Host& host_;
    SessionState state_;
    UndoRing undo_;
    UndoRing redo_;
    SurfaceRenderer renderer_;
    std::vector<SessionListener*> listeners_;
    bool started_ = false;
    int editDepth_ = 0;
    Changes pending_;
    // The state as the outermost edit found it, where edits are checked.
    std::unique_ptr<SessionState> before_;
    int undoBefore_ = 0, redoBefore_ = 0;
    Document written_;  // the frames, set name, rate and font lines as last written
};

}  // namespace stipple
