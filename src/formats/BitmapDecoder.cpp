#include "formats/BitmapDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

namespace stipple {

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint64_t kFileHeaderSize = 14;

// Compression codes of the info header.
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitfields = 3;  // OS/2 2: Huffman 1D
constexpr std::uint32_t kJpeg = 4;       // OS/2 2: 24-bit RLE
constexpr std::uint32_t kPng = 5;
constexpr std::uint32_t kAlphaBitfields = 6;

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t opaque(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return kOpaqueBlack | (red << 16) | (green << 8) | blue;
}

// One channel of a bit-field pixel: its bits scaled to 0..255, whatever their number.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    std::uint32_t level(std::uint32_t pixel) const {
        const std::uint64_t v = (pixel & mask) >> shift;
        return max == 0 ? 0 : static_cast<std::uint32_t>((v * 255 + max / 2) / max);
    }
};

// What the headers say, checked.
struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kUncompressed;
    std::uint64_t dataOffset = 0;
    std::array<std::uint32_t, 256> palette{};  // opaque colours; missing entries black
    Channel red{0x00FF0000u}, green{0x0000FF00u}, blue{0x000000FFu};
};

// A refusal, or nothing when the step went through.
using Refusal = std::optional<ImageDecoding>;

Refusal refused(ImageFault kind, std::string detail = {}) {
    return imageFault(kind, std::move(detail));
}

enum class HeaderKind { Windows, Os2v1, Os2v2 };

// The headers as far as they have been read.
struct Headers {
    std::uint64_t fileSize = 0;
    std::uint32_t infoSize = 0;
    HeaderKind kind = HeaderKind::Windows;
    std::uint8_t info[124] = {};
    std::uint32_t coloursUsed = 0;
    std::uint64_t paletteStart = 0;  // where the masks or the colour table would start
};

// "BM", the file header and the size of the info header, which tells its kind.
Refusal readFileHeader(ByteSource& file, Layout& layout, Headers& headers) {
    std::uint8_t head[kFileHeaderSize + 4];
    if (headers.fileSize < 2) {
        return refused(ImageFault::NotAnImage);
    }
    if (!file.read(0, std::span(head, 2))) {
        return refused(ImageFault::ReadFailed);
    }
    if (!recognisesBitmap(std::span(head, 2))) {
        return refused(ImageFault::NotAnImage);
    }
    if (headers.fileSize < sizeof head) {
        return refused(ImageFault::CutOff, "inside its header");
    }
    if (!file.read(0, head)) {
        return refused(ImageFault::ReadFailed);
    }
    layout.dataOffset = le32(head + 10);
    const std::uint32_t infoSize = le32(head + 14);
    const bool windows =
        infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    if (windows) {
        headers.kind = HeaderKind::Windows;
    } else if (infoSize == 12) {
        headers.kind = HeaderKind::Os2v1;
    } else if (infoSize >= 16 && infoSize <= 64 && infoSize % 4 == 0) {
        headers.kind = HeaderKind::Os2v2;
    } else {
        return refused(ImageFault::NotAnImage);
    }
    headers.infoSize = infoSize;
    headers.paletteStart = kFileHeaderSize + infoSize;
    return std::nullopt;
}

// The info header: the size, the planes, the depth and the compression.
Refusal readInfoHeader(ByteSource& file, Layout& layout, Headers& headers) {
    const std::uint8_t* info = headers.info;
    if (headers.fileSize < kFileHeaderSize + headers.infoSize) {
        return refused(ImageFault::CutOff, "inside its header");
    }
    if (!file.read(kFileHeaderSize, std::span(headers.info, headers.infoSize))) {
        return refused(ImageFault::ReadFailed);
    }
    int planes = 0;
    if (headers.kind == HeaderKind::Os2v1) {
        layout.width = le16(info + 4);
        layout.height = le16(info + 6);
        planes = le16(info + 8);
        layout.bitsPerPixel = le16(info + 10);
    } else {
        layout.width = static_cast<std::int32_t>(le32(info + 4));
        layout.height = static_cast<std::int32_t>(le32(info + 8));
        planes = le16(info + 12);
        layout.bitsPerPixel = le16(info + 14);
        layout.compression = headers.infoSize >= 20 ? le32(info + 16) : kUncompressed;
        headers.coloursUsed = headers.infoSize >= 36 ? le32(info + 32) : 0;
    }
    if (layout.height < 0) {
        layout.topDown = true;
        layout.height = -layout.height;
    }
    if (planes != 1 || layout.width <= 0 || layout.height <= 0 ||
        layout.height > std::numeric_limits<std::int32_t>::max()) {
        return refused(ImageFault::NotAnImage);
    }
    if (std::string past = pastBudget(kBitmapBudget, static_cast<std::uint64_t>(layout.width),
                                      static_cast<std::uint64_t>(layout.height));
        !past.empty()) {
        return refused(ImageFault::TooLarge, std::move(past));
    }
    return std::nullopt;
}

