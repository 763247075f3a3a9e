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

    const int perByte = 8 / depth;
    int byteIndex = 0;
    int pixelCounter = 0;
    for (int y = 1; y <= source.height(); ++y) {
        for (int x = 1; x <= source.width(); ++x) {
            const int position = pixelCounter % perByte + 1;
            if (position == 1) {
                ++byteIndex;
            }
            ++pixelCounter;
            std::uint8_t& byte = store[static_cast<std::size_t>(byteIndex)];
            const Pixel value = source.at(x, y);
            switch (depth) {
                case 1:
                    byte = mergeCode1(byte, position, value);
                    break;
                case 2:
                    byte = mergeCode2(byte, position, value);
                    break;
                default:
                    byte = mergeCode4(byte, position, value);
                    break;
            }
            if (alignToByte && x == source.width() && position != perByte) {
                pixelCounter = 0;
            }
        }
    }
    assert(byteIndex == count);
    return byteIndex;
}

}  // namespace stipple
