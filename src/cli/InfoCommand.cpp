// stipple info: what a picture file holds, as text or JSON.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/FontSample.h"
#include "formats/Windows1252.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "info",
    "stipple info [--json] [--sample TEXT] PICTURE.stw...",
    "Tells each picture file's name, size and how many pixels hold each value, and shows\n"
    "the picture with one character per pixel. \"-\" reads a picture from standard input.\n"
    "Of a set file (.stws) it tells the set's name and frame rate and one line per frame;\n"
    "of a font set, its ascent, descent and line height and a line per glyph: its code\n"
    "point, size, advance, x offset (pen to left edge) and y offset (baseline up to top).\n\n"
    "  --json         the same as one JSON array, an object per picture\n"
    "  --sample TEXT  of a font set, also TEXT drawn with it, as the editor's sample line\n"
    "                 draws it, a character per pixel\n",
    {"--sample"},
    {"--json"}};

struct Value {
    char mark;
    const char* name;  // in the text
    const char* key;   // in JSON
};
constexpr Value kValues[5] = {{'#', "black", "black"},
                              {'=', "66 % gray", "gray66"},
                              {'-', "33 % gray", "gray33"},
                              {'.', "white", "white"},
                              {'~', "transparent", "transparent"}};

// A JSON string that is valid UTF-8 whatever the text holds: a byte that is not UTF-8 is
// written as the four characters \xe9 (the backslash escaped), controls and the invisible
// format characters as \uXXXX.
std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t c = 0;
        char escaped[8];
        if (!nextUtf8Character(text, pos, c)) {
            std::snprintf(escaped, sizeof escaped, "\\\\x%02x",
                          static_cast<unsigned char>(text[pos++]));
            quoted += escaped;
        } else if (c == '"') {
            quoted += "\\\"";
        } else if (c == '\\') {
            quoted += "\\\\";
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || isFormatCharacter(c)) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted.append(text, start, pos - start);
        }
    }
    return quoted + "\"";
}

std::string describe(const std::string& operand, const LoadedPicture& loaded, bool json) {
    const PixelView p = loaded.view();
    int counts[5] = {};
    std::string rows[kMaxPictureHeight];
    for (int y = 1; y <= p.height(); ++y) {
        for (int x = 1; x <= p.width(); ++x) {
            ++counts[p.at(x, y)];
            rows[y - 1] += kValues[p.at(x, y)].mark;
        }
    }
    std::string out;
    if (json) {
        out += "  {\"file\": " + jsonString(shownName(operand)) +
               ", \"name\": " + jsonString(loaded.name) +
               ", \"width\": " + std::to_string(p.width()) +
               ", \"height\": " + std::to_string(p.height()) + ",\n   \"counts\": {";
        for (int v = 0; v < 5; ++v) {
            out += std::string(v > 0 ? ", " : "") + "\"" + kValues[v].key +
                   "\": " + std::to_string(counts[v]);
        }
        out += "},\n   \"rows\": [";
        for (int y = 0; y < p.height(); ++y) {
            out += (y > 0 ? ",\n            " : "") + jsonString(rows[y]);
        }
        return out + "]}";
    }
    out += printableText(shownName(operand)) + "\n  name: " + printableText(loaded.name) +
           "\n  size: " + std::to_string(p.width()) + " x " + std::to_string(p.height()) +
           "\n  pixels:";
    for (int v = 0; v < 5; ++v) {
        out +=
            std::string(v > 0 ? "," : "") + " " + std::to_string(counts[v]) + " " + kValues[v].name;
    }
    out += "\n";
    for (int y = 0; y < p.height(); ++y) {
        out += "  " + rows[y] + "\n";
    }
    out += "  legend:";
    for (const Value& v : kValues) {
        out += std::string("  ") + v.mark + " " + v.name;
    }
    return out + "\n";
}

// A glyph's fields after a frame's in JSON; nothing for a frame that is no glyph.
std::string glyphJson(const Frame& frame) {
    if (!frame.glyph) {
        return {};
    }
    const Glyph& g = *frame.glyph;
    return ", \"codePoint\": " + std::to_string(g.codePoint) +
           ", \"advance\": " + std::to_string(g.advance) +
           ", \"xOffset\": " + std::to_string(g.xOffset) +
           ", \"yOffset\": " + std::to_string(g.yOffset);
}

// The sample line's rows, a mark a cell, and where its pen starts on its baseline.
std::vector<std::string> sampleRows(const SampleLine& line) {
    std::vector<std::string> rows(static_cast<std::size_t>(line.height));
    for (int y = 0; y < line.height; ++y) {
        for (int x = 0; x < line.width; ++x) {
            rows[static_cast<std::size_t>(y)] += kValues[line.at(x, y)].mark;
        }
    }
    return rows;
}

