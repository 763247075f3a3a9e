#pragma once
// GIF images, still or animated, through giflib. Each frame is composed onto the one before
// as a browser shows it: a frame's transparent index leaves what is under it, and its
// disposal clears its rectangle to transparent or restores what was there before it, for the
// frame after it. Only the top-left region asked for is kept of every frame.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/ImageDecoders.h"
#include "io/ByteSource.h"

namespace stipple {

// Pixels of all frames together that one file may make the decoder decode and keep (each
// frame's own pixels and the region kept of it), and the frames it may hold: far beyond a
// sprite sheet or a display's animation, and decoded in well under a second.
constexpr std::uint64_t kGifPixelBudget = 64'000'000;
constexpr int kGifMaxFrames = 4096;

bool isGif(std::span<const std::uint8_t> firstBytes);

// The first frame in `image`'s pixels; every frame (the first one too) in `image.frames`.
ImageDecoding decodeGif(ByteSource& file, int maxWidth, int maxHeight);

std::string gifFaultMessage(const ImageDecoding& decoding, std::string_view shownPath);

}  // namespace stipple
