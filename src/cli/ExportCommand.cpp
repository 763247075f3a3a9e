// stipple export: picture files as the editor's export texts, or as a device's bytes in
// the source text of an assembler or of C.
#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/Commands.h"
#include "cli/Fonts.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/ExportFormats.h"
#include "formats/FramesExport.h"
#include "formats/PictureFile.h"
#include "model/Selection.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "export",
    "stipple export [--format cpp|asm1|asm2|asm4|asm8|file | LAYOUT...] [--align] "
    "[--box X1,Y1,X2,Y2] [--frame N] [--name NAME] [-o OUT | --append OUT] PICTURE.stw...\n"
    "       stipple export --font bdf|gfx [--name NAME] [-o OUT | --append OUT] FONT.stws...",
    "Writes each picture file as the text the editor exports, one after the other, to\n"
    "standard output or to OUT. \"-\" reads a picture from standard input. A set file\n"
    "(.stws) writes all its frames: the editor's texts one frame after the other, a\n"
    "device syntax one array of the frames with NAME_FRAMES and the table NAME_offsets.\n\n"
    "  --format F    cpp, asm1, asm2, asm4 or asm8 as the clipboard exports (default asm8),\n"
    "                or file, the form that Save and Save to end write\n"
    "  --align       start every row of asm1, asm2 and asm4 on a new byte\n"
    "  --box X1,Y1,X2,Y2\n"
    "                export the box of cells X1..X2 by Y1..Y2 (from 1, both ends included)\n"
    "                as the editor's box export after a capture of that box\n"
    "  --frame N     of a set file, only its frame N (from 1), as a picture file of it\n"
    "  --name NAME   the name in the text instead of the name the file stores\n"
    "  -o OUT        replace OUT with the texts, as Save does\n"
    "  --append OUT  add the texts after the last byte of OUT, as Save to end does\n"
    "  --font F      of a font set (stipple import makes one of a BDF font), the whole font:\n"
    "                bdf, a BDF 2.1 font for X11's tools, a set bit for black and 66 %\n"
    "                gray; or gfx, C for a display library's setFont: NAMEBitmaps,\n"
    "                NAMEGlyphs and the GFXfont NAME (PROGMEM on an AVR), each glyph cut to\n"
    "                its set bits; not with --format, the layout options, --box or --frame\n\n"
    "LAYOUT options write the bytes a device takes instead (not with --format):\n"
    "  --target T    gameboy, ssd1306, gfx-bitmap, epaper-4gray, or one named after the\n"
    "                library that draws it, which brings its syntax too: xbm (an X BitMap),\n"
    "                adafruit-gfx (C for drawBitmap, PROGMEM on an AVR) or arduboy (C with\n"
    "                the width and height bytes, then the frames; with --mask each image\n"
    "                byte followed by its mask byte); the options below change its layout\n"
    "  --depth D     1, 2, 4 or 8 bits per pixel (default 8)\n"
    "  --levels B,G66,G33,W,T\n"
    "                the code of black, 66 % gray, 33 % gray, white and transparent\n"
    "                (default: the plain codes for the depth)\n"
    "  --order O     lsb or msb: the first pixel in a byte's lowest or highest bits\n"
    "  --scan S      rows, pages (bands of 8 / depth rows, a byte per column) or tiles (8 x 8)\n"
    "  --planes P    packed, separate (the picture once per code bit) or interleaved\n"
    "                (every 8 pixels of a row give a byte per code bit, each row anew)\n"
    "  --mask        a 1-bit plane after the image, 1 for every cell not transparent\n"
    "                (a yes or no right after it is read as its value)\n"
    "  --syntax S    gas, ca65, db, c, bin (the bytes alone), xbm, adafruit-gfx, arduboy\n"
    "                or python (bytes for MicroPython's framebuf); default: the target's,\n"
    "                else gas. xbm is always in hex, python in \\x escapes\n"
    "  --base B      dec, hex or bin numbers (default dec)\n"
    "  --preview     comment lines that draw the codes each cell gets, one character per\n"
    "                code, explained in the first line\n"
    "  --align       with the rows scan, start every row on a new byte\n",
    {"--format", "--box", "--frame", "--name", "-o", "--append", "--target", "--depth", "--levels",
     "--order", "--scan", "--planes", "--syntax", "--base", "--font"},
    {"--align", "--preview"},
    {"--mask"}};

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
    // A target named after a library brings that library's syntax.
    const std::string target = parsed.value("--target").value_or("");
    const std::string_view brought = syntaxOfTarget(target);
    const std::string syntax =
        parsed.value("--syntax").value_or(brought.empty() ? "gas" : std::string(brought));
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

