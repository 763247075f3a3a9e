// The Export window's preview without the window: what it writes where, the box source,
// which options apply, the trace and the settings kept.
#include "editor/ExportPreview.h"

#include <functional>
#include <memory>
#include <tuple>

#include "editor/FileCommands.h"
#include "editor/FrameCommands.h"
#include "formats/FramesExport.h"
#include "formats/PictureFile.h"
#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

class ExportPreviewTest : public SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        renamePicture(s(), "ship");
        setPicture({"0123401230", "3210432104", "0000011111"});
        preview = std::make_unique<ExportPreview>(s());
        preview->setShown(true);
        choose(ExportOption::Target, "gameboy");
        choose(ExportOption::Base, "hex");
    }
    void choose(ExportOption list, const std::string& word) {
        const std::vector<std::string> words = preview->choices(list);
        const auto at = std::find(words.begin(), words.end(), word);
        ASSERT_NE(at, words.end()) << word;
        preview->choose(list, static_cast<int>(at - words.begin()));
    }
    std::string written(const PixelView& view, const std::string& name = "ship") const {
        return preview->format().write(view, name, preview->settings());
    }
    void captureBox(int x1, int y1, int x2, int y2) {
        selectTool(s(), Tool::Box);
        press(s(), MouseButton::Left, at(x1), at(y1));
        move(s(), at(x2), at(y2));
        release(s(), MouseButton::Left, at(x2), at(y2));
    }

    std::unique_ptr<ExportPreview> preview;
    TempFolder folder;
};

TEST_F(ExportPreviewTest, CopySaveAndAppendWriteTheTextShown) {
    const std::string text = written(picture().view());
    EXPECT_EQ(preview->shownText(), text);
    EXPECT_EQ(preview->countLine(), "32 bytes");  // two 8 x 8 tiles, 2 planes
    preview->copy();
    EXPECT_EQ(host.clipboard, text);
    host.exportFileAnswer = (folder / "ship.s").string();
    preview->save();
    preview->append();
    EXPECT_EQ(readFile(folder / "ship.s"), text + text);

    // The bytes alone go to a file only, and show as hex.
    ASSERT_TRUE(preview->chooseFormatNamed("bin"));
    EXPECT_FALSE(preview->applies(ExportOption::Copy));
    EXPECT_EQ(preview->shownText(), byteDump(written(picture().view())));
    preview->copy();
    EXPECT_EQ(host.clipboardWrites, 1);
    preview->save();
    EXPECT_EQ(readFile(folder / "ship.s"), written(picture().view()));
}

TEST_F(ExportPreviewTest, TheTextAndTheCommandLineFollowTheName) {
    renamePicture(s(), "space ship");
    EXPECT_EQ(preview->shownText(), written(picture().view(), "space ship"));
    EXPECT_EQ(preview->commandLine(),
              "stipple export --target gameboy --syntax gas --base hex --name 'space ship' "
              "PICTURE.stw");
    renamePicture(s(), "two\nlines");
    EXPECT_EQ(preview->shownText(), "");
    EXPECT_EQ(preview->countLine(), exportableNameProblem("two\nlines"));
    EXPECT_FALSE(preview->applies(ExportOption::Save));
}

