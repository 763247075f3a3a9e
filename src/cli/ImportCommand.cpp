// stipple import: a bitmap or PNG image, any text that export writes, or the bin bytes of a
// layout, as a picture file.
#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "cli/Commands.h"
#include "cli/Fonts.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/BdfFont.h"
#include "formats/BitmapConversion.h"
#include "formats/BitmapDecoder.h"
#include "formats/ByteLayout.h"
#include "formats/ExportFormats.h"
#include "formats/FrameCut.h"
#include "formats/ImageDecoders.h"
#include "formats/ImageImport.h"
#include "formats/PictureFile.h"
#include "formats/SetFile.h"
#include "formats/Windows1252.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "import",
    "stipple import [--region X,Y,W,H] [--fit W,H] [--grays 2|4] [--dither D] [--step N] "
    "[--exact] [--name NAME] [--align] [LAYOUT --size W,H] "
    "[--frames W,H [--spacing S] [--skip-empty]] -o PICTURE.stw|SET.stws INPUT",
    "Makes a picture file of INPUT (\"-\" reads standard input), read as the first of:\n"
    "  - with any LAYOUT option or --size: the bin bytes that export --syntax bin writes\n"
    "    in that layout for a picture of W x H cells, named after the file;\n"
    "  - a file that starts as a bitmap (BMP, Windows or OS/2), a PNG or a GIF image does:\n"
    "    its top-left 96 x 92 pixels (or its region, fitted) cut into the four levels (or\n"
    "    dithered) as the import window does, at the step N (1 to 200, default 64); pixels\n"
    "    whose alpha is below half become transparent; the picture is named after the file;\n"
    "  - a BDF font (a file that starts with STARTFONT): a font set of its glyphs, a set\n"
    "    bit black, the others transparent, with each glyph's code point, advance and\n"
    "    offsets and the font's ascent and descent; written to a set file only;\n"
    "  - any other file as a text that export writes: the file form (the text that Save\n"
    "    or Save to end writes) and the asm8 and cpp texts give the picture and its name\n"
    "    back exactly; the asm1, asm2 and asm4 texts and the gas, ca65, db and c texts of\n"
    "    a layout give them back where the codes tell the values apart: where two values\n"
    "    share a code the first of black, 66 % gray, 33 % gray, white, transparent is\n"
    "    read, and a mask restores transparent. The text must hold one picture and\n"
    "    nothing after it but empty lines; a text of more than 1 MiB (1048576 bytes) is\n"
    "    refused.\n"
    "A picture named after the file is named Name when it comes from standard input.\n"
    "With -o SET.stws a set file is written: an animated GIF gives a frame for each of its\n"
    "frames as a browser shows them, its delays the frame rate; with --frames each cell of\n"
    "the image (up to 4096 x 4096 pixels of it) becomes a frame; anything else, a set of one.\n\n"
    "  --region X,Y,W,H  the part of the image taken, in its pixels from 0,0 at its\n"
    "               top-left corner (default: from 0,0); without --fit or --frames at most\n"
    "               96 x 92\n"
    "  --fit W,H    scale the region (default: the whole image) to fit within W x H\n"
    "               (1 to 96 by 1 to 92), keeping its aspect: down by the mean of the pixels\n"
    "               each cell covers, up by whole factors; with --frames, each cell\n"
    "  --grays G    4 (the default): the four levels; 2: black and white only, for 1-bit\n"
    "               displays, with the cut at twice the step and every dither\n"
    "  --exact      each of at most four opaque colours (two with --grays 2) becomes one\n"
    "               level, darker to darker: 1 colour black or white (its side of mid-gray),\n"
    "               2 black and white, 3 black, 66 % gray and white, 4 all levels; more are\n"
    "               refused; not with --dither or --step\n"
    "  --align      the rows of an ASM 1, 2 or 4 bpp text start on new bytes, where its\n"
    "               byte count does not tell (with bin bytes: as export takes it)\n"
    "  --dither D   threshold (the cut into levels, the default), floyd-steinberg,\n"
    "               atkinson or ordered (4 x 4 Bayer): the dithers aim at the grays the\n"
    "               editor shows, so that a region keeps its mean gray\n"
    "  --step N     the step of the cut into levels; for a dither it moves the\n"
    "               brightness (none at 64, brighter below, darker above)\n"
    "  --name NAME  the picture's name\n"
    "  --size W,H   the picture's size, 1 to 96 by 1 to 92, for bin bytes\n"
    "  LAYOUT       --target, --depth, --levels, --order, --scan, --planes and --mask\n"
    "               as export takes them\n"
    "  --frames W,H cut the image into cells of W x H pixels, left to right, then top to\n"
    "               bottom, each imported as a frame of a set (only whole cells)\n"
    "  --spacing S  pixels between the cells (default 0)\n"
    "  --skip-empty no frame for a cell that is transparent everywhere\n"
    "  -o FILE      the picture file (.stw) or set file (.stws) to write, replaced as\n"
    "               Save Picture does\n",
    {"--dither", "--step", "--name", "-o", "--target", "--depth", "--levels", "--order", "--scan",
     "--planes", "--size", "--frames", "--spacing", "--region", "--fit", "--grays"},
    {"--align", "--skip-empty", "--exact"},
    {"--mask"}};
