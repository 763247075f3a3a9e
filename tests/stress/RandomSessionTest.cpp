// Long sessions of random user actions through the mouse handlers and the commands. After
// every action the model must be within its bounds and the undo store in step with the
// undo controls; every undo must give back exactly the picture of its snapshot; and no
// edit may allocate memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "export/ExportTestSupport.h"
#include "support/EditorFixture.h"

namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    if (countingAllocations.load(std::memory_order_relaxed)) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace stipple::testing {
namespace {

// Heap allocations made while `action` runs.
template <typename Action>
long allocationsDuring(Action&& action) {
    allocationCount = 0;
    countingAllocations = true;
    action();
    countingAllocations = false;
    return allocationCount;
}

// The state an undo level holds: every cell of the grid and the picture's size.
struct Snapshot {
    Pixel pixels[kGridCols][kGridRows];
    int width, height;
};

// At most 50 snapshots; pushing onto a full store drops the oldest.
class ShadowUndoStore {
  public:
    void push(const PictureModel& m) {
        newest_ = (newest_ + 1) % kUndoLevels;
        std::memcpy(levels_[newest_].pixels, m.pixels, sizeof m.pixels);
        levels_[newest_].width = m.pictureWidth;
        levels_[newest_].height = m.pictureHeight;
        count_ = std::min(count_ + 1, kUndoLevels);
    }
    const Snapshot* pop() {
        if (count_ == 0) {
            return nullptr;
        }
        const Snapshot* top = &levels_[newest_];
        newest_ = (newest_ + kUndoLevels - 1) % kUndoLevels;
        --count_;
        return top;
    }
    int count() const { return count_; }

  private:
    std::vector<Snapshot> levels_ = std::vector<Snapshot>(kUndoLevels);
    int newest_ = 0;
    int count_ = 0;
};

class RandomSession : public EditorFixture {
  protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    // A press lands on Image1 (670 x 587); moves and releases may come from beyond it while
    // a button is held.
    int pressX() { return pick(0, Raster::kStoredWidth - 1); }
    int pressY() { return pick(0, Raster::kStoredHeight - 1); }
    int pointerX() { return pick(-40, Raster::kStoredWidth + 40); }
    int pointerY() { return pick(-40, Raster::kStoredHeight + 40); }

    // Whether a press of `button` with the tool as it is now takes an undo snapshot.
    bool pressTakesSnapshot(MouseButton button) const {
        const Editor& e = *editor;
        if (button == MouseButton::Middle) {
            return false;
        }
        if (e.toolPen || e.toolBucket || e.toolChangeColour) {
            return true;
        }
        if (button == MouseButton::Left && e.toolBox) {
            return e.selectMode || (e.pasteMode && e.bufferFilled);
        }
        return false;
    }

    // One random action: runs it, counting allocations, and records its snapshot in the
    // shadow store. Returns a description for failure messages.
    std::string act() {
        Editor& e = ed();
        const auto step = [&](bool snapshot, auto&& action) {
            if (snapshot) {
                shadow.push(e);
            }
            const std::size_t messagesBefore = host.messages.size();
            const long allocations = allocationsDuring(action);
            // Only a refusal, told in a message box, may allocate (for its text).
            if (host.messages.size() == messagesBefore) {
                EXPECT_EQ(allocations, 0);
            }
        };

        if (held) {
            const int roll = pick(1, 100);
            if (roll <= 70) {
                const int x = pointerX(), y = pointerY();
                step(false, [&] { e.Image1MouseMove(x, y); });
                return "move " + std::to_string(x) + "," + std::to_string(y);
            }
            if (roll <= 95) {
                const int x = pointerX(), y = pointerY();
                step(false, [&] { e.Image1MouseUp(heldButton, x, y); });
                held = false;
                return "release " + std::to_string(x) + "," + std::to_string(y);
            }
        }
        if (held || chance(40)) {
            const int b = pick(1, 20);
            const MouseButton button = b <= 10   ? MouseButton::Left
                                       : b <= 19 ? MouseButton::Right
                                                 : MouseButton::Middle;
            const int x = pressX(), y = pressY();
            step(pressTakesSnapshot(button), [&] { e.Image1MouseDown(button, x, y); });
            held = button != MouseButton::Middle;
            heldButton = button;
            return "press " + std::to_string(static_cast<int>(button)) + " at " +
                   std::to_string(x) + "," + std::to_string(y);
        }

        switch (pick(0, 17)) {
            case 0: {
                const Tool tools[] = {Tool::Pen,          Tool::Bucket, Tool::Pipe,
                                      Tool::ChangeColour, Tool::Box,    Tool::Box};
                const Tool tool = tools[pick(0, 5)];
                host.pastePressed = chance(40);
                step(false, [&] { e.selectTool(tool); });
                return "tool " + std::to_string(static_cast<int>(tool));
            }
            case 1: {
                const MouseButton button = chance(50) ? MouseButton::Left : MouseButton::Right;
                const Pixel value = pick(0, 4);
                step(false, [&] { e.paletteMouseDown(button, value); });
                return "colour " + std::to_string(value);
            }
            case 2: {
                const int sizes[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 50, 70};
                const int size = chance(20) ? 96 : sizes[pick(0, 14)];
                step(false, [&] { e.quickSizeWidth(size); });
                return "quick width " + std::to_string(size);
            }
            case 3: {
                const int sizes[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 50, 70};
                const int size = chance(20) ? 92 : sizes[pick(0, 14)];
                step(false, [&] { e.quickSizeHeight(size); });
                return "quick height " + std::to_string(size);
            }
            case 4: {
                const int delta = chance(50) ? 1 : -1;
                if (chance(50)) {
                    step(true, [&] { e.stepPictureWidth(delta); });
                    return "step width " + std::to_string(delta);
                }
                step(true, [&] { e.stepPictureHeight(delta); });
                return "step height " + std::to_string(delta);
            }
            case 5: {
                if (chance(50)) {
                    const int delta = chance(50) ? 1 : -1;
                    step(false, [&] { e.stepPixelSize(delta); });
                    return "step pixel size " + std::to_string(delta);
                }
                const int size = chance(50) ? pick(1, 12) : pick(1, kMaxPixelSize);
                step(false, [&] { e.setPixelSize(size); });
                return "pixel size " + std::to_string(size);
            }
            case 6:
                step(false, [&] { chance(50) ? e.toggleGrids() : e.toggleBorder(); });
                return "view";
            case 7:
                host.sizeAnswer = chance(80);
                host.answerWidth = pick(2, kMaxPictureWidth);
                host.answerHeight = pick(2, kMaxPictureHeight);
                step(host.sizeAnswer, [&] { e.SetSize1Click(); });
                return "set size " + std::to_string(host.answerWidth) + "x" +
                       std::to_string(host.answerHeight);
            case 8:
                step(true, [&] { e.clearImage(); });
                return "clear image";
            case 9:
            case 10:
                return undoAndCompare();
            case 11: {
                // Now and then a run of undos long enough to empty the store.
                const int count = chance(10) ? pick(1, kUndoLevels + 5) : 1;
                for (int i = 0; i < count; ++i) {
                    undoAndCompare();
                }
                return std::to_string(count) + " undos";
            }
            case 12:
                step(false, [&] { e.rotateLeft(); });
                return "rotate left";
            case 13:
                step(false, [&] { e.rotateRight(); });
                return "rotate right";
            case 14:
                step(false, [&] { chance(50) ? e.flipHorizontally() : e.flipVertically(); });
                return "flip";
            case 15:
                step(e.bufferFilled, [&] { e.clearBox(); });
                return "clear box";
            case 16:
                step(e.bufferFilled && e.selHeight <= kMaxPictureHeight,
                     [&] { e.cropToSelection(); });
                return "crop";
            default:
                step(false, [&] { e.Image1MouseMove(pointerX(), pointerY()); });
                return "hover";
        }
    }

    std::string undoAndCompare() {
        Editor& e = ed();
        const Snapshot* expected = shadow.pop();
        auto before = std::make_unique<Snapshot>();
        std::memcpy(before->pixels, e.pixels, sizeof e.pixels);
        before->width = e.pictureWidth;
        before->height = e.pictureHeight;
        EXPECT_EQ(allocationsDuring([&] { e.undoChange(); }), 0);
        if (expected == nullptr) {
            expected = before.get();  // nothing to undo: nothing changes
        }
        EXPECT_EQ(e.pictureWidth, expected->width);
        EXPECT_EQ(e.pictureHeight, expected->height);
        EXPECT_EQ(std::memcmp(e.pixels, expected->pixels, sizeof e.pixels), 0)
            << "the undo did not restore every cell";
        return "undo";
    }

    void expectModelWithinBounds() {
        const Editor& e = *editor;
        EXPECT_GE(e.pictureWidth, 1);
        EXPECT_LE(e.pictureWidth, kMaxPictureWidth);
        EXPECT_GE(e.pictureHeight, 1);
        EXPECT_LE(e.pictureHeight, kMaxPictureHeight);
        EXPECT_GE(e.pixelSize, 1);
        EXPECT_LE(e.pixelSize, kMaxPixelSize);
        EXPECT_LE(e.selWidth, kSelDim - 1);
        EXPECT_LE(e.selHeight, kSelDim - 1);
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                ASSERT_TRUE(e.pixels[x][y] >= kBlack && e.pixels[x][y] <= kTransparent)
                    << "cell " << x << "," << y << " holds " << e.pixels[x][y];
            }
        }
        EXPECT_EQ(e.undoCount, shadow.count());
        EXPECT_GE(e.undoCount, 0);
        EXPECT_LE(e.undoCount, kUndoLevels);
        EXPECT_EQ(host.undoEnabled, e.undoCount > 0);
    }

    std::mt19937 random;
    ShadowUndoStore shadow;
    bool held = false;
    MouseButton heldButton = MouseButton::Left;
};

