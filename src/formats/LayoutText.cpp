#include "formats/LayoutText.h"

#include "formats/LayoutTextParts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace stipple {

using namespace layout_text;

std::optional<Syntax> syntaxNamed(std::string_view word) {
    static constexpr std::array<std::pair<std::string_view, Syntax>, 9> kSyntaxes{
        {{"gas", Syntax::Gas},
         {"ca65", Syntax::Ca65},
         {"db", Syntax::Db},
         {"c", Syntax::C},
         {"bin", Syntax::Bin},
         {"xbm", Syntax::Xbm},
         {"adafruit-gfx", Syntax::AdafruitGfx},
         {"arduboy", Syntax::Arduboy},
         {"python", Syntax::Python}}};
    return lookUp(kSyntaxes, word);
}

std::optional<Base> baseNamed(std::string_view word) {
    return lookUp(kBases, word);
}

std::span<const std::string_view> baseWords() {
    static constexpr std::array<std::string_view, 3> kWords = {kBases[0].first, kBases[1].first,
                                                               kBases[2].first};
    return kWords;
}

std::string identifierOf(std::string_view name) {
    if (name.empty()) {
        return "sprite";
    }
    std::string id;
    if (name[0] >= '0' && name[0] <= '9') {
        id += '_';
    }
    for (const char c : name) {
        const bool kept =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        id += kept ? c : '_';
    }
    return id;
}

std::string layoutWord(const ByteLayout& layout, std::string_view key) {
    if (key == "depth") {
        return std::to_string(layout.depth);
    }
    if (key == "levels") {
        std::string levels;
        for (const int level : layout.levels) {
            if (!levels.empty()) {
                levels += ',';
            }
            levels += std::to_string(level);
        }
        return levels;
    }
    const std::string_view word = key == "order"    ? wordOf(kOrders, layout.order)
                                  : key == "scan"   ? wordOf(kScans, layout.scan)
                                  : key == "align"  ? wordOf(kYesNo, layout.align)
                                  : key == "planes" ? wordOf(kPlanes, layout.planes)
                                  : key == "mask"   ? wordOf(kYesNo, layout.mask)
                                                    : "";
    return std::string(word);
}

std::vector<std::string_view> layoutWordChoices(std::string_view key) {
    const auto wordsOf = [](const auto& table) {
        std::vector<std::string_view> words;
        for (const auto& entry : table) {
            words.push_back(entry.first);
        }
        return words;
    };
    if (key == "depth") {
        return {"1", "2", "4", "8"};
    }
    return key == "order"    ? wordsOf(kOrders)
           : key == "scan"   ? wordsOf(kScans)
           : key == "planes" ? wordsOf(kPlanes)
                             : std::vector<std::string_view>();
}

std::string layoutWords(const ByteLayout& layout) {
    std::string words;
    for (const std::string_view key : kLayoutKeys) {
        if (!words.empty()) {
            words += ' ';
        }
        words.append(key).append(" ").append(layoutWord(layout, key));
    }
    return words;
}

std::string setLayoutWord(ByteLayout& layout, std::string_view key, std::string_view word) {
    std::string quoted(1, '"');
    quoted.append(word).push_back('"');
    if (key == "depth") {
        const int depth = codeIn(word);
        if (depth != 1 && depth != 2 && depth != 4 && depth != 8) {
            return "the depth " + quoted + " is not 1, 2, 4 or 8";
        }
        layout.depth = depth;
    } else if (key == "levels") {
        // A refused word leaves the levels as they were.
        std::array<int, 5> levels{};
        std::size_t start = 0;
        for (std::size_t v = 0; v < levels.size(); ++v) {
            const std::size_t comma = word.find(',', start);
            const bool last = v + 1 == levels.size();
            if ((comma == std::string_view::npos) != last) {
                return "the levels " + quoted + " are not five codes, black to transparent";
            }
            const int code = codeIn(word.substr(start, last ? word.npos : comma - start));
            if (code < 0) {
                return "the levels " + quoted + " are not five codes, black to transparent";
            }
            levels[v] = code;
            start = comma + 1;
        }
        layout.levels = levels;
    } else if (key == "order") {
        const std::optional<BitOrder> order = lookUp(kOrders, word);
        if (!order) {
            return "the order " + quoted + " is not lsb or msb";
        }
        layout.order = *order;
    } else if (key == "scan") {
        const std::optional<Scan> scan = lookUp(kScans, word);
        if (!scan) {
            return "the scan " + quoted + " is not rows, pages or tiles";
        }
        layout.scan = *scan;
    } else if (key == "planes") {
        const std::optional<Planes> planes = lookUp(kPlanes, word);
        if (!planes) {
            return "the planes " + quoted + " are not packed, separate or interleaved";
        }
        layout.planes = *planes;
    } else if (key == "align") {
        const std::optional<bool> align = lookUp(kYesNo, word);
        if (!align) {
            return "the align " + quoted + " is not yes or no";
        }
        layout.align = *align;
    } else if (key == "mask") {
        const std::optional<bool> mask = lookUp(kYesNo, word);
        if (!mask) {
            return "the mask " + quoted + " is not yes or no";
        }
        layout.mask = *mask;
    } else {
        return "no layout part is called \"" + std::string(key) + "\"";
    }
    return "";
}

