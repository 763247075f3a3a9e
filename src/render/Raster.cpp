#include "render/Raster.h"

#include "model/Line.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace stipple {

namespace {
constexpr std::uint32_t kOpaque = 0xFF000000u;
}

namespace {

constexpr std::size_t kBytes = sizeof(std::uint32_t) * Raster::kStoredWidth * Raster::kStoredHeight;
// One large page holds the whole stored part where the system offers such pages, so that
// drawing it the first time takes one page fault instead of a few hundred.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
static_assert(kBytes <= kLargePage);

}  // namespace

Raster::Raster() : bits_(static_cast<std::uint32_t*>(std::aligned_alloc(kLargePage, kLargePage))) {
    if (bits_ == nullptr) {
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    ::madvise(bits_, kLargePage, MADV_HUGEPAGE);
#endif
    std::memset(bits_, 0, kBytes);
}

Raster::~Raster() {
    std::free(bits_);
}

void Raster::setLogicalSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void Raster::setOrigin(int x, int y) {
    originX_ = std::max(x, 0);
    originY_ = std::max(y, 0);
}

void Raster::fill(Rgb colour) {
    fillRect(0, 0, width_, height_, colour);
}

void Raster::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    left = std::max(left, originX_) - originX_;
    top = std::max(top, originY_) - originY_;
    right = std::min({right, width_, originX_ + kStoredWidth}) - originX_;
    bottom = std::min({bottom, height_, originY_ + kStoredHeight}) - originY_;
    if (left >= right || top >= bottom) {
        return;
    }
    const std::uint32_t value = kOpaque | colour;
    for (int y = top; y < bottom; ++y) {
        std::fill(bits_ + y * kStoredWidth + left, bits_ + y * kStoredWidth + right, value);
    }
}

void Raster::copyRow(int from, int top, int bottom) {
    const int rows = std::min(height_ - originY_, kStoredHeight);
    from -= originY_;
    if (from < 0 || from >= rows) {
        return;
    }
    top = std::max(top - originY_, 0);
    bottom = std::min(bottom - originY_, rows);
    const std::size_t bytes =
        static_cast<std::size_t>(std::clamp(width_ - originX_, 0, kStoredWidth)) * 4;
    for (int y = top; y < bottom; ++y) {
        if (y != from) {
            std::memcpy(bits_ + y * kStoredWidth, bits_ + from * kStoredWidth, bytes);
        }
    }
}

bool Raster::stored(int x, int y) const {
    return x >= originX_ && y >= originY_ && x < width_ && y < height_ &&
           x < originX_ + kStoredWidth && y < originY_ + kStoredHeight;
}

void Raster::plot(int x, int y, Rgb colour) {
    if (stored(x, y)) {
        bits_[(y - originY_) * kStoredWidth + x - originX_] = kOpaque | colour;
    }
}

Rgb Raster::pixel(int x, int y) const {
    return stored(x, y) ? bits_[(y - originY_) * kStoredWidth + x - originX_] & 0xFFFFFFu : 0;
}

void Raster::drawLine(int x0, int y0, int x1, int y1, Rgb colour, PenStyle style, int& dashPhase) {
    if (style == PenStyle::Solid && (x0 == x1 || y0 == y1)) {
        // Grid lines are long and straight: fill them as one span. The end point is
        // excluded, so a span runs [x0, x1) forwards and (x1, x0] backwards.
        if (y0 == y1) {
            fillRect(x0 < x1 ? x0 : x1 + 1, y0, x0 < x1 ? x1 : x0 + 1, y0 + 1, colour);
        } else {
            fillRect(x0, y0 < y1 ? y0 : y1 + 1, x0 + 1, y0 < y1 ? y1 : y0 + 1, colour);
        }
        return;
    }
    // The cells of the picture's straight lines, without the end point.
    forEachLineCell(x0, y0, x1, y1, [&](int x, int y) {
        if (x == x1 && y == y1) {
            return;
        }
        if (style == PenStyle::Solid) {
            plot(x, y, colour);
        } else {
            plot(x, y, dashPhase < kDashOn ? colour : kDashGapRgb);
            dashPhase = (dashPhase + 1) % (kDashOn + kDashOff);
        }
    });
}

void Raster::line(int x0, int y0, int x1, int y1, Rgb colour, PenStyle style) {
    int dashPhase = 0;
    drawLine(x0, y0, x1, y1, colour, style, dashPhase);
}

void Raster::closedLine(const int (*corners)[2], int count, Rgb colour, PenStyle style) {
    int dashPhase = 0;
    for (int i = 0; i < count; ++i) {
        const int* from = corners[i];
        const int* to = corners[(i + 1) % count];
        drawLine(from[0], from[1], to[0], to[1], colour, style, dashPhase);
    }
}

}  // namespace stipple