TEST_F(ExportPreviewTest, TheBoxSourceWritesTheCopiedCellsWhileTheyStandWhereCopied) {
    choose(ExportOption::Source, "Copied box");
    EXPECT_EQ(preview->countLine(),
              "No box has been copied yet: copy one with the box tool first.");
    EXPECT_FALSE(preview->applies(ExportOption::Copy));

    captureBox(2, 1, 4, 2);
    EXPECT_EQ(preview->shownText(), written(s().selection().view()));
    const std::string inPlace =
        "stipple export --target gameboy --syntax gas --base hex --name ship --box 2,1,4,2 "
        "PICTURE.stw";
    EXPECT_EQ(preview->commandLine(), inPlace);
    const std::vector<ValueSpan> numbers = valueSpans(preview->shownText(), ExportFormat::Gas);
    EXPECT_FALSE(preview->traceFromText(static_cast<int>(numbers[0].offset)).empty());

    // Turned, it stands nowhere; four turns bring it back.
    rotateRight(s());
    EXPECT_EQ(preview->commandLine().substr(0, 15), "(a box turned, ");
    EXPECT_TRUE(preview->frames().empty());
    EXPECT_TRUE(preview->traceFromCell(2, 1).empty());
    for (int turn = 0; turn < 3; ++turn) {
        rotateRight(s());
    }
    EXPECT_EQ(preview->commandLine(), inPlace);
    // Drawn over, the picture no longer holds it there.
    selectTool(s(), Tool::Pen);
    setLeftColour(s(), kWhite);
    press(s(), MouseButton::Left, at(2), at(1));
    release(s(), MouseButton::Left, at(2), at(1));
    EXPECT_EQ(preview->commandLine().substr(0, 15), "(a box turned, ");
}

TEST_F(ExportPreviewTest, WhichOptionsApply) {
    const ExportOption options[] = {
        ExportOption::Target,  ExportOption::Depth,  ExportOption::Levels, ExportOption::Order,
        ExportOption::Scan,    ExportOption::Planes, ExportOption::Mask,   ExportOption::Base,
        ExportOption::Preview, ExportOption::Align,  ExportOption::Copy};
    // Target, depth, levels, order, scan, planes, mask; base, preview; align; copy.
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"gas", "tiles", "TTTTTTT TT F T"}, {"gas", "rows", "TTTTTTT TT T T"},
        {"bin", "rows", "TTTTTTT FF T F"},  {"asm2", "rows", "FFFFFFF FF T T"},
        {"asm8", "rows", "FFFFFFF FF F T"}, {"cpp", "rows", "FFFFFFF FF F T"},
        {"file", "rows", "FFFFFFF FF F T"}};
    for (const auto& [format, scan, expected] : cases) {
        ASSERT_TRUE(preview->chooseFormatNamed(format));
        choose(ExportOption::Scan, scan);
        std::string seen;
        for (const ExportOption option : options) {
            seen += preview->applies(option) ? "T" : "F";
        }
        std::string letters = expected;
        std::erase(letters, ' ');
        EXPECT_EQ(seen, letters) << format << " " << scan;
    }
    ASSERT_TRUE(preview->chooseFormatNamed("gas"));
    // A tick that does not apply is off, and comes back with the option.
    choose(ExportOption::Target, "gfx-bitmap");
    EXPECT_TRUE(preview->checked(ExportOption::Align));
    choose(ExportOption::Scan, "tiles");
    EXPECT_FALSE(preview->checked(ExportOption::Align));
    choose(ExportOption::Scan, "rows");
    EXPECT_TRUE(preview->checked(ExportOption::Align));
    // A depth brings its plain levels.
    choose(ExportOption::Depth, "2");
    EXPECT_EQ(preview->levelsText(), "0,1,2,3,3");
}

TEST_F(ExportPreviewTest, TheLevelsTypedTakeEffectOnceTheyAreFiveCodesWithinTheDepth) {
    // In turn, as typed into the field: the text and why it is not used ("" once it is).
    const std::vector<std::pair<std::string, std::string>> typed = {
        {"3,2,1,0,", "the levels \"3,2,1,0,\" are not five codes, black to transparent"},
        {"", "the levels \"\" are not five codes, black to transparent"},
        {"1,1,0,0,0", ""},
        {"1,1,0,0,4", "the level for transparent is 4, but 2 bits per pixel hold codes 0 to 3"},
        {"1, 1,0,0,0", "the levels \"1, 1,0,0,0\" are not five codes, black to transparent"},
        {"3,3,0,0,0", ""}};
    std::string inEffect = "3,2,1,0,0";
    for (const auto& [text, why] : typed) {
        preview->typeLevels(text);
        inEffect = why.empty() ? text : inEffect;
        EXPECT_EQ(preview->levelsText(), text);
        EXPECT_EQ(preview->levelsProblem(), why) << text;
        EXPECT_EQ(preview->countLine(), why.empty() ? "32 bytes" : why) << text;
        EXPECT_EQ(preview->applies(ExportOption::Save), why.empty()) << text;
        EXPECT_EQ(layoutWord(preview->settings().layout, "levels"), inEffect) << text;
    }
    // Levels that come from elsewhere replace the text and its problem.
    preview->typeLevels("9");
    choose(ExportOption::Depth, "1");
    EXPECT_EQ(std::pair(preview->levelsText(), preview->levelsProblem()),
              std::pair(std::string("0,0,1,1,1"), std::string()));
}