bool isPaletted(int bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8;
}

// The masks of bit-field pixels: in the header when it has room for them, else after it.
Refusal readChannelMasks(ByteSource& file, Layout& layout, Headers& headers) {
    std::uint8_t masks[16] = {};
    if (headers.infoSize >= 52) {
        std::memcpy(masks, headers.info + 40, 12);
    } else {
        const std::uint64_t count = layout.compression == kAlphaBitfields ? 16 : 12;
        if (headers.fileSize < headers.paletteStart + count) {
            return refused(ImageFault::CutOff, "inside its header");
        }
        if (!file.read(headers.paletteStart, std::span(masks, count))) {
            return refused(ImageFault::ReadFailed);
        }
        headers.paletteStart += count;
    }
    layout.red = Channel(le32(masks));
    layout.green = Channel(le32(masks + 4));
    layout.blue = Channel(le32(masks + 8));
    return std::nullopt;
}

// Whether this reader decodes the compression at that depth, and how its pixels are formed.
Refusal readPixelForm(ByteSource& file, Layout& layout, Headers& headers) {
    const int bpp = layout.bitsPerPixel;
    const bool os2v2 = headers.kind == HeaderKind::Os2v2;
    switch (layout.compression) {
        case kUncompressed:
            if (bpp == 64) {
                return refused(ImageFault::Unsupported, "64 bits per pixel");
            }
            if (!isPaletted(bpp) && bpp != 16 && bpp != 24 && bpp != 32) {
                return refused(ImageFault::NotAnImage);
            }
            if (bpp == 16) {
                layout.red = Channel(0x7C00);
                layout.green = Channel(0x03E0);
                layout.blue = Channel(0x001F);
            }
            return std::nullopt;
        case kRle8:
        case kRle4:
            if (bpp != (layout.compression == kRle8 ? 8 : 4)) {
                return refused(ImageFault::NotAnImage);
            }
            return std::nullopt;
        case kBitfields:
        case kAlphaBitfields:
            if (os2v2 && layout.compression == kBitfields) {
                return refused(ImageFault::Unsupported, "Huffman compression");
            }
            if (bpp != 16 && bpp != 32) {
                return refused(ImageFault::NotAnImage);
            }
            return readChannelMasks(file, layout, headers);
        case kJpeg:
            return refused(ImageFault::Unsupported,
                           os2v2 ? "24-bit run-length compression" : "JPEG compression");
        case kPng:
            return refused(ImageFault::Unsupported, "PNG compression");
        default:
            if (layout.compression >= 11 && layout.compression <= 13) {
                return refused(ImageFault::Unsupported, "CMYK colours");
            }
            return refused(ImageFault::NotAnImage);
    }
}

// The colour table of a paletted bitmap; entries it does not hold are black.
Refusal readColourTable(ByteSource& file, Layout& layout, const Headers& headers) {
    const std::uint64_t entrySize = headers.kind == HeaderKind::Os2v1 ? 3 : 4;
    std::uint64_t count = std::uint64_t{1} << layout.bitsPerPixel;
    if (headers.coloursUsed != 0 && headers.coloursUsed < count) {
        count = headers.coloursUsed;
    }
    // A colour table that the pixel data cuts short holds only the entries before it.
    count = std::min(count, (layout.dataOffset - headers.paletteStart) / entrySize);
    if (headers.fileSize < headers.paletteStart + count * entrySize) {
        return refused(ImageFault::CutOff, "inside its colour table");
    }
    std::uint8_t table[256 * 4];
    if (!file.read(headers.paletteStart, std::span(table, count * entrySize))) {
        return refused(ImageFault::ReadFailed);
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* e = table + i * entrySize;
        layout.palette[i] = opaque(e[2], e[1], e[0]);
    }
    std::fill(layout.palette.begin() + static_cast<std::ptrdiff_t>(count), layout.palette.end(),
              kOpaqueBlack);
    return std::nullopt;
}

