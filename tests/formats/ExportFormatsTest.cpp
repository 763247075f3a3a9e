#include "formats/ExportFormats.h"
#include "formats/TargetText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace stipple {
namespace {

// 9 x 3 cells of every value, so that packed rows do not end on a byte.
std::vector<Pixel> mixedCells() {
    std::vector<Pixel> cells;
    for (int i = 0; i < 27; ++i) {
        cells.push_back(static_cast<Pixel>(i * 7 % 5));
    }
    return cells;
}

std::vector<ExportSettings> someSettings() {
    std::vector<ExportSettings> all(4);
    all[1].layout.align = true;
    all[2].layout = *layoutForTarget("gameboy");
    all[2].base = Base::Hex;
    all[3].layout = *layoutForTarget("ssd1306");
    all[3].layout.mask = true;
    all[3].base = Base::Bin;
    all[3].preview = true;
    return all;
}

// Every text that has a reader comes back as a picture that writes the same numbers; the
// texts that hold every value give the picture itself.
TEST(ExportFormatsTest, EveryReadableTextReadsBackToItself) {
    const std::vector<Pixel> cells = mixedCells();
    const PixelView view = PixelView::rowByRow(cells.data(), 9, 3);
    for (const ExportFormatRow& row : exportFormats()) {
        for (const ExportSettings& settings : someSettings()) {
            if (row.read == nullptr) {
                continue;
            }
            const std::string text = row.write(view, "Ship 1", settings);
            const TextReading reading = readExportText(text, settings.layout.align);
            ASSERT_TRUE(reading) << row.commandName << ": " << reading.error;
            const TextPicture& back = reading.picture;
            EXPECT_EQ(back.name, "Ship 1") << row.commandName;
            const PixelView backView =
                PixelView::rowByRow(back.cells.data(), back.width, back.height);
            // A preview draws the cells as they were; the numbers must be the same.
            ExportSettings plain = settings;
            plain.preview = false;
            EXPECT_EQ(row.write(backView, back.name, plain), row.write(view, "Ship 1", plain))
                << row.commandName;
            if (row.id == ExportFormat::CppArray || row.id == ExportFormat::Asm8 ||
                row.id == ExportFormat::FileForm) {
                EXPECT_EQ(back.cells, cells) << row.commandName;
            }
        }
    }
}

int numberOf(const std::string& token) {
    for (const auto& [prefix, base] :
         {std::pair<std::string, int>{"0x", 16}, {"\\x", 16}, {"$", 16}, {"0b", 2}, {"%", 2}}) {
        if (token.starts_with(prefix)) {
            return std::stoi(token.substr(prefix.size()), nullptr, base);
        }
    }
    return std::stoi(token, nullptr, 10);
}

// The numbers the trace finds in a text are, in order, the bytes of the layout it maps.
TEST(ExportFormatsTest, TracedNumbersAreTheMappedBytes) {
    const std::vector<Pixel> cells = mixedCells();
    const PixelView view = PixelView::rowByRow(cells.data(), 9, 3);
    for (const ExportFormatRow& row : exportFormats()) {
        for (const ExportSettings& settings : someSettings()) {
            std::string text = row.write(view, "Ship 1", settings);
            if (row.id == ExportFormat::Bin) {
                text = byteDump(text);
            }
            const ByteLayout layout = tracedLayout(row.id, settings);
            std::vector<std::uint8_t> bytes = layoutBytes(view, layout);
            if (row.id == ExportFormat::Arduboy && layout.mask) {  // each byte, then its mask's
                bytes = pairedWithMask(std::move(bytes), imageByteCount(9, 3, layout));
            }
            std::vector<int> found;
            for (const ValueSpan& span : valueSpans(text, row.id)) {
                found.push_back(row.id == ExportFormat::Bin
                                    ? std::stoi(text.substr(span.offset, span.length), nullptr, 16)
                                    : numberOf(text.substr(span.offset, span.length)));
            }
            EXPECT_EQ(found, std::vector<int>(bytes.begin(), bytes.end())) << row.commandName;
        }
    }
}

TEST(ExportFormatsTest, NamesFindTheirFamily) {
    EXPECT_EQ(exportFormatNamed("file", FormatFamily::ClipboardText)->id, ExportFormat::FileForm);
    EXPECT_EQ(exportFormatNamed("c", FormatFamily::Device)->id, ExportFormat::C);
    EXPECT_EQ(exportFormatNamed("gas", FormatFamily::ClipboardText), nullptr);
    EXPECT_EQ(exportFormatNamed("cpp", FormatFamily::Device), nullptr);
}

// The command line the Export window shows takes the shortest way to the layout.
TEST(ExportFormatsTest, OptionWordsNameTheLayoutShortly) {
    ExportSettings gameboy;
    gameboy.layout = *layoutForTarget("gameboy");
    gameboy.base = Base::Hex;
    ExportSettings masked = gameboy;
    masked.layout.mask = true;
    masked.preview = true;
    ExportSettings deep;
    deep.layout.depth = 4;
    deep.layout.levels = {0, 1, 2, 3, 4};
    deep.layout.order = BitOrder::Msb;
    ExportSettings aligned;
    aligned.layout.align = true;
    using Words = std::vector<std::string>;
    const std::vector<std::tuple<ExportFormat, ExportSettings, Words>> cases = {
        {ExportFormat::Ca65, gameboy, {"--target", "gameboy", "--syntax", "ca65", "--base", "hex"}},
        {ExportFormat::Gas,
         masked,
         {"--target", "gameboy", "--mask", "--syntax", "gas", "--base", "hex", "--preview"}},
        {ExportFormat::Gas, {}, {"--syntax", "gas"}},
        {ExportFormat::Gas, aligned, {"--align", "--syntax", "gas"}},
        {ExportFormat::Bin, deep, {"--depth", "4", "--order", "msb", "--syntax", "bin"}},
        {ExportFormat::Asm2, aligned, {"--format", "asm2", "--align"}},
        {ExportFormat::CppArray, aligned, {"--format", "cpp"}},
        {ExportFormat::FileForm, {}, {"--format", "file"}}};
    for (const auto& [id, settings, words] : cases) {
        EXPECT_EQ(exportOptionWords(id, settings), words) << exportFormatRow(id).commandName;
    }
}

}  // namespace
}  // namespace stipple
