#include "formats/JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace stipple {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr, int) {}  // warnings of a damaged file are not worth a word

}  // namespace

std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size, std::string* error) {
    if (data == nullptr || size == 0) {
        if (error) {
            *error = "empty JPEG data";
        }
        return std::nullopt;
    }
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    // Everything that must survive the jump lives outside this frame's registers.
    auto* image = new RgbImage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        if (error) {
            *error = manager.message;
        }
        delete image;
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image->width = static_cast<int>(info.output_width);
    image->height = static_cast<int>(info.output_height);
    image->rgb.resize(static_cast<std::size_t>(image->width) * image->height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            image->rgb.data() + static_cast<std::size_t>(info.output_scanline) * image->width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    RgbImage result = std::move(*image);
    delete image;
    return result;
}

}  // namespace stipple
