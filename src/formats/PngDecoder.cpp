#include "formats/PngDecoder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace stipple {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The signature and the whole IHDR chunk.
constexpr std::uint64_t kHeaderEnd = 8 + 25;

// Far beyond any picture, yet a hostile header cannot make libpng or us allocate much.
constexpr std::uint32_t kMaxSide = 1'000'000;
constexpr std::uint64_t kMaxRowBytes = 64u << 20;
static_assert(std::uint64_t{kMaxSide} * 8 <= kMaxRowBytes,
              "the widest row, 16-bit RGBA, stays within the row limit");
constexpr png_uint_32 kMaxAncillaryChunks = 64;
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;

std::uint32_t be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// What the callbacks learn while libpng reads, for telling why it gave up.
struct ReadState {
    ByteSource* file = nullptr;
    std::uint64_t offset = 0;
    bool inImageData = false;
    bool readFailed = false;
    bool cutOff = false;
    std::uint64_t cutAt = 0;
    char error[200] = {};
};

// libpng's callbacks are left with a jump on an error, so they hold nothing to destroy.
void readBytes(png_structp png, png_bytep into, std::size_t length) {
    auto& state = *static_cast<ReadState*>(png_get_io_ptr(png));
    const std::uint64_t size = state.file->size();
    if (state.offset > size || length > size - state.offset) {
        state.cutOff = true;
        state.cutAt = state.offset;
        png_error(png, "cut off");
    }
    if (!state.file->read(state.offset, std::span(into, length))) {
        state.readFailed = true;
        png_error(png, "read failed");
    }
    state.offset += length;
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto& state = *static_cast<ReadState*>(png_get_error_ptr(png));
    std::snprintf(state.error, sizeof state.error, "%s", message);
    png_longjmp(png, 1);
}

// Warnings are about chunks and details the import does not use.
void onWarning(png_structp, png_const_charp) {}

// libpng allocates through operator new like the rest of the program, so that the heap
// the benchmarks follow holds its rows and zlib's window too.
png_voidp allocate(png_structp, png_alloc_size_t size) {
    return ::operator new(size, std::nothrow);
}

void release(png_structp, png_voidp block) {
    ::operator delete(block);
}

// Owns libpng's read structures; it lives outside every function that calls setjmp.
class PngRead {
  public:
    explicit PngRead(ReadState& state) {
        png_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &state, onError, onWarning, nullptr,
                                        allocate, release);
        info_ = png_ != nullptr ? png_create_info_struct(png_) : nullptr;
        if (info_ == nullptr) {
            png_destroy_read_struct(&png_, nullptr, nullptr);
            throw std::bad_alloc();
        }
    }
    ~PngRead() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Runs `work`, which calls libpng; false when libpng gave up on the file. On an error
// libpng jumps back here past `work`, so nothing in it may need destroying.
template <typename Work>
bool underLibpng(png_structp png, Work work) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    work();
    return true;
}

// Reads up to the image data and sets every row to come out as 8-bit RGBA.
int readHeader(png_structp png, png_infop info, ReadState& state) {
    png_set_read_fn(png, &state, readBytes);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_cache_max(png, kMaxAncillaryChunks);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    // Every chunk but the image's own is passed over: no text or profile is inflated.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return passes;
}

// The bytes of image data inflated to reach the region's last row: a filter byte and the
// packed samples of each row. An interlaced image's earlier passes are inflated whole, its
// last pass (every odd row, full width) only down to the region.
std::uint64_t bytesToInflate(std::uint64_t width, std::uint64_t height, int bitDepth,
                             int colourType, bool interlaced, std::uint64_t regionRows) {
    const int channels = colourType == PNG_COLOR_TYPE_RGB          ? 3
                         : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                         : colourType == PNG_COLOR_TYPE_RGBA       ? 4
                                                                   : 1;
    const std::uint64_t bits = static_cast<std::uint64_t>(channels) * bitDepth;
    auto rowBytes = [&](std::uint64_t pixels) {
        return pixels == 0 ? 0 : 1 + (pixels * bits + 7) / 8;
    };
    if (!interlaced) {
        return regionRows * rowBytes(width);
    }
    struct Pass {
        int x0, y0, dx, dy;
    };
    constexpr Pass kEarlierPasses[6] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                        {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}};
    auto count = [](std::uint64_t size, int start, int step) {
        return size > static_cast<std::uint64_t>(start) ? (size - start + step - 1) / step : 0;
    };
    std::uint64_t total = regionRows / 2 * rowBytes(width);
    for (const Pass& p : kEarlierPasses) {
        total += count(height, p.y0, p.dy) * rowBytes(count(width, p.x0, p.dx));
    }
    return total;
}

// Reads rowsPerPass rows in each pass but the last, and lastPassRows in that, into
// `scratch`; the region's rows are kept in `region`. An interlaced pass fills in only its
// own pixels of a row, so each region row goes back into the scratch row before its next
// pass.
void readRows(png_structp png, int passes, png_uint_32 rowsPerPass, png_uint_32 lastPassRows,
              png_bytep scratch, png_bytep region, std::size_t regionRowBytes,
              png_uint_32 regionRows) {
    for (int pass = 0; pass < passes; ++pass) {
        const png_uint_32 rows = pass + 1 < passes ? rowsPerPass : lastPassRows;
        for (png_uint_32 y = 0; y < rows; ++y) {
            png_bytep kept = y < regionRows ? region + y * regionRowBytes : nullptr;
            if (kept != nullptr && pass > 0) {
                std::memcpy(scratch, kept, regionRowBytes);
            }
            png_read_row(png, scratch, nullptr);
            if (kept != nullptr) {
                std::memcpy(kept, scratch, regionRowBytes);
            }
        }
    }
}

