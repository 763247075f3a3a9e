#include "formats/FramesExport.h"
#include "formats/TargetText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace stipple {
namespace {

// `count` frames of random cells, all w x h or, with w = 0, of random sizes.
struct Set {
    std::vector<std::vector<Pixel>> cells;
    std::vector<std::string> names;
    std::vector<NamedView> frames;

    Set(std::mt19937& random, int count, int w = 0, int h = 0) : cells(count), names(count) {
        const auto pick = [&](int high) { return std::uniform_int_distribution(1, high)(random); };
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int width = w > 0 ? w : pick(20);
            const int height = w > 0 ? h : pick(19);
            for (int c = width * height; c > 0; --c) {
                cells[i].push_back(pick(5) - 1);
            }
            names[i] = "frame " + std::to_string(i + 1) + (pick(2) == 1 ? "*/\"" : "");
            frames.push_back({PixelView::rowByRow(cells[i].data(), width, height), names[i]});
        }
    }
};

std::string binOf(const NamedView& frame, const ExportSettings& settings) {
    return exportFormatRow(ExportFormat::Bin).write(frame.view, "", settings);
}

// The numbers of a text as the trace finds them.
std::vector<std::string> numbersOf(std::string_view text, ExportFormat id) {
    std::vector<std::string> numbers;
    for (const ValueSpan& span : valueSpans(text, id)) {
        numbers.emplace_back(text.substr(span.offset, span.length));
    }
    return numbers;
}

bool oneSize(const Set& set) {
    for (const NamedView& frame : set.frames) {
        if (frame.view.width() != set.frames[0].view.width() ||
            frame.view.height() != set.frames[0].view.height()) {
            return false;
        }
    }
    return true;
}

TEST(FramesExportTest, EachFrameIsItsOwnExport) {
    ByteLayout aligned2 = {2, defaultLevels(2)};
    aligned2.align = true;
    ByteLayout maskedPages = *layoutForTarget("ssd1306");
    maskedPages.mask = true;
    const ExportSettings settings[] = {{},
                                       {aligned2},
                                       {*layoutForTarget("gameboy"), Base::Hex, true},
                                       {maskedPages, Base::Bin, true}};
    std::mt19937 random(6);
    for (int run = 0; run < 30; ++run) {
        const Set set(random, 1 + run % 4);
        for (const ExportFormatRow& row : exportFormats()) {
            for (const ExportSettings& setting : settings) {
                SCOPED_TRACE(std::string(row.commandName) + " run " + std::to_string(run));
                const FramesText out = writeFrames(row.id, set.frames, "walk", setting);
                const bool device = row.family == FormatFamily::Device;
                ASSERT_EQ(out.parts.size(), set.frames.size());
                std::string each;
                for (std::size_t i = 0; i < set.frames.size(); ++i) {
                    const std::string own =
                        row.write(set.frames[i].view, set.frames[i].name, setting);
                    const std::string_view part =
                        std::string_view(out.text).substr(out.parts[i].offset, out.parts[i].length);
                    each += own;
                    if (device) {  // the part holds the frame's numbers, the table its bytes
                        // A mask of its own array is not the frame's part; a sprite of
                        // another size than the others starts with its own size.
                        const PixelView& view = set.frames[i].view;
                        const bool maskApart =
                            setting.layout.mask && set.frames.size() > 1 &&
                            (row.id == ExportFormat::Xbm || row.id == ExportFormat::AdafruitGfx);
                        std::vector<std::string> numbers = numbersOf(own, row.id);
                        std::size_t bytes = binOf(set.frames[i], setting).size();
                        if (maskApart) {
                            bytes = imageByteCount(view.width(), view.height(), setting.layout);
                            numbers.resize(bytes);
                        }
                        if (row.id == ExportFormat::Arduboy && !oneSize(set)) {
                            bytes += 2;
                        }
                        EXPECT_EQ(numbersOf(part, row.id), numbers);
                        EXPECT_EQ(out.offsets[i + 1] - out.offsets[i], bytes);
                    } else {
                        EXPECT_EQ(part, own);
                    }
                }
                if (!device || set.frames.size() == 1 || row.id == ExportFormat::Bin) {
                    EXPECT_EQ(out.text, each);
                }
                if (row.read != nullptr && set.frames.size() > 1) {  // read back, it is refused
                    const std::string error = readExportText(out.text).error;
                    EXPECT_NE(error.find(device ? "line 1: the text holds the frames of a set"
                                                : "the text of another picture starts here"),
                              std::string::npos)
                        << error;
                }
            }
        }
    }
}