TEST_F(ExportPreviewTest, OptionsOnATargetKeepItAndTheCommandLineSaysTheSame) {
    // What is done to a target, the target shown, and the options of the command line.
    const std::vector<std::tuple<std::string, std::function<void()>, std::string, std::string>>
        cases = {{"gameboy", [&] { preview->check(ExportOption::Mask, true); }, "gameboy + mask",
                  "--target gameboy --mask"},
                 {"gameboy", [&] { choose(ExportOption::Depth, "1"); }, "gameboy + depth 1",
                  "--target gameboy --depth 1"},
                 {"gameboy", [&] { preview->check(ExportOption::Preview, true); }, "gameboy",
                  "--target gameboy"},
                 {"gfx-bitmap",
                  [&] {
                      preview->check(ExportOption::Mask, true);
                      preview->typeLevels("1,0,0,0,0");
                  },
                  "gfx-bitmap + levels 1,0,0,0,0 + mask",
                  "--target gfx-bitmap --levels 1,0,0,0,0 --mask"},
                 // Align cannot be taken back by an option: no target says it.
                 {"gfx-bitmap", [&] { preview->check(ExportOption::Align, false); }, "custom",
                  "--depth 1 --levels 1,1,0,0,0 --order msb"}};
    for (const auto& [target, change, shown, options] : cases) {
        const auto named = std::find(std::begin(kTargetNames), std::end(kTargetNames), target);
        preview->choose(ExportOption::Target, static_cast<int>(named - kTargetNames) + 1);
        change();
        EXPECT_EQ(preview->choices(ExportOption::Target)[preview->choice(ExportOption::Target)],
                  shown);
        const std::string& line = preview->commandLine();
        EXPECT_EQ(line.substr(15, line.find(" --syntax") - 15), options) << shown;
        preview->check(ExportOption::Preview, false);
    }
}

TEST_F(ExportPreviewTest, TheTraceRunsBetweenNumbersAndCells) {
    // The first row of the second tile holds the picture's cells 9 and 10 of row 1.
    const std::vector<ValueSpan> numbers = valueSpans(preview->shownText(), ExportFormat::Gas);
    std::vector<std::pair<int, int>> framed;
    for (const CellRect& at : preview->traceFromText(static_cast<int>(numbers[16].offset))) {
        framed.emplace_back(at.left / at.size + 1, at.top / at.size + 1);
    }
    EXPECT_EQ(framed, (std::vector<std::pair<int, int>>{{9, 1}, {10, 1}}));
    EXPECT_TRUE(preview->traceFromText(-1).empty());
    // Cell (10, 2) lies in the second tile, its row 2: the bytes of both planes hold it.
    // Positions count UTF-16 units: the name's "é" takes two bytes and one unit.
    renamePicture(s(), "\xC3\xA9");
    const std::vector<ValueSpan> shifted = valueSpans(preview->shownText(), ExportFormat::Gas);
    const auto range = [&](std::size_t n) {
        return TextRange{static_cast<int>(shifted[n].offset) - 1,
                         static_cast<int>(shifted[n].length)};
    };
    EXPECT_EQ(preview->traceFromCell(10, 2), (std::vector<TextRange>{range(18), range(19)}));
    EXPECT_TRUE(preview->traceFromCell(11, 2).empty());
}

