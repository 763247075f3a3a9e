#include "formats/Asm8Text.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "formats/ByteLayout.h"

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

bool sizeFits(int width, int height) {
    return width >= 1 && width <= kMaxPictureWidth && height >= 1 && height <= kMaxPictureHeight;
}

// The size line into `picture`, or false.
bool readSizeLine(std::string_view line, TextPicture& picture) {
    std::vector<int> numbers;
    if (line.size() < kSizeComment.size() ||
        line.substr(line.size() - kSizeComment.size()) != kSizeComment ||
        !readNumbers(line.substr(0, line.size() - kSizeComment.size()), numbers) ||
        numbers.size() != 2 || !sizeFits(numbers[0], numbers[1])) {
        return false;
    }
    picture.width = numbers[0];
    picture.height = numbers[1];
    return true;
}

// The lines after the first of an assembler text: the name followed by `nameEnd`, then the
// size line. Returns why not, or "".
std::string readNameAndSize(Lines& lines, std::string_view nameEnd, TextPicture& picture) {
    std::string_view line;
    if (!lines.next(line) || line.size() < nameEnd.size() ||
        line.substr(line.size() - nameEnd.size()) != nameEnd) {
        return at(2, "expected the picture's name followed by \"" + std::string(nameEnd) + "\"");
    }
    picture.name = std::string(line.substr(0, line.size() - nameEnd.size()));
    if (!lines.next(line) || !readSizeLine(line, picture)) {
        return at(3, "expected \".byte W,H  /* Image size*/\" with a width of 1 to " +
                         std::to_string(kMaxPictureWidth) + " and a height of 1 to " +
                         std::to_string(kMaxPictureHeight));
    }
    return "";
}

// Only empty lines may follow.
std::string readEnd(Lines& lines, const char* after) {
    std::string_view line;
    while (lines.next(line)) {
        if (!line.empty()) {
            return at(lines.number(), std::string("expected the end of the text after ") + after);
        }
    }
    return "";
}

}  // namespace

TextReading readAsm8Text(std::string_view text) {
    TextReading reading;
    TextPicture& picture = reading.picture;
    Lines lines(text);
    std::string_view line;

    if (!lines.next(line) || (line != kFileFormHead && line != kClipboardHead)) {
        reading.error = at(1, "expected \"" + std::string(kFileFormHead) + "\" or \"" +
                                  std::string(kClipboardHead) + "\"");
        return reading;
    }
    // The file form writes "name:", the clipboard text "name: ".
    reading.error = readNameAndSize(lines, line == kFileFormHead ? ":" : ": ", picture);
    if (!reading.error.empty()) {
        return reading;
    }
    std::vector<int> numbers;
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
    reading.error = readEnd(lines, "the last row");
    return reading;
}

TextReading readCppArrayText(std::string_view text) {
    TextReading reading;
    TextPicture& picture = reading.picture;
    Lines lines(text);
    std::string_view line;
    if (!lines.next(line) || line != kFileFormHead) {
        reading.error = at(1, "expected \"" + std::string(kFileFormHead) + "\"");
        return reading;
    }
    // NAME[W][H]={, read from the end since the name may hold anything.
    std::vector<int> size;
    if (lines.next(line) && line.ends_with("]={")) {
        std::string_view rest = line.substr(0, line.size() - 2);
        for (int i = 0; i < 2 && rest.ends_with(']'); ++i) {
            const std::size_t open = rest.rfind('[');
            if (open == std::string_view::npos) {
                break;
            }
            int value = 0;
            const std::string_view digits = rest.substr(open + 1, rest.size() - open - 2);
            const auto [end, problem] =
                std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (problem != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
                break;
            }
            size.insert(size.begin(), value);
            rest = rest.substr(0, open);
        }
        picture.name = std::string(rest);
    }
    if (size.size() != 2 || !sizeFits(size[0], size[1])) {
        reading.error =
            at(2, "expected NAME[W][H]={ with a width of 1 to " + std::to_string(kMaxPictureWidth) +
                      " and a height of 1 to " + std::to_string(kMaxPictureHeight));
        return reading;
    }
    picture.width = size[0];
    picture.height = size[1];
    const std::string row = "expected {" + std::to_string(picture.width) +
                            " values from 0 to 4}, one row of the picture";
    std::vector<int> numbers;
    for (int y = 1; y <= picture.height; ++y) {
        const bool got = lines.next(line);
        if (!got || line.size() < 2 || line.front() != '{' || line.back() != '}' ||
            !readNumbers(".byte " + std::string(line.substr(1, line.size() - 2)), numbers) ||
            static_cast<int>(numbers.size()) != picture.width ||
            std::any_of(numbers.begin(), numbers.end(),
                        [](int v) { return v < kBlack || v > kTransparent; })) {
            reading.error = at(lines.number() + (got ? 0 : 1), row);
            return reading;
        }
        picture.cells.insert(picture.cells.end(), numbers.begin(), numbers.end());
    }
    if (!lines.next(line) || line != "}") {
        reading.error = at(lines.number() + 1, "expected \"}\" after the last row");
        return reading;
    }
    reading.error = readEnd(lines, "\"}\"");
    return reading;
}

TextReading readPackedText(std::string_view text, bool aligned) {
    TextReading reading;
    TextPicture& picture = reading.picture;
    Lines lines(text);
    std::string_view line;
    constexpr std::pair<int, std::string_view> kHeads[] = {{1, "/* format 1 bit per pixel */"},
                                                           {2, "/* format 2 bits per pixel */"},
                                                           {4, "/* format 4 bits per pixel */"}};
    int depth = 0;
    if (lines.next(line)) {
        for (const auto& [d, head] : kHeads) {
            depth = line == head ? d : depth;
        }
    }
    if (depth == 0) {
        reading.error = at(1, "expected \"/* format D bit(s) per pixel */\" for 1, 2 or 4");
        return reading;
    }
    reading.error = readNameAndSize(lines, ": ", picture);
    if (!reading.error.empty()) {
        return reading;
    }
    ByteLayout layout;
    layout.depth = depth;
    layout.levels = defaultLevels(depth);
    const std::size_t loose = layoutByteCount(picture.width, picture.height, layout);
    layout.align = true;
    const std::size_t alignedCount = layoutByteCount(picture.width, picture.height, layout);
    std::vector<std::uint8_t> bytes;
    std::vector<int> numbers;
    while (bytes.size() < alignedCount && lines.next(line)) {
        if (line.empty() && bytes.size() == loose) {
            break;
        }
        if (!readNumbers(line, numbers) || numbers.size() > 25 ||
            std::any_of(numbers.begin(), numbers.end(), [](int v) { return v > 255; })) {
            reading.error =
                at(lines.number(), "expected \".byte\" and up to 25 values from 0 to 255");
            return reading;
        }
        bytes.insert(bytes.end(), numbers.begin(), numbers.end());
    }
    if (bytes.size() != loose && bytes.size() != alignedCount) {
        reading.error =
            at(lines.number() + 1, "the text holds " + std::to_string(bytes.size()) + " bytes; " +
                                       std::to_string(loose) + " or, aligned, " +
                                       std::to_string(alignedCount) + " are needed");
        return reading;
    }
    layout.align = loose == alignedCount ? aligned : bytes.size() == alignedCount;
    LayoutReading cells = readLayoutBytes(bytes, picture.width, picture.height, layout);
    if (!cells.error.empty()) {
        reading.error = cells.error;
        return reading;
    }
    picture.cells = std::move(cells.cells);
    reading.error = readEnd(lines, "the bytes");
    return reading;
}

}  // namespace stipple
