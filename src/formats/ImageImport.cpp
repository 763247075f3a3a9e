#include "formats/ImageImport.h"

#include <filesystem>
#include <system_error>

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

void importRegion(const RgbView& region, BitmapImport& import) {
    takeImportSize(region, import);
    convertBitmap(region, import);
}

}  // namespace stipple
