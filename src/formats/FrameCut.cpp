#include "formats/FrameCut.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "formats/ImageImport.h"

namespace stipple {

namespace {

bool allTransparent(const BitmapImport& import) {
    for (int x = 1; x <= import.importWidth; ++x) {
        for (int y = 1; y <= import.importHeight; ++y) {
            if (import.importPixels[x][y] != kTransparent) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

std::string frameGridProblem(const FrameGrid& grid) {
    if (grid.cellWidth < 1 || grid.cellWidth > kMaxPictureWidth || grid.cellHeight < 1 ||
        grid.cellHeight > kMaxPictureHeight) {
        return "a cell of " + std::to_string(grid.cellWidth) + " x " +
               std::to_string(grid.cellHeight) + " is not a picture's size (1 to " +
               std::to_string(kMaxPictureWidth) + " x 1 to " + std::to_string(kMaxPictureHeight) +
               ")";
    }
    if (grid.spacing < 0 || grid.spacing > 1000) {
        return "a spacing of " + std::to_string(grid.spacing) + " is not 0 to 1000 pixels";
    }
    return {};
}

std::size_t framesBeforeSkipping(const DecodedImage& image, const FrameGrid* grid,
                                 const BitmapImport& settings) {
    const std::size_t sources = image.frames.empty() ? 1 : image.frames.size();
    if (grid == nullptr) {
        return sources;
    }
    // Whole cells along a side of `length`, each `cell` long and `pitch` after the one before.
    const auto along = [](int length, int cell, int pitch) -> std::size_t {
        return cell > 0 && length >= cell ? std::size_t((length - cell) / pitch) + 1 : 0;
    };
    const RgbView region = regionOf(image.view(), settings);
    return sources * along(region.width, grid->cellWidth, grid->cellWidth + grid->spacing) *
           along(region.height, grid->cellHeight, grid->cellHeight + grid->spacing);
}

int frameRateOfDelays(std::span<const int> delays) {
    if (delays.empty()) {
        return kDefaultFrameRate;
    }
    double total = 0;
    for (const int d : delays) {
        total += d < 2 ? 10 : d;
    }
    const double rate = std::round(100.0 * static_cast<double>(delays.size()) / total);
    return std::clamp(static_cast<int>(rate), kMinFrameRate, kMaxFrameRate);
}

ImageFrames framesOfImage(const DecodedImage& image, const FrameGrid* grid,
                          const BitmapImport& settings, std::string_view name) {
    ImageFrames result;
    Document& document = result.document;
    document.setName = std::string(name);
    const bool animated = !image.frames.empty();
    if (animated) {
        document.frameRate = frameRateOfDelays(image.frameDelays);
    }
    if (result.problem = regionProblem(settings, image.width, image.height);
        !result.problem.empty()) {
        return result;
    }
    const std::size_t sources = animated ? image.frames.size() : 1;
    // The region of each frame: the frames share the decoded size of the first.
    std::vector<RgbView> regions;
    for (std::size_t f = 0; f < sources; ++f) {
        const std::uint32_t* pixels = animated ? image.frames[f].data() : image.pixels.data();
        regions.push_back(regionOf(
            RgbView{pixels, image.regionWidth, image.regionHeight, image.regionWidth}, settings));
    }
    BitmapImport import = settings;
    if (!takeExactColours(regions, import)) {
        result.problem = "it has " + tooManyColours(import);
        return result;
    }
    document.frames.clear();
    const int w = regions.front().width;
    const int h = regions.front().height;
    const auto take = [&](const RgbView& view) {
        if (document.frameCount() >= kMaxFrames) {
            return false;
        }
        importRegion(view, import);
        if (grid != nullptr && grid->skipEmpty && allTransparent(import)) {
            return true;
        }
        Frame& frame = document.frames.emplace_back();
        frame.name = std::string(name) + "_" + std::to_string(document.frameCount());
        frame.picture.assign(
            PixelView(import.importPixels, import.importWidth, import.importHeight));
        return true;
    };
    // Without a grid the whole region is one cell, of which the import takes the top-left.
    const FrameGrid whole{w, h, 0, false};
    const FrameGrid& cut = grid != nullptr ? *grid : whole;
    // Each frame is large (36 KB): growing the list would copy every one made so far.
    document.frames.reserve(
        std::min(framesBeforeSkipping(image, grid, settings), std::size_t(kMaxFrames)));
    const int pitchX = cut.cellWidth + cut.spacing;
    const int pitchY = cut.cellHeight + cut.spacing;
    for (const RgbView& region : regions) {
        for (int top = 0; top + cut.cellHeight <= h; top += pitchY) {
            for (int left = 0; left + cut.cellWidth <= w; left += pitchX) {
                const RgbView cell{
                    region.pixels + static_cast<std::ptrdiff_t>(top) * region.stride + left,
                    cut.cellWidth, cut.cellHeight, region.stride};
                if (!take(cell)) {
                    result.problem = "it makes more than " + std::to_string(kMaxFrames) +
                                     " frames, the most a set holds";
                    return result;
                }
            }
        }
    }
    if (document.frames.empty()) {
        document.frames.resize(1);
        result.problem = cut.skipEmpty ? "every cell is empty" : "no whole cell fits in it";
    }
    return result;
}

}  // namespace stipple
