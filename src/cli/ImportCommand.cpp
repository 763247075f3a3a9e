// stipple import: a bitmap, any text that export writes, or the bytes of a layout, as a
// picture file.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <span>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "formats/BitmapConversion.h"
#include "formats/ByteLayout.h"
#include "formats/ExportFormats.h"
#include "formats/ImageImport.h"
#include "formats/PictureFile.h"
#include "formats/PngDecoder.h"
#include "formats/Windows1252.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "import",
    "stipple import [--dither D] [--step N] [--name NAME] [--align] [LAYOUT --size W,H] "
    "-o PICTURE.stw INPUT",
    "Makes a picture file of INPUT (\"-\" reads standard input):\n"
    "  - a bitmap or a PNG image: its top-left 96 x 92 pixels cut into the four levels\n"
    "    (or dithered) as the import window does, at the step N (1 to 200, default 64);\n"
    "    PNG pixels whose alpha is below half become transparent; the picture is named\n"
    "    after the file unless --name is given;\n"
    "  - any text that export writes: the text that Save or Save to end writes, the ASM\n"
    "    8bpp and C++ array texts give the picture and its name back exactly; the ASM\n"
    "    1, 2 and 4 bpp texts and the gas, ca65, db and c texts of a layout give them\n"
    "    back where the codes tell the values apart: where two values share a code the\n"
    "    first of black, 66 % gray, 33 % gray, white, transparent is read, and a mask\n"
    "    restores transparent. The text must hold one picture and nothing after it but\n"
    "    empty lines; a text of more than 1 MiB (1048576 bytes) is refused;\n"
    "  - with any LAYOUT option or --size: the bin bytes of that layout for a picture\n"
    "    of W x H cells, named after the file.\n\n"
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
    "  -o FILE      the picture file to write, replaced as Save Picture does\n",
    {"--dither", "--step", "--name", "-o", "--target", "--depth", "--levels", "--order", "--scan",
     "--planes", "--mask", "--size"},
    {"--align"}};
static_assert(kMaxAsm8TextBytes == 1048576, "the help and the refusal tell the limit");

// The picture from a bitmap, or false after setting `problem`.
bool fromBitmap(ByteSource& bytes, int step, Dither dither, Picture& picture, std::string& problem,
                const std::string& shown) {
    const ImageDecoding image = decodeImportImage(bytes, kMaxPictureWidth, kMaxPictureHeight);
    if (image.decoding.fault == BitmapFault::ReadFailed) {
        problem = bytes.readFailure();
        return false;
    }
    if (!image) {
        problem = importFaultMessage(image, shown);
        if (!image.png && image.decoding.fault == BitmapFault::NotABitmap) {
            // The editor's message names no file; in a batch the line must.
            problem = "Could not import \"" + shown + "\": " + problem;
        }
        return false;
    }
    auto import = std::make_unique<BitmapImport>();
    import->levelStep = step;
    import->dither = dither;
    importRegion(image.decoding.bitmap.view(), *import);
    picture.assign(PixelView(import->importPixels, import->importWidth, import->importHeight));
    return true;
}

// The picture's name made of a file's name: whatever a picture file or a text cannot hold
// becomes "_", so that a bitmap of any name imports.
std::string nameOfFile(const std::string& path) {
    std::string name = toWindows1252Replacing(std::filesystem::path(path).stem().string(), '_');
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, '_');
    return fromWindows1252(name);
}

// The layout of bin bytes, when the options give one; `problem` says why they give none.
std::optional<ByteLayout> binLayout(const ParsedArguments& parsed, std::string& problem) {
    if (!anyLayoutOption(parsed) && parsed.values.count("--size") == 0) {
        return std::nullopt;
    }
    return layoutOptions(parsed, problem);
}

// W,H from --size, or nothing when it is not that.
std::optional<std::pair<int, int>> sizeIn(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> width = numberIn(text.substr(0, comma), 1, kMaxPictureWidth);
    const std::optional<int> height = numberIn(text.substr(comma + 1), 1, kMaxPictureHeight);
    if (!width || !height) {
        return std::nullopt;
    }
    return std::pair(*width, *height);
}

}  // namespace

int importCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    const std::optional<std::string> out = parsed.value("-o");
    if (!out) {
        return usageError(kSyntax, "no picture file to write given (-o)");
    }
    if (parsed.operands.size() != 1) {
        return usageError(
            kSyntax, parsed.operands.empty() ? "no input given" : "only one input can be imported");
    }
    const std::optional<int> step =
        numberIn(parsed.value("--step").value_or(std::to_string(kDefaultLevelStep)), kMinLevelStep,
                 kMaxLevelStep);
    if (!step) {
        return usageError(kSyntax, "the step must be a number from 1 to 200");
    }
    const std::string ditherName = parsed.value("--dither").value_or("threshold");
    const std::optional<Dither> dither = ditherNamed(ditherName);
    if (!dither) {
        return usageError(kSyntax, "unknown dither " + ditherName +
                                       " (threshold, floyd-steinberg, atkinson or ordered)");
    }
    std::string layoutProblemText;
    const std::optional<ByteLayout> layout = binLayout(parsed, layoutProblemText);
    if (!layoutProblemText.empty()) {
        return usageError(kSyntax, layoutProblemText);
    }
    std::optional<std::pair<int, int>> size;
    if (layout) {
        const std::optional<std::string> sizeText = parsed.value("--size");
        if (!sizeText) {
            return usageError(kSyntax, "bin bytes need the picture's size (--size W,H)");
        }
        size = sizeIn(*sizeText);
        if (!size) {
            return usageError(kSyntax, "the size must be W,H of 1 to 96 by 1 to 92");
        }
    }

    const std::string& operand = parsed.operands.front();
    const std::string shown = shownName(operand);
    if (const std::string onto = outputOntoInput(parsed.operands, *out); !onto.empty()) {
        tellRefused(kSyntax, onto);
        return kRefused;
    }
    std::string problem;
    std::unique_ptr<ByteSource> input = openInput(kSyntax, operand, problem);
    if (!input) {
        tellRefused(kSyntax, problem);
        return kRefused;
    }
    auto picture = std::make_unique<Picture>();
    picture->fileVersion = 1;
    std::string name;
    std::uint8_t magic[2] = {};
    if (layout) {
        // Bytes of any other count are refused unread.
        const std::size_t count = layoutByteCount(size->first, size->second, *layout);
        if (input->size() != count) {
            tellRefused(kSyntax, "Could not import \"" + shown +
                                     "\": " + std::to_string(size->first) + " x " +
                                     std::to_string(size->second) + " cells take " +
                                     std::to_string(count) + " bytes in this layout, not " +
                                     std::to_string(input->size()) + ".");
            return kRefused;
        }
        std::vector<std::uint8_t> bytes(count);
        if (!input->read(0, bytes)) {
            tellRefused(kSyntax, input->readFailure());
            return kRefused;
        }
        const LayoutReading reading = readLayoutBytes(bytes, size->first, size->second, *layout);
        if (!reading.error.empty()) {
            tellRefused(kSyntax, "Could not import \"" + shown + "\": " + reading.error + ".");
            return kRefused;
        }
        picture->assign(PixelView::rowByRow(reading.cells.data(), size->first, size->second));
        name = operand == kStandardInput ? "Name" : nameOfFile(operand);
    } else if ((input->size() >= 2 && input->read(0, magic) && magic[0] == 'B' &&
                magic[1] == 'M') ||
               isPng(*input)) {
        if (!fromBitmap(*input, *step, *dither, *picture, problem, shown)) {
            tellRefused(kSyntax, problem);
            return kRefused;
        }
        name = operand == kStandardInput ? "Name" : nameOfFile(operand);
    } else {
        if (input->size() > kMaxAsm8TextBytes) {
            tellRefused(kSyntax, "Could not import \"" + shown + "\": it is " +
                                     std::to_string(input->size()) +
                                     " bytes long; a text can have at most " +
                                     std::to_string(kMaxAsm8TextBytes) + " bytes (1 MiB).");
            return kRefused;
        }
        std::string text(static_cast<std::size_t>(input->size()), '\0');
        if (!input->read(0, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()))) {
            tellRefused(kSyntax, input->readFailure());
            return kRefused;
        }
        const TextReading reading = readExportText(text, parsed.flags.count("--align") != 0);
        if (!reading) {
            tellRefused(kSyntax, "Could not import \"" + shown + "\": " + reading.error + ".");
            return kRefused;
        }
        const TextPicture& read = reading.picture;
        picture->assign(PixelView::rowByRow(read.cells.data(), read.width, read.height));
        name = read.name;
    }
    if (const std::optional<std::string> given = parsed.value("--name")) {
        name = *given;
    }

    StorableName stored = storablePictureName(name);
    if (!stored) {
        tellRefused(kSyntax, "Could not import \"" + shown + "\": " + stored.problem);
        return kRefused;
    }
    const std::string encoded = encodePictureFile(
        pictureFileContent(picture->fileVersion, std::move(stored.bytes), picture->view()));
    if (const std::string failure = replaceWith(kSyntax, *out, encoded); !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return kSucceeded;
}

}  // namespace stipple::cli
