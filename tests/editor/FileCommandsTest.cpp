#include <gtest/gtest.h>

#include <string>

#include "editor/FrameCommands.h"
#include "editor/Messages.h"
#include "formats/PictureFile.h"
#include "formats/SetFile.h"
#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple::testing {
namespace {

using namespace std::string_literals;

class PictureFileCommands : public SessionFixture {
  protected:
    // Fills the whole grid with a pattern so that any stray write shows.
    void fillGridWithPattern() {
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                change([&](SessionState& st) { st.picture().pixels[x][y] = (x * 7 + y * 3) % 5; });
            }
        }
    }
    bool gridHoldsPattern() const {
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                if (picture().pixels[x][y] != (x * 7 + y * 3) % 5) {
                    return false;
                }
            }
        }
        return true;
    }
    void open(const std::filesystem::path& path) {
        host.openFileAnswer = path.string();
        openPicture(s());
    }
    const std::string& lastMessage() const {
        static const std::string none = "(no message)";
        return host.messages.empty() ? none : host.messages.back().first;
    }

    TempFolder dir;
};

TEST_F(PictureFileCommands, SaveAndOpenGiveBackNameSizeAndCells) {
    setPicture({"0123401234", "4321043210", "2222222222"});
    renamePicture(s(), "Bild \xC3\x84 \xE2\x82\xAC");  // A umlaut, euro sign
    const auto path = dir / "bild.stw";
    host.saveFileAnswer = path.string();
    savePicture(s());
    EXPECT_EQ(host.savePresets, std::vector<std::string>{s().pictureName()});
    EXPECT_TRUE(host.messages.empty()) << lastMessage();
    EXPECT_EQ(s().undoCount(), 0);
    const std::string bytes = readFile(path);
    EXPECT_EQ(bytes.substr(4, 4 + 8), "\x08\0\0\0Bild \xC4 \x80"s);

    fillGridWithPattern();
    resize(96, 92);
    renamePicture(s(), "other");
    open(path);
    EXPECT_TRUE(host.messages.empty()) << lastMessage();
    EXPECT_EQ(s().pictureName(), "Bild \xC3\x84 \xE2\x82\xAC");
    EXPECT_EQ(picture().width, 10);
    EXPECT_EQ(picture().height, 3);
    EXPECT_EQ(host.shownWidth, 10);
    EXPECT_EQ(host.shownHeight, 3);
    EXPECT_EQ(picture().pixels[1][1], 0);
    EXPECT_EQ(picture().pixels[5][1], 4);
    EXPECT_EQ(picture().pixels[1][2], 4);
    EXPECT_EQ(picture().pixels[10][3], 2);
    // Cells beyond the file's size keep what they held.
    EXPECT_EQ(picture().pixels[11][1], (11 * 7 + 3) % 5);
    EXPECT_EQ(picture().pixels[1][4], (7 + 12) % 5);
    EXPECT_EQ(s().undoCount(), 1) << "an open is one step of the history";
}

TEST_F(PictureFileCommands, ASetIsSavedWholeAndOpensAsOneStep) {
    setPicture({"01", "23"});
    renamePicture(s(), "first");
    duplicateFrame(s());
    renamePicture(s(), "second");
    renameSet(s(), "walk");
    setFrameRate(s(), 12);
    const auto path = dir / "walk.stws";
    host.saveFileAnswer = path.string();
    ASSERT_TRUE(saveSet(s()));
    EXPECT_EQ(host.savePresets.back(), "set walk");
    EXPECT_FALSE(s().hasUnwrittenChanges());
    EXPECT_EQ(readFile(path).substr(0, 8), kSetFileMagic);

    // A picture opened over the set makes it a set of one; Undo gives the set back.
    const auto single = dir / "single.stw";
    selectFrame(s(), 0);
    host.saveFileAnswer = single.string();
    ASSERT_TRUE(savePicture(s()));
    open(single);
    EXPECT_EQ(s().document().frameCount(), 1);
    EXPECT_EQ(s().pictureName(), "first");
    EXPECT_FALSE(s().hasUnwrittenChanges());
    s().undoChange();
    EXPECT_EQ(s().document().frameCount(), 2);

    restart();
    open(path);
    EXPECT_TRUE(host.messages.empty()) << lastMessage();
    const Document& opened = s().document();
    ASSERT_EQ(opened.frameCount(), 2);
    EXPECT_EQ(opened.setName, "walk");
    EXPECT_EQ(opened.frameRate, 12);
    EXPECT_EQ(opened.file, path.string());
    EXPECT_EQ(opened.frames[0].name, "first");
    EXPECT_EQ(opened.frames[1].name, "second");
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"01", "23"}));
    EXPECT_FALSE(s().hasUnwrittenChanges());
    s().undoChange();  // the set came in as one step
    EXPECT_EQ(s().document().frameCount(), 1);

    // A damaged set changes nothing.
    const std::string whole = readFile(path);
    writeFile(path, whole.substr(0, whole.size() - 3));
    restart();
    open(path);
    EXPECT_EQ(s().document().frameCount(), 1);
    EXPECT_NE(lastMessage().find("frame 2"), std::string::npos) << lastMessage();
}