// A font is written whole, in the form --font names.
constexpr const char* kNotWithFont[] = {"--format", "--syntax", "--base", "--box", "--frame"};

// What the options ask for.
struct ExportOptions {
    const ExportFormatRow* format = nullptr;
    ExportSettings settings;
    std::optional<Box> box;
    std::string boxText;  // as given
    std::optional<std::string> name;
    int frame = 0;                        // --frame, from 1; 0 for all
    std::optional<std::string> replaced;  // -o
    std::string destination;              // the file of -o or --append, or standard output
    bool toFile = false;
    std::optional<std::string> font;  // --font: the form a font set is written in
};

// The format, or the layout and syntax, with their settings; the usage problem, or empty.
std::string readFormatOptions(const ParsedArguments& parsed, ExportOptions& options) {
    std::optional<LayoutChoice> layout;
    if (anyLayoutOption(parsed) || parsed.flags.count("--preview") != 0 ||
        parsed.values.count("--syntax") != 0 || parsed.values.count("--base") != 0) {
        if (parsed.values.count("--format") != 0) {
            return "--format cannot be given with the layout options";
        }
        std::string problem;
        layout = layoutChoice(parsed, problem);
        if (!layout) {
            return problem;
        }
    }
    const std::string formatName = parsed.value("--format").value_or("asm8");
    options.format =
        layout ? layout->syntax : exportFormatNamed(formatName, FormatFamily::ClipboardText);
    if (options.format == nullptr) {
        return "unknown format " + formatName;
    }
    options.settings.layout.align = parsed.flags.count("--align") != 0;
    if (layout) {
        options.settings = layout->settings;
    }
    return {};
}

// The format, the box, the name and where the texts go; the usage problem, or empty.
std::string readExportOptions(const ParsedArguments& parsed, ExportOptions& options) {
    if ((options.font = parsed.value("--font"))) {
        if (!isFontForm(*options.font)) {
            return "unknown font form " + *options.font + " (" + kFontForms + ")";
        }
        const bool other = std::any_of(std::begin(kNotWithFont), std::end(kNotWithFont),
                                       [&](const char* o) { return parsed.values.count(o) != 0; });
        if (other || anyLayoutOption(parsed) || parsed.flags.count("--preview") != 0 ||
            parsed.flags.count("--align") != 0) {
            return "--font writes a whole font: not with --format, the layout options, --box "
                   "or --frame";
        }
    }
    if (std::string problem = readFormatOptions(parsed, options); !problem.empty()) {
        return problem;
    }
    if (const std::optional<std::string> boxText = parsed.value("--box")) {
        options.box = parseBox(*boxText);
        options.boxText = *boxText;
        if (!options.box) {
            return "the box " + *boxText + " is not four numbers X1,Y1,X2,Y2";
        }
    }
    options.name = parsed.value("--name");
    if (const std::optional<std::string> frame = parsed.value("--frame")) {
        const std::optional<int> n = numberIn(*frame, 1, kMaxFrames);
        if (!n) {
            return "the frame " + *frame + " is not a number from 1 to " +
                   std::to_string(kMaxFrames);
        }
        options.frame = *n;
    }
    if (parsed.values.count("-o") != 0 && parsed.values.count("--append") != 0) {
        return "-o and --append cannot be given together";
    }
    if (parsed.operands.empty()) {
        return "no picture file given";
    }
    options.replaced = parsed.value("-o");
    options.toFile = options.replaced || parsed.values.count("--append") != 0;
    options.destination =
        options.replaced ? *options.replaced : parsed.value("--append").value_or(kStandardOutput);
    return {};
}

