#include "formats/FramesExport.h"

#include <algorithm>
#include <cstdint>

#include "formats/LayoutTextParts.h"
#include "formats/TargetText.h"

namespace stipple {

using namespace layout_text;

namespace {

// A device row is named after its syntax.
Syntax syntaxOf(ExportFormat format) {
    return syntaxNamed(exportFormatRow(format).commandName).value_or(Syntax::Bin);
}

FramesText eachOnItsOwn(const ExportFormatRow& row, std::span<const NamedView> frames,
                        const ExportSettings& settings) {
    FramesText out;
    for (const NamedView& frame : frames) {
        const std::size_t start = out.text.size();
        out.text += row.write(frame.view, frame.name, settings);
        out.parts.push_back({start, out.text.size() - start});
    }
    return out;
}

// A word of the C table in the base's notation, as wide as the word in hex and binary.
void appendWord(std::string& text, std::uint32_t word, int wordBytes, Base base,
                const Notation& notation) {
    if (base == Base::Dec) {
        text += std::to_string(word);
        return;
    }
    const int bitsPerDigit = base == Base::Hex ? 4 : 1;
    text += base == Base::Hex ? notation.hexPrefix : notation.binPrefix;
    for (int shift = 8 * wordBytes - bitsPerDigit; shift >= 0; shift -= bitsPerDigit) {
        text += "0123456789ABCDEF"[(word >> shift) & ((1u << bitsPerDigit) - 1)];
    }
}

// A font's glyphs by code point: the lowest and highest, and for each code point between
// (the one after the last too) the index of the first glyph at or after it.
struct CodeTable {
    int first = 0;
    int last = 0;
    std::vector<std::size_t> glyphAtOrAfter;
};

CodeTable codeTableOf(std::span<const NamedView> glyphs) {
    CodeTable table;
    table.first = glyphs.front().glyph->codePoint;
    table.last = glyphs.back().glyph->codePoint;
    std::size_t next = 0;
    for (int code = table.first; code <= table.last + 1; ++code) {
        while (next < glyphs.size() && glyphs[next].glyph->codePoint < code) {
            ++next;
        }
        table.glyphAtOrAfter.push_back(next);
    }
    return table;
}

// One value for each code point from the first to the last, as the smallest of uint8_t,
// int8_t and int16_t that holds them all; little-endian bytes in the assembler syntaxes.
void appendCodeColumn(std::string& text, Syntax syntax, const std::string& table,
                      const std::string& says, const std::vector<int>& values, Base base,
                      const Notation& notation) {
    const auto within = [&](int low, int high) {
        return std::all_of(values.begin(), values.end(),
                           [&](int v) { return v >= low && v <= high; });
    };
    const bool unsignedBytes = within(0, 255);
    const bool bytes = unsignedBytes || within(-128, 127);
    const char* type = unsignedBytes ? "uint8_t " : bytes ? "int8_t " : "int16_t ";
    std::vector<std::uint8_t> raw;
    for (const int value : values) {
        raw.push_back(static_cast<std::uint8_t>(value & 0xFF));
        if (!bytes) {
            raw.push_back(static_cast<std::uint8_t>(value >> 8 & 0xFF));
        }
    }
    if (syntax == Syntax::C) {
        text += "\n" + commentLine(notation, says);
        text +=
            std::string("const ") + type + table + "[" + std::to_string(values.size()) + "] = {\n";
        if (unsignedBytes) {
            appendByteLines(text, raw, "    ", ",", base, notation);
        } else {
            // Signed values in decimal, so that no constant overflows its type.
            for (std::size_t i = 0; i < values.size(); ++i) {
                text += (i % 16 == 0 ? "    " : " ") + std::to_string(values[i]) + ",";
                text += i + 1 == values.size() || (i + 1) % 16 == 0 ? "\n" : "";
            }
        }
        text += "};\n";
        return;
    }
    text += commentLine(notation, says + (unsignedBytes ? ""
                                          : bytes       ? ", signed bytes"
                                                        : ", signed 16-bit words, little-endian"));
    text += table + ":\n";
    appendByteLines(text, raw, syntax == Syntax::Db ? "db " : ".byte ", "", base, notation);
}

// After the offsets, what a renderer needs to place each code point's glyph: NAME_advances,
// and NAME_widths, NAME_heights, NAME_xoffsets and NAME_yoffsets where the glyphs differ in
// them, else the constant of their one value (NAME_WIDTH, ...). A code point without a glyph
// has zeros.
void appendGlyphTables(std::string& text, Syntax syntax, const std::string& label,
                       std::span<const NamedView> glyphs, const CodeTable& table, Base base,
                       const Notation& notation) {
    struct Column {
        const char* table;
        const char* says;
        int (*of)(const NamedView&);
    };
    static constexpr Column kColumns[] = {
        {"_advances", "how far the pen moves after",
         [](const NamedView& g) { return g.glyph->advance; }},
        {"_widths", "the width of", [](const NamedView& g) { return g.view.width(); }},
        {"_heights", "the height of", [](const NamedView& g) { return g.view.height(); }},
        {"_xoffsets", "from the pen to the left edge of",
         [](const NamedView& g) { return g.glyph->xOffset; }},
        {"_yoffsets", "from the baseline up to the top edge of",
         [](const NamedView& g) { return g.glyph->yOffset; }},
    };
    const std::string constant = upper(label);
    const bool oneSize = std::all_of(glyphs.begin(), glyphs.end(), [&](const NamedView& g) {
        return g.view.width() == glyphs.front().view.width() &&
               g.view.height() == glyphs.front().view.height();
    });
    for (const Column& column : kColumns) {
        std::vector<int> values;
        for (int code = table.first; code <= table.last; ++code) {
            const NamedView& at =
                glyphs[table.glyphAtOrAfter[static_cast<std::size_t>(code - table.first)]];
            values.push_back(at.glyph->codePoint == code ? column.of(at) : 0);
        }
        const bool same = std::all_of(glyphs.begin(), glyphs.end(), [&](const NamedView& g) {
            return column.of(g) == column.of(glyphs.front());
        });
        const std::string_view name = column.table;
        if (same && name != "_advances") {
            // One value for all is a constant; the width and height are already when both are.
            const bool sized = name == "_widths" || name == "_heights";
            if (!sized || !oneSize) {
                const std::string word = name == "_widths"     ? "_WIDTH"
                                         : name == "_heights"  ? "_HEIGHT"
                                         : name == "_xoffsets" ? "_XOFFSET"
                                                               : "_YOFFSET";
                text += (syntax == Syntax::C ? "\n" : "") +
                        constantLine(syntax, constant + word,
                                     std::to_string(column.of(glyphs.front()))) +
                        "\n";
            }
            continue;
        }
        appendCodeColumn(text, syntax, label + column.table,
                         label + column.table + ": " + column.says +
                             " each code point's glyph, from " + constant + "_FIRST to " +
                             constant + "_LAST",
                         values, base, notation);
    }
}

FramesText deviceArray(Syntax syntax, std::span<const NamedView> frames, std::string_view setName,
                       const ExportSettings& settings, const CodeTable* font = nullptr) {
    const ByteLayout& layout = settings.layout;
    std::vector<std::vector<std::uint8_t>> bytes;
    bytes.reserve(frames.size());
    FramesText out;
    out.offsets.push_back(0);
    bool oneSize = true;
    for (const NamedView& frame : frames) {
        bytes.push_back(layoutBytes(frame.view, layout));
        out.offsets.push_back(out.offsets.back() + bytes.back().size());
        oneSize = oneSize && frame.view.width() == frames[0].view.width() &&
                  frame.view.height() == frames[0].view.height();
    }
    if (syntax == Syntax::Bin) {
        for (std::size_t i = 0; i < frames.size(); ++i) {
            out.text.append(bytes[i].begin(), bytes[i].end());
            out.parts.push_back({out.offsets[i], bytes[i].size()});
        }
        return out;
    }

    const Notation notation = notationOf(syntax);
    const std::string name(setName);
    const std::string label = identifierOf(name);
    const std::string constant = upper(label);
    std::string& text = out.text;
    text = commentLine(notation, std::string(kHeadTag) + std::string(kSetWord) + quotedName(name) +
                                     " frames " + std::to_string(frames.size()) + " " +
                                     layoutWords(layout));
    if (settings.preview) {
        appendPreviewLegend(text, layout, notation);
    }
    const bool c = syntax == Syntax::C;
    if (c) {
        text += "#include <stdint.h>\n\n";
    }
    const auto define = [&](const std::string& part, std::size_t value) {
        text += constantLine(syntax, constant + part, std::to_string(value)) + "\n";
    };
    define("_FRAMES", frames.size());
    if (font) {
        define("_FIRST", static_cast<std::size_t>(font->first));
        define("_LAST", static_cast<std::size_t>(font->last));
    }
    if (oneSize) {
        define("_WIDTH", static_cast<std::size_t>(frames[0].view.width()));
        define("_HEIGHT", static_cast<std::size_t>(frames[0].view.height()));
        define("_FRAME_BYTES", bytes[0].size());
    }
    text += c ? "\nconst uint8_t " + label + "[" + std::to_string(out.offsets.back()) + "] = {\n"
              : label + ":\n";

    // Each frame starts a line under its comment, so that its part is its own lines.
    const std::string_view indent = c ? "    " : "";
    const std::string_view linePrefix = c ? "    " : syntax == Syntax::Db ? "db " : ".byte ";
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const NamedView& frame = frames[i];
        const std::size_t start = text.size();
        text.append(indent);
        text += commentLine(notation, "frame " + std::to_string(i + 1) + ": name " +
                                          quotedName(frame.name) + " " +
                                          std::to_string(frame.view.width()) + "x" +
                                          std::to_string(frame.view.height()));
        if (settings.preview) {
            appendPreviewRows(text, frame.view, layout, notation, indent);
        }
        appendByteLines(text, bytes[i], linePrefix, c ? "," : "", settings.base, notation);
        out.parts.push_back({start, text.size() - start});
    }
    if (c) {
        text += "};\n";
    }
    if (!font) {
        appendTable(text, syntax, label, constant, out.offsets, settings.base, notation);
        return out;
    }
    // A code point's glyph starts where the first glyph at or after it starts: one the font
    // lacks takes no bytes.
    std::vector<std::size_t> byCode;
    for (const std::size_t at : font->glyphAtOrAfter) {
        byCode.push_back(out.offsets[at]);
    }
    out.offsets = std::move(byCode);
    appendTable(text, syntax, label, constant, out.offsets, settings.base, notation,
                constant + "_LAST - " + constant + "_FIRST + 2", "code point's glyph");
    appendGlyphTables(text, syntax, label, frames, *font, settings.base, notation);
    return out;
}

// A font's glyphs in the order of their code points, each glyph's part back at its frame.
FramesText fontArray(Syntax syntax, std::span<const NamedView> frames, std::string_view setName,
                     const ExportSettings& settings) {
    std::vector<std::size_t> order(frames.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return frames[a].glyph->codePoint < frames[b].glyph->codePoint;
    });
    std::vector<NamedView> sorted;
    for (const std::size_t i : order) {
        sorted.push_back(frames[i]);
    }
    const CodeTable table = codeTableOf(sorted);
    FramesText out = deviceArray(syntax, sorted, setName, settings, &table);
    std::vector<TextPart> parts(out.parts.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        parts[order[k]] = out.parts[k];
    }
    out.parts = std::move(parts);
    return out;
}

}  // namespace

