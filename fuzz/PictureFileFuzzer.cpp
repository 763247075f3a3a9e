// Any bytes as a picture file: the parser must refuse them or give a picture that fits the
// grid, and Open Picture must either load exactly that or leave the picture, its size and
// its name as they were. A loaded picture saved again must read back the same.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzHost.h"
#include "editor/FileCommands.h"
#include "editor/Session.h"
#include "editor/ViewCommands.h"
#include "formats/PictureFile.h"
#include "formats/Windows1252.h"

namespace stipple::fuzz {
namespace {

struct Run {
    FuzzHost host;
    std::unique_ptr<Session> session = std::make_unique<Session>(host);
    std::unique_ptr<Picture> before = std::make_unique<Picture>();
    std::string openPath = scratchFolder() + "/opened.stw";
    std::string savePath = scratchFolder() + "/saved.stw";

    Run() {
        startSmallSession(*session);
        host.openPath = openPath;
        host.savePath = savePath;
    }
};

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void checkAcceptedContent(const PictureFileReading& reading) {
    const PictureFileContent& c = reading.content;
    FUZZ_CHECK(c.width >= 1 && c.width <= kMaxPictureWidth);
    FUZZ_CHECK(c.height >= 1 && c.height <= kMaxPictureHeight);
    FUZZ_CHECK(c.cells.size() <= static_cast<std::size_t>(c.width * c.height));
    FUZZ_CHECK(reading.cellsEndedEarly ==
               (c.cells.size() < static_cast<std::size_t>(c.width * c.height)));
    for (const Pixel cell : c.cells) {
        FUZZ_CHECK(cell >= kBlack && cell <= kTransparent);
    }
    FUZZ_CHECK(c.nameBytes.size() <= static_cast<std::size_t>(kMaxPictureNameLength));
    FUZZ_CHECK(c.nameBytes.find('\0') == std::string::npos);

    // What the writer makes of an accepted content reads back as the same content.
    const PictureFileReading again = parsePictureFile(encodePictureFile(c));
    FUZZ_CHECK(again.error.empty());
    FUZZ_CHECK(again.content.nameBytes == c.nameBytes);
    FUZZ_CHECK(again.content.width == c.width && again.content.height == c.height);
    FUZZ_CHECK(again.content.cells == c.cells);
    FUZZ_CHECK(again.cellsEndedEarly == reading.cellsEndedEarly);
}

// Open Picture on the bytes, compared with what the parser said.
void checkOpenPicture(Run& s, std::string_view bytes, const PictureFileReading& reading) {
    const Picture& picture = s.session->picture();
    std::memcpy(s.before->pixels, picture.pixels, sizeof picture.pixels);
    const int oldWidth = picture.width;
    const int oldHeight = picture.height;
    const std::string oldName = s.session->pictureName();
    const int oldMessages = s.host.messages;

    writeFile(s.openPath, bytes);
    openPicture(*s.session);

    // A refused file and one cut off before its last cell change nothing.
    if (!reading.error.empty() || reading.cellsEndedEarly) {
        FUZZ_CHECK(s.host.messages == oldMessages + 1);
        FUZZ_CHECK(picture.width == oldWidth && picture.height == oldHeight);
        FUZZ_CHECK(s.session->pictureName() == oldName);
        FUZZ_CHECK(std::memcmp(picture.pixels, s.before->pixels, sizeof picture.pixels) == 0);
        return;
    }
    const PictureFileContent& c = reading.content;
    FUZZ_CHECK(s.host.messages == oldMessages);
    FUZZ_CHECK(picture.width == c.width && picture.height == c.height);
    FUZZ_CHECK(s.session->pictureName() == fromWindows1252(c.nameBytes));
    for (int x = 0; x < kGridCols; ++x) {
        for (int y = 0; y < kGridRows; ++y) {
            const std::size_t i = static_cast<std::size_t>((y - 1) * c.width + (x - 1));
            const bool fromFile =
                x >= 1 && x <= c.width && y >= 1 && y <= c.height && i < c.cells.size();
            FUZZ_CHECK(picture.pixels[x][y] == (fromFile ? c.cells[i] : s.before->pixels[x][y]));
        }
    }

    // Saved again, the picture reads back with the same name bytes, size and cells; a name
    // with a line break is refused with a message and nothing is written.
    const int messagesBeforeSave = s.host.messages;
    std::remove(s.savePath.c_str());
    savePicture(*s.session);
    if (!storablePictureName(s.session->pictureName())) {
        FUZZ_CHECK(s.host.messages == messagesBeforeSave + 1);
        FUZZ_CHECK(readFile(s.savePath).empty());
        return;
    }
    FUZZ_CHECK(s.host.messages == messagesBeforeSave);
    const PictureFileReading saved = parsePictureFile(readFile(s.savePath));
    FUZZ_CHECK(saved.error.empty() && !saved.cellsEndedEarly);
    FUZZ_CHECK(saved.content.nameBytes == c.nameBytes);
    FUZZ_CHECK(saved.content.width == c.width && saved.content.height == c.height);
    for (int y = 1; y <= c.height; ++y) {
        for (int x = 1; x <= c.width; ++x) {
            FUZZ_CHECK(saved.content.cells[static_cast<std::size_t>((y - 1) * c.width + x - 1)] ==
                       picture.pixels[x][y]);
        }
    }
}

}  // namespace
}  // namespace stipple::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stipple;
    static fuzz::Run run;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PictureFileReading reading = parsePictureFile(bytes);
    if (reading.error.empty()) {
        fuzz::checkAcceptedContent(reading);
    }
    fuzz::checkOpenPicture(run, bytes, reading);
    return 0;
}
