// stipple thumbnail: a picture file as a PNG, for file managers.
#include <algorithm>
#include <vector>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Pictures.h"
#include "cli/Png.h"

namespace stipple::cli {

namespace {

const CommandSyntax kSyntax{
    "thumbnail",
    "stipple thumbnail [--size N] PICTURE.stw OUT.png",
    "Draws the picture into a PNG with the editor's colours, transparent pixels left\n"
    "transparent, each pixel a square as large as fits N (default 128) pixels; a picture\n"
    "larger than N keeps one pixel per cell. Of a set file (.stws), its first frame.\n\n"
    "  --size N  the largest side of the image, 1 to 4096\n",
    {"--size"},
    {}};

}  // namespace

int thumbnailCommand(const Arguments& arguments) {
    const ParsedArguments parsed = parseArguments(kSyntax, arguments);
    if (const std::optional<int> done = helpOrUsageError(kSyntax, parsed)) {
        return *done;
    }
    if (parsed.operands.size() != 2) {
        return usageError(kSyntax, "a picture file and the PNG file to write are needed");
    }
    const std::optional<int> size = numberIn(parsed.value("--size").value_or("128"), 1, 4096);
    if (!size) {
        return usageError(kSyntax, "the size must be a number from 1 to 4096");
    }
    if (const std::string onto = outputOntoInput({parsed.operands[0]}, parsed.operands[1]);
        !onto.empty()) {
        tellRefused(kSyntax, onto);
        return kRefused;
    }
    std::string problem;
    LoadedPicture loaded;
    Document set;  // of a set file, its first frame
    const bool picture = loadPicture(kSyntax, parsed.operands[0], loaded, problem);
    if (!picture && !loadSet(kSyntax, parsed.operands[0], loaded, set, problem)) {
        tellRefused(kSyntax, problem);
        return kRefused;
    }
    const PixelView p = picture ? loaded.view() : set.frames.front().picture.view();
    const int scale = std::max(1, *size / std::max(p.width(), p.height()));
    const int width = p.width() * scale;
    const int height = p.height() * scale;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel value = p.at(x / scale + 1, y / scale + 1);
            const Rgb colour = kDisplayColours[value];
            std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            out[0] = static_cast<std::uint8_t>(colour >> 16);
            out[1] = static_cast<std::uint8_t>(colour >> 8);
            out[2] = static_cast<std::uint8_t>(colour);
            out[3] = value == kTransparent ? 0 : 255;
        }
    }
    const std::optional<std::string> png = encodePng(rgba, width, height);
    if (!png) {
        tellRefused(kSyntax,
                    "Could not make the PNG image of \"" + shownName(parsed.operands[0]) + "\".");
        return kRefused;
    }
    if (const std::string failure = replaceWith(kSyntax, parsed.operands[1], *png);
        !failure.empty()) {
        tellRefused(kSyntax, failure);
        return kRefused;
    }
    return kSucceeded;
}

}  // namespace stipple::cli
