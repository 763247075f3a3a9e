#include "formats/Packer.h"

#include <algorithm>
#include <cassert>

namespace stipple {

int packRows(const PixelView& source, int depth, bool alignToByte, std::span<std::uint8_t> store) {
    const int count = packedByteCount(source.width(), source.height(), depth, alignToByte);
    if (count == 0) {
        return 0;
    }
    const bool fits = count < static_cast<int>(store.size());
    assert(fits && "packing does not fit its store");
    if (!fits) {
        return 0;
    }
    std::fill(store.begin() + 1, store.begin() + 1 + count, std::uint8_t{0});

    // A byte's fields start at 0, so writing a field is or-ing its code into place: the
    // code is what the merge writes into the first field of a fresh byte.
    const auto codeOf = [depth](Pixel value) -> std::uint8_t {
        switch (depth) {
            case 1:
                return mergeCode1(0, 1, value);
            case 2:
                return mergeCode2(0, 1, value);
            default:
                return mergeCode4(0, 1, value);
        }
    };
    std::uint8_t codes[kTransparent + 1];
    for (Pixel value = kBlack; value <= kTransparent; ++value) {
        codes[value] = codeOf(value);
    }
    const int perByte = 8 / depth;
    int byteIndex = 0;
    int position = perByte;  // the byte before the first is full
    // A copy of its own, which the bytes written cannot alias, stays in registers.
    const PixelView view = source;
    const int width = view.width();
    const int height = view.height();
    for (int y = 1; y <= height; ++y) {
        if (alignToByte) {
            position = perByte;  // every row starts a byte of its own
        }
        for (int x = 1; x <= width; ++x) {
            if (position == perByte) {
                ++byteIndex;
                position = 0;
            }
            const Pixel value = view.at(x, y);
            const std::uint8_t code =
                value >= kBlack && value <= kTransparent ? codes[value] : codeOf(value);
            store[static_cast<std::size_t>(byteIndex)] |=
                static_cast<std::uint8_t>(code << (position * depth));
            ++position;
        }
    }
    assert(byteIndex == count);
    return byteIndex;
}

}  // namespace stipple