// A BDF font opens as a font set in one step; one the reader refuses changes nothing.
TEST_F(PictureFileCommands, ABdfFontOpensAsAFontSet) {
    const std::string bdf =
        "STARTFONT 2.1\nFONT tiny\nSIZE 4 75 75\nFONTBOUNDINGBOX 3 4 0 -1\n"
        "STARTPROPERTIES 2\nFONT_ASCENT 3\nFONT_DESCENT 1\nENDPROPERTIES\nCHARS 2\n"
        "STARTCHAR A\nENCODING 65\nSWIDTH 750 0\nDWIDTH 4 0\nBBX 3 3 0 0\nBITMAP\n"
        "40\nA0\nE0\nENDCHAR\n"
        "STARTCHAR B\nENCODING 66\nSWIDTH 500 0\nDWIDTH 2 0\nBBX 1 2 1 -1\nBITMAP\n"
        "80\n80\nENDCHAR\nENDFONT\n";
    const auto path = dir / "tiny.bdf";
    writeFile(path, bdf);
    open(path);
    EXPECT_TRUE(host.messages.empty()) << lastMessage();
    const Document& font = s().document();
    ASSERT_EQ(font.frameCount(), 2);
    ASSERT_TRUE(font.font.has_value());
    EXPECT_EQ(*font.font, (FontMetrics{3, 1, 4}));
    EXPECT_EQ(font.frames[0].glyph, (Glyph{65, 4, 0, 3}));
    EXPECT_EQ(font.frames[1].glyph, (Glyph{66, 2, 1, 1}));
    EXPECT_EQ(pictureRows(), (std::vector<std::string>{"404", "040", "000"}));
    EXPECT_TRUE(s().hasUnwrittenChanges());  // the set is not written anywhere yet
    // A copy of A takes the first free code point after it, so the font still saves.
    duplicateFrame(s());
    EXPECT_EQ(s().document().frames[1].glyph, (Glyph{67, 4, 0, 3}));
    host.saveFileAnswer = (dir / "tiny.stws").string();
    EXPECT_TRUE(saveSet(s())) << lastMessage();
    s().undoChange();
    s().undoChange();
    EXPECT_EQ(s().document().frameCount(), 1);

    writeFile(path, bdf.substr(0, bdf.find("BITMAP")) + "BITMAP\nZZ\n");
    open(path);
    EXPECT_EQ(s().document().frameCount(), 1);
    EXPECT_NE(lastMessage().find("line "), std::string::npos) << lastMessage();
}