static_assert(kMaxAsm8TextBytes == 1048576, "the help and the refusal tell the limit");

// What the options ask for.
struct ImportOptions {
    std::string out;
    int step = kDefaultLevelStep;
    Dither dither = Dither::Threshold;
    Grays grays = Grays::Four;
    bool exact = false;
    std::optional<ImageRegion> region;
    std::optional<std::pair<int, int>> fit;
    bool aligned = false;
    std::optional<ByteLayout> binLayout;  // given: the input is bin bytes of that layout
    int width = 0;                        // of the bin bytes' picture
    int height = 0;
    std::optional<std::string> name;
    bool setOut = false;            // -o names a set file
    std::optional<FrameGrid> grid;  // --frames
};

// A picture made of the input, and its name; or, for a set file, the set.
struct Imported {
    std::unique_ptr<Picture> picture = std::make_unique<Picture>();
    std::string name;
    std::optional<Document> set;
};

std::string couldNotImport(const std::string& shown, const std::string& reason) {
    return "Could not import \"" + shown + "\": " + reason;
}

// The picture's name made of a file's name: whatever a picture file or a text cannot hold
// becomes "_", so that a bitmap of any name imports.
std::string nameOfFile(const std::string& path) {
    std::string name = toWindows1252Replacing(std::filesystem::path(path).stem().string(), '_');
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, '_');
    return fromWindows1252(name);
}

// A region's corner and size, far beyond any image a decoder takes, so that no sum overflows.
constexpr int kMostRegionSide = 1'000'000'000;

// --region, --fit, --grays and --exact; the usage problem, or empty.
std::string readFitOptions(const ParsedArguments& parsed, ImportOptions& options) {
    if (const std::optional<std::string> text = parsed.value("--region")) {
        const auto r = numbersIn(*text, {{0, kMostRegionSide},
                                         {0, kMostRegionSide},
                                         {1, kMostRegionSide},
                                         {1, kMostRegionSide}});
        if (!r) {
            return "the region must be X,Y,W,H: a corner from 0,0 and a size from 1 x 1";
        }
        options.region = ImageRegion{(*r)[0], (*r)[1], (*r)[2], (*r)[3]};
    }
    if (const std::optional<std::string> text = parsed.value("--fit")) {
        options.fit = sizeIn(*text);
        if (!options.fit) {
            return "the fit must be W,H of 1 to 96 by 1 to 92";
        }
    }
    if (options.region && !options.fit && !options.grid &&
        (options.region->width > kMaxPictureWidth || options.region->height > kMaxPictureHeight)) {
        return "a region is at most 96 x 92 pixels without --fit or --frames";
    }
    const std::string grays = parsed.value("--grays").value_or("4");
    if (grays != "2" && grays != "4") {
        return "the grays must be 2 or 4";
    }
    options.grays = grays == "2" ? Grays::Two : Grays::Four;
    options.exact = parsed.flags.count("--exact") != 0;
    if (options.exact &&
        (parsed.values.count("--dither") != 0 || parsed.values.count("--step") != 0)) {
        return "--exact takes the colours as they are, without --dither or --step";
    }
    return {};
}