// What the assemblers and the compiler make of the texts: the frames' own bytes one after the
// other, then the table of where they start, of 16-bit words for the first set and 32-bit
// words for the second, whose array takes more than 65,535 bytes.
TEST(FramesExportTest, AssemblersAndTheCompilerBuildTheArrayAndItsTable) {
    std::mt19937 random(8);
    const Set sets[] = {Set(random, 3), Set(random, 8, 96, 92)};
    ByteLayout masked2 = {2, defaultLevels(2)};
    masked2.mask = true;
    const ExportSettings settings[] = {{masked2, Base::Hex}, {{}, Base::Dec, true}};
    const testing::TempFolder dir;
    // Each frame's bytes as the table finds them, the size of its words, the size constants.
    testing::writeFile(dir / "main.c", R"(#include "set.c"
#include <stdio.h>
int main(void) {
    unsigned long f;
    for (f = 0; f < WALK_CYCLE_FRAMES; ++f)
        fwrite(walk_cycle + walk_cycle_offsets[f], 1,
               walk_cycle_offsets[f + 1] - walk_cycle_offsets[f], stdout);
    printf("%u", (unsigned)sizeof walk_cycle_offsets[0]);
#ifdef WALK_CYCLE_FRAME_BYTES
    printf(" %d %d %d", WALK_CYCLE_WIDTH, WALK_CYCLE_HEIGHT,
           WALK_CYCLE_FRAMES * WALK_CYCLE_FRAME_BYTES == sizeof walk_cycle);
#endif
    return sizeof walk_cycle != walk_cycle_offsets[WALK_CYCLE_FRAMES];
})");
    // A tool that is not installed leaves its step out.
    const auto expectBuilt = [&](const std::string& tools, const std::string& source,
                                 const std::string& text, const std::string& steps,
                                 const std::string& expected) {
        if (std::system(
                ("for t in " + tools + "; do command -v $t >/dev/null || exit 1; done").c_str()) !=
            0) {
            return;
        }
        testing::writeFile(dir / source, text);
        const std::string run = "cd '" + dir.path().string() + "' && (" + steps + ") >log 2>&1";
        ASSERT_EQ(std::system(run.c_str()), 0) << testing::readFile(dir / "log");
        EXPECT_TRUE(testing::readFile(dir / "out") == expected) << source;
    };
    for (int s = 0; s < 2; ++s) {
        const auto text = [&](ExportFormat id) {
            return writeFrames(id, sets[s].frames, "walk cycle", settings[s]).text;
        };
        std::string frames;
        for (const NamedView& frame : sets[s].frames) {
            frames += binOf(frame, settings[s]);
        }
        std::string table;
        for (const std::size_t offset :
             writeFrames(ExportFormat::Bin, sets[s].frames, "", settings[s]).offsets) {
            for (int b = 0; b < (s == 0 ? 2 : 4); ++b) {
                table += static_cast<char>(offset >> (8 * b) & 0xFF);
            }
        }
        expectBuilt("as objcopy", "set.s", text(ExportFormat::Gas),
                    "as -o set.o set.s && objcopy -O binary -j .text set.o out", frames + table);
        if (s == 0) {  // a 6502 and a Z80 address 64 KiB, less than the second set takes
            expectBuilt("ca65 ld65", "set.ca65", text(ExportFormat::Ca65),
                        "ca65 -o set.o65 set.ca65 && ld65 -t none -o out set.o65", frames + table);
            expectBuilt("pasmo", "set.asm", text(ExportFormat::Db), "pasmo set.asm out",
                        frames + table);
        }
        expectBuilt("gcc", "set.c", text(ExportFormat::C),
                    "gcc -std=c99 -Wall -Wextra -pedantic -Werror -o main main.c && ./main >out",
                    frames + (s == 0 ? "2" : "4 96 92 1"));  // the first's frames differ in size
    }
}

}  // namespace
}  // namespace stipple
