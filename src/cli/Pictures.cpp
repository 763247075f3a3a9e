#include "cli/Pictures.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "formats/PictureFile.h"
#include "formats/SetFile.h"
#include "formats/Windows1252.h"
#include "io/FileAccess.h"

namespace stipple::cli {

std::string shownName(const std::string& operand) {
    return operand == kStandardInput ? "standard input" : operand;
}

namespace {

// Tells the notice of a file access, whatever its outcome.
FileResult told(const CommandSyntax& syntax, FileResult result) {
    if (!result.notice.empty()) {
        tellRefused(syntax, result.notice);
    }
    return result;
}

}  // namespace

bool readInput(const CommandSyntax& syntax, const std::string& operand, std::size_t maxBytes,
               std::string& bytes, std::string& problem) {
    if (operand != kStandardInput) {
        if (const FileResult read = told(syntax, readFileStart(operand, maxBytes, bytes)); !read) {
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

// Standard input as it was read: pieces that grow with what came before, each filled
// before the next is made, so that no piece is ever copied.
class StandardInputBytes final : public ByteSource {
  public:
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        if (offset > size_ || into.size() > size_ - offset) {
            return false;
        }
        std::uint64_t start = 0;
        for (const std::vector<std::uint8_t>& piece : pieces_) {
            if (into.empty()) {
                break;
            }
            const std::uint64_t end = start + piece.size();
            if (offset < end) {
                const std::size_t from = static_cast<std::size_t>(offset - start);
                const std::size_t count = std::min(into.size(), piece.size() - from);
                std::memcpy(into.data(), piece.data() + from, count);
                into = into.subspan(count);
                offset += count;
            }
            start = end;
        }
        return true;
    }

    // Reads until the end of standard input or until it holds more than `maxBytes`; false
    // after setting `problem` when a read fails.
    bool readUpTo(std::size_t maxBytes, std::string& problem) {
        while (size_ <= maxBytes) {
            if (pieces_.empty() || pieces_.back().size() == pieces_.back().capacity()) {
                // A quarter more each time: few pieces, and the last one's unused room small.
                const std::size_t room = std::min<std::size_t>(
                    std::max<std::size_t>(size_ / 4, kFirstInputBytes), maxBytes + 1 - size_);
                pieces_.emplace_back().reserve(room);
            }
            std::vector<std::uint8_t>& piece = pieces_.back();
            const std::size_t used = piece.size();
            const std::size_t wanted =
                std::min(piece.capacity() - used, static_cast<std::size_t>(maxBytes + 1 - size_));
            piece.resize(used + wanted);
            const ssize_t n = ::read(STDIN_FILENO, piece.data() + used, wanted);
            const int error = errno;
            piece.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            if (n < 0 && error == EINTR) {
                continue;
            }
            if (n < 0) {
                problem =
                    std::string("Could not read standard input: ") + std::strerror(error) + ".";
                return false;
            }
            if (n == 0) {
                break;
            }
            size_ += static_cast<std::uint64_t>(n);
        }
        return true;
    }

    std::span<const std::uint8_t> firstBytes() const {
        return pieces_.empty() ? std::span<const std::uint8_t>() : std::span(pieces_.front());
    }

  private:
    std::vector<std::vector<std::uint8_t>> pieces_;
    std::uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<ByteSource> openInput(const CommandSyntax& syntax, const std::string& operand,
                                      InputLimitFor limitFor, std::string& problem) {
    if (operand == kStandardInput) {
        auto bytes = std::make_unique<StandardInputBytes>();
        if (!bytes->readUpTo(kFirstInputBytes - 1, problem)) {
            return nullptr;
        }
        const InputLimit limit = limitFor(bytes->firstBytes());
        if (bytes->size() == kFirstInputBytes && !bytes->readUpTo(limit.maxBytes, problem)) {
            return nullptr;
        }
        if (bytes->size() > limit.maxBytes) {
            problem = limit.overLimit;
            return nullptr;
        }
        return bytes;
    }
    auto file = std::make_unique<FileBytes>(operand);
    if (!told(syntax, file->status())) {
        problem = file->status().error;
        return nullptr;
    }
    return file;
}

std::string outputOntoInput(const std::vector<std::string>& inputs, const std::string& output) {
    struct stat out {};
    const bool toStandardOutput = output == kStandardOutput;
    if ((toStandardOutput ? ::fstat(STDOUT_FILENO, &out) : ::stat(output.c_str(), &out)) != 0 ||
        !S_ISREG(out.st_mode)) {
        return {};
    }
    for (const std::string& input : inputs) {
        struct stat in {};
        if ((input == kStandardInput ? ::fstat(STDIN_FILENO, &in) : ::stat(input.c_str(), &in)) ==
                0 &&
            in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
            return "The output \"" + (toStandardOutput ? "standard output" : output) +
                   "\" is the same file as the input \"" + shownName(input) +
                   "\"; nothing was written.";
        }
    }
    return {};
}

bool loadPicture(const CommandSyntax& syntax, const std::string& operand, LoadedPicture& into,
                 std::string& problem) {
    if (!readInput(syntax, operand, kMaxPictureFileBytes, into.fileBytes, problem)) {
        return false;
    }
    PictureFileReading& reading = into.file;
    parsePictureFile(into.fileBytes, reading);
    problem = pictureFileRefusal(shownName(operand), reading);
    if (!problem.empty()) {
        return false;
    }
    const PictureFileContent& file = reading.content;
    into.name = fromWindows1252(file.nameBytes);
    into.width = file.width;
    into.height = file.height;
    return true;
}

bool loadSet(const CommandSyntax& syntax, const std::string& operand, const LoadedPicture& loaded,
             Document& into, std::string& problem) {
    if (!startsLikeSetFile(loaded.fileBytes)) {
        return false;
    }
    if (operand == kStandardInput) {
        problem = "Could not read standard input: it holds a set file; give the file instead.";
        return false;
    }
    std::string bytes;
    if (!readInput(syntax, operand, kMaxSetFileBytes, bytes, problem)) {
        return false;
    }
    const SetFileReading reading = parseSetFile(bytes);
    problem = setFileRefusal(shownName(operand), reading);
    if (!problem.empty()) {
        return false;
    }
    into = documentOfSet(reading.content);
    return true;
}

std::string writeToStandardOutput(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        return std::string("Could not write to standard output: ") + std::strerror(errno) + ".";
    }
    return {};
}

std::string replaceWith(const CommandSyntax& syntax, const std::string& path,
                        const std::string& content) {
    const FileResult saved = told(syntax, replaceFile(path, content));
    return saved ? std::string() : saved.error;
}

std::string appendTo(const CommandSyntax& syntax, const std::string& path,
                     const std::string& content) {
    const FileResult appended = told(syntax, appendToFile(path, content));
    return appended ? std::string() : appended.error;
}

}  // namespace stipple::cli
