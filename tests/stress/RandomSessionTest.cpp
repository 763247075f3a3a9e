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

#include "support/SessionFixture.h"
#include "support/TestFiles.h"

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
    void push(const Picture& m) {
        newest_ = (newest_ + 1) % kUndoLevels;
        std::memcpy(levels_[newest_].pixels, m.pixels, sizeof m.pixels);
        levels_[newest_].width = m.width;
        levels_[newest_].height = m.height;
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

class RandomSession : public SessionFixture {
  protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    // A press lands on the surface (670 x 587); moves and releases may come from beyond it while
    // a button is held.
    int pressX() { return pick(0, Raster::kStoredWidth - 1); }
    int pressY() { return pick(0, Raster::kStoredHeight - 1); }
    int pointerX() { return pick(-40, Raster::kStoredWidth + 40); }
    int pointerY() { return pick(-40, Raster::kStoredHeight + 40); }

    // Whether a press of `button` with the tool as it is now takes an undo snapshot.
    bool pressTakesSnapshot(MouseButton button) const {
        if (button == MouseButton::Middle) {
            return false;
        }
        if (s().tool() == Tool::Pen || s().tool() == Tool::Bucket ||
            s().tool() == Tool::ChangeColour) {
            return true;
        }
        if (button == MouseButton::Left && s().tool() == Tool::Box) {
            return s().selectMode() || (s().pasteMode() && s().selection().bufferFilled);
        }
        return false;
    }

    // One random action: runs it, counting allocations, and records its snapshot in the
    // shadow store. Returns a description for failure messages.
    std::string act() {
        const auto step = [&](bool snapshot, auto&& action) {
            if (snapshot) {
                shadow.push(picture());
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
                step(false, [&] { move(s(), x, y); });
                return "move " + std::to_string(x) + "," + std::to_string(y);
            }
            if (roll <= 95) {
                const int x = pointerX(), y = pointerY();
                step(false, [&] { release(s(), heldButton, x, y); });
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
            step(pressTakesSnapshot(button), [&] { press(s(), button, x, y); });
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
                setBoxMode(s(), chance(40) ? BoxMode::Paste : BoxMode::Select);
                step(false, [&] { selectTool(s(), tool); });
                return "tool " + std::to_string(static_cast<int>(tool));
            }
            case 1: {
                const MouseButton button = chance(50) ? MouseButton::Left : MouseButton::Right;
                const Pixel value = pick(0, 4);
                step(false, [&] { pressPaletteColour(s(), button, value); });
                return "colour " + std::to_string(value);
            }
            case 2: {
                const int sizes[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 50, 70};
                const int size = chance(20) ? 96 : sizes[pick(0, 14)];
                step(true, [&] { setPictureWidth(s(), size); });
                return "quick width " + std::to_string(size);
            }
            case 3: {
                const int sizes[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30, 50, 70};
                const int size = chance(20) ? 92 : sizes[pick(0, 14)];
                step(true, [&] { setPictureHeight(s(), size); });
                return "quick height " + std::to_string(size);
            }
            case 4: {
                const int delta = chance(50) ? 1 : -1;
                if (chance(50)) {
                    step(true, [&] { (delta > 0 ? widthUp : widthDown)(s()); });
                    return "step width " + std::to_string(delta);
                }
                step(true, [&] { (delta > 0 ? heightUp : heightDown)(s()); });
                return "step height " + std::to_string(delta);
            }
            case 5: {
                if (chance(50)) {
                    const int delta = chance(50) ? 1 : -1;
                    step(false, [&] { (delta > 0 ? pixelSizeUp : pixelSizeDown)(s()); });
                    return "step pixel size " + std::to_string(delta);
                }
                const int size = chance(50) ? pick(1, 12) : pick(1, kMaxPixelSize);
                step(false, [&] { setPixelSize(s(), size); });
                return "pixel size " + std::to_string(size);
            }
            case 6:
                step(false, [&] { chance(50) ? toggleGrids(s()) : toggleBorder(s()); });
                return "view";
            case 7:
                host.sizeAnswer = chance(80);
                host.answerWidth = pick(2, kMaxPictureWidth);
                host.answerHeight = pick(2, kMaxPictureHeight);
                step(host.sizeAnswer, [&] { askAndSetSize(s()); });
                return "set size " + std::to_string(host.answerWidth) + "x" +
                       std::to_string(host.answerHeight);
            case 8:
                step(true, [&] { clearImage(s()); });
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
                step(false, [&] { rotateLeft(s()); });
                return "rotate left";
            case 13:
                step(false, [&] { rotateRight(s()); });
                return "rotate right";
            case 14:
                step(false, [&] { chance(50) ? flipHorizontally(s()) : flipVertically(s()); });
                return "flip";
            case 15:
                step(s().selection().bufferFilled, [&] { clearBox(s()); });
                return "clear box";
            case 16:
                step(s().selection().bufferFilled && s().selection().selHeight <= kMaxPictureHeight,
                     [&] { cropToSelection(s()); });
                return "crop";
            default:
                step(false, [&] { move(s(), pointerX(), pointerY()); });
                return "hover";
        }
    }

    std::string undoAndCompare() {
        const Snapshot* expected = shadow.pop();
        auto before = std::make_unique<Snapshot>();
        std::memcpy(before->pixels, picture().pixels, sizeof picture().pixels);
        before->width = picture().width;
        before->height = picture().height;
        EXPECT_EQ(allocationsDuring([&] { s().undoChange(); }), 0);
        if (expected == nullptr) {
            expected = before.get();  // nothing to undo: nothing changes
        }
        EXPECT_EQ(picture().width, expected->width);
        EXPECT_EQ(picture().height, expected->height);
        EXPECT_EQ(std::memcmp(picture().pixels, expected->pixels, sizeof picture().pixels), 0)
            << "the undo did not restore every cell";
        return "undo";
    }

    void expectModelWithinBounds() {
        EXPECT_GE(picture().width, 1);
        EXPECT_LE(picture().width, kMaxPictureWidth);
        EXPECT_GE(picture().height, 1);
        EXPECT_LE(picture().height, kMaxPictureHeight);
        EXPECT_GE(s().pixelSize(), 1);
        EXPECT_LE(s().pixelSize(), kMaxPixelSize);
        EXPECT_LE(s().selection().selWidth, kSelDim - 1);
        EXPECT_LE(s().selection().selHeight, kSelDim - 1);
        for (int x = 1; x <= kMaxPictureWidth; ++x) {
            for (int y = 1; y <= kMaxPictureHeight; ++y) {
                ASSERT_TRUE(picture().pixels[x][y] >= kBlack &&
                            picture().pixels[x][y] <= kTransparent)
                    << "cell " << x << "," << y << " holds " << picture().pixels[x][y];
            }
        }
        EXPECT_EQ(s().undoCount(), shadow.count());
        EXPECT_GE(s().undoCount(), 0);
        EXPECT_LE(s().undoCount(), kUndoLevels);
        EXPECT_EQ(isEnabled(s(), CommandId::Undo), s().undoCount() > 0);
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
        release(s(), heldButton, pointerX(), pointerY());
    }
    // The whole grid, and a large box of it, as the last two things the user does.
    setPictureWidth(s(), kMaxPictureWidth);
    setPictureHeight(s(), kMaxPictureHeight);
    setPixelSize(s(), 6);
    setBoxMode(s(), BoxMode::Select);
    selectTool(s(), Tool::Box);
    press(s(), MouseButton::Left, 20, 30);
    move(s(), 500, 400);
    release(s(), MouseButton::Left, 500, 400);
    move(s(), 250, 100);
    std::string trace;
    const Raster& surface = s().surface();
    trace += "surface " + std::to_string(surface.width()) + "x" + std::to_string(surface.height()) +
             " " +
             std::to_string(
                 fingerprint(surface.bits(), Raster::kStoredWidth * Raster::kStoredHeight * 4)) +
             "\n";
    for (const ExportSource source : {ExportSource::Picture, ExportSource::SelectedBox}) {
        const PixelView view =
            source == ExportSource::Picture ? picture().view() : s().selection().view();
        // The formats by their codes, 1 to 5.
        for (int code = 1; code <= 5; ++code) {
            for (const bool align : {false, true}) {
                trace += traceLine(
                    (source == ExportSource::Picture ? "picture " : "box ") + std::to_string(code) +
                        (align ? " aligned" : ""),
                    exportText(view, s().pictureName(), static_cast<ExportFormat>(code), align));
            }
        }
    }
    trace += traceLine("file form", asm8FileBlock(picture().view(), s().pictureName()));
    TempFolder folder;
    host.saveFileAnswer = (folder / "session.stw").string();
    savePicture(s());
    trace += traceLine("picture file", readFile(folder / "session.stw"));

    const std::string golden = std::string(STIPPLE_TEST_DATA_DIR) + "/golden/session-trace.txt";
    if (std::getenv("STIPPLE_WRITE_GOLDEN") != nullptr) {
        writeFile(golden, trace);
    }
    EXPECT_EQ(trace, readFile(golden));
}

}  // namespace
}  // namespace stipple::testing
