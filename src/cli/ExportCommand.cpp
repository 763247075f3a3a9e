// stipple export: picture files as the editor's export texts, or as a device's bytes in
// the source text of an assembler or of C.
#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/ExportFormats.h"
#include "formats/PictureFile.h"
#include "model/Selection.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "export",
    "stipple export [--format cpp|asm1|asm2|asm4|asm8|file | LAYOUT...] [--align] "
    "[--box X1,Y1,X2,Y2] [--name NAME] [-o OUT | --append OUT] PICTURE.stw...",
    "Writes each picture file as the text the editor exports, one after the other, to\n"
    "standard output or to OUT. \"-\" reads a picture from standard input.\n\n"
    "  --format F    cpp, asm1, asm2, asm4 or asm8 as the clipboard exports (default asm8),\n"
    "                or file, the form that Save and Save to end write\n"
    "  --align       start every row of asm1, asm2 and asm4 on a new byte\n"
    "  --box X1,Y1,X2,Y2\n"
    "                export the box of cells X1..X2 by Y1..Y2 (from 1, both ends included)\n"
    "                as the editor's box export after a capture of that box\n"
    "  --name NAME   the name in the text instead of the name the file stores\n"
    "  -o OUT        replace OUT with the texts, as Save does\n"
    "  --append OUT  add the texts after the last byte of OUT, as Save to end does\n\n"
    "LAYOUT options write the bytes a device takes instead (not with --format):\n"
    "  --target T    gameboy, ssd1306, gfx-bitmap or epaper-4gray; the options below\n"
    "                change its layout\n"
    "  --depth D     1, 2, 4 or 8 bits per pixel (default 8)\n"
    "  --levels B,G66,G33,W,T\n"
    "                the code of black, 66 % gray, 33 % gray, white and transparent\n"
    "                (default: the plain codes for the depth)\n"
    "  --order O     lsb or msb: the first pixel in a byte's lowest or highest bits\n"
    "  --scan S      rows, pages (bands of 8 / depth rows, a byte per column) or tiles (8 x 8)\n"
    "  --planes P    packed, separate or interleaved\n"
    "  --mask M      yes: a 1-bit plane after the image, 1 for every cell not transparent\n"
    "  --syntax S    gas, ca65, db, c or bin, the bytes alone (default gas)\n"
    "  --base B      dec, hex or bin numbers (default dec)\n"
    "  --preview     comment lines that draw the picture\n"
    "  --align       with the rows scan, start every row on a new byte\n",
    {"--format", "--box", "--name", "-o", "--append", "--target", "--depth", "--levels", "--order",
     "--scan", "--planes", "--mask", "--syntax", "--base"},
    {"--align", "--preview"}};

struct LayoutChoice {
    const ExportFormatRow* syntax = nullptr;
    ExportSettings settings;
};

// The layout and syntax the options give, or the usage problem in `problem`.
std::optional<LayoutChoice> layoutChoice(const ParsedArguments& parsed, std::string& problem) {
    LayoutChoice choice;
    const std::optional<ByteLayout> layout = layoutOptions(parsed, problem);
    if (!layout) {
        return std::nullopt;
    }
    choice.settings.layout = *layout;
    const std::string syntax = parsed.value("--syntax").value_or("gas");
    choice.syntax = exportFormatNamed(syntax, FormatFamily::Device);
    if (choice.syntax == nullptr) {
        problem = "unknown syntax " + syntax;
        return std::nullopt;
    }
    if (const std::optional<std::string> word = parsed.value("--base")) {
        const std::optional<Base> base = baseNamed(*word);
        if (!base) {
            problem = "unknown base " + *word;
            return std::nullopt;
        }
        choice.settings.base = *base;
    }
    choice.settings.preview = parsed.flags.count("--preview") != 0;
    return choice;
}

// Standard output is written in blocks of about this size.
constexpr std::size_t kOutputBlock = 1 << 20;

struct Box {
    int x1, y1, x2, y2;
};

std::optional<Box> parseBox(const std::string& text) {
    int values[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos) {
            return std::nullopt;
        }
        const std::optional<int> value = numberIn(text.substr(start, comma - start), 1, 1000);
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
        start = comma + 1;
    }
    // Dragged either way, a box takes the cells between its corners.
    return Box{std::min(values[0], values[2]), std::min(values[1], values[3]),
               std::max(values[0], values[2]), std::max(values[1], values[3])};
}

}  // namespace

int exportCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    std::optional<LayoutChoice> layout;
    if (anyLayoutOption(parsed) || parsed.flags.count("--preview") != 0 ||
        parsed.values.count("--syntax") != 0 || parsed.values.count("--base") != 0) {
        if (parsed.values.count("--format") != 0) {
            return usageError(kSyntax, "--format cannot be given with the layout options");
        }
        std::string problem;
        layout = layoutChoice(parsed, problem);
        if (!layout) {
            return usageError(kSyntax, problem);
        }
    }
    const std::string formatName = parsed.value("--format").value_or("asm8");
    const ExportFormatRow* format =
        layout ? layout->syntax : exportFormatNamed(formatName, FormatFamily::ClipboardText);
    if (format == nullptr) {
        return usageError(kSyntax, "unknown format " + formatName);
    }
    ExportSettings settings;
    settings.layout.align = parsed.flags.count("--align") != 0;
    if (layout) {
        settings = layout->settings;
    }
    std::optional<Box> box;
    if (const std::optional<std::string> boxText = parsed.value("--box")) {
        box = parseBox(*boxText);
        if (!box) {
            return usageError(kSyntax, "the box " + *boxText + " is not four numbers X1,Y1,X2,Y2");
        }
    }
    if (parsed.values.count("-o") != 0 && parsed.values.count("--append") != 0) {
        return usageError(kSyntax, "-o and --append cannot be given together");
    }
    if (parsed.operands.empty()) {
        return usageError(kSyntax, "no picture file given");
    }

    const bool toFile = parsed.values.count("-o") != 0 || parsed.values.count("--append") != 0;
    const std::optional<std::string> out = parsed.value("-o");
    const std::string destination = out ? *out : parsed.value("--append").value_or(kStandardOutput);
    if (const std::string onto = outputOntoInput(parsed.operands, destination); !onto.empty()) {
        tellRefused(kSyntax, onto);
        return kRefused;
    }
    std::string texts;
    int status = kSucceeded;
    auto selection = std::make_unique<Selection>();
    auto picture = std::make_unique<Picture>();  // for a box capture
    LoadedPicture loaded;
    for (const std::string& operand : parsed.operands) {
        std::string problem;
        if (!loadPicture(kSyntax, operand, loaded, problem)) {
            tellRefused(kSyntax, problem);
            status = kRefused;
            continue;
        }
        PixelView view = loaded.view();
        if (box) {
            if (box->x2 > loaded.width || box->y2 > loaded.height) {
                return usageError(kSyntax, "the box " + *parsed.value("--box") +
                                               " lies outside the picture \"" + shownName(operand) +
                                               "\" of " + std::to_string(loaded.width) + " x " +
                                               std::to_string(loaded.height));
            }
            selection->selX1 = box->x1 - 1;
            selection->selY1 = box->y1 - 1;
            selection->selX2 = box->x2;
            selection->selY2 = box->y2;
            picture->assign(loaded.view());
            selection->capture(*picture);
            view = selection->view();
        }
        const std::string name = parsed.value("--name").value_or(loaded.name);
        if (const std::string refused = exportableNameProblem(name); !refused.empty()) {
            tellRefused(kSyntax, "Could not export \"" + shownName(operand) + "\": " + refused);
            status = kRefused;
            continue;
        }
        const std::string text = format->write(view, name, settings);
        if (texts.empty()) {
            // Pictures are alike in size: room for all, or for a block of standard output.
            texts.reserve(std::min(text.size() * parsed.operands.size(), 2 * kOutputBlock));
        }
        texts += text;
        // Standard output takes the texts in large blocks as they come.
        if (!toFile && texts.size() >= kOutputBlock) {
            if (const std::string failure = writeToStandardOutput(texts); !failure.empty()) {
                tellRefused(kSyntax, failure);
                return kRefused;
            }
            texts.clear();
        }
    }

    if (texts.empty()) {
        return status;  // written already, or every input was refused: nothing to write
    }
    if (!toFile) {
        if (const std::string failure = writeToStandardOutput(texts); !failure.empty()) {
            tellRefused(kSyntax, failure);
            return kRefused;
        }
        return status;
    }
    // A file gets all texts at once, so that a failure leaves it as it was.
    const std::string failure =
        out ? replaceWith(kSyntax, destination, texts) : appendTo(kSyntax, destination, texts);
    if (!failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return status;
}

}  // namespace stipple::cli