TEST_F(PictureFileCommands, CancelledDialogsChangeNothing) {
    savePicture(s());
    openPicture(s());
    EXPECT_EQ(host.openFileQuestions, 1);
    EXPECT_EQ(host.savePresets.size(), 1u);
    EXPECT_TRUE(dir.listing().empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(picture().width, 96);
}

TEST_F(PictureFileCommands, NameOutsideWindows1252IsNotSaved) {
    const auto path = dir / "old.stw";
    writeFile(path, "old content");
    renamePicture(s(), "Name \xE4\xB8\xAD");
    host.saveFileAnswer = path.string();
    savePicture(s());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(lastMessage().find("(U+4E2D) has no place in Windows-1252"), std::string::npos)
        << lastMessage();
    EXPECT_TRUE(host.savePresets.empty());  // the file dialog never showed
    EXPECT_EQ(readFile(path), "old content");
}

TEST_F(PictureFileCommands, FailedSaveIsReportedAndLeavesThePicture) {
    host.saveFileAnswer = (dir / "missing-folder" / "x.stw").string();
    change([&](SessionState& st) { st.picture().pixels[1][1] = kWhite; });
    savePicture(s());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(lastMessage().find("Could not save"), std::string::npos) << lastMessage();
    EXPECT_EQ(picture().pixels[1][1], kWhite);
    EXPECT_EQ(s().pictureName(), "Name");
}

TEST_F(PictureFileCommands, HostileFilesAreRefusedAndChangeNothing) {
    const std::string header = "\x01\0\0\0\x02\0\0\0Ab"s;
    const struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "\" is not a picture file: it is empty."},
        {"short version", "\x01\0\0"s, "the file ends inside its header"},
        {"short length", "\x01\0\0\0\x02\0"s, "the file ends inside its header"},
        {"negative length", "\x01\0\0\0\xfe\xff\xff\xff"s, "the name length is negative (-2)"},
        {"length beyond the file", "\x01\0\0\0\x64\0\0\0Ab\x01\0\0\0"s,
         "the name is said to be 100 bytes long, but the file ends after 6 of them"},
        {"huge length", "\x01\0\0\0\xff\xff\xff\x7f"s, "the file ends after 0 of them"},
        {"name too long", "\x01\0\0\0\x00\x80\0\0"s + std::string(32768, 'n') + "\x01\0\0\0"s,
         "at most 32767 characters"},
        {"ends in the name", "\x01\0\0\0\x03\0\0\0Ab"s, "the file ends after 2 of them"},
        {"no width", header, "the file ends before the picture's width and height"},
        {"half a width", header + "\x03\0"s, "ends before the picture's width"},
        {"no height", header + "\x03\0\0\0"s, "ends before the picture's width"},
        {"width 0", header + "\0\0\0\0\x01\0\0\0"s, "the width is 0; a picture is 1 to 96"},
        {"width 97", header + "\x61\0\0\0\x01\0\0\0"s, "the width is 97"},
        {"width -1", header + "\xff\xff\xff\xff\x01\0\0\0"s, "the width is -1"},
        {"height 0", header + "\x01\0\0\0\0\0\0\0"s, "the height is 0; a picture is 1 to 92"},
        {"height 93", header + "\x01\0\0\0\x5d\0\0\0"s, "the height is 93"},
        {"height huge", header + "\x01\0\0\0\0\0\0\x80"s, "the height is -2147483648"},
        {"cell 5", header + "\x02\0\0\0\x01\0\0\0\x03\0\0\0\x05\0\0\0"s,
         "the pixel in column 2, row 1 has the value 5; pixel values are 0 to 4"},
        {"cell -1 in a short file", header + "\x01\0\0\0\x02\0\0\0\xff\xff\xff\xff"s,
         "column 1, row 1 has the value -1"},
    };
    const auto path = dir / "hostile.stw";
    fillGridWithPattern();
    resize(20, 30);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, c.bytes);
        host.messages.clear();
        open(path);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(lastMessage().find("\"" + path.string() + "\""), std::string::npos)
            << lastMessage();
        EXPECT_NE(lastMessage().find(c.message), std::string::npos) << lastMessage();
        EXPECT_TRUE(gridHoldsPattern());
        EXPECT_EQ(picture().width, 20);
        EXPECT_EQ(picture().height, 30);
        EXPECT_EQ(s().pictureName(), "Name");
    }
}

TEST_F(PictureFileCommands, FilesThatCannotBeOpenedChangeNothing) {
    fillGridWithPattern();
    for (const auto& path : {dir / "missing.stw", dir.path()}) {
        host.messages.clear();
        open(path);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(lastMessage().rfind("Could not open \"" + path.string() + "\": ", 0), 0u)
            << lastMessage();
        EXPECT_TRUE(gridHoldsPattern());
        EXPECT_EQ(s().pictureName(), "Name");
        EXPECT_EQ(picture().width, 96);
    }
}

TEST_F(PictureFileCommands, IncompleteFileIsRefusedAndChangesNothing) {
    fillGridWithPattern();
    const auto path = dir / "short.stw";
    // A 3 x 2 picture named "Ab" whose file ends after three cells.
    writeFile(path, "\x01\0\0\0\x02\0\0\0Ab\x03\0\0\0\x02\0\0\0\0\0\0\0\x03\0\0\0\x04\0\0\0"s);
    open(path);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::pair("The picture file \"" + path.string() +
                                              "\" is cut off: it ends after 3 of its 6 pixels."s,
                                          std::string(kMessageCaption)));
    EXPECT_EQ(s().pictureName(), "Name");
    EXPECT_EQ(picture().width, 96);
    EXPECT_EQ(picture().height, 92);
    EXPECT_TRUE(gridHoldsPattern());
}