// Reads the file and info headers, the bit-field masks and the colour table.
Refusal readLayout(ByteSource& file, Layout& layout) {
    Headers headers;
    headers.fileSize = file.size();
    if (Refusal refusal = readFileHeader(file, layout, headers)) {
        return refusal;
    }
    if (Refusal refusal = readInfoHeader(file, layout, headers)) {
        return refusal;
    }
    if (Refusal refusal = readPixelForm(file, layout, headers)) {
        return refusal;
    }
    if (layout.dataOffset < headers.paletteStart) {
        return refused(ImageFault::NotAnImage);  // the pixels would overlap the headers
    }
    if (isPaletted(layout.bitsPerPixel)) {
        return readColourTable(file, layout, headers);
    }
    return std::nullopt;
}

// Rows stored as they are: only the region's rows are read, each only as far as the region.
ImageDecoding decodeRows(ByteSource& file, const Layout& layout, DecodedImage& out) {
    const int bpp = layout.bitsPerPixel;
    const std::uint64_t width = static_cast<std::uint64_t>(layout.width);
    const std::uint64_t height = static_cast<std::uint64_t>(layout.height);
    const std::uint64_t stride = (width * bpp + 31) / 32 * 4;
    const std::uint64_t lastRowBytes = (width * bpp + 7) / 8;
    // Every row the header promises must be there; only the padding of the last may miss.
    const std::uint64_t fileSize = file.size();
    if (layout.dataOffset > fileSize || fileSize - layout.dataOffset < lastRowBytes ||
        (height - 1) > (fileSize - layout.dataOffset - lastRowBytes) / stride) {
        return imageFault(ImageFault::CutOff, "before all its pixels");
    }

    const std::size_t rowBytes = (static_cast<std::size_t>(out.regionWidth) * bpp + 7) / 8;
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < out.regionHeight; ++y) {
        const std::uint64_t fileRow = layout.topDown ? y : height - 1 - y;
        if (!file.read(layout.dataOffset + fileRow * stride, row)) {
            return imageFault(ImageFault::ReadFailed);
        }
        std::uint32_t* pixel = out.pixels.data() + static_cast<std::size_t>(y) * out.regionWidth;
        for (int x = 0; x < out.regionWidth; ++x) {
            switch (bpp) {
                case 1:
                case 2:
                case 4:
                case 8: {
                    const int bit = x * bpp;  // the leftmost pixel in the high bits
                    const int index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
                    pixel[x] = layout.palette[index];
                    break;
                }
                case 24: {
                    const std::uint8_t* p = &row[x * 3];
                    pixel[x] = opaque(p[2], p[1], p[0]);
                    break;
                }
                default: {
                    const std::uint32_t v = bpp == 16 ? le16(&row[x * 2]) : le32(&row[x * 4]);
                    pixel[x] =
                        opaque(layout.red.level(v), layout.green.level(v), layout.blue.level(v));
                    break;
                }
            }
        }
    }
    return {};
}

// Reads a run-length stream from the front, a few kilobytes at a time.
class StreamReader {
  public:
    StreamReader(ByteSource& file, std::uint64_t start) : file_(file), next_(start) {}

    // The next byte; nothing at the end of the file or when it cannot be read.
    std::optional<std::uint8_t> next() {
        if (at_ == filled_ && !refill()) {
            return std::nullopt;
        }
        return buffer_[at_++];
    }
    bool failed() const { return failed_; }

  private:
    bool refill() {
        const std::uint64_t size = file_.size();
        if (next_ >= size) {
            return false;
        }
        filled_ = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer_, size - next_));
        if (!file_.read(next_, std::span(buffer_, filled_))) {
            failed_ = true;
            filled_ = 0;
            return false;
        }
        next_ += filled_;
        at_ = 0;
        return true;
    }

    ByteSource& file_;
    std::uint64_t next_;
    std::uint8_t buffer_[4096];
    std::size_t filled_ = 0;
    std::size_t at_ = 0;
    bool failed_ = false;
};