namespace {

// The character the preview draws for each code (see layoutText).
std::array<char, 256> previewCharacters(const ByteLayout& layout) {
    std::array<char, 256> shown;
    shown.fill('?');
    if (layout.depth == 8) {
        std::array<int, 5> codes = layout.levels;
        std::sort(codes.begin(), codes.end());
        const auto end = std::unique(codes.begin(), codes.end());
        char letter = 'a';
        for (auto code = codes.begin(); code != end; ++code) {
            shown[static_cast<std::size_t>(*code)] = letter++;
        }
        return shown;
    }
    const std::string_view drawn = layout.depth == 1   ? ".#"
                                   : layout.depth == 2 ? ".-+#"
                                                       : "0123456789ABCDEF";
    std::copy(drawn.begin(), drawn.end(), shown.begin());
    return shown;
}

}  // namespace

namespace layout_text {

std::string commentLine(const Notation& notation, std::string_view inside) {
    std::string line(notation.commentOpen);
    line.append(inside).append(notation.commentClose).push_back('\n');
    return line;
}

void appendPreviewLegend(std::string& text, const ByteLayout& layout, const Notation& notation) {
    const std::array<char, 256> shown = previewCharacters(layout);
    std::array<int, 5> codes = layout.levels;
    std::sort(codes.begin(), codes.end());
    const auto end = std::unique(codes.begin(), codes.end());
    std::string legend(kPreviewTag);
    for (auto code = codes.begin(); code != end; ++code) {
        legend += code == codes.begin() ? "" : ", ";
        legend +=
            std::string(1, shown[static_cast<std::size_t>(*code)]) + " = " + std::to_string(*code);
    }
    text += commentLine(notation, legend);
}

void appendPreviewRows(std::string& text, const PixelView& view, const ByteLayout& layout,
                       const Notation& notation, std::string_view indent) {
    const std::array<char, 256> shown = previewCharacters(layout);
    for (int y = 1; y <= view.height(); ++y) {
        std::string row;
        for (int x = 1; x <= view.width(); ++x) {
            const Pixel value = view.at(x, y);
            row += value >= 0 && value <= 4 ? shown[static_cast<std::size_t>(layout.levels[value])]
                                            : '?';
        }
        text.append(indent);
        text += commentLine(notation, row);
    }
}

void appendByteLines(std::string& text, std::span<const std::uint8_t> bytes,
                     std::string_view linePrefix, std::string_view lineEnd, Base base,
                     const Notation& notation) {
    const std::size_t perLine = bytesPerLine(base);
    text.reserve(text.size() + bytes.size() * (base == Base::Bin ? 12 : 6) + 64);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += i % perLine == 0 ? linePrefix : std::string_view(", ");
        appendNumber(text, bytes[i], base, notation);
        if (i + 1 == bytes.size() || (i + 1) % perLine == 0) {
            text += lineEnd;
            text += '\n';
        }
    }
}

}  // namespace layout_text

namespace {

// The preview comment lines: what each character stands for, then one row of characters
// for each row of cells, each the character of the code its cell gets.
[[gnu::noinline]] void appendPreview(std::string& text, const PixelView& view,
                                     const ByteLayout& layout, const Notation& notation) {
    appendPreviewLegend(text, layout, notation);
    appendPreviewRows(text, view, layout, notation, "");
}

}  // namespace

std::string layoutText(const PixelView& view, const std::string& name, const ByteLayout& layout,
                       Syntax syntax, Base base, bool preview) {
    const std::vector<std::uint8_t> bytes = layoutBytes(view, layout);
    if (syntax == Syntax::Bin) {
        return std::string(bytes.begin(), bytes.end());
    }
    const Notation notation = notationOf(syntax);
    std::string text =
        commentLine(notation, std::string(kHeadTag) + "name " + quotedName(name) + " " +
                                  std::to_string(view.width()) + "x" +
                                  std::to_string(view.height()) + " " + layoutWords(layout));
    if (preview) {
        appendPreview(text, view, layout, notation);
    }
    const Frame frame = frameOf(syntax, name, view.width(), view.height(), bytes.size());
    for (const std::string& line : frame.head) {
        text += line + "\n";
    }
    appendByteLines(text, bytes, frame.linePrefix, frame.lineEnd, base, notation);
    if (!frame.tail.empty()) {
        text += std::string(frame.tail) + "\n";
    }
    return text;
}

}  // namespace stipple
