// The file commands where the system refuses: a read-only folder, a full device, a folder
// in the file's place, a write cut short, and files to open that are not ordinary files.
// Each refusal is told in a message, leaves the old file byte for byte and the picture, its
// size and its name as they were, and the editor goes on working afterwards.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple::testing {
namespace {

namespace fs = std::filesystem;

enum class Command { Save, SaveToEnd, SavePicture, SaveSelect };
constexpr Command kAllCommands[] = {Command::Save, Command::SaveToEnd, Command::SavePicture,
                                    Command::SaveSelect};

const char* nameOf(Command c) {
    switch (c) {
        case Command::Save:
            return "Save";
        case Command::SaveToEnd:
            return "Save to end";
        case Command::SavePicture:
            return "Save Picture";
        case Command::SaveSelect:
            return "Save select";
    }
    return "?";
}

const std::string kOldBytes = "old content\r\n";

// A folder, holding one file with kOldBytes, in which nothing can be written. Permission
// bits do not stop root, so as root the folder is a read-only memory file system instead.
class ReadOnlyFolder {
  public:
    ReadOnlyFolder(const fs::path& folder, const std::string& fileName) : folder_(folder) {
        fs::create_directory(folder);
        if (::geteuid() != 0) {
            writeFile(folder / fileName, kOldBytes);
            ::chmod((folder / fileName).c_str(), 0444);
            ::chmod(folder.c_str(), 0555);
            errorNumber_ = EACCES;
            return;
        }
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            problem_ = std::string("cannot mount a file system: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
        writeFile(folder / fileName, kOldBytes);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") != 0) {
            problem_ = std::string("cannot make it read-only: ") + std::strerror(errno);
            return;
        }
        errorNumber_ = EROFS;
    }
    ~ReadOnlyFolder() {
        if (mounted_) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        } else {
            ::chmod(folder_.c_str(), 0755);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // Why the folder could not be made; empty when it is ready.
    const std::string& problem() const { return problem_; }
    // What a write into the folder fails with.
    int errorNumber() const { return errorNumber_; }

  private:
    fs::path folder_;
    bool mounted_ = false;
    int errorNumber_ = 0;
    std::string problem_;
};

class FaultInjection : public SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        setPicture({"0123", "4321"});
        setBox({"3", "0"});
        host.saveSelectAnswer = "Part";
    }

    void run(Command c, const std::string& path) {
        host.exportFileAnswer = path;
        host.saveFileAnswer = path;
        switch (c) {
            case Command::Save:
                saveAsm8File(s());
                break;
            case Command::SaveToEnd:
                appendAsm8ToFile(s());
                break;
            case Command::SavePicture:
                savePicture(s());
                break;
            case Command::SaveSelect:
                saveSelectionAs(s());
                break;
        }
    }

    // Runs the command on `target`, under a file size limit when one is given, and checks
    // that it failed with `errorNumber` and changed nothing.
    void expectRefused(Command c, const fs::path& target, int errorNumber,
                       std::optional<rlim_t> sizeLimit = std::nullopt) {
        SCOPED_TRACE(std::string(nameOf(c)) + " to " + target.string());
        auto before = std::make_unique<Picture>();
        std::memcpy(before->pixels, picture().pixels, sizeof picture().pixels);
        const bool regularFile = fs::is_regular_file(target);
        const std::string oldBytes = regularFile ? readFile(target) : "";
        const std::vector<std::string> folderBefore = listing(target.parent_path());
        host.messages.clear();

        if (sizeLimit) {
            FileSizeLimit limit(*sizeLimit);
            run(c, target.string());
        } else {
            run(c, target.string());
        }

        ASSERT_FALSE(host.messages.empty()) << "the failure was not told";
        const std::string& told = host.messages.back().first;
        EXPECT_NE(told.find('"' + target.string() + '"'), std::string::npos) << told;
        EXPECT_NE(told.find(std::strerror(errorNumber)), std::string::npos) << told;
        if (regularFile) {
            EXPECT_EQ(readFile(target), oldBytes);
        }
        EXPECT_EQ(listing(target.parent_path()), folderBefore) << "a file was left behind";
        EXPECT_EQ(std::memcmp(picture().pixels, before->pixels, sizeof picture().pixels), 0);
        EXPECT_EQ(picture().width, 4);
        EXPECT_EQ(picture().height, 2);
        EXPECT_EQ(s().pictureName(), "Name");
        expectStillWorking();
    }

    // A drawing and an export after the failure work as ever.
    void expectStillWorking() {
        const Pixel old = picture().pixels[1][1];
        change([&](SessionState& st) { st.leftColour = old == kWhite ? kBlack : kWhite; });
        press(s(), MouseButton::Left, at(1), at(1));
        release(s(), MouseButton::Left, at(1), at(1));
        EXPECT_EQ(picture().pixels[1][1], s().leftColour());

        host.messages.clear();
        host.exportFileAnswer = (good / "after.s").string();
        saveAsm8File(s());
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(readFile(good / "after.s"), asm8FileBlock(picture().view(), s().pictureName()));
        change([&](SessionState& st) { st.picture().pixels[1][1] = old; });
    }

    static std::vector<std::string> listing(const fs::path& folder) {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder, ignored)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder dir;
    TempFolder good;
};

TEST_F(FaultInjection, ReadOnlyFolderRefusesEverySaveAndAppend) {
    ReadOnlyFolder readOnly(dir / "read-only", "old.s");
    if (!readOnly.problem().empty()) {
        GTEST_SKIP() << "no read-only folder: " << readOnly.problem();
    }
    for (const Command c : kAllCommands) {
        expectRefused(c, dir / "read-only" / "old.s", readOnly.errorNumber());
    }
}

TEST_F(FaultInjection, FullDeviceFolderInPlaceAndWriteCutShort) {
    fs::create_directory(dir / "folder");
    writeFile(dir / "folder" / "inside", "kept");
    for (const Command c : kAllCommands) {
        if (fs::exists("/dev/full")) {
            expectRefused(c, "/dev/full", ENOSPC);
        }
        expectRefused(c, dir / "folder", EISDIR);
        EXPECT_EQ(readFile(dir / "folder" / "inside"), "kept");

        // Room for a few bytes more than the old file: an append gets part way in.
        writeFile(dir / "old.s", kOldBytes);
        expectRefused(c, dir / "old.s", EFBIG, kOldBytes.size() + 5);
    }
}

TEST_F(FaultInjection, OpenRefusesWhatIsNotAnOrdinaryFile) {
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    fs::create_symlink(dir / "loop-b", dir / "loop-a");
    fs::create_symlink(dir / "loop-a", dir / "loop-b");
    const std::vector<fs::path> paths = {dir / "pipe", "/dev/zero", dir / "dangling",
                                         dir / "loop-a"};
    for (const fs::path& path : paths) {
        if (!fs::exists(fs::symlink_status(path))) {
            continue;
        }
        SCOPED_TRACE(path.string());
        auto before = std::make_unique<Picture>();
        std::memcpy(before->pixels, picture().pixels, sizeof picture().pixels);
        host.messages.clear();
        host.openFileAnswer = path.string();
        openPicture(s());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].first.rfind("Could not open \"" + path.string() + "\": ", 0), 0u)
            << host.messages[0].first;
        EXPECT_EQ(std::memcmp(picture().pixels, before->pixels, sizeof picture().pixels), 0);
        EXPECT_EQ(picture().width, 4);
        EXPECT_EQ(s().pictureName(), "Name");
    }
    expectStillWorking();
}

}  // namespace
}  // namespace stipple::testing
