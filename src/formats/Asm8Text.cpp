#include "formats/Asm8Text.h"

#include <charconv>

namespace stipple {

namespace {

constexpr std::string_view kFileFormHead = "/*Created by VexlanImageMaker */";
constexpr std::string_view kClipboardHead = "/* format 8 bits per pixel */";
constexpr std::string_view kDirective = ".byte ";
constexpr std::string_view kSizeComment = "  /* Image size*/";

// The text's lines, each without its line end.
class Lines {
  public:
    explicit Lines(std::string_view text) : rest_(text) {}
    bool next(std::string_view& line) {
        if (rest_.empty()) {
            return false;
        }
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number_;
        return true;
    }
    int number() const { return number_; }

  private:
    std::string_view rest_;
    int number_ = 0;
};

// Comma-separated decimal numbers after ".byte ", nothing else.
bool readNumbers(std::string_view line, std::vector<int>& numbers) {
    numbers.clear();
    if (line.substr(0, kDirective.size()) != kDirective) {
        return false;
    }
    line.remove_prefix(kDirective.size());
    while (true) {
        int value = 0;
        const auto [end, problem] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (problem != std::errc() || end == line.data() || *line.data() == '+' ||
            *line.data() == '-') {
            return false;
        }
        numbers.push_back(value);
        line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        if (line.empty()) {
            return true;
        }
        if (line.front() != ',') {
            return false;
        }
        line.remove_prefix(1);
    }
}

std::string at(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

Asm8Reading readAsm8Text(std::string_view text) {
    Asm8Reading reading;
    Asm8Picture& picture = reading.picture;
    Lines lines(text);
    std::string_view line;

    if (!lines.next(line) || (line != kFileFormHead && line != kClipboardHead)) {
        reading.error = at(1, "expected \"" + std::string(kFileFormHead) + "\" or \"" +
                                  std::string(kClipboardHead) + "\"");
        return reading;
    }
    // The file form writes "name:", the clipboard text "name: ".
    const std::string_view nameEnd = line == kFileFormHead ? ":" : ": ";
    if (!lines.next(line) || line.size() < nameEnd.size() ||
        line.substr(line.size() - nameEnd.size()) != nameEnd) {
        reading.error =
            at(2, "expected the picture's name followed by \"" + std::string(nameEnd) + "\"");
        return reading;
    }
    picture.name = std::string(line.substr(0, line.size() - nameEnd.size()));

    std::vector<int> numbers;
    if (!lines.next(line) || line.size() < kSizeComment.size() ||
        line.substr(line.size() - kSizeComment.size()) != kSizeComment ||
        !readNumbers(line.substr(0, line.size() - kSizeComment.size()), numbers) ||
        numbers.size() != 2 || numbers[0] < 1 || numbers[0] > kMaxPictureWidth || numbers[1] < 1 ||
        numbers[1] > kMaxPictureHeight) {
        reading.error = at(3, "expected \".byte W,H  /* Image size*/\" with a width of 1 to " +
                                  std::to_string(kMaxPictureWidth) + " and a height of 1 to " +
                                  std::to_string(kMaxPictureHeight));
        return reading;
    }
    picture.width = numbers[0];
    picture.height = numbers[1];

    const std::string row = "expected \".byte\" and " + std::to_string(picture.width) +
                            " values from 0 to 4, one row of the picture";
    picture.cells.reserve(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 1; y <= picture.height; ++y) {
        if (!lines.next(line)) {
            reading.error =
                at(lines.number() + 1, row + "; the text ends after " + std::to_string(y - 1) +
                                           " of its " + std::to_string(picture.height) + " rows");
            return reading;
        }
        if (!readNumbers(line, numbers) || static_cast<int>(numbers.size()) != picture.width) {
            reading.error = at(lines.number(), row);
            return reading;
        }
        for (const int value : numbers) {
            if (value < kBlack || value > kTransparent) {
                reading.error = at(lines.number(), row);
                return reading;
            }
            picture.cells.push_back(value);
        }
    }
    while (lines.next(line)) {
        if (!line.empty()) {
            reading.error = at(lines.number(), "expected the end of the text after the last row");
            return reading;
        }
    }
    return reading;
}

}  // namespace stipple