// RLE8 and RLE4: runs, end of line, end of bitmap and delta. Pixels the codes skip stay
// black; runs beyond a row's end are cut at it.
ImageDecoding decodeRunLengths(ByteSource& file, const Layout& layout, DecodedImage& out) {
    if (layout.dataOffset >= file.size()) {
        return imageFault(ImageFault::CutOff, "before all its pixels");
    }
    const bool rle4 = layout.compression == kRle4;
    const std::int64_t width = layout.width;
    const std::int64_t height = layout.height;
    // The file's rows come bottom first unless the bitmap is top-down; the region's rows
    // are all done once the stream is past them.
    const std::int64_t lastRowNeeded = layout.topDown ? out.regionHeight - 1 : height - 1;
    std::int64_t x = 0;
    std::int64_t row = 0;
    auto put = [&](int index) {
        if (x < out.regionWidth && row < height) {
            const std::int64_t y = layout.topDown ? row : height - 1 - row;
            if (y < out.regionHeight) {
                out.pixels[static_cast<std::size_t>(y * out.regionWidth + x)] =
                    layout.palette[index];
            }
        }
        ++x;
    };

    StreamReader stream(file, layout.dataOffset);
    while (row <= lastRowNeeded) {
        const std::optional<std::uint8_t> count = stream.next();
        const std::optional<std::uint8_t> value = stream.next();
        if (!count || !value) {
            break;  // the stream ends without its end code: the rest stays black
        }
        if (*count > 0) {
            for (int i = 0; i < *count && x < width; ++i) {
                put(rle4 ? (i % 2 == 0 ? *value >> 4 : *value & 0x0F) : *value);
            }
            continue;
        }
        if (*value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (*value == 1) {  // end of bitmap
            break;
        } else if (*value == 2) {  // delta: right and up
            const std::optional<std::uint8_t> right = stream.next();
            const std::optional<std::uint8_t> up = stream.next();
            if (!right || !up) {
                break;
            }
            x += *right;
            row += *up;
        } else {  // a run of literal pixels, padded to an even number of bytes
            const int pixels = *value;
            const int bytes = rle4 ? (pixels + 1) / 2 : pixels;
            std::uint8_t packed = 0;
            for (int i = 0; i < bytes + bytes % 2; ++i) {
                const std::optional<std::uint8_t> byte = stream.next();
                if (!byte) {
                    break;
                }
                packed = *byte;
                if (i >= bytes) {
                    continue;
                }
                if (!rle4) {
                    if (x < width) {
                        put(packed);
                    }
                    continue;
                }
                for (int half = 0; half < 2 && 2 * i + half < pixels; ++half) {
                    if (x < width) {
                        put(half == 0 ? packed >> 4 : packed & 0x0F);
                    }
                }
            }
        }
    }
    if (stream.failed()) {
        return imageFault(ImageFault::ReadFailed);
    }
    return {};
}

}  // namespace

bool recognisesBitmap(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= 2 && firstBytes[0] == 'B' && firstBytes[1] == 'M';
}

ImageDecoding decodeBitmap(ByteSource& file, int maxWidth, int maxHeight) {
    Layout layout;
    if (Refusal refusal = readLayout(file, layout)) {
        return *std::move(refusal);
    }
    ImageDecoding result;
    DecodedImage& out = result.image;
    out.width = static_cast<int>(layout.width);
    out.height = static_cast<int>(layout.height);
    out.regionWidth = static_cast<int>(std::min<std::int64_t>(layout.width, std::max(maxWidth, 0)));
    out.regionHeight =
        static_cast<int>(std::min<std::int64_t>(layout.height, std::max(maxHeight, 0)));
    out.pixels.assign(static_cast<std::size_t>(out.regionWidth) * out.regionHeight, kOpaqueBlack);
    ImageDecoding decoded = layout.compression == kRle8 || layout.compression == kRle4
                                ? decodeRunLengths(file, layout, out)
                                : decodeRows(file, layout, out);
    return decoded ? std::move(result) : decoded;
}

std::string bitmapFaultMessage(const ImageDecoding& decoding, std::string_view shownPath) {
    const std::string file = std::string(1, '"').append(shownPath) + '"';
    switch (decoding.fault) {
        case ImageFault::None:
            return {};
        case ImageFault::NotAnImage:
            return std::string(kNotABitmapMessage);
        case ImageFault::Unsupported:
            return "The bitmap " + file + " cannot be opened: it uses " + decoding.detail +
                   ", which this program does not read.";
        case ImageFault::CutOff:
            return "The bitmap " + file + " is cut off: the file ends " + decoding.detail + ".";
        case ImageFault::TooLarge:
            return "The bitmap " + file + " is too large to import: " + decoding.detail + ".";
        case ImageFault::ReadFailed:
            break;
    }
    return "Could not read " + file + ".";
}

}  // namespace stipple