TEST_F(ExportPreviewTest, AllFramesWriteTheSetAndTraceTheCurrentFramesPart) {
    duplicateFrame(s());
    renamePicture(s(), "ship2");
    setPicture({"4444444444", "4444444444", "4444444444"});
    renameSet(s(), "fleet");
    choose(ExportOption::Source, "All frames");
    for (const char* format : {"gas", "asm8", "bin"}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(preview->chooseFormatNamed(format));
        const Document& d = s().document();
        const NamedView views[] = {{d.frames[0].picture.view(), d.frames[0].name},
                                   {d.frames[1].picture.view(), d.frames[1].name}};
        const FramesText set =
            writeFrames(preview->format().id, views, "fleet", preview->settings());
        EXPECT_EQ(preview->bytes(), set.text);
        EXPECT_NE(preview->countLine().find("in 2 frames"), std::string::npos);
        // Every number traced from a cell of the surface lies in the second frame's part,
        // and reads as the number the frame's own text has for that cell.
        const std::string own = written(picture().view(), "ship2");
        const std::string ownShown = format == std::string("bin") ? byteDump(own) : [&] {
            std::string t = own;
            t.erase(std::remove(t.begin(), t.end(), '\r'), t.end());
            return t;
        }();
        const std::vector<ValueSpan> ownNumbers = valueSpans(ownShown, preview->format().id);
        const std::vector<TextRange> traced = preview->traceFromCell(10, 2);
        ASSERT_FALSE(traced.empty());
        for (const TextRange& r : traced) {
            const std::string number = preview->shownText().substr(r.position, r.length);
            EXPECT_TRUE(std::any_of(ownNumbers.begin(), ownNumbers.end(), [&](const ValueSpan& v) {
                return ownShown.substr(v.offset, v.length) == number;
            })) << number;
            EXPECT_GT(r.position, static_cast<int>(preview->shownText().size() / 3));
        }
    }
    EXPECT_NE(preview->commandLine().find("--name fleet SET.stws"), std::string::npos);
}

// A font set writes as a whole font in the forms fonts are read in, following every change;
// any other set says why it cannot.
TEST_F(ExportPreviewTest, FontSourcesWriteTheWholeFont) {
    choose(ExportOption::Source, "Font as BDF");
    EXPECT_FALSE(preview->applies(ExportOption::Save));
    EXPECT_EQ(preview->countLine(),
              "Only a font set exports as a font: make one with File > New Font... or open a BDF "
              "font.");
    const auto path = folder / "tiny.bdf";
    writeFile(path,
              "STARTFONT 2.1\nFONT tiny\nSIZE 4 75 75\nFONTBOUNDINGBOX 3 3 0 0\n"
              "STARTPROPERTIES 2\nFONT_ASCENT 3\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\n"
              "STARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 4 0\nBBX 3 3 0 0\nBITMAP\n"
              "40\nA0\nE0\nENDCHAR\nENDFONT\n");
    host.openFileAnswer = path.string();
    openPicture(s());
    ASSERT_TRUE(s().document().font);
    const struct {
        const char* source;
        const char* starts;
        const char* command;
    } forms[] = {
        {"Font as BDF", "STARTFONT 2.1\n", "stipple export --font bdf --name tiny FONT.stws"},
        {"Font as GFX", "", "stipple export --font gfx --name tiny FONT.stws"}};
    for (const auto& form : forms) {
        choose(ExportOption::Source, form.source);
        EXPECT_EQ(preview->bytes().substr(0, std::string(form.starts).size()), form.starts);
        EXPECT_EQ(preview->commandLine(), form.command);
        EXPECT_TRUE(preview->applies(ExportOption::Save));
        EXPECT_FALSE(preview->applies(ExportOption::Format));
        EXPECT_FALSE(preview->applies(ExportOption::Depth));
        EXPECT_TRUE(preview->deviceImage().pixels.empty());
        const std::string before = preview->bytes();
        selectTool(s(), Tool::Pen);
        press(s(), MouseButton::Left, at(1), at(1));
        release(s(), MouseButton::Left, at(1), at(1));
        EXPECT_NE(preview->bytes(), before);
        s().undoChange();
    }
    EXPECT_NE(preview->bytes().find("tinyGlyphs[] PROGMEM"), std::string::npos);
}