// The output, the one input, the step and the dither; the usage problem, or empty.
std::string readImageOptions(const ParsedArguments& parsed, ImportOptions& options) {
    const std::optional<std::string> out = parsed.value("-o");
    if (!out) {
        return "no picture file to write given (-o)";
    }
    options.out = *out;
    if (parsed.operands.size() != 1) {
        return parsed.operands.empty() ? "no input given" : "only one input can be imported";
    }
    const std::optional<int> step =
        numberIn(parsed.value("--step").value_or(std::to_string(kDefaultLevelStep)), kMinLevelStep,
                 kMaxLevelStep);
    if (!step) {
        return "the step must be a number from 1 to 200";
    }
    options.step = *step;
    const std::string ditherName = parsed.value("--dither").value_or("threshold");
    const std::optional<Dither> dither = ditherNamed(ditherName);
    if (!dither) {
        return "unknown dither " + ditherName +
               " (threshold, floyd-steinberg, atkinson or ordered)";
    }
    options.dither = *dither;
    options.aligned = parsed.flags.count("--align") != 0;
    options.name = parsed.value("--name");
    options.setOut = options.out.ends_with(".stws");
    if (const std::optional<std::string> cells = parsed.value("--frames")) {
        const std::optional<std::pair<int, int>> cell = sizeIn(*cells);
        if (!cell) {
            return "the frames must be W,H of 1 to 96 by 1 to 92";
        }
        const std::optional<int> spacing =
            numberIn(parsed.value("--spacing").value_or("0"), 0, 1000);
        if (!spacing) {
            return "the spacing must be a number from 0 to 1000";
        }
        options.grid =
            FrameGrid{cell->first, cell->second, *spacing, parsed.flags.count("--skip-empty") != 0};
    } else if (parsed.values.count("--spacing") != 0 || parsed.flags.count("--skip-empty") != 0) {
        return "--spacing and --skip-empty cut with --frames W,H";
    }
    if (options.grid && !options.setOut) {
        return "--frames makes a set: write it to a set file (-o SET.stws)";
    }
    return readFitOptions(parsed, options);
}

// The layout and size of bin bytes, when any layout option or --size is given; the usage
// problem, or empty.
std::string readBinOptions(const ParsedArguments& parsed, ImportOptions& options) {
    if (!anyLayoutOption(parsed) && parsed.values.count("--size") == 0) {
        return {};
    }
    std::string problem;
    options.binLayout = layoutOptions(parsed, problem);
    if (!problem.empty()) {
        return problem;
    }
    const std::optional<std::string> sizeText = parsed.value("--size");
    if (!sizeText) {
        return "bin bytes need the picture's size (--size W,H)";
    }
    const std::optional<std::pair<int, int>> size = sizeIn(*sizeText);
    if (!size) {
        return "the size must be W,H of 1 to 96 by 1 to 92";
    }
    std::tie(options.width, options.height) = *size;
    return {};
}

// The name of a picture made of the input's pixels.
std::string nameOfInput(const std::string& operand) {
    return operand == kStandardInput ? "Name" : nameOfFile(operand);
}

// Bytes of any other count than the layout's are refused unread. Each step of the import
// returns the refusal's message, or empty.
std::string importBinBytes(ByteSource& input, const ImportOptions& options,
                           const std::string& shown, Imported& imported) {
    const ByteLayout& layout = *options.binLayout;
    const std::size_t count = layoutByteCount(options.width, options.height, layout);
    if (input.size() != count) {
        return couldNotImport(shown, std::to_string(options.width) + " x " +
                                         std::to_string(options.height) + " cells take " +
                                         std::to_string(count) + " bytes in this layout, not " +
                                         std::to_string(input.size()) + ".");
    }
    std::vector<std::uint8_t> bytes(count);
    if (!input.read(0, bytes)) {
        return input.readFailure();
    }
    const LayoutReading reading = readLayoutBytes(bytes, options.width, options.height, layout);
    if (!reading.error.empty()) {
        return couldNotImport(shown, reading.error + ".");
    }
    imported.picture->assign(
        PixelView::rowByRow(reading.cells.data(), options.width, options.height));
    return {};
}

