#include "cli/Pictures.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>

#include "io/FileAccess.h"
#include "formats/PictureFile.h"
#include "formats/Windows1252.h"

namespace stipple::cli {

std::string shownName(const std::string& operand) {
    return operand == kStandardInput ? "standard input" : operand;
}

bool readInput(const std::string& operand, std::size_t maxBytes, std::string& bytes,
               std::string& problem) {
    if (operand != kStandardInput) {
        if (const FileResult read = readFileStart(operand, maxBytes, bytes); !read) {
            problem = read.error;
            return false;
        }
        return true;
    }
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            problem = std::string("Could not read standard input: ") + std::strerror(errno) + ".";
            return false;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    bytes.resize(std::min(bytes.size(), maxBytes));
    return true;
}

namespace {

// Bytes read from standard input and kept.
class KeptBytes final : public ByteSource {
  public:
    explicit KeptBytes(std::string bytes)
        : bytes_(std::move(bytes)),
          view_(std::span(reinterpret_cast<const std::uint8_t*>(bytes_.data()), bytes_.size())) {}
    std::uint64_t size() const override { return view_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        return view_.read(offset, into);
    }

  private:
    std::string bytes_;
    MemoryBytes view_;
};

// Standard input is read whole up to this; a bitmap of any size is better given as a file.
constexpr std::size_t kMaxStandardInput = 256 * 1024 * 1024;

}  // namespace

std::unique_ptr<ByteSource> openInput(const std::string& operand, std::string& problem) {
    if (operand == kStandardInput) {
        std::string bytes;
        if (!readInput(operand, kMaxStandardInput, bytes, problem)) {
            return nullptr;
        }
        return std::make_unique<KeptBytes>(std::move(bytes));
    }
    auto file = std::make_unique<FileBytes>(operand);
    if (!file->status()) {
        problem = file->status().error;
        return nullptr;
    }
    return file;
}

bool loadPicture(const std::string& operand, LoadedPicture& into, std::string& problem) {
    if (!readInput(operand, kMaxPictureFileBytes, into.fileBytes, problem)) {
        return false;
    }
    const std::string shown = shownName(operand);
    PictureFileReading& reading = into.file;
    parsePictureFile(into.fileBytes, reading);
    if (!reading.error.empty()) {
        problem = "Could not open \"" + shown + "\": " + reading.error + ".";
        return false;
    }
    const PictureFileContent& file = reading.content;
    if (reading.cellsEndedEarly) {
        problem = "The picture file \"" + shown + "\" is incomplete: it ends after " +
                  std::to_string(file.cells.size()) + " of its " +
                  std::to_string(file.width * file.height) + " pixels.";
        return false;
    }
    into.name = fromWindows1252(file.nameBytes);
    into.width = file.width;
    into.height = file.height;
    return true;
}

void LoadedPicture::copyTo(Picture& picture) const {
    picture.width = width;
    picture.height = height;
    const Pixel* cell = file.content.cells.data();
    for (int y = 1; y <= height; ++y) {
        for (int x = 1; x <= width; ++x) {
            picture.pixels[x][y] = *cell++;
        }
    }
}

std::string writeToStandardOutput(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        return std::string("Could not write to standard output: ") + std::strerror(errno) + ".";
    }
    return {};
}

std::string replaceWith(const std::string& path, const std::string& content) {
    const FileResult saved = replaceFile(path, content);
    return saved ? std::string() : saved.error;
}

std::string appendTo(const std::string& path, const std::string& content) {
    const FileResult appended = appendToFile(path, content);
    return appended ? std::string() : appended.error;
}

}  // namespace stipple::cli
