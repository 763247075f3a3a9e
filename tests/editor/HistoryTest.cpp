// The history as a user meets it: every command that takes a step, undone, redone, undone
// again and followed by a new change; and the question before closing with changes that
// were never written.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/FrameCommands.h"
#include "formats/PictureFile.h"
#include "formats/Windows1252.h"
#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple::testing {
namespace {

// What a user sees of the picture: its name, size and cells.
struct Seen {
    std::string name;
    std::vector<std::string> rows;
    int frames = 1;
    int current = 0;
    bool operator==(const Seen&) const = default;
};

class HistoryTest : public SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        setPicture({"0123", "4012", "3401"});
        setBox({"12", "34"});
        renamePicture(s(), "Before");
        s().markWritten();  // the picture each case starts from counts as written
    }
    // A new session on a new host, for the next row of a table.
    Seen seen() const {
        return {s().pictureName(), pictureRows(), s().document().frameCount(),
                s().document().current};
    }
    void openFile(const std::string& name, const std::vector<std::string>& rows) {
        Picture file;
        testing::setPicture(file, rows);
        const auto path = dir / "opened.stw";
        writeFile(path,
                  encodePictureFile(pictureFileContent(1, toWindows1252(name).bytes, file.view())));
        host.openFileAnswer = path.string();
        openPicture(s());
    }

    TempFolder dir;
};

TEST_F(HistoryTest, EveryStepUndoesRedoesAndIsDroppedByANewChange) {
    struct Command {
        const char* name;
        std::function<void()> run;
    };
    const auto pressWith = [this](Tool tool) {
        return [this, tool] {
            selectTool(s(), tool);
            press(s(), MouseButton::Left, at(2), at(1));
            release(s(), MouseButton::Left, at(2), at(1));
        };
    };
    const Command commands[] = {
        {"pen", pressWith(Tool::Pen)},
        {"bucket", pressWith(Tool::Bucket)},
        {"change colour", pressWith(Tool::ChangeColour)},
        {"paste",
         [this] {
             selectTool(s(), Tool::Box);
             setBoxMode(s(), BoxMode::Paste);
             press(s(), MouseButton::Left, at(1), at(1));
         }},
        {"clear image", [this] { clearImage(s()); }},
        {"width up", [this] { widthUp(s()); }},
        {"quick width", [this] { setPictureWidth(s(), 25); }},
        {"quick height", [this] { setPictureHeight(s(), 2); }},
        {"new frame", [this] { newFrame(s()); }},
        {"duplicate frame", [this] { duplicateFrame(s()); }},
        {"set size",
         [this] {
             host.sizeAnswer = true;
             host.answerWidth = 2;
             host.answerHeight = 2;
             askAndSetSize(s());
         }},
        {"cut off select", [this] { cropToSelection(s()); }},
        {"open picture",
         [this] {
             openFile("Opened", {"44", "00", "11"});
         }},
        {"new picture",
         [this] {
             host.sizeAnswer = true;
             host.answerWidth = 3;
             host.answerHeight = 1;
             newPicture(s());
         }},
        {"bitmap import",
         [this] {
             auto import = std::make_unique<BitmapImport>();
             import->importWidth = 1;
             import->importHeight = 2;
             import->importPixels[1][1] = kGray66;
             applyBitmapImport(s(), *import);
         }},
    };
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        restart();
        const Seen before = seen();
        c.run();
        const Seen after = seen();
        ASSERT_NE(after, before) << "the command changes the picture";
        EXPECT_TRUE(isEnabled(s(), CommandId::Undo));
        EXPECT_FALSE(isEnabled(s(), CommandId::Redo));

        s().undoChange();
        EXPECT_EQ(seen(), before) << "undo";
        EXPECT_TRUE(isEnabled(s(), CommandId::Redo));
        s().redoChange();
        EXPECT_EQ(seen(), after) << "redo";
        EXPECT_FALSE(isEnabled(s(), CommandId::Redo));
        s().undoChange();
        EXPECT_EQ(seen(), before) << "undo after redo";

        // A new change drops what could be redone.
        selectTool(s(), Tool::Pen);
        press(s(), MouseButton::Right, at(1), at(1));
        EXPECT_EQ(s().redoCount(), 0);
        EXPECT_FALSE(isEnabled(s(), CommandId::Redo));
        const Seen changed = seen();
        s().redoChange();
        EXPECT_EQ(seen(), changed) << "nothing to redo";
    }
}

