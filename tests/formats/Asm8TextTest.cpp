// Reading back the 8-bit texts: both forms give the picture and its name exactly, and
// anything else is refused at its line.
#include "formats/Asm8Text.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "formats/ExportText.h"
#include "model/Picture.h"

namespace stipple {
namespace {

TEST(Asm8TextTest, BothFormsGiveBackThePictureAndItsName) {
    std::mt19937 random(5);
    auto picture = std::make_unique<Picture>();
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{96, 92}}) {
        picture->width = w;
        picture->height = h;
        for (int x = 1; x <= w; ++x) {
            for (int y = 1; y <= h; ++y) {
                picture->pixels[x][y] = static_cast<Pixel>(random() % 5);
            }
        }
        for (const std::string name : {"Ship", "a: b", "", " Zo\xC3\xAB "}) {
            for (bool fileForm : {true, false}) {
                SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " '" + name + "'" +
                             (fileForm ? " file form" : " clipboard"));
                std::string text =
                    fileForm ? asm8FileBlock(picture->view(), name)
                             : exportText(picture->view(), name, ExportFormat::Asm8, false);
                for (bool unixLines : {false, true}) {
                    if (unixLines) {
                        std::erase(text, '\r');
                    }
                    const TextReading reading = readAsm8Text(text);
                    ASSERT_TRUE(reading) << reading.error;
                    EXPECT_EQ(reading.picture.name, name);
                    ASSERT_EQ(reading.picture.width, w);
                    ASSERT_EQ(reading.picture.height, h);
                    for (int i = 0; i < w * h; ++i) {
                        ASSERT_EQ(reading.picture.cells[i], picture->pixels[i % w + 1][i / w + 1]);
                    }
                }
            }
        }
    }
}

TEST(Asm8TextTest, AnythingElseIsRefusedAtItsLine) {
    const std::string head = "/*Created by VexlanImageMaker */\r\nShip:\r\n";
    const std::string size = ".byte 3,2  /* Image size*/\r\n";
    const std::string rows = ".byte 0,3,4\r\n.byte 1,2,3\r\n";
    const std::string sizeError =
        "expected \".byte W,H  /* Image size*/\" with a width of 1 to 96 and a height of 1 to 92";
    const std::string rowError =
        "expected \".byte\" and 3 values from 0 to 4, one row of the picture";
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"",
         "line 1: expected \"/*Created by VexlanImageMaker */\" or \"/* format 8 bits per pixel "
         "*/\""},
        {"/* format 2 bits per pixel */\r\nShip: \r\n" + size + rows,
         "line 1: expected \"/*Created by VexlanImageMaker */\" or \"/* format 8 bits per pixel "
         "*/\""},
        {"/* format 8 bits per pixel */\r\nShip:\r\n" + size + rows,
         "line 2: expected the picture's name followed by \": \""},
        {head + ".byte 97,2  /* Image size*/\r\n" + rows, "line 3: " + sizeError},
        {head + ".byte 3,0  /* Image size*/\r\n", "line 3: " + sizeError},
        {head + ".byte 3,2\r\n" + rows, "line 3: " + sizeError},
        {head + size + ".byte 0,3\r\n.byte 1,2,3\r\n", "line 4: " + rowError},
        {head + size + ".byte 0,3,5\r\n.byte 1,2,3\r\n", "line 4: " + rowError},
        {head + size + ".byte 0, 3,4\r\n.byte 1,2,3\r\n", "line 4: " + rowError},
        {head + size + ".byte 0,3,4\r\n",
         "line 5: " + rowError + "; the text ends after 1 of its 2 rows"},
        {head + size + rows + "\r\nnop\r\n",
         "line 7: expected the end of the text after the last row"},
        {head + size + rows + head + size + rows,
         "line 6: expected the end of the text after the last row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readAsm8Text(c.text).error, c.error);
    }
    EXPECT_TRUE(readAsm8Text(head + size + rows + "\r\n\r\n")) << "empty lines may follow";
}

}  // namespace
}  // namespace stipple