std::string describeSet(const std::string& operand, const Document& set, bool json,
                        const std::optional<std::string>& sampleText) {
    std::optional<SampleLine> sample;
    if (sampleText && set.font) {
        sample = drawSampleLine(set, *sampleText);
    }
    std::string out;
    if (json) {
        out += "  {\"file\": " + jsonString(shownName(operand)) +
               ", \"set\": " + jsonString(set.setName) +
               ", \"frameRate\": " + std::to_string(set.frameRate) + ",\n   \"frames\": [";
        for (std::size_t i = 0; i < set.frames.size(); ++i) {
            const Picture& p = set.frames[i].picture;
            out += (i > 0 ? ",\n              " : "") + std::string("{\"name\": ") +
                   jsonString(set.frames[i].name) + ", \"width\": " + std::to_string(p.width) +
                   ", \"height\": " + std::to_string(p.height) + glyphJson(set.frames[i]) + "}";
        }
        if (set.font) {
            out += "],\n   \"font\": {\"ascent\": " + std::to_string(set.font->ascent) +
                   ", \"descent\": " + std::to_string(set.font->descent) +
                   ", \"lineHeight\": " + std::to_string(set.font->lineHeight) + "}";
            if (sample) {
                out += ",\n   \"sample\": {\"baseline\": " + std::to_string(sample->baseline) +
                       ", \"penX\": " + std::to_string(sample->penX) + ", \"rows\": [";
                const std::vector<std::string> rows = sampleRows(*sample);
                for (std::size_t y = 0; y < rows.size(); ++y) {
                    out += (y > 0 ? ", " : "") + jsonString(rows[y]);
                }
                out += "]}";
            }
            return out + "}";
        }
        return out + "]}";
    }
    out += printableText(shownName(operand)) + "\n  set: " + printableText(set.setName) +
           "\n  frame rate: " + std::to_string(set.frameRate) +
           " a second\n  frames: " + std::to_string(set.frameCount()) + "\n";
    if (set.font) {
        out += "  font: ascent " + std::to_string(set.font->ascent) + ", descent " +
               std::to_string(set.font->descent) + ", line height " +
               std::to_string(set.font->lineHeight) + "\n";
    }
    for (std::size_t i = 0; i < set.frames.size(); ++i) {
        const Picture& p = set.frames[i].picture;
        if (const std::optional<Glyph>& g = set.frames[i].glyph) {
            char line[96];
            std::snprintf(line, sizeof line, "  glyph U+%04X: %d x %d, advance %d, offset %d,%d ",
                          static_cast<unsigned>(g->codePoint), p.width, p.height, g->advance,
                          g->xOffset, g->yOffset);
            out += line + printableText(set.frames[i].name) + "\n";
            continue;
        }
        out += "  frame " + std::to_string(i + 1) + ": " + std::to_string(p.width) + " x " +
               std::to_string(p.height) + " " + printableText(set.frames[i].name) + "\n";
    }
    if (sample) {
        out += "  sample: " + std::to_string(sample->width) + " x " +
               std::to_string(sample->height) + ", baseline row " +
               std::to_string(sample->baseline) + ", pen at column " +
               std::to_string(sample->penX) + "\n";
        for (const std::string& row : sampleRows(*sample)) {
            out += "  " + row + "\n";
        }
    }
    return out;
}

}  // namespace

int infoCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    if (parsed.operands.empty()) {
        return usageError(kSyntax, "no picture file given");
    }
    const bool json = parsed.flags.count("--json") != 0;
    if (const std::string onto = outputOntoInput(parsed.operands, kStandardOutput); !onto.empty()) {
        tellRefused(kSyntax, onto);
        return kRefused;
    }
    int status = kSucceeded;
    std::string out = json ? "[\n" : "";
    bool first = true;
    LoadedPicture loaded;
    Document set;
    for (const std::string& operand : parsed.operands) {
        std::string problem;
        const bool picture = loadPicture(kSyntax, operand, loaded, problem);
        if (!picture && !loadSet(kSyntax, operand, loaded, set, problem)) {
            tellRefused(kSyntax, problem);
            status = kRefused;
            continue;
        }
        out += std::string(first  ? ""
                           : json ? ",\n"
                                  : "\n") +
               (picture ? describe(operand, loaded, json)
                        : describeSet(operand, set, json, parsed.value("--sample")));
        first = false;
    }
    if (json) {
        out += first ? "]\n" : "\n]\n";
    }
    if (const std::string failure = writeToStandardOutput(out); !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return status;
}

}  // namespace stipple::cli
