// stipple font: a font set rendered from an outline font.
#include <charconv>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/OutlineFont.h"
#include "formats/SetFile.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "font",
    "stipple font (--file FONT.ttf | --family NAME) [--size N] [--range A-B] [--grays 2|4]\n"
    "                    [--name NAME] -o FONT.stws",
    "Renders every glyph of a range of code points of a TrueType, OpenType or other outline\n"
    "font with FreeType into a font set: a glyph a frame, each as tall as the font's line,\n"
    "with its code point, advance and offsets, to be drawn on like any frame.\n\n"
    "  --file FONT     the font file\n"
    "  --family NAME   the family (or fontconfig pattern, \"DejaVu Sans Mono:bold\") as\n"
    "                  fontconfig finds it\n"
    "  --size N        the em in pixels, 4 to 80 (default 12)\n"
    "  --range A-B     the code points, decimal or hex (0x7E, U+007E); default 32-126\n"
    "  --grays N       2: black where a pixel is at least half covered (default); 4: the\n"
    "                  four grays by coverage\n"
    "  --name NAME     the set's name (default: the family, style and size)\n"
    "  -o FONT.stws    the set file to write\n",
    {"--file", "--family", "--size", "--range", "--grays", "--name", "-o"},
    {}};

// A code point in decimal, 0x hex or U+ hex.
std::optional<int> codePointIn(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X") || text.starts_with("U+") ||
        text.starts_with("u+")) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kMaxCodePoint) {
        return std::nullopt;
    }
    return value;
}

std::string readRequest(const ParsedArguments& parsed, OutlineFontRequest& request) {
    if (!parsed.operands.empty()) {
        return "the font is named by --file or --family, not as an operand";
    }
    const std::optional<std::string> file = parsed.value("--file");
    const std::optional<std::string> family = parsed.value("--family");
    if (file.has_value() == family.has_value()) {
        return "either --file or --family is needed, not both";
    }
    request.file = file.value_or("");
    request.family = family.value_or("");
    const std::optional<int> size =
        numberIn(parsed.value("--size").value_or("12"), kMinOutlinePixels, kMaxOutlinePixels);
    if (!size) {
        return "the size must be a number from " + std::to_string(kMinOutlinePixels) + " to " +
               std::to_string(kMaxOutlinePixels);
    }
    request.pixelSize = *size;
    const std::string range = parsed.value("--range").value_or("32-126");
    const std::size_t dash = range.find('-', 1);
    const std::optional<int> first = codePointIn(std::string_view(range).substr(0, dash));
    const std::optional<int> last =
        dash == std::string::npos ? first : codePointIn(std::string_view(range).substr(dash + 1));
    if (!first || !last || *first > *last) {
        return "the range must be A-B, two code points from 0 to 1114111 (0x10FFFF) with A "
               "not after B";
    }
    request.first = *first;
    request.last = *last;
    const std::string grays = parsed.value("--grays").value_or("2");
    if (grays != "2" && grays != "4") {
        return "--grays takes 2 or 4";
    }
    request.grays = grays == "2" ? 2 : 4;
    const std::optional<std::string> out = parsed.value("-o");
    if (!out || !out->ends_with(".stws")) {
        return "a font set goes into a set file: -o FONT.stws";
    }
    return {};
}

}  // namespace

int fontCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    OutlineFontRequest request;
    if (const std::string problem = readRequest(parsed, request); !problem.empty()) {
        return usageError(kSyntax, problem);
    }
    const std::string out = *parsed.value("-o");
    if (!request.file.empty()) {
        if (const std::string onto = outputOntoInput({request.file}, out); !onto.empty()) {
            tellRefused(kSyntax, onto);
            return kRefused;
        }
    }
    const std::string shown = shownName(request.file.empty() ? request.family : request.file);
    OutlineFontResult made = renderOutlineFont(request);
    if (!made) {
        tellRefused(kSyntax, "Could not make a font of \"" + shown + "\": " + made.error);
        return kRefused;
    }
    made.font.setName = parsed.value("--name").value_or(made.font.setName);
    const StorableSet storable = storableSet(made.font);
    if (!storable) {
        tellRefused(kSyntax, "Could not make a font of \"" + shown + "\": " + storable.problem);
        return kRefused;
    }
    if (const std::string failure = replaceWith(kSyntax, out, encodeSetFile(storable.content));
        !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return kSucceeded;
}

}  // namespace stipple::cli