// A box of cells taken as the editor's capture takes it: the corners on the grid lines
// around it, then the capture into the selection buffer, which the box export writes.
struct BoxCapture {
    Selection selection;
    Picture picture;

    PixelView take(const Box& box, const PixelView& from) {
        selection.selX1 = box.x1 - 1;
        selection.selY1 = box.y1 - 1;
        selection.selX2 = box.x2;
        selection.selY2 = box.y2;
        picture.assign(from);
        selection.capture(picture);
        return selection.view();
    }
};

// The texts on their way out: standard output takes them in large blocks as they come, a
// file all of them at once at the end, so that a failure leaves it as it was.
class Output {
  public:
    Output(const ExportOptions& options, std::size_t pictures)
        : options_(options), pictures_(pictures) {}

    // Empty when taken, else the failure to write standard output.
    std::string add(const std::string& text) {
        if (texts_.empty()) {
            // Pictures are alike in size: room for all, or for a block of standard output.
            texts_.reserve(std::min(text.size() * pictures_, 2 * kOutputBlock));
        }
        texts_ += text;
        if (options_.toFile || texts_.size() < kOutputBlock) {
            return {};
        }
        std::string failure = writeToStandardOutput(texts_);
        texts_.clear();
        return failure;
    }

    // Empty when what is left is written, else the failure.
    std::string finish() {
        if (texts_.empty()) {
            return {};  // written already, or every input was refused: nothing to write
        }
        if (!options_.toFile) {
            return writeToStandardOutput(texts_);
        }
        return options_.replaced ? replaceWith(kSyntax, options_.destination, texts_)
                                 : appendTo(kSyntax, options_.destination, texts_);
    }

  private:
    const ExportOptions& options_;
    std::size_t pictures_;
    std::string texts_;
};

std::string boxOutside(const std::string& boxText, const std::string& operand,
                       const LoadedPicture& loaded) {
    return "the box " + boxText + " lies outside the picture \"" + shownName(operand) + "\" of " +
           std::to_string(loaded.width) + " x " + std::to_string(loaded.height);
}

// What the pictures share on their way out.
struct Exporting {
    Output output;
    BoxCapture capture;
    LoadedPicture loaded;
    Document set;
    int status = kSucceeded;

    Exporting(const ExportOptions& options, std::size_t pictures) : output(options, pictures) {}
};

