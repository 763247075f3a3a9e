// Reading back the layout texts that layoutText writes.
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/LayoutText.h"
#include "formats/LayoutTextParts.h"

namespace stipple {

using namespace layout_text;

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The inside of a comment line, or nothing for a line that is no comment.
std::optional<std::string_view> commentIn(std::string_view line, const Notation& notation) {
    const std::size_t markers = notation.commentOpen.size() + notation.commentClose.size();
    if (line.size() < markers || !line.starts_with(notation.commentOpen) ||
        !line.ends_with(notation.commentClose)) {
        return std::nullopt;
    }
    return line.substr(notation.commentOpen.size(), line.size() - markers);
}

std::string at(std::size_t line, const std::string& problem) {
    return "line " + std::to_string(line) + ": " + problem;
}

// The first comment line's words after "stipple: " into `reading`, or why not.
std::string readHead(std::string_view head, LayoutTextReading& reading) {
    if (head.starts_with(kSetWord)) {
        return "the text holds the frames of a set; only the text of one picture can be read";
    }
    if (!head.starts_with("name \"")) {
        return "expected name \"NAME\" after \"stipple:\"";
    }
    std::size_t i = 6;
    for (; i < head.size() && head[i] != '"'; ++i) {
        if (head[i] == '\\' && i + 1 < head.size()) {
            ++i;
        }
        reading.name += head[i];
    }
    if (i >= head.size()) {
        return "the name has no closing quote";
    }
    std::vector<std::string_view> words;
    for (std::string_view rest = head.substr(i + 1); !rest.empty();) {
        if (rest[0] != ' ') {
            return "expected a space after the name";
        }
        rest.remove_prefix(1);
        const std::size_t space = rest.find(' ');
        words.push_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? "" : rest.substr(space);
    }
    const std::string expected =
        "expected WxH depth D levels B,G66,G33,W,T order O scan S align A planes P mask M";
    if (words.size() != 1 + 2 * std::size(kLayoutKeys)) {
        return expected;
    }
    const std::size_t x = words[0].find('x');
    reading.width = numberIn(words[0].substr(0, x), kMaxPictureWidth);
    reading.height =
        x == std::string_view::npos ? -1 : numberIn(words[0].substr(x + 1), kMaxPictureHeight);
    if (reading.width < 1 || reading.height < 1) {
        return "the size \"" + std::string(words[0]) + "\" is not WxH of 1 to " +
               std::to_string(kMaxPictureWidth) + " by 1 to " + std::to_string(kMaxPictureHeight);
    }
    for (std::size_t k = 0; k < std::size(kLayoutKeys); ++k) {
        const std::string_view key = words[1 + 2 * k];
        if (key != kLayoutKeys[k]) {
            return expected;
        }
        if (std::string problem = setLayoutWord(reading.layout, key, words[2 + 2 * k]);
            !problem.empty()) {
            return problem;
        }
    }
    return layoutProblem(reading.layout);
}

// The numbers of a line of bytes, or why not.
std::string readBytes(std::string_view values, const Notation& notation,
                      std::vector<std::uint8_t>& bytes) {
    for (std::size_t start = 0;;) {
        const std::size_t comma = values.find(", ", start);
        const std::string_view item = values.substr(start, comma - start);
        int value = -1;
        if (item.starts_with(notation.hexPrefix)) {
            value = numberIn(item.substr(notation.hexPrefix.size()), 255, 16);
        } else if (item.starts_with(notation.binPrefix)) {
            value = numberIn(item.substr(notation.binPrefix.size()), 255, 2);
        } else {
            value = codeIn(item);
        }
        if (value < 0) {
            std::string problem(1, '"');
            return problem.append(item).append("\" is not a byte");
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
        if (comma == std::string_view::npos) {
            return "";
        }
        start = comma + 2;
    }
}

}  // namespace

bool isLayoutText(std::string_view text) {
    for (const Syntax syntax : {Syntax::Gas, Syntax::Ca65}) {
        if (text.starts_with(std::string(notationOf(syntax).commentOpen) + std::string(kHeadTag))) {
            return true;
        }
    }
    return false;
}

LayoutTextReading readLayoutText(std::string_view text) {
    LayoutTextReading reading;
    const std::vector<std::string_view> lines = linesOf(text);
    // Gas and c share one comment form, ca65 and db the other.
    const bool slashes = text.starts_with("/* ");
    const Notation notation = notationOf(slashes ? Syntax::Gas : Syntax::Ca65);
    const std::optional<std::string_view> head = commentIn(lines[0], notation);
    if (!head || !head->starts_with(kHeadTag)) {
        reading.error = at(1, "expected the comment \"stipple: name ...\"");
        return reading;
    }
    if (std::string problem = readHead(head->substr(kHeadTag.size()), reading); !problem.empty()) {
        reading.error = at(1, problem);
        return reading;
    }
    // A preview: the line that names its characters, then a row of them per row of cells.
    std::size_t n = 1;
    if (n < lines.size() && commentIn(lines[n], notation).value_or("").starts_with(kPreviewTag)) {
        ++n;
    }
    for (std::optional<std::string_view> row;
         n < lines.size() && (row = commentIn(lines[n], notation)).has_value(); ++n) {
        const bool drawn =
            std::all_of(row->begin(), row->end(), [](char c) { return c > ' ' && c <= '~'; });
        if (row->size() != static_cast<std::size_t>(reading.width) || !drawn) {
            reading.error = at(n + 1, "expected a row of the preview, one character per cell");
            return reading;
        }
    }
    const std::size_t count = layoutByteCount(reading.width, reading.height, reading.layout);
    const Syntax pair[2] = {slashes ? Syntax::Gas : Syntax::Ca65, slashes ? Syntax::C : Syntax::Db};
    const Frame frames[2] = {frameOf(pair[0], reading.name, reading.width, reading.height, count),
                             frameOf(pair[1], reading.name, reading.width, reading.height, count)};
    const std::string_view next = n < lines.size() ? lines[n] : "";
    const Frame& frame = next == frames[1].head[0] ? frames[1] : frames[0];
    for (const std::string& line : frame.head) {
        if (n >= lines.size() || lines[n] != line) {
            reading.error = at(n + 1, "expected \"" + line + "\"");
            return reading;
        }
        ++n;
    }
    for (; n < lines.size() && lines[n].starts_with(frame.linePrefix) &&
           lines[n].ends_with(frame.lineEnd) && lines[n] != frame.tail;
         ++n) {
        const std::string_view line = lines[n];
        const std::string_view values = line.substr(
            frame.linePrefix.size(), line.size() - frame.linePrefix.size() - frame.lineEnd.size());
        if (std::string problem = readBytes(values, notation, reading.bytes); !problem.empty()) {
            reading.error = at(n + 1, problem);
            return reading;
        }
    }
    if (reading.bytes.size() != count) {
        reading.error = at(n + 1, "the text holds " + std::to_string(reading.bytes.size()) +
                                      " bytes; the layout takes " + std::to_string(count));
        return reading;
    }
    if (!frame.tail.empty()) {
        if (n >= lines.size() || lines[n] != frame.tail) {
            reading.error = at(n + 1, "expected \"" + std::string(frame.tail) + "\"");
            return reading;
        }
        ++n;
    }
    for (; n < lines.size(); ++n) {
        if (!lines[n].empty()) {
            reading.error = at(n + 1, "expected the end of the text");
            return reading;
        }
    }
    return reading;
}

}  // namespace stipple
