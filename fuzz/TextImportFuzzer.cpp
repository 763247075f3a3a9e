// Any bytes as an exported text, read as `stipple import` reads one. A refusal must name a
// line of the text; a picture read must fit the grid, hold only values 0..4, come back the
// same from both 8-bit texts written under its name, and, when the name can be stored,
// from the picture file that the import writes.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzHost.h"
#include "formats/Asm8Text.h"
#include "formats/ExportFormats.h"
#include "formats/ExportText.h"
#include "formats/PictureFile.h"
#include "formats/Windows1252.h"

namespace stipple::fuzz {
namespace {

// The checks give the fuzzer nothing to learn from; keep them out of the coverage.
__attribute__((no_sanitize("coverage"))) void checkRefusal(std::string_view text,
                                                           const std::string& error) {
    // The lines the reader counts: every line end closes one, and a last line may lack it.
    int lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    if (!text.empty() && text.back() != '\n') {
        ++lines;
    }
    constexpr std::string_view kLine = "line ";
    FUZZ_CHECK(error.starts_with(kLine));
    std::size_t at = kLine.size();
    int number = 0;
    while (at < error.size() && error[at] >= '0' && error[at] <= '9' && number <= lines + 1) {
        number = number * 10 + (error[at++] - '0');
    }
    FUZZ_CHECK(number >= 1 && number <= lines + 1);
    FUZZ_CHECK(std::string_view(error).substr(at).starts_with(": expected "));
}

__attribute__((no_sanitize("coverage"))) void checkSame(const TextPicture& read,
                                                        const TextPicture& again) {
    FUZZ_CHECK(again.name == read.name);
    FUZZ_CHECK(again.width == read.width && again.height == read.height);
    FUZZ_CHECK(again.cells == read.cells);
}

__attribute__((no_sanitize("coverage"))) void checkPicture(const TextPicture& read) {
    FUZZ_CHECK(read.width >= 1 && read.width <= kMaxPictureWidth);
    FUZZ_CHECK(read.height >= 1 && read.height <= kMaxPictureHeight);
    FUZZ_CHECK(read.cells.size() == static_cast<std::size_t>(read.width * read.height));
    for (const Pixel cell : read.cells) {
        FUZZ_CHECK(cell >= kBlack && cell <= kTransparent);
    }
    FUZZ_CHECK(read.name.find('\n') == std::string::npos);

    // Written again in either 8-bit form under the name read, it reads back the same.
    const PixelView view = PixelView::rowByRow(read.cells.data(), read.width, read.height);
    for (const std::string& text :
         {asm8FileBlock(view, read.name), exportText(view, read.name, ExportFormat::Asm8, false)}) {
        const TextReading again = readAsm8Text(text);
        FUZZ_CHECK(again.error.empty());
        checkSame(read, again.picture);
    }

    // The import stores the name in Windows-1252 when it can; the file then holds it all.
    const StorableName stored = storablePictureName(read.name);
    if (!stored) {
        FUZZ_CHECK(!stored.problem.empty());
        return;
    }
    const PictureFileReading file =
        parsePictureFile(encodePictureFile(pictureFileContent(1, stored.bytes, view)));
    FUZZ_CHECK(file.error.empty() && !file.cellsEndedEarly);
    FUZZ_CHECK(fromWindows1252(file.content.nameBytes) == read.name);
    FUZZ_CHECK(file.content.width == read.width && file.content.height == read.height);
    FUZZ_CHECK(file.content.cells == read.cells);
}

}  // namespace
}  // namespace stipple::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stipple;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TextReading reading = readAsm8Text(text);
    if (!reading) {
        fuzz::checkRefusal(text, reading.error);
    } else {
        fuzz::checkPicture(reading.picture);
    }
    // Every reader of the export formats: what comes back is a whole picture of 0..4.
    const TextReading any = readExportText(text, size % 2 == 1);
    if (any) {
        const TextPicture& read = any.picture;
        FUZZ_CHECK(read.width >= 1 && read.width <= kMaxPictureWidth);
        FUZZ_CHECK(read.height >= 1 && read.height <= kMaxPictureHeight);
        FUZZ_CHECK(read.cells.size() == static_cast<std::size_t>(read.width * read.height));
        for (const Pixel cell : read.cells) {
            FUZZ_CHECK(cell >= kBlack && cell <= kTransparent);
        }
    } else {
        FUZZ_CHECK(!any.error.empty());
    }
    return 0;
}
