#pragma once
// Images that become a set of frames: a sprite sheet cut into cells of one size, and the
// frames of an animation, each taken into the levels as a single import takes its image.

#include <string>
#include <string_view>

#include "formats/BitmapConversion.h"
#include "formats/ImageDecoders.h"
#include "model/Document.h"

namespace stipple {

// The most of a sheet that is read to be cut: 4096 x 4096 pixels hold 4,096 cells of 64 x 64.
constexpr int kSheetRegionSide = 4096;

// Cells of cellWidth x cellHeight, `spacing` pixels apart, in reading order: left to right,
// then top to bottom, only whole cells; with skipEmpty no frame comes of a cell that is
// transparent everywhere once taken in.
struct FrameGrid {
    int cellWidth = 0;
    int cellHeight = 0;
    int spacing = 0;
    bool skipEmpty = false;
};

// Why the grid cannot cut: a cell outside 1..96 x 1..92, a spacing below 0 or above 1000;
// empty when it can.
std::string frameGridProblem(const FrameGrid& grid);

struct ImageFrames {
    Document document;
    std::string problem;  // why nothing came of it; empty when it did
    explicit operator bool() const { return problem.empty(); }
};

// The frames of the image under `name`, taken from the settings' region (of each frame of
// an animation): with a grid, every cell of it, from its top-left corner; without one, the
// region of each frame, or of the image alone. Each is taken in as a single import takes its
// image (fitted when asked); exact colours are counted over all of them, so that a colour
// takes one level in every frame. The frames are named NAME_1, NAME_2, ...; an animation's
// delays give the set's frame rate. A region outside the image, more colours than the exact
// colours take, more frames than a set holds, or none at all, is a problem.
ImageFrames framesOfImage(const DecodedImage& image, const FrameGrid* grid,
                          const BitmapImport& settings, std::string_view name);

// How many frames the image gives before empty cells are skipped: every whole cell of the
// region of each of an animation's frames with a grid, one a frame without.
std::size_t framesBeforeSkipping(const DecodedImage& image, const FrameGrid* grid,
                                 const BitmapImport& settings);

// The frame rate closest to an animation's mean delay (hundredths of a second; delays of 0
// and 1 count as 10, as browsers show them), held to 1..60.
int frameRateOfDelays(std::span<const int> delays);

}  // namespace stipple
