#include "cli/Png.h"

#include <png.h>

#include <csetjmp>

namespace stipple::cli {

namespace {

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void noFlush(png_structp) {}

}  // namespace

std::optional<std::string> encodePng(const std::vector<std::uint8_t>& rgba, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return std::nullopt;
    }
    png_infop info = png_create_info_struct(png);
    std::string bytes;
    std::vector<png_const_bytep> rows(static_cast<std::size_t>(height));
    // libpng reports its errors by a long jump back here; nothing above owns resources.
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return std::nullopt;
    }
    png_set_write_fn(png, &bytes, appendToString, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] = rgba.data() + static_cast<std::size_t>(y) * width * 4;
    }
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

}  // namespace stipple::cli
