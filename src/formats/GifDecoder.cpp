#include "formats/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace stipple {

namespace {

struct ReadState {
    ByteSource* file = nullptr;
    std::uint64_t offset = 0;
    bool readFailed = false;
    bool cutOff = false;
};

int readBytes(GifFileType* gif, GifByteType* into, int length) {
    auto& state = *static_cast<ReadState*>(gif->UserData);
    const std::uint64_t size = state.file->size();
    const std::uint64_t left = state.offset < size ? size - state.offset : 0;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, length));
    if (count < static_cast<std::size_t>(length)) {
        state.cutOff = true;
    }
    if (count > 0 && !state.file->read(state.offset, std::span(into, count))) {
        state.readFailed = true;
        return 0;
    }
    state.offset += count;
    return static_cast<int>(count);
}

struct CloseGif {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// How a frame leaves the canvas for the next one.
struct Control {
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparent = NO_TRANSPARENT_COLOR;
    int delay = 0;  // hundredths of a second
};

std::uint32_t argb(const GifColorType& c) {
    return 0xFF000000u | static_cast<std::uint32_t>(c.Red) << 16 |
           static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
}

std::string number(std::uint64_t n) {
    return std::to_string(n);
}

}  // namespace

bool isGif(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= 6 && (std::memcmp(firstBytes.data(), "GIF87a", 6) == 0 ||
                                      std::memcmp(firstBytes.data(), "GIF89a", 6) == 0);
}

ImageDecoding decodeGif(ByteSource& file, int maxWidth, int maxHeight) {
    ReadState state{&file};
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gif(DGifOpen(&state, readBytes, &error));
    const auto failed = [&](std::string detail) {
        if (state.readFailed) {
            return imageFault(ImageFault::ReadFailed);
        }
        if (state.cutOff) {
            return imageFault(ImageFault::CutOff, "before its last frame");
        }
        return imageFault(ImageFault::NotAnImage, std::move(detail));
    };
    if (!gif) {
        return failed(GifErrorString(error) ? GifErrorString(error) : "");
    }
    ImageDecoding result;
    DecodedImage& image = result.image;
    image.width = gif->SWidth;
    image.height = gif->SHeight;
    if (image.width < 1 || image.height < 1) {
        return imageFault(ImageFault::NotAnImage, "its screen is " + number(image.width) + " x " +
                                                      number(image.height) + " pixels");
    }
    image.regionWidth = std::min(maxWidth, image.width);
    image.regionHeight = std::min(maxHeight, image.height);
    const int rw = image.regionWidth;
    const int rh = image.regionHeight;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(rw) * rh, 0);
    std::vector<std::uint32_t> restore;
    std::vector<GifPixelType> line;
    std::uint64_t decoded = 0;
    Control control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            return failed(GifErrorString(gif->Error));
        }
        if (record == TERMINATE_RECORD_TYPE) {
            break;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
                return failed(GifErrorString(gif->Error));
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
                GraphicsControlBlock gcb{};
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                    control = {gcb.DisposalMode, gcb.TransparentColor, gcb.DelayTime};
                }
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
                    return failed(GifErrorString(gif->Error));
                }
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) {
            continue;
        }
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            return failed(GifErrorString(gif->Error));
        }
        const GifImageDesc& desc = gif->Image;
        if (desc.Width < 1 || desc.Height < 1) {
            return imageFault(ImageFault::NotAnImage, "a frame is " + number(desc.Width) + " x " +
                                                          number(desc.Height) + " pixels");
        }
        // Checked before the frame is decoded: a file of many large frames is refused at once.
        // The pixels decoded count, and the region each frame keeps.
        decoded += static_cast<std::uint64_t>(desc.Width) * desc.Height +
                   static_cast<std::uint64_t>(rw) * rh;
        if (decoded > kGifPixelBudget) {
            return imageFault(ImageFault::TooLarge,
                              "its frames come to " + number(decoded) + " pixels by frame " +
                                  number(image.frames.size() + 1) + ", past the limit of " +
                                  number(kGifPixelBudget) + " pixels");
        }
        if (static_cast<int>(image.frames.size()) >= kGifMaxFrames) {
            return imageFault(ImageFault::TooLarge,
                              "it holds more than " + number(kGifMaxFrames) + " frames");
        }
        const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (control.disposal == DISPOSE_PREVIOUS) {
            restore = canvas;
        }
        line.resize(static_cast<std::size_t>(desc.Width));
        // Interlaced frames come in four passes of rows.
        constexpr int kStart[] = {0, 4, 2, 1};
        constexpr int kStep[] = {8, 8, 4, 2};
        const int passes = desc.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int first = desc.Interlace ? kStart[pass] : 0;
            const int step = desc.Interlace ? kStep[pass] : 1;
            for (int row = first; row < desc.Height; row += step) {
                if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
                    return failed(GifErrorString(gif->Error));
                }
                const int y = desc.Top + row;
                if (y >= rh) {
                    continue;
                }
                for (int col = 0; col < desc.Width; ++col) {
                    const int x = desc.Left + col;
                    const int index = line[static_cast<std::size_t>(col)];
                    if (x >= rw || index == control.transparent) {
                        continue;
                    }
                    canvas[static_cast<std::size_t>(y) * rw + x] =
                        colours != nullptr && index < colours->ColorCount
                            ? argb(colours->Colors[index])
                            : 0;
                }
            }
        }
        image.frames.push_back(canvas);
        image.frameDelays.push_back(control.delay);
        // What the next frame is drawn onto.
        if (control.disposal == DISPOSE_BACKGROUND) {
            for (int y = desc.Top; y < std::min(rh, desc.Top + desc.Height); ++y) {
                for (int x = desc.Left; x < std::min(rw, desc.Left + desc.Width); ++x) {
                    canvas[static_cast<std::size_t>(y) * rw + x] = 0;
                }
            }
        } else if (control.disposal == DISPOSE_PREVIOUS) {
            canvas = restore;
        }
        control = {};
    }
    if (image.frames.empty()) {
        return imageFault(ImageFault::NotAnImage, "it holds no frame");
    }
    image.pixels = image.frames.front();
    return result;
}

std::string gifFaultMessage(const ImageDecoding& decoding, std::string_view shownPath) {
    std::string file = "\"";
    file.append(shownPath).append("\"");
    switch (decoding.fault) {
        case ImageFault::None:
            return {};
        case ImageFault::NotAnImage:
            if (decoding.detail.empty()) {
                return "The file " + file + " is not a GIF image.";
            }
            return "The GIF image " + file + " is not valid: " + decoding.detail + ".";
        case ImageFault::Unsupported:
            return "The GIF image " + file + " cannot be opened: " + decoding.detail + ".";
        case ImageFault::TooLarge:
            return "The GIF image " + file + " is too large to import: " + decoding.detail + ".";
        case ImageFault::CutOff:
            return "The GIF image " + file + " is cut off: the file ends " + decoding.detail + ".";
        case ImageFault::ReadFailed:
            break;
    }
    return "Could not read " + file + ".";
}

}  // namespace stipple