TEST_F(PictureFileCommands, NameWithALineBreakOpensButIsNotSaved) {
    const auto path = dir / "two.stw";
    writeFile(path, "\x01\0\0\0\x03\0\0\0A\r\nB\x01\0\0\0\x01\0\0\0\x03\0\0\0"s);
    open(path);
    EXPECT_TRUE(host.messages.empty()) << lastMessage();
    EXPECT_EQ(s().pictureName(), "A\nB");
    host.saveFileAnswer = path.string();
    setBox({"0"});
    host.saveSelectAnswer = "Part\r";
    savePicture(s());
    saveSelectionAs(s());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].first,
              "The name \"A\\nB\" cannot be saved in a picture file: it holds a line break.");
    EXPECT_EQ(host.messages[1].first.rfind("The name \"Part\\r\" cannot be saved", 0), 0u);
    EXPECT_TRUE(host.savePresets.empty());  // no file dialog showed
}

TEST_F(PictureFileCommands, NewPictureClearsTheWholeGridAfterOk) {
    fillGridWithPattern();
    change([&](SessionState& st) { st.rightColour = kWhite; });
    renamePicture(s(), "kept");
    newPicture(s());  // Cancel
    EXPECT_TRUE(gridHoldsPattern());
    EXPECT_EQ(host.askedWidth, 96);
    EXPECT_EQ(host.askedHeight, 92);

    host.sizeAnswer = true;
    host.answerWidth = 12;
    host.answerHeight = 7;
    newPicture(s());
    EXPECT_EQ(picture().width, 12);
    EXPECT_EQ(picture().height, 7);
    EXPECT_EQ(host.shownWidth, 12);
    for (int x = 1; x <= kMaxPictureWidth; ++x) {
        for (int y = 1; y <= kMaxPictureHeight; ++y) {
            ASSERT_EQ(picture().pixels[x][y], kWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(s().undoCount(), 1) << "a new picture is one step of the history";
    EXPECT_EQ(s().pictureName(), "kept");
}

TEST_F(PictureFileCommands, SaveSelectNeedsACaptureAndWritesTheBufferUnderTheBoxName) {
    renamePicture(s(), "Main");
    host.saveSelectAnswer = "Part";
    host.saveFileAnswer = (dir / "part.stw").string();
    saveSelectionAs(s());  // nothing captured yet
    EXPECT_TRUE(host.saveSelectShown.empty());
    EXPECT_EQ(s().undoCount(), 0);

    setBox({"012", "344"});
    host.saveSelectAnswer.reset();  // the box is closed without OK
    saveSelectionAs(s());
    EXPECT_EQ(host.saveSelectShown, std::vector<std::string>{"Main"});
    EXPECT_EQ(s().undoCount(), 0);
    EXPECT_TRUE(dir.listing().empty());

    host.saveSelectAnswer = "Part";
    saveSelectionAs(s());
    EXPECT_EQ(s().undoCount(), 1);
    EXPECT_EQ(host.savePresets, std::vector<std::string>{"Part"});
    PictureFileContent expected;
    expected.nameBytes = "Part";
    expected.width = 3;
    expected.height = 2;
    expected.cells = {0, 1, 2, 3, 4, 4};
    EXPECT_EQ(readFile(dir / "part.stw"), encodePictureFile(expected));
}

using BitmapImportApply = SessionFixture;

TEST_F(BitmapImportApply, ReplacesSizeAndCellsButKeepsTheRest) {
    BitmapImport import;
    import.importWidth = 3;
    import.importHeight = 2;
    import.importPixels[3][2] = kGray33;
    change([&](SessionState& st) { st.picture().pixels[50][50] = kWhite; });
    renamePicture(s(), "Kept");
    applyBitmapImport(s(), import);
    EXPECT_EQ(picture().width, 3);
    EXPECT_EQ(picture().height, 2);
    EXPECT_EQ(picture().pixels[3][2], kGray33);
    EXPECT_EQ(picture().pixels[50][50], kWhite);
    EXPECT_EQ(host.shownWidth, 3);
    EXPECT_EQ(s().undoCount(), 1) << "an import is one step of the history";
    EXPECT_EQ(s().pictureName(), "Kept");

    // Nothing converted yet: the picture keeps its size.
    applyBitmapImport(s(), BitmapImport{});
    EXPECT_EQ(picture().width, 3);
    EXPECT_EQ(picture().height, 2);
}

}  // namespace
}  // namespace stipple::testing