// The top-left 96 x 92 pixels of an image, or its region fitted, cut into levels, dithered or
// taken by its exact colours.
std::string importImage(ByteSource& input, const ImportOptions& options, const std::string& shown,
                        Imported& imported) {
    auto import = std::make_unique<BitmapImport>();
    import->levelStep = options.step;
    import->dither = options.dither;
    import->grays = options.grays;
    import->region = options.region;
    import->fit = options.fit;
    import->exactColours = options.exact;
    const int side = options.grid ? kSheetRegionSide : 0;
    const auto [decodeWidth, decodeHeight] = decodedSizeFor(
        *import, std::max(side, kMaxPictureWidth), std::max(side, kMaxPictureHeight));
    const LoadedImage loaded = loadImportImage(input, shown, decodeWidth, decodeHeight);
    if (!loaded) {
        // The editor's message names no file; in a batch the line must.
        return loaded.problem == kNotABitmapMessage ? couldNotImport(shown, loaded.problem)
                                                    : loaded.problem;
    }
    if (options.setOut) {
        ImageFrames frames = framesOfImage(loaded.image(), options.grid ? &*options.grid : nullptr,
                                           *import, options.name.value_or(imported.name));
        if (!frames) {
            return couldNotImport(shown, frames.problem + ".");
        }
        imported.set = std::move(frames.document);
        return {};
    }
    if (loaded.image().frames.size() > 1) {
        return couldNotImport(shown, "it holds " + std::to_string(loaded.image().frames.size()) +
                                         " frames; write them to a set file (-o SET.stws).");
    }
    if (const std::string problem = stipple::importImage(loaded.image(), *import);
        !problem.empty()) {
        return couldNotImport(shown, problem + ".");
    }
    imported.picture->assign(
        PixelView(import->importPixels, import->importWidth, import->importHeight));
    return {};
}

// A text that export writes, read whole; it brings its picture's name.
std::string importText(ByteSource& input, const ImportOptions& options, const std::string& shown,
                       Imported& imported) {
    if (input.size() > kMaxAsm8TextBytes) {
        return couldNotImport(shown, "it is " + std::to_string(input.size()) +
                                         " bytes long; a text can have at most " +
                                         std::to_string(kMaxAsm8TextBytes) + " bytes (1 MiB).");
    }
    std::string text(static_cast<std::size_t>(input.size()), '\0');
    if (!input.read(0, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()))) {
        return input.readFailure();
    }
    const TextReading reading = readExportText(text, options.aligned);
    if (!reading) {
        return couldNotImport(shown, reading.error + ".");
    }
    const TextPicture& read = reading.picture;
    imported.picture->assign(PixelView::rowByRow(read.cells.data(), read.width, read.height));
    imported.name = read.name;
    return {};
}

// An image on standard input is read whole up to this; a larger one is better given as a file.
constexpr std::size_t kMaxStandardInputImage = 256 * 1024 * 1024;

// What the input is, as its first bytes tell where no layout is given.
enum class InputKind { Image, PictureFile, SetFile, Font, Text };

InputKind kindOf(std::span<const std::uint8_t> firstBytes) {
    const std::span head = firstBytes.first(std::min(firstBytes.size(), kRecognisedBytes));
    for (const ImageDecoderRow& row : imageDecoders()) {
        if (row.recognises(head)) {
            return InputKind::Image;
        }
    }
    const std::string_view start(reinterpret_cast<const char*>(head.data()), head.size());
    if (startsLikeSetFile(start)) {
        return InputKind::SetFile;
    }
    if (startsLikeBdf({reinterpret_cast<const char*>(firstBytes.data()), firstBytes.size()})) {
        return InputKind::Font;
    }
    // Version 1, as every picture file this program writes starts; no text starts so.
    return start.starts_with(std::string_view("\x01\0\0\0", 4)) ? InputKind::PictureFile
                                                                : InputKind::Text;
}

// A picture or set file needs no import; it is told so without reading it.
std::string alreadyAPicture(InputKind kind, const std::string& shown) {
    return "\"" + shown + "\" is a " + (kind == InputKind::SetFile ? "set" : "picture") +
           " file already; stipple export writes its texts.";
}

