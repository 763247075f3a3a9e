#include "cli/Pictures.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>

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

std::unique_ptr<ByteSource> openInput(const CommandSyntax& syntax, const std::string& operand,
                                      std::string& problem) {
    if (operand == kStandardInput) {
        std::string bytes;
        // One byte more tells a longer input from one of just the most.
        if (!readInput(syntax, operand, kMaxStandardInput + 1, bytes, problem)) {
            return nullptr;
        }
        if (bytes.size() > kMaxStandardInput) {
            problem = "Could not read standard input: it holds more than " +
                      std::to_string(kMaxStandardInput >> 20) + " MiB; give the file instead.";
            return nullptr;
        }
        return std::make_unique<KeptBytes>(std::move(bytes));
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
