// Any bytes as a set file: the reader must refuse them with one line and nothing read, or
// give a set that the document can hold, which written again reads back the same and opens
// as a document of the same frames. A file of either kind is read as the one it starts as.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzHost.h"
#include "formats/SetFile.h"

namespace stipple::fuzz {
namespace {

void checkSameSet(const SetFileContent& a, const SetFileContent& b) {
    FUZZ_CHECK(a.nameBytes == b.nameBytes && a.frameRate == b.frameRate);
    FUZZ_CHECK(a.frames.size() == b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        const PictureFileContent& x = a.frames[i];
        const PictureFileContent& y = b.frames[i];
        FUZZ_CHECK(x.version == y.version && x.nameBytes == y.nameBytes);
        FUZZ_CHECK(x.width == y.width && x.height == y.height && x.cells == y.cells);
    }
}

void checkAcceptedSet(const SetFileContent& set) {
    FUZZ_CHECK(set.frameRate >= kMinFrameRate && set.frameRate <= kMaxFrameRate);
    FUZZ_CHECK(!set.frames.empty() && set.frames.size() <= static_cast<std::size_t>(kMaxFrames));
    FUZZ_CHECK(set.nameBytes.size() <= static_cast<std::size_t>(kMaxPictureNameLength));
    FUZZ_CHECK(set.nameBytes.find('\0') == std::string::npos);
    for (const PictureFileContent& frame : set.frames) {
        FUZZ_CHECK(frame.width >= 1 && frame.width <= kMaxPictureWidth);
        FUZZ_CHECK(frame.height >= 1 && frame.height <= kMaxPictureHeight);
        FUZZ_CHECK(frame.cells.size() == static_cast<std::size_t>(frame.width * frame.height));
        for (const Pixel cell : frame.cells) {
            FUZZ_CHECK(cell >= kBlack && cell <= kTransparent);
        }
    }
    const SetFileReading again = parseSetFile(encodeSetFile(set));
    FUZZ_CHECK(again.error.empty());
    checkSameSet(again.content, set);

    // As a document and back; names that hold a line break cannot be stored again.
    const Document document = documentOfSet(set);
    FUZZ_CHECK(document.frameCount() == static_cast<int>(set.frames.size()));
    if (const StorableSet stored = storableSet(document)) {
        checkSameSet(stored.content, set);
    }
}

}  // namespace
}  // namespace stipple::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stipple;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SetFileReading reading = parseSetFile(bytes);
    if (reading) {
        fuzz::checkAcceptedSet(reading.content);
    } else {
        FUZZ_CHECK(reading.error.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(reading.content.frames.empty());
    }
    const PictureOrSetReading either = parsePictureOrSet(bytes);
    FUZZ_CHECK(either.setFile == startsLikeSetFile(bytes));
    if (either.setFile) {
        FUZZ_CHECK(either.set.error == reading.error);
    } else {
        FUZZ_CHECK(!reading);
        FUZZ_CHECK(static_cast<bool>(either.set) == pictureOrSetRefusal("f", either).empty());
        if (either.set) {
            FUZZ_CHECK(either.set.content.frames.size() == 1);
            FUZZ_CHECK(either.set.content.frameRate == kDefaultFrameRate);
        }
    }
    return 0;
}