// Adds the text of the set (or of its frame --frame) to the output, as exportPicture does.
std::optional<int> exportSet(const std::string& operand, const ExportOptions& options,
                             Exporting& exporting) {
    const Document& set = exporting.set;
    if (options.frame > set.frameCount()) {
        return usageError(kSyntax, "the set \"" + shownName(operand) + "\" has " +
                                       std::to_string(set.frameCount()) + " frames, not " +
                                       std::to_string(options.frame));
    }
    std::vector<NamedView> views;
    for (std::size_t i = 0; i < set.frames.size(); ++i) {
        if (options.frame == 0 || options.frame == static_cast<int>(i) + 1) {
            // The whole of a font writes its tables too.
            const std::optional<Glyph>& glyph = set.frames[i].glyph;
            const bool whole = options.frame == 0 && !options.box && set.font && glyph;
            views.push_back(
                {set.frames[i].picture.view(), set.frames[i].name, whole ? &*glyph : nullptr});
        }
    }
    if (options.box) {
        if (views.size() != 1) {
            return usageError(kSyntax, "--box takes one frame of a set: give --frame N too");
        }
        const PixelView whole = views.front().view;
        if (options.box->x2 > whole.width() || options.box->y2 > whole.height()) {
            return usageError(kSyntax, "the box " + options.boxText + " lies outside frame " +
                                           std::to_string(options.frame) + " of \"" +
                                           shownName(operand) + "\"");
        }
        views.front().view = exporting.capture.take(*options.box, whole);
    }
    // One frame is a picture of its own: its own name, unless --name gives one.
    std::string name = views.size() == 1 ? std::string(views.front().name) : set.setName;
    name = options.name.value_or(name);
    if (views.size() == 1) {
        views.front().name = name;
    }
    std::string refused = exportableNameProblem(name);
    for (std::size_t i = 0; refused.empty() && views.size() > 1 && i < views.size(); ++i) {
        refused = exportableNameProblem(std::string(views[i].name));
    }
    if (!refused.empty()) {
        tellRefused(kSyntax, "Could not export \"" + shownName(operand) + "\": " + refused);
        exporting.status = kRefused;
        return std::nullopt;
    }
    const std::string text = writeFrames(options.format->id, views, name, options.settings).text;
    if (const std::string failure = exporting.output.add(text); !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return std::nullopt;
}

// Adds the font text of the set to the output, as exportPicture does; a picture is no font.
std::optional<int> exportFont(const std::string& operand, bool picture,
                              const ExportOptions& options, Exporting& exporting) {
    std::string text;
    std::string problem =
        picture ? "Could not export \"" + shownName(operand) + "\" as a font: it is a picture."
                : fontText(*options.font, exporting.set, shownName(operand),
                           options.name.value_or(exporting.set.setName), text);
    if (!problem.empty()) {
        tellRefused(kSyntax, problem);
        exporting.status = kRefused;
        return std::nullopt;
    }
    if (problem = exporting.output.add(text); !problem.empty()) {
        tellRefused(kSyntax, problem);
        return kRefused;
    }
    return std::nullopt;
}

// Loads the picture and adds its text to the output; a refusal is told, and the next
// picture goes on. The status to end the command with at once, or nothing.
std::optional<int> exportPicture(const std::string& operand, const ExportOptions& options,
                                 Exporting& exporting) {
    LoadedPicture& loaded = exporting.loaded;
    std::string problem;
    const bool picture = loadPicture(kSyntax, operand, loaded, problem);
    if (!picture && !loadSet(kSyntax, operand, loaded, exporting.set, problem)) {
        tellRefused(kSyntax, problem);
        exporting.status = kRefused;
        return std::nullopt;
    }
    if (options.font) {
        return exportFont(operand, picture, options, exporting);
    }
    if (!picture) {
        return exportSet(operand, options, exporting);
    }
    if (options.frame > 1) {
        return usageError(kSyntax, "the picture \"" + shownName(operand) + "\" is one frame, not " +
                                       std::to_string(options.frame));
    }
    PixelView view = loaded.view();
    if (options.box) {
        if (options.box->x2 > loaded.width || options.box->y2 > loaded.height) {
            return usageError(kSyntax, boxOutside(options.boxText, operand, loaded));
        }
        view = exporting.capture.take(*options.box, loaded.view());
    }
    const std::string name = options.name.value_or(loaded.name);
    if (const std::string refused = exportableNameProblem(name); !refused.empty()) {
        tellRefused(kSyntax, "Could not export \"" + shownName(operand) + "\": " + refused);
        exporting.status = kRefused;
        return std::nullopt;
    }
    const std::string failure =
        exporting.output.add(options.format->write(view, name, options.settings));
    if (!failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return std::nullopt;
}

}  // namespace

int exportCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    ExportOptions options;
    if (const std::string problem = readExportOptions(parsed, options); !problem.empty()) {
        return usageError(kSyntax, problem);
    }
    if (const std::string onto = outputOntoInput(parsed.operands, options.destination);
        !onto.empty()) {
        tellRefused(kSyntax, onto);
        return kRefused;
    }
    // On the heap: the box capture holds a picture and a selection buffer.
    auto exporting = std::make_unique<Exporting>(options, parsed.operands.size());
    for (const std::string& operand : parsed.operands) {
        if (const std::optional<int> done = exportPicture(operand, options, *exporting)) {
            return *done;
        }
    }
    if (const std::string failure = exporting->output.finish(); !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return exporting->status;
}

}  // namespace stipple::cli
