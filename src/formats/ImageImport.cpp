#include "formats/ImageImport.h"

#include "formats/PngDecoder.h"

namespace stipple {

ImageDecoding decodeImportImage(ByteSource& file, int maxWidth, int maxHeight) {
    ImageDecoding image;
    image.png = isPng(file);
    image.decoding =
        image.png ? decodePng(file, maxWidth, maxHeight) : decodeBitmap(file, maxWidth, maxHeight);
    return image;
}

std::string importFaultMessage(const ImageDecoding& image, std::string_view shownPath) {
    return image.png ? pngFaultMessage(image.decoding, shownPath)
                     : bitmapFaultMessage(image.decoding, shownPath);
}

void importRegion(const RgbView& region, BitmapImport& import) {
    takeImportSize(region, import);
    convertBitmap(region, import);
}

}  // namespace stipple
