#pragma once
// What the device shows of the bytes a layout writes: each cell's code read back from the
// bytes through the layout's byte map, in the colours of a kind of display. A gray that
// shares its code with another shows as that one does; without the mask a transparent cell
// shows its code, with it a cell whose mask bit is 0 shows as a checker.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/ByteLayout.h"

namespace stipple {

enum class DeviceColours {
    Target,        // the target's own, else black on white
    LitOnBlack,    // an OLED: the codes lit on black
    GreenShades,   // the four greens of the classic handheld, code 0 the lightest
    PaperGrays,    // an e-paper's grays, code 0 the paper
    BlackOnWhite,  // code 0 white, the highest black
};

// The words of the choice, in the order of DeviceColours.
std::span<const std::string_view> deviceColourWords();
// The colours a target's display shows in; BlackOnWhite for any other.
DeviceColours coloursOfTarget(std::string_view target);

struct DeviceImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB, rows from the top
};

// The width x height cells that `bytes` hold by `map` (both in the layout's order), shown in
// `colours` (not Target).
DeviceImage deviceImage(std::span<const std::uint8_t> bytes, const std::vector<ByteCells>& map,
                        int width, int height, const ByteLayout& layout, DeviceColours colours);

}  // namespace stipple
