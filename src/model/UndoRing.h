#pragma once
// The undo store: up to 50 snapshots of the whole picture grid and its size. The levels
// live in a ring, so a snapshot is one copy and nothing shifts; pushing onto a full store
// drops the oldest level. The ring's memory is taken once, zeroed by the system, and only
// becomes resident as levels are used.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "model/Document.h"
#include "model/Picture.h"

namespace stipple {

class UndoRing {
  public:
    UndoRing();

    // Copies the picture's cells and size into a new level 1; with `name`, the level holds
    // the picture's name too (a step that changes the whole picture, as an open does).
    // `frame` is the index of the document's frame the picture is.
    void push(const Picture& picture, const std::string* name = nullptr, int frame = 0);
    // A level that changes which frames the document holds: the change that takes it back.
    void push(FramesChange change);
    // Whether level 1 is such a change; false when the store is empty.
    bool newestChangesFrames() const { return undoCount_ > 0 && changes_[newestSlot_] != nullptr; }
    // The frame level 1's picture belongs to.
    int newestFrame() const { return undoCount_ > 0 ? frames_[newestSlot_] : 0; }
    // Takes level 1, which must change frames, out of the store.
    FramesChange popFramesChange();
    // Copies level 1 back into the picture's cells and size and drops it; false, and the
    // picture untouched, when the store is empty. Where the level holds a name, it goes
    // into `name`.
    bool pop(Picture& picture, std::string* name = nullptr);
    // Whether level 1 holds a name; false when the store is empty.
    bool newestHoldsName() const { return undoCount_ > 0 && holdsName_[newestSlot_]; }
    // Drops every level.
    void clear() {
        undoCount_ = 0;
        for (auto& change : changes_) {
            change.reset();
        }
    }
    // Levels in use, 0..50.
    int undoCount() const { return undoCount_; }

    // Cells and (width, height) of level k, 1 = newest .. 50.
    const Pixel (*levelPixels(int k) const)[kGridRows];
    const std::int32_t* levelSize(int k) const;

  private:
    struct Level {
        Pixel pixels[kGridCols][kGridRows];
        std::int32_t size[2];  // width, height
    };
    struct Free {
        void operator()(Level* levels) const { std::free(levels); }
    };
    int slotOfLevel(int k) const;

    std::unique_ptr<Level[], Free> levels_{
        static_cast<Level*>(std::calloc(kUndoLevels, sizeof(Level)))};
    // The names of the levels that hold one, by slot; empty strings take no memory.
    std::array<std::string, kUndoLevels> names_;
    std::array<bool, kUndoLevels> holdsName_{};
    std::array<int, kUndoLevels> frames_{};
    std::array<std::unique_ptr<FramesChange>, kUndoLevels> changes_;
    int newestSlot_ = 0;  // the slot of level 1; the slot before it holds level 2, and so on
    int undoCount_ = 0;
};

}  // namespace stipple
