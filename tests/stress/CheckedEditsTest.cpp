// Random sequences of everything a user can do (every command of the table, presses, drags
// and boxes, the quick sizes, renaming, a glyph's metrics, undo and redo) through the
// session: no edit may change a part of the state it does not announce, and the surface as
// drawn piece by piece must always be the surface drawn whole.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "editor/FrameCommands.h"
#include "formats/OutlineFont.h"
#include "support/SessionFixture.h"

namespace stipple::testing {
namespace {

std::string caught;  // the parts of the last faulty edit
int faults = 0;

void recordFault(const std::string& parts) {
    ++faults;
    caught = parts;
}

class CheckedEdits : public SessionFixture {
  protected:
    void SetUp() override {
        previous_ = setEditFaultHandler(recordFault);
        faults = 0;
        SessionFixture::SetUp();
        reference_.initColourTable();
    }
    void TearDown() override { setEditFaultHandler(previous_); }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // The answers the dialogs give next: OK or Cancel, a file of the folder or none.
    void answerDialogs() {
        host.sizeAnswer = pick(0, 3) != 0;
        host.answerWidth = pick(2, kMaxPictureWidth);
        host.answerHeight = pick(2, kMaxPictureHeight);
        const auto file = [&](const char* name) -> std::optional<std::string> {
            return pick(0, 2) == 0 ? std::nullopt : std::optional((folder_ / name).string());
        };
        host.openFileAnswer = file("a.stw");
        host.saveFileAnswer = file("a.stw");
        host.exportFileAnswer = file("a.s");
        host.saveSelectAnswer = pick(0, 1) == 0 ? std::nullopt : std::optional<std::string>("Box");
        host.closeAnswer = Dialogs::CloseChoice::Discard;
        // New Font makes a small font, so that glyph edits have one to act on.
        host.outlineFontAnswer =
            pick(0, 1) == 0
                ? std::nullopt
                : std::optional(OutlineFontRequest{STIPPLE_OUTLINE_FONT_FILE, "", pick(6, 14),
                                                   pick(60, 65), pick(66, 70), 2 * pick(1, 2)});
    }

    std::string act() {
        const int roll = pick(0, 99);
        const int x = pick(-30, Raster::kStoredWidth + 30);
        const int y = pick(-30, Raster::kStoredHeight + 30);
        if (roll < 30) {
            const MouseButton button = pick(0, 9) == 0 ? MouseButton::Right : MouseButton::Left;
            press(s(), button, x, y, pick(0, 4) == 0 ? kShiftHeld : 0u);
            return "press";
        }
        if (roll < 60) {
            move(s(), x, y);
            return "move";
        }
        if (roll < 70) {
            release(s(), pick(0, 3) == 0 ? MouseButton::Right : MouseButton::Left, x, y);
            return "release";
        }
        if (roll < 74) {
            const int size = pick(2, 96);
            pick(0, 1) == 0 ? setPictureWidth(s(), size)
                            : setPictureHeight(s(), std::min(size, 92));
            return "quick size";
        }
        if (roll < 76) {
            renamePicture(s(), pick(0, 1) == 0 ? "Name" : "Sprite " + std::to_string(pick(0, 9)));
            return "rename";
        }
        if (roll < 78) {
            zoomAt(s(), pick(0, 1) == 0, pick(0, 600), pick(0, 500));
            return "zoom";
        }
        if (roll < 80) {
            scrollSurfaceTo(s(), pick(0, 900), pick(0, 900));
            return "scroll";
        }
        if (roll < 82) {
            // Code points near the font's, some of them taken.
            setGlyph(s(), Glyph{pick(58, 72), pick(-2, 20), pick(-3, 3), pick(-2, 20)});
            glyphEditsInAFont_ += s().document().font ? 1 : 0;
            return "glyph";
        }
        answerDialogs();
        const Command& command =
            commands()[static_cast<std::size_t>(pick(0, static_cast<int>(commands().size()) - 1))];
        command.run(s(), pick(0, 3) == 0 ? MouseButton::Right : MouseButton::Left);
        return "command " + std::to_string(static_cast<int>(command.id));
    }

    // The rubber band and the paste preview are drawn over the picture as the pointer
    // moves; elsewhere the surface is the picture drawn whole.
    void expectSurfaceDrawnWhole() {
        if (s().tool() == Tool::Box && (s().state().boxDragging || s().pasteMode())) {
            return;
        }
        reference_.view = s().view();
        const Document& d = s().document();
        const bool onion = s().view().onionSkin && d.current > 0;
        reference_.drawPicture(picture(), onion ? &d.frames[d.current - 1].picture : nullptr);
        if (s().selection().frameShown) {
            reference_.drawSelectionFrame(s().selection());
        }
        const Raster& shown = s().surface();
        ASSERT_EQ(shown.width(), reference_.raster().width());
        ASSERT_EQ(shown.height(), reference_.raster().height());
        ASSERT_EQ(std::memcmp(shown.bits(), reference_.raster().bits(),
                              sizeof(std::uint32_t) * Raster::kStoredWidth * Raster::kStoredHeight),
                  0);
    }

    std::mt19937 random_{1955};
    TempFolder folder_;
    SurfaceRenderer reference_;
    EditFaultHandler previous_ = nullptr;
    int glyphEditsInAFont_ = 0;
};

TEST_F(CheckedEdits, RandomCommandsAnnounceAllTheyChangeAndKeepTheSurfaceWhole) {
    constexpr int kSteps = 4000;
    std::string last = "start";
    for (int i = 0; i < kSteps; ++i) {
        const std::string action = act();
        ASSERT_EQ(faults, 0) << "step " << i << ", " << action << " after " << last << " changed "
                             << caught;
        ASSERT_NO_FATAL_FAILURE(expectSurfaceDrawnWhole()) << "step " << i << ", " << action;
        last = action;
    }
    EXPECT_GT(glyphEditsInAFont_, 10);  // the run reaches fonts
}

}  // namespace
}  // namespace stipple::testing
