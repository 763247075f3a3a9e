#pragma once
// The whole editing state of one picture, in fixed arrays sized for the largest picture.
// Coordinates are 1-based: pixels[x][y] with x = 1..pictureWidth (columns) and
// y = 1..pictureHeight (rows); index 0 of every dimension is never part of a picture.

#include <cstdint>

namespace stipple {

using Pixel = std::int32_t;  // 0 black, 1 66 % gray, 2 33 % gray, 3 white, 4 transparent
using Rgb = std::uint32_t;   // 0x00RRGGBB

constexpr Pixel kBlack = 0;
constexpr Pixel kGray66 = 1;
constexpr Pixel kGray33 = 2;
constexpr Pixel kWhite = 3;
constexpr Pixel kTransparent = 4;

constexpr int kMaxPictureWidth = 96;
constexpr int kMaxPictureHeight = 92;
constexpr int kGridCols = kMaxPictureWidth + 1;   // 97, index 0 unused
constexpr int kGridRows = kMaxPictureHeight + 1;  // 93, index 0 unused
constexpr int kSelDim = 97;  // a box of the full width still fits after a quarter turn
constexpr int kUndoLevels = 50;
constexpr int kMaxPixelSize = 49;

// Packing stores, used from index 1. The 1-bpp store also holds a quarter-turned box of
// 92 columns by 96 rows packed with row alignment: 12 bytes x 96 rows = 1152 bytes.
constexpr int kPacked1Size = 1153;
constexpr int kPacked2Size = 2220;
constexpr int kPacked4Size = 4440;

struct PictureModel {
    std::int32_t fileVersion = 0;
    Pixel pixels[kGridCols][kGridRows] = {};
    Pixel selBuffer[kSelDim][kSelDim] = {};
    Pixel turnBuffer[kSelDim][kSelDim] = {};
    // Undo levels live in a ring: slot undoNewestSlot is level 1 (the newest), the slot
    // before it level 2, and so on.
    Pixel undoPixels[kUndoLevels][kGridCols][kGridRows] = {};
    std::int32_t undoSizes[kUndoLevels][2] = {};  // (width, height) per slot
    int undoNewestSlot = 0;
    std::uint8_t packed1[kPacked1Size] = {};
    std::uint8_t packed2[kPacked2Size] = {};
    std::uint8_t packed4[kPacked4Size] = {};
    std::int32_t packedCount = 0;
    std::int32_t pictureHeight = 0;
    std::int32_t pictureWidth = 0;
    std::int32_t viewHeight = 0;
    std::int32_t viewWidth = 0;
    std::int32_t pixelSize = 0;
    Pixel leftColour = 0;
    Pixel rightColour = 0;
    bool gridsOn = false;
    bool borderOn = false;
    bool bufferFilled = false;
    bool leftDown = false;
    bool rightDown = false;
    Rgb blackRgb = 0, gray33Rgb = 0, gray66Rgb = 0, whiteRgb = 0, transparentRgb = 0;
    Rgb gridRgb = 0;
    Rgb borderRgb = 0;
    bool toolPen = false, toolPipe = false, toolBucket = false, toolBox = false,
         toolChangeColour = false;
    bool selectionShown = false;
    bool boxDragging = false;
    bool undoAvailable = false;
    std::int32_t undoCount = 0;
    std::int32_t selX1 = 0, selY1 = 0, selX2 = 0, selY2 = 0;
    std::int32_t boxLeft = 0, boxTop = 0, boxRight = 0, boxBottom = 0;
    std::int32_t selWidth = 0, selHeight = 0;
    bool pasteMode = false;
    bool selectMode = false;
    bool alignToByte = false;

    // Level k (1 = newest .. 50) of the undo store.
    Pixel (*undoLevelPixels(int k))[kGridRows];
    std::int32_t* undoLevelSize(int k);

    // Copies the picture and its size into a new level 1; the oldest level is dropped when
    // all 50 are in use. Only the store and undoCount change.
    void pushUndoLevel();
    // Copies level 1 back into the picture and its size and drops it; undoCount goes down.
    void popUndoLevel();
};

}  // namespace stipple