TEST_F(ExportPreviewTest, SettingsAreKeptAsWords) {
    const std::vector<std::pair<std::string, std::string>> stored = {
        {"format", "gas"},
        {"source", "picture"},
        {"layout",
         "depth 2 levels 3,2,1,0,0 order msb scan tiles align no planes interleaved "
         "mask no"},
        {"base", "1"},
        {"preview", "false"}};
    EXPECT_EQ(preview->storedSettings(), stored);
    ExportPreview other(s());
    other.restore(stored);
    other.setShown(true);
    EXPECT_EQ(other.commandLine(), preview->commandLine());
    // Words not read keep their defaults.
    ExportPreview odd(s());
    odd.restore({{"format", "nes"}, {"layout", "depth 3"}, {"base", "7"}, {"preview", "true"}});
    const auto kept = odd.storedSettings();
    EXPECT_EQ(kept[0].second + " " + kept[2].second.substr(0, 7) + " " + kept[3].second + " " +
                  kept[4].second,
              "gas depth 8 2 true");
}

// A target named after a library brings its syntax and stays shown beside another target of
// the same layout; the device view reads the bytes back in the target's colours, a gray
// that shares a code with black shows as black, and a cell the mask leaves out as a checker.
TEST_F(ExportPreviewTest, LibraryTargetsBringTheirSyntaxAndTheDeviceShowsTheirBytes) {
    choose(ExportOption::Target, "arduboy");
    EXPECT_EQ(preview->format().commandName, "arduboy");
    EXPECT_EQ(preview->choices(ExportOption::Target)[preview->choice(ExportOption::Target)],
              "arduboy");
    EXPECT_NE(preview->commandLine().find("--target arduboy --syntax arduboy"), std::string::npos);
    EXPECT_EQ(preview->countLine(), "12 bytes: 2 of size, 10 of image");
    // The picture's first row: black, 66 %, 33 %, white, transparent, ...
    const auto firstRow = [&] {
        const DeviceImage image = preview->deviceImage();
        EXPECT_EQ(image.width, 10);
        EXPECT_EQ(image.height, 3);
        return std::vector<std::uint32_t>(image.pixels.begin(), image.pixels.begin() + 5);
    };
    const std::uint32_t lit = 0xFFD8ECFF, dark = 0xFF000000;
    EXPECT_EQ(firstRow(), (std::vector<std::uint32_t>{lit, lit, dark, dark, dark}));
    preview->check(ExportOption::Mask, true);
    EXPECT_EQ(firstRow()[4], 0xFF6A6A6Au);  // the checker where nothing is drawn
    choose(ExportOption::DeviceColours, "Black on white");
    EXPECT_EQ(firstRow()[0], 0xFF000000u);
    EXPECT_EQ(firstRow()[3], 0xFFFFFFFFu);
    choose(ExportOption::DeviceColours, "As the target shows");
    choose(ExportOption::Target, "gameboy");
    EXPECT_EQ(preview->format().commandName, "arduboy");  // a layout alone keeps the syntax
    EXPECT_EQ(firstRow()[0], 0xFF0F380Fu);                // the darkest green
    choose(ExportOption::Target, "xbm");
    EXPECT_EQ(preview->format().commandName, "xbm");
    choose(ExportOption::Format, "C (uint8_t array)");
    EXPECT_EQ(preview->choices(ExportOption::Target)[preview->choice(ExportOption::Target)], "xbm");
}

}  // namespace
}  // namespace stipple::testing