namespace layout_text {

void appendTable(std::string& text, Syntax syntax, const std::string& label,
                 const std::string& constant, const std::vector<std::size_t>& offsets, Base base,
                 const Notation& notation, const std::string& count, std::string_view each) {
    const bool narrow = offsets.back() < 65536;
    const int wordBytes = narrow ? 2 : 4;
    const std::string table = label + "_offsets";
    std::string says = table + ": " + (count.empty() ? constant + "_FRAMES + 1" : count) + " " +
                       (narrow ? "16" : "32") + "-bit words";
    says += syntax == Syntax::C ? ":" : ", little-endian:";
    says += " where each " + std::string(each) + " starts in " + label + " and, last, its length";
    if (syntax == Syntax::C) {
        text += "\n" + commentLine(notation, says);
        text += std::string("const ") + (narrow ? "uint16_t " : "uint32_t ") + table + "[" +
                std::to_string(offsets.size()) + "] = {\n";
        const std::size_t perLine = bytesPerLine(base) / static_cast<std::size_t>(wordBytes);
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            text += i % perLine == 0 ? "    " : ", ";
            appendWord(text, static_cast<std::uint32_t>(offsets[i]), wordBytes, base, notation);
            if (i + 1 == offsets.size() || (i + 1) % perLine == 0) {
                text += ",\n";
            }
        }
        text += "};\n";
        return;
    }
    std::vector<std::uint8_t> words;
    words.reserve(offsets.size() * static_cast<std::size_t>(wordBytes));
    for (const std::size_t offset : offsets) {
        for (int b = 0; b < wordBytes; ++b) {
            words.push_back(static_cast<std::uint8_t>(offset >> (8 * b) & 0xFF));
        }
    }
    text += commentLine(notation, says);
    text += table + ":\n";
    appendByteLines(text, words, syntax == Syntax::Db ? "db " : ".byte ", "", base, notation);
}

}  // namespace layout_text

FramesText writeFrames(ExportFormat format, std::span<const NamedView> frames,
                       std::string_view setName, const ExportSettings& settings) {
    const ExportFormatRow& row = exportFormatRow(format);
    const bool device = row.family == FormatFamily::Device;
    const bool font = !frames.empty() && std::all_of(frames.begin(), frames.end(),
                                                     [](const NamedView& f) { return f.glyph; });
    const Syntax syntax = syntaxOf(format);
    if (device && font && syntax != Syntax::Bin && !isLibrarySyntax(syntax)) {
        return fontArray(syntax, frames, setName, settings);
    }
    if (frames.size() > 1 && device) {
        return isLibrarySyntax(syntax) ? libraryFramesText(syntax, frames, setName, settings)
                                       : deviceArray(syntax, frames, setName, settings);
    }
    FramesText out = eachOnItsOwn(row, frames, settings);
    if (device && !frames.empty()) {
        const PixelView& view = frames[0].view;
        out.offsets = {0, layoutByteCount(view.width(), view.height(), settings.layout)};
    }
    return out;
}

}  // namespace stipple
