#include "model/PictureModel.h"

#include <cstring>

namespace stipple {

namespace {
int slotOfLevel(int newestSlot, int level) {
    return ((newestSlot - (level - 1)) % kUndoLevels + kUndoLevels) % kUndoLevels;
}
}  // namespace

Pixel (*PictureModel::undoLevelPixels(int k))[kGridRows] {
    return undoPixels[slotOfLevel(undoNewestSlot, k)];
}

std::int32_t* PictureModel::undoLevelSize(int k) {
    return undoSizes[slotOfLevel(undoNewestSlot, k)];
}

void PictureModel::pushUndoLevel() {
    // The slot after the newest is the oldest level, so writing there drops level 50.
    undoNewestSlot = (undoNewestSlot + 1) % kUndoLevels;
    std::memcpy(undoPixels[undoNewestSlot], pixels, sizeof pixels);
    undoSizes[undoNewestSlot][0] = pictureWidth;
    undoSizes[undoNewestSlot][1] = pictureHeight;
    if (undoCount < kUndoLevels) {
        ++undoCount;
    }
}

void PictureModel::popUndoLevel() {
    std::memcpy(pixels, undoPixels[undoNewestSlot], sizeof pixels);
    pictureWidth = undoSizes[undoNewestSlot][0];
    pictureHeight = undoSizes[undoNewestSlot][1];
    undoNewestSlot = slotOfLevel(undoNewestSlot, 2);
    if (undoCount > 0) {
        --undoCount;
    }
}

}  // namespace stipple
