#include "model/UndoRing.h"

#include <cstring>
#include <new>
#include <utility>

namespace stipple {

UndoRing::UndoRing() {
    if (!levels_) {
        throw std::bad_alloc();
    }
}

int UndoRing::slotOfLevel(int k) const {
    return ((newestSlot_ - (k - 1)) % kUndoLevels + kUndoLevels) % kUndoLevels;
}

const Pixel (*UndoRing::levelPixels(int k) const)[kGridRows] {
    return levels_[slotOfLevel(k)].pixels;
}

const std::int32_t* UndoRing::levelSize(int k) const {
    return levels_[slotOfLevel(k)].size;
}

void UndoRing::push(const Picture& picture, const std::string* name, int frame) {
    // The slot after the newest is the oldest level, so writing there drops level 50.
    newestSlot_ = (newestSlot_ + 1) % kUndoLevels;
    changes_[newestSlot_].reset();
    frames_[newestSlot_] = frame;
    Level& level = levels_[newestSlot_];
    std::memcpy(level.pixels, picture.pixels, sizeof picture.pixels);
    level.size[0] = picture.width;
    level.size[1] = picture.height;
    holdsName_[newestSlot_] = name != nullptr;
    if (name != nullptr) {
        names_[newestSlot_] = *name;
    }
    if (undoCount_ < kUndoLevels) {
        ++undoCount_;
    }
}

void UndoRing::push(FramesChange change) {
    newestSlot_ = (newestSlot_ + 1) % kUndoLevels;
    changes_[newestSlot_] = std::make_unique<FramesChange>(std::move(change));
    holdsName_[newestSlot_] = false;
    if (undoCount_ < kUndoLevels) {
        ++undoCount_;
    }
}

FramesChange UndoRing::popFramesChange() {
    FramesChange change = std::move(*changes_[newestSlot_]);
    changes_[newestSlot_].reset();
    newestSlot_ = slotOfLevel(2);
    --undoCount_;
    return change;
}

bool UndoRing::pop(Picture& picture, std::string* name) {
    if (undoCount_ == 0) {
        return false;
    }
    const Level& level = levels_[newestSlot_];
    std::memcpy(picture.pixels, level.pixels, sizeof picture.pixels);
    picture.width = level.size[0];
    picture.height = level.size[1];
    if (name != nullptr && holdsName_[newestSlot_]) {
        *name = names_[newestSlot_];
    }
    newestSlot_ = slotOfLevel(2);
    --undoCount_;
    return true;
}

}  // namespace stipple