// Three frames A, B, C: dropping and moving frames are steps, and taking back a step of
// another frame shows that frame again.
TEST_F(HistoryTest, FrameStepsAndStepsOfOtherFramesComeBackInOrder) {
    const auto names = [this] {
        std::string all;
        for (const Frame& f : s().document().frames) {
            all += f.name;
        }
        return all + " at " + std::to_string(s().document().current);
    };
    renamePicture(s(), "A");
    duplicateFrame(s());
    renamePicture(s(), "B");
    selectTool(s(), Tool::Pen);
    press(s(), MouseButton::Right, at(1), at(1));  // a transparent stroke in B
    duplicateFrame(s());
    renamePicture(s(), "C");
    ASSERT_EQ(names(), "ABC at 2");
    moveFrameEarlier(s());
    EXPECT_EQ(names(), "ACB at 1");
    deleteFrame(s());
    EXPECT_EQ(names(), "AB at 0");
    s().undoChange();
    EXPECT_EQ(names(), "ACB at 1");
    s().undoChange();
    EXPECT_EQ(names(), "ABC at 2");
    s().undoChange();  // the copy that became C
    EXPECT_EQ(names(), "AB at 1");
    s().undoChange();  // the stroke in B, shown as it is taken back
    EXPECT_EQ(names(), "AB at 1");
    EXPECT_EQ(picture().pixels[1][1], kBlack);  // the cell as B was copied from A
    selectFrame(s(), 0);
    s().redoChange();
    EXPECT_EQ(names(), "AB at 1");
    EXPECT_EQ(picture().pixels[1][1], kTransparent);
    EXPECT_TRUE(s().hasUnwrittenChanges());
}

TEST_F(HistoryTest, RedoAfterTheFiftiethUndoWalksAllTheWayForward) {
    std::vector<Seen> states;
    for (int k = 0; k < kUndoLevels; ++k) {
        states.push_back(seen());
        widthUp(s());
    }
    const Seen last = seen();
    for (int k = kUndoLevels - 1; k >= 0; --k) {
        s().undoChange();
        ASSERT_EQ(seen(), states[k]) << k;
    }
    EXPECT_EQ(s().undoCount(), 0);
    for (int k = 1; k < kUndoLevels; ++k) {
        s().redoChange();
        ASSERT_EQ(seen(), states[k]) << k;
    }
    s().redoChange();
    EXPECT_EQ(seen(), last);
    EXPECT_EQ(s().redoCount(), 0);
}

TEST_F(HistoryTest, ClosingAsksOnlyWhileChangesAreNotWritten) {
    const auto draw = [this] { press(s(), MouseButton::Left, at(2), at(1)); };
    struct Case {
        const char* name;
        std::function<void()> before;  // after a drawn cell
        bool asks;
        Dialogs::CloseChoice answer;
        bool saveDialogAnswers;  // the Save answer's dialog takes a path
        bool closes;
    };
    using Choice = Dialogs::CloseChoice;
    const Case cases[] = {
        {"nothing changed", [this] { s().undoChange(); }, false, Choice::Cancel, false, true},
        {"changed, Discard", [] {}, true, Choice::Discard, false, true},
        {"changed, Cancel", [] {}, true, Choice::Cancel, false, false},
        {"changed, Save", [] {}, true, Choice::Save, true, true},
        {"changed, Save cancelled", [] {}, true, Choice::Save, false, false},
        {"after Save Picture",
         [this] {
             host.saveFileAnswer = (dir / "p.stw").string();
             savePicture(s());
         },
         false, Choice::Cancel, false, true},
        {"after Save",
         [this] {
             host.exportFileAnswer = (dir / "p.s").string();
             saveAsm8File(s());
         },
         false, Choice::Cancel, false, true},
        {"after Save to end",
         [this] {
             host.exportFileAnswer = (dir / "p.s").string();
             appendAsm8ToFile(s());
         },
         false, Choice::Cancel, false, true},
        {"after Open Picture", [this] { openFile("Opened", {"1"}); }, false, Choice::Cancel, false,
         true},
        {"renamed after Save Picture",
         [this] {
             host.saveFileAnswer = (dir / "p.stw").string();
             savePicture(s());
             renamePicture(s(), "Renamed");
         },
         true, Choice::Discard, false, true},
        // A set is asked about and saved whole.
        {"second frame, Save", [this] { duplicateFrame(s()); }, true, Choice::Save, true, true},
        {"second frame, after Save Picture",
         [this] {
             duplicateFrame(s());
             host.saveFileAnswer = (dir / "p.stw").string();
             savePicture(s());
         },
         true, Choice::Discard, false, true},
        {"second frame, after Save Set",
         [this] {
             duplicateFrame(s());
             host.saveFileAnswer = (dir / "p.stws").string();
             saveSet(s());
         },
         false, Choice::Cancel, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        draw();
        c.before();
        host.closeQuestions.clear();
        host.closeAnswer = c.answer;
        const auto saved = dir / "closing.stw";
        host.saveFileAnswer = c.saveDialogAnswers ? std::optional(saved.string()) : std::nullopt;
        EXPECT_EQ(mayClose(s()), c.closes);
        const std::string asked =
            s().document().frameCount() > 1 ? "set " + s().document().setName : s().pictureName();
        EXPECT_EQ(host.closeQuestions,
                  c.asks ? std::vector<std::string>{asked} : std::vector<std::string>{});
        EXPECT_EQ(std::filesystem::exists(saved), c.saveDialogAnswers);
        std::filesystem::remove(saved);
    }
}

}  // namespace
}  // namespace stipple::testing
