#include "formats/FramesExport.h"

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

FramesText deviceArray(Syntax syntax, std::span<const NamedView> frames, std::string_view setName,
                       const ExportSettings& settings) {
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
    appendTable(text, syntax, label, constant, out.offsets, settings.base, notation);
    return out;
}

}  // namespace

namespace layout_text {

void appendTable(std::string& text, Syntax syntax, const std::string& label,
                 const std::string& constant, const std::vector<std::size_t>& offsets, Base base,
                 const Notation& notation) {
    const bool narrow = offsets.back() < 65536;
    const int wordBytes = narrow ? 2 : 4;
    const std::string table = label + "_offsets";
    std::string says =
        table + ": " + constant + "_FRAMES + 1 " + (narrow ? "16" : "32") + "-bit words";
    says += syntax == Syntax::C ? ":" : ", little-endian:";
    says += " where each frame starts in " + label + " and, last, its length";
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
    if (frames.size() > 1 && device) {
        const Syntax syntax = syntaxOf(format);
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
