#include "formats/JpegImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace stipple {
namespace {

std::vector<std::uint8_t> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JpegImage, DecodesTheAboutPicture) {
    const auto bytes = readFile(STIPPLE_SOURCE_DIR "/resources/about.jpg");
    ASSERT_FALSE(bytes.empty());
    std::string error;
    const auto image = decodeJpeg(bytes.data(), bytes.size(), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 434);
    EXPECT_EQ(image->height, 377);
    // The top-left corner is a light sky blue; a colour picture, not a gray one.
    const std::uint8_t* topLeft = image->rgb.data();
    EXPECT_GT(topLeft[2], topLeft[0] + 40);
}

TEST(JpegImage, RefusesDamagedData) {
    auto bytes = readFile(STIPPLE_SOURCE_DIR "/resources/about.jpg");
    ASSERT_GT(bytes.size(), 200u);
    const std::vector<std::uint8_t> notJpeg = {'B', 'M', 0, 1, 2, 3};
    std::string error;
    EXPECT_FALSE(decodeJpeg(notJpeg.data(), notJpeg.size(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(decodeJpeg(bytes.data(), 100));  // cut off inside the header tables
    EXPECT_FALSE(decodeJpeg(nullptr, 0));
}

}  // namespace
}  // namespace stipple