// What standard input may hold for the kind its first bytes show.
InputLimit limitOfStandardInput(const ImportOptions& options, std::span<const std::uint8_t> first) {
    const std::string shown = shownName(kStandardInput);
    const std::string most = std::to_string(kMaxAsm8TextBytes);
    if (options.binLayout) {
        return {kMaxAsm8TextBytes, couldNotImport(shown, "it holds more than " + most +
                                                             " bytes, more than bin bytes of a "
                                                             "picture take.")};
    }
    switch (const InputKind kind = kindOf(first)) {
        case InputKind::Image:
            return {kMaxStandardInputImage, "Could not read standard input: it holds more than " +
                                                std::to_string(kMaxStandardInputImage >> 20) +
                                                " MiB; give the file instead."};
        case InputKind::PictureFile:
        case InputKind::SetFile:
            return {0, alreadyAPicture(kind, shown)};
        case InputKind::Font:
            return {kMaxBdfBytes,
                    couldNotImport(shown, "it holds more than " + std::to_string(kMaxBdfBytes) +
                                              " bytes, more than a BDF font may.")};
        case InputKind::Text:
            break;
    }
    return {kMaxAsm8TextBytes, couldNotImport(shown, "it holds more than " + most +
                                                         " bytes; a text can have at most " + most +
                                                         " bytes (1 MiB).")};
}

// The input read as the options and its first bytes tell.
std::string importInput(const std::string& operand, const ImportOptions& options,
                        Imported& imported) {
    std::string problem;
    const std::unique_ptr<ByteSource> input = openInput(
        kSyntax, operand,
        [&](std::span<const std::uint8_t> first) { return limitOfStandardInput(options, first); },
        problem);
    if (!input) {
        return problem;
    }
    const std::string shown = shownName(operand);
    imported.picture->fileVersion = 1;
    imported.name = nameOfInput(operand);
    if (options.binLayout) {
        return importBinBytes(*input, options, shown, imported);
    }
    // Enough for every kind's first bytes; a font's first word is the longest.
    std::array<std::uint8_t, std::max<std::size_t>(kRecognisedBytes, 16)> head{};
    const std::span first(head.data(), std::min<std::uint64_t>(input->size(), head.size()));
    if (!input->read(0, first)) {
        return input->readFailure();
    }
    switch (const InputKind kind = kindOf(first)) {
        case InputKind::Image:
            return importImage(*input, options, shown, imported);
        case InputKind::PictureFile:
        case InputKind::SetFile:
            return alreadyAPicture(kind, shown);
        case InputKind::Font:
            if (!options.setOut) {
                return couldNotImport(shown,
                                      "it is a font; write it to a set file (-o FONT.stws).");
            }
            return importBdfFont(*input, shown, options.name, imported.set.emplace());
        case InputKind::Text:
            break;
    }
    return importText(*input, options, shown, imported);
}

// The picture file, replaced as Save Picture does.
std::string writePicture(const ImportOptions& options, const std::string& shown,
                         const Imported& imported) {
    if (options.setOut) {
        // A set of frames is large (36 KB a frame): it is written where it lies.
        Document single;
        if (!imported.set) {
            single.setName = options.name.value_or(imported.name);
            single.frames.front().name = single.setName;
            single.frames.front().picture = *imported.picture;
        }
        const StorableSet storable = storableSet(imported.set ? *imported.set : single);
        if (!storable) {
            return couldNotImport(shown, storable.problem);
        }
        return replaceWith(kSyntax, options.out, encodeSetFile(storable.content));
    }
    StorableName stored = storablePictureName(options.name.value_or(imported.name));
    if (!stored) {
        return couldNotImport(shown, stored.problem);
    }
    const Picture& picture = *imported.picture;
    const std::string encoded = encodePictureFile(
        pictureFileContent(picture.fileVersion, std::move(stored.bytes), picture.view()));
    return replaceWith(kSyntax, options.out, encoded);
}

}  // namespace

int importCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    ImportOptions options;
    std::string problem = readImageOptions(parsed, options);
    if (problem.empty()) {
        problem = readBinOptions(parsed, options);
    }
    if (!problem.empty()) {
        return usageError(kSyntax, problem);
    }
    const std::string& operand = parsed.operands.front();
    problem = outputOntoInput(parsed.operands, options.out);
    Imported imported;
    if (problem.empty()) {
        problem = importInput(operand, options, imported);
    }
    if (problem.empty()) {
        problem = writePicture(options, shownName(operand), imported);
    }
    if (!problem.empty()) {
        tellRefused(kSyntax, problem);
        return kRefused;
    }
    return kSucceeded;
}

}  // namespace stipple::cli