TEST_F(RandomSession, ThousandsOfActionsKeepTheModelAndTheUndoStoreInStep) {
    constexpr int kSteps = 6000;
    random.seed(1988);
    std::string last = "start";
    for (int i = 0; i < kSteps; ++i) {
        SCOPED_TRACE("step " + std::to_string(i) + ", after " + last);
        const std::string action = act();
        SCOPED_TRACE(action);
        expectModelWithinBounds();
        if (HasFailure()) {
            return;
        }
        last = action;
    }
}

}  // namespace
}  // namespace stipple::testing

namespace stipple::testing {
namespace {

// 64-bit FNV-1a of some bytes.
std::uint64_t fingerprint(const void* data, std::size_t size) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

std::string traceLine(const std::string& what, const std::string& bytes) {
    return what + " " + std::to_string(bytes.size()) + " " +
           std::to_string(fingerprint(bytes.data(), bytes.size())) + "\n";
}

// One long seeded session, then what a user would keep of it: the surface as shown, every
// export text of the picture and of the box, the file form and the saved picture file. The
// recorded trace pins all of it, byte for byte and pixel for pixel.
TEST_F(RandomSession, ALongSessionEndsInTheRecordedSurfaceExportsAndFiles) {
    random.seed(2024);
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        act();
    }
    ASSERT_FALSE(HasFailure());
    if (held) {
        ed().Image1MouseUp(heldButton, pointerX(), pointerY());
    }
    Editor& e = ed();
    // The whole grid, and a large box of it, as the last two things the user does.
    e.quickSizeWidth(kMaxPictureWidth);
    e.quickSizeHeight(kMaxPictureHeight);
    e.setPixelSize(6);
    host.pastePressed = false;
    e.selectTool(Tool::Box);
    e.Image1MouseDown(MouseButton::Left, 20, 30);
    e.Image1MouseMove(500, 400);
    e.Image1MouseUp(MouseButton::Left, 500, 400);
    e.Image1MouseMove(250, 100);
    std::string trace;
    const Raster& surface = e.surface();
    trace += "surface " + std::to_string(surface.width()) + "x" + std::to_string(surface.height()) +
             " " +
             std::to_string(
                 fingerprint(surface.bits(), Raster::kStoredWidth * Raster::kStoredHeight * 4)) +
             "\n";
    for (const ExportSource source : {ExportSource::Picture, ExportSource::SelectedBox}) {
        for (int code = kFormatAsm8; code <= kFormatAsm4; ++code) {
            for (const bool align : {false, true}) {
                trace += traceLine((source == ExportSource::Picture ? "picture " : "box ") +
                                       std::to_string(code) + (align ? " aligned" : ""),
                                   e.buildExportText(source, code, align));
            }
        }
    }
    std::string block;
    e.writeAsm8Block(block);
    trace += traceLine("file form", block);
    TempFolder folder;
    host.saveFileAnswer = (folder / "session.stw").string();
    e.Savepicture1Click();
    trace += traceLine("picture file", readFile(folder / "session.stw"));

    const std::string golden = std::string(STIPPLE_TEST_DATA_DIR) + "/golden/session-trace.txt";
    if (std::getenv("STIPPLE_WRITE_GOLDEN") != nullptr) {
        writeFile(golden, trace);
    }
    EXPECT_EQ(trace, readFile(golden));
}

}  // namespace
}  // namespace stipple::testing
