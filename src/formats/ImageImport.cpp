#include "formats/ImageImport.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "formats/ImageFit.h"
#include "io/FileAccess.h"

namespace stipple {

namespace {

LoadedImage refusedWith(ImageFault fault, std::string problem) {
    LoadedImage loaded;
    loaded.decoding.fault = fault;
    loaded.problem = std::move(problem);
    return loaded;
}

}  // namespace

LoadedImage loadImportImage(ByteSource& file, std::string_view shownPath, int maxWidth,
                            int maxHeight) {
    const ImageDecoderRow& decoder = decoderFor(file);
    LoadedImage loaded;
    loaded.decoding = decoder.decode(file, maxWidth, maxHeight);
    if (loaded.decoding.fault == ImageFault::ReadFailed) {
        loaded.problem = file.readFailure();
    }
    if (!loaded.decoding && loaded.problem.empty()) {
        loaded.problem = decoder.faultMessage(loaded.decoding, shownPath);
    }
    return loaded;
}

LoadedImage loadImportImage(const std::string& path, std::string_view shownPath, int maxWidth,
                            int maxHeight) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::string problem = "\"";
        problem.append(shownPath).append("\" is a folder, not a bitmap file.");
        return refusedWith(ImageFault::ReadFailed, std::move(problem));
    }
    FileBytes file(path);
    if (!file.status()) {
        return refusedWith(ImageFault::ReadFailed, file.status().error);
    }
    return loadImportImage(file, shownPath, maxWidth, maxHeight);
}

std::pair<int, int> decodedSizeFor(const BitmapImport& import, int defaultWidth,
                                   int defaultHeight) {
    if (const std::optional<ImageRegion>& r = import.region) {
        return {std::max(defaultWidth, r->x + r->width), std::max(defaultHeight, r->y + r->height)};
    }
    if (import.fit) {
        return {kWholeImage, kWholeImage};
    }
    return {defaultWidth, defaultHeight};
}

std::string regionProblem(const BitmapImport& import, int width, int height) {
    const std::optional<ImageRegion>& r = import.region;
    if (!r || (r->x >= 0 && r->y >= 0 && r->width >= 1 && r->height >= 1 &&
               r->width <= width - r->x && r->height <= height - r->y)) {
        return {};
    }
    return "the region " + std::to_string(r->x) + "," + std::to_string(r->y) + "," +
           std::to_string(r->width) + "," + std::to_string(r->height) +
           " is not within the image, which is " + std::to_string(width) + " x " +
           std::to_string(height) + " pixels";
}

RgbView regionOf(const RgbView& decoded, const BitmapImport& import) {
    if (!import.region) {
        return decoded;
    }
    const ImageRegion& r = *import.region;
    const int x = std::clamp(r.x, 0, decoded.width);
    const int y = std::clamp(r.y, 0, decoded.height);
    return {decoded.pixels + static_cast<std::ptrdiff_t>(y) * decoded.stride + x,
            std::clamp(r.width, 0, decoded.width - x), std::clamp(r.height, 0, decoded.height - y),
            decoded.stride};
}

std::string tooManyColours(const BitmapImport& import) {
    const int count = import.colours.count;
    return (count > kCountedColours ? "more than " + std::to_string(kCountedColours)
                                    : std::to_string(count)) +
           " colours, more than the " + (import.grays == Grays::Two ? "two" : "four") +
           " that exact colours take";
}

bool takeExactColours(std::span<const RgbView> views, BitmapImport& import) {
    if (!import.exactColours) {
        return true;
    }
    std::vector<std::uint32_t> found;
    for (const RgbView& view : views) {
        countColours(view, found);
    }
    import.colours = exactColoursOf(std::move(found), import.grays);
    return import.colours.count <= static_cast<int>(import.grays);
}

RgbView fittedPart(const RgbView& part, const BitmapImport& import,
                   std::vector<std::uint32_t>& buffer) {
    return import.fit ? fitImage(part, import.fit->first, import.fit->second, buffer) : part;
}

void importRegion(const RgbView& part, BitmapImport& import) {
    std::vector<std::uint32_t> buffer;
    const RgbView view = fittedPart(part, import, buffer);
    takeImportSize(view, import);
    convertBitmap(view, import);
}

std::string importImage(const DecodedImage& image, BitmapImport& import) {
    if (std::string problem = regionProblem(import, image.width, image.height); !problem.empty()) {
        return problem;
    }
    const RgbView part = regionOf(image.view(), import);
    if (!takeExactColours(std::span(&part, 1), import)) {
        return "it has " + tooManyColours(import);
    }
    importRegion(part, import);
    return {};
}

}  // namespace stipple
