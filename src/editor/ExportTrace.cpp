// The Export preview's trace between the numbers of the text and the cells of the source,
// and what the device shows of the bytes: both read the layout's map of the bytes.
#include <algorithm>

#include "editor/ExportPreview.h"
#include "formats/TargetText.h"

namespace stipple {

// ---- The trace ----

void ExportPreview::mapBytes() {
    const PixelView view = source();
    const ByteLayout layout = tracedLayout(format().id, settings());
    mapWidth_ = view.width();
    mapHeight_ = view.height();
    byteMap_ = layoutProblem(layout).empty() ? byteMap(mapWidth_, mapHeight_, layout)
                                             : std::vector<ByteCells>();
    if (format().id == ExportFormat::Arduboy && layout.mask) {
        const std::size_t image = imageByteCount(mapWidth_, mapHeight_, layout);
        byteMap_ = pairedWithMask(std::move(byteMap_), image);
    }
    bytesOfCell_.assign(static_cast<std::size_t>(mapWidth_ * mapHeight_), {});
    for (std::size_t b = 0; b < byteMap_.size(); ++b) {
        for (const BitPlace& place : byteMap_[b]) {
            std::vector<int>& bytes =
                bytesOfCell_[static_cast<std::size_t>((place.y - 1) * mapWidth_ + place.x - 1)];
            if (bytes.empty() || bytes.back() != static_cast<int>(b)) {
                bytes.push_back(static_cast<int>(b));
            }
        }
    }
}

TextRange ExportPreview::rangeOf(int number) const {
    const ValueSpan& span = spans_[static_cast<std::size_t>(number)];
    return {static_cast<int>(span.offset) + spanShift_, static_cast<int>(span.length)};
}

std::vector<CellRect> ExportPreview::traceFromText(int position) {
    // One way at a time: the cell traced before lets go of its numbers.
    tracedX_ = tracedY_ = 0;
    tracedByte_ = -1;
    const auto after = std::upper_bound(
        spans_.begin(), spans_.end(), position,
        [this](int p, const ValueSpan& s) { return p < static_cast<int>(s.offset) + spanShift_; });
    if (position >= 0 && after != spans_.begin()) {
        const int number = static_cast<int>(after - 1 - spans_.begin());
        const TextRange range = rangeOf(number);
        if (position <= range.position + range.length) {
            tracedByte_ = number;
        }
    }
    tell(kTrace);
    return frames();
}

std::vector<CellRect> ExportPreview::frames() const {
    std::vector<CellRect> cells;
    // The copied box is framed where it was copied from, while it still stands there.
    if (tracedByte_ < 0 || tracedByte_ >= static_cast<int>(byteMap_.size()) ||
        (fromBox_ && !boxInPlace())) {
        return cells;
    }
    const Selection& box = session_.selection();
    const SurfaceGeometry geometry = session_.geometry();
    const int left = fromBox_ ? box.boxLeft - 1 : 0;
    const int top = fromBox_ ? box.boxTop - 1 : 0;
    for (const BitPlace& place : byteMap_[static_cast<std::size_t>(tracedByte_)]) {
        const CellRect cell = geometry.cell(left + place.x, top + place.y);
        if (std::none_of(cells.begin(), cells.end(), [&](const CellRect& c) {
                return c.left == cell.left && c.top == cell.top;
            })) {
            cells.push_back(cell);
        }
    }
    return cells;
}

std::optional<TextRange> ExportPreview::tracedNumber() const {
    if (tracedByte_ < 0 || tracedByte_ >= static_cast<int>(spans_.size())) {
        return std::nullopt;
    }
    return rangeOf(tracedByte_);
}

std::vector<TextRange> ExportPreview::traceFromCell(int x, int y) {
    if (fromBox_) {
        // The cells of a box moved since it was copied are not where the pointer is.
        const Selection& box = session_.selection();
        const bool inPlace = boxInPlace();
        x = inPlace ? x - (box.boxLeft - 1) : 0;
        y = inPlace ? y - (box.boxTop - 1) : 0;
    }
    const bool inside = x >= 1 && y >= 1 && x <= mapWidth_ && y <= mapHeight_;
    tracedX_ = inside ? x : 0;
    tracedY_ = inside ? y : 0;
    tell(kTrace);
    return highlights();
}

std::vector<TextRange> ExportPreview::traceFromSurface(int x, int y) {
    const SurfaceGeometry geometry = session_.geometry();
    const bool inside = geometry.inPicture(x, y);
    return traceFromCell(inside ? geometry.cellX(x) : 0, inside ? geometry.cellY(y) : 0);
}

std::vector<TextRange> ExportPreview::highlights() const {
    std::vector<TextRange> ranges;
    if (tracedX_ < 1 || tracedY_ < 1 || tracedX_ > mapWidth_ || tracedY_ > mapHeight_) {
        return ranges;
    }
    for (const int b :
         bytesOfCell_[static_cast<std::size_t>((tracedY_ - 1) * mapWidth_ + tracedX_ - 1)]) {
        if (b < static_cast<int>(spans_.size())) {
            ranges.push_back(rangeOf(b));
        }
    }
    return ranges;
}

DeviceImage ExportPreview::deviceImage() const {
    if (!written_ || fontSource()) {
        return {};
    }
    const PixelView view = source();
    const ByteLayout layout = tracedLayout(format().id, settings());
    std::vector<std::uint8_t> bytes = layoutBytes(view, layout);
    if (format().id == ExportFormat::Arduboy && layout.mask) {
        const std::size_t image = imageByteCount(view.width(), view.height(), layout);
        bytes = pairedWithMask(std::move(bytes), image);
    }
    DeviceColours colours = deviceColours_;
    if (colours == DeviceColours::Target) {
        const auto shown = shownTarget();
        colours =
            coloursOfTarget(shown && format().family == FormatFamily::Device ? shown->first : "");
    }
    return stipple::deviceImage(bytes, byteMap_, mapWidth_, mapHeight_, layout, colours);
}

}  // namespace stipple