ImageDecoding refusal(const ReadState& state) {
    if (state.readFailed) {
        return imageFault(ImageFault::ReadFailed);
    }
    if (state.cutOff) {
        return imageFault(ImageFault::CutOff, state.inImageData          ? "in the image data"
                                              : state.cutAt < kHeaderEnd ? "in its header"
                                                                         : "before the image data");
    }
    std::string reason = state.error;
    // "Invalid IHDR data" reads as part of a sentence; "IHDR: CRC error" stays as it is.
    if (reason.size() > 1 && std::isupper(static_cast<unsigned char>(reason[0])) &&
        std::islower(static_cast<unsigned char>(reason[1]))) {
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    return imageFault(ImageFault::NotAnImage, reason);
}

}  // namespace

bool recognisesPng(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), firstBytes.begin());
}

ImageDecoding decodePng(ByteSource& file, int maxWidth, int maxHeight) {
    std::array<std::uint8_t, kHeaderEnd> head{};
    const std::uint64_t headBytes = std::min<std::uint64_t>(file.size(), head.size());
    if (headBytes < kSignature.size()) {
        return imageFault(ImageFault::NotAnImage);
    }
    if (!file.read(0, std::span(head.data(), headBytes))) {
        return imageFault(ImageFault::ReadFailed);
    }
    if (!recognisesPng(head)) {
        return imageFault(ImageFault::NotAnImage);
    }
    // A size that a PNG may have but that this reader refuses is told apart from a broken
    // header, which libpng reports.
    if (headBytes == head.size() && std::memcmp(&head[12], "IHDR", 4) == 0) {
        const std::uint32_t width = be32(&head[16]);
        const std::uint32_t height = be32(&head[20]);
        if ((width > kMaxSide || height > kMaxSide) && width <= PNG_UINT_31_MAX &&
            height <= PNG_UINT_31_MAX && width > 0 && height > 0) {
            return imageFault(ImageFault::Unsupported,
                              std::to_string(width) + " x " + std::to_string(height) + " pixels");
        }
        if (std::string past = pastBudget(kPngBudget, width, height); !past.empty()) {
            return imageFault(ImageFault::TooLarge, std::move(past));
        }
    }

    ReadState state;
    state.file = &file;
    PngRead read(state);
    png_structp png = read.png();
    png_infop info = read.info();
    int passes = 0;
    if (!underLibpng(png, [&] { passes = readHeader(png, info, state); })) {
        return refusal(state);
    }

    ImageDecoding result;
    DecodedImage& out = result.image;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4 ||
        rowBytes != std::size_t{width} * 4) {
        return imageFault(ImageFault::NotAnImage, "its pixels do not expand to 8-bit RGBA");
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.regionWidth = static_cast<int>(std::min<std::int64_t>(width, std::max(maxWidth, 0)));
    out.regionHeight = static_cast<int>(std::min<std::int64_t>(height, std::max(maxHeight, 0)));
    // libpng has checked the header, so its fields are known to be good here.
    const std::uint64_t inflated = bytesToInflate(width, height, head[24], head[25], passes > 1,
                                                  static_cast<std::uint64_t>(out.regionHeight));
    if (std::string past = pastBudget(kPngBudget, width, height, inflated, passes > 1);
        !past.empty()) {
        return imageFault(ImageFault::TooLarge, std::move(past));
    }
    const std::size_t regionRowBytes = static_cast<std::size_t>(out.regionWidth) * 4;
    std::vector<std::uint8_t> scratch(rowBytes);
    // libpng writes the region's rows as R, G, B, A bytes into the words they become.
    out.pixels.resize(static_cast<std::size_t>(out.regionWidth) * out.regionHeight);
    auto* region = reinterpret_cast<png_bytep>(out.pixels.data());
    // Rows below the region are needed only to reach the later passes of an interlaced file.
    const auto regionRows = static_cast<png_uint_32>(out.regionHeight);
    const png_uint_32 rowsPerPass = passes > 1 ? height : regionRows;
    state.inImageData = true;
    if (!underLibpng(png, [&] {
            readRows(png, passes, rowsPerPass, regionRows, scratch.data(), region, regionRowBytes,
                     regionRows);
        })) {
        return refusal(state);
    }
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const std::uint8_t* p = region + i * 4;
        out.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 |
                        static_cast<std::uint32_t>(p[0]) << 16 |
                        static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    }
    return result;
}

std::string pngFaultMessage(const ImageDecoding& decoding, std::string_view shownPath) {
    std::string file = "\"";
    file.append(shownPath).append("\"");
    switch (decoding.fault) {
        case ImageFault::None:
            return {};
        case ImageFault::NotAnImage:
            if (decoding.detail.empty()) {
                return "The file " + file + " is not a PNG image.";
            }
            return "The PNG image " + file + " is not valid: " + decoding.detail + ".";
        case ImageFault::Unsupported:
            return "The PNG image " + file + " cannot be opened: at " + decoding.detail +
                   " it is larger than this program reads.";
        case ImageFault::CutOff:
            return "The PNG image " + file + " is cut off: the file ends " + decoding.detail + ".";
        case ImageFault::TooLarge:
            return "The PNG image " + file + " is too large to import: " + decoding.detail + ".";
        case ImageFault::ReadFailed:
            break;
    }
    return "Could not read " + file + ".";
}

}  // namespace stipple
