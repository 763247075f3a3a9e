// Saves killed at any moment: a child process writes a large text and is killed part way,
// again and again. Afterwards the file holds its whole old or whole new content (or, after a
// rewrite in place, a complete copy of the old content is kept), and no temporary file is
// left once the next save has run. STIPPLE_KILLS sets the kills per row (default 6).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "io/FileAccess.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uid_t kUnprivilegedId = 65534;

enum class Path { Rename, InPlaceHardLink, InPlaceReadOnlyFolder, Append };

struct Row {
    const char* name;
    Path path;
};

std::string contentOf(const fs::path& path) {
    std::string bytes(fs::file_size(path), '\0');
    std::FILE* in = std::fopen(path.c_str(), "rb");
    bytes.resize(in != nullptr ? std::fread(bytes.data(), 1, bytes.size(), in) : 0);
    if (in != nullptr) {
        std::fclose(in);
    }
    return bytes;
}

// Old and new contents that no mix of the two could pass for.
std::string pattern(char fill, std::size_t bytes) {
    std::string text;
    text.reserve(bytes);
    while (text.size() < bytes) {
        text += ".byte ";
        text += std::string(60, fill);
        text += std::to_string(text.size()) + "\n";
    }
    return text;
}

class KilledSave : public ::testing::TestWithParam<Row> {
  protected:
    void SetUp() override {
        file_ = dir_ / "out.s";
        if (GetParam().path == Path::InPlaceReadOnlyFolder && ::geteuid() != 0) {
            GTEST_SKIP() << "only root can give the folder to another user";
        }
        testing::writeFile(file_, old_);
        if (GetParam().path == Path::InPlaceHardLink) {
            fs::create_hard_link(file_, dir_ / "link.s");
        }
    }

    bool readOnlyFolder() const { return GetParam().path == Path::InPlaceReadOnlyFolder; }

    // The folder takes no new file for the saving user: it belongs to root and is closed.
    void closeFolder(bool closed) {
        if (!readOnlyFolder()) {
            return;
        }
        ::chown(file_.c_str(), kUnprivilegedId, kUnprivilegedId);
        ::chown(state_.path().c_str(), kUnprivilegedId, kUnprivilegedId);
        ::chmod(dir_.path().c_str(), closed ? 0555 : 0755);
    }

    // A child that saves and is killed after `delay`, or saves to the end without one.
    void save(Clock::duration delay, bool kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
            if (readOnlyFolder() &&
                (::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0)) {
                ::_exit(3);
            }
            const FileResult result = GetParam().path == Path::Append ? appendToFile(file_, block_)
                                                                      : replaceFile(file_, new_);
            ::_exit(result ? 0 : 4);
        }
        if (kill) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!kill) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save failed";
        }
    }

    // The file's content is one of the whole ones, or a whole copy of the old one is kept;
    // then the kept copies go, as a user who has looked at them would remove them.
    void expectWhole(int kill) {
        const std::string now = contentOf(file_);
        const std::string grown = old_ + block_;
        const std::string& after = GetParam().path == Path::Append ? grown : new_;
        int keptCopies = 0;
        for (const fs::path& folder : {dir_.path(), state_.path() / "stippleworkshop"}) {
            if (!fs::exists(folder)) {
                continue;
            }
            for (const auto& entry : fs::directory_iterator(folder)) {
                if (entry.path().filename().string().find("kept-") != std::string::npos) {
                    ++keptCopies;
                    EXPECT_EQ(contentOf(entry.path()), old_)
                        << "kill " << kill << ": the kept copy " << entry.path() << " is whole";
                    fs::remove(entry.path());
                }
            }
        }
        for (const auto& entry : fs::directory_iterator(dir_.path())) {
            temporaries_ += entry.path().extension() == ".tmp";
        }
        if (now != old_ && now != after) {
            ++partial_;
            EXPECT_EQ(keptCopies, 1) << "kill " << kill << ": a partial file has its old copy";
            EXPECT_NE(GetParam().path, Path::Rename) << "kill " << kill;
            EXPECT_NE(GetParam().path, Path::Append) << "kill " << kill;
        }
        testing::writeFile(file_, old_);  // the same inode, links and owner for the next kill
    }

    testing::TempFolder dir_;
    testing::TempFolder state_;
    fs::path file_;
    int partial_ = 0;
    int temporaries_ = 0;  // seen right after a kill, before the next save clears them
    const std::string old_ = pattern('o', 1 << 20);
    const std::string new_ = pattern('n', 4 << 20);
    const std::string block_ = pattern('b', 3 << 20);
};

TEST_P(KilledSave, LeavesAWholeFileOrAWholeCopyAndNoTemporaryFile) {
    const char* count = std::getenv("STIPPLE_KILLS");
    const int kills = count != nullptr ? std::atoi(count) : 6;
    closeFolder(true);
    const Clock::time_point start = Clock::now();
    save({}, false);
    const Clock::duration whole = Clock::now() - start;
    closeFolder(false);
    testing::writeFile(file_, old_);

    std::mt19937 random(20261209);
    for (int kill = 0; kill < kills; ++kill) {
        // From the start of the child to a little after a whole save would have ended.
        const auto delay = std::chrono::duration_cast<Clock::duration>(
            whole * std::uniform_real_distribution<double>(0.0, 1.1)(random));
        closeFolder(true);
        save(delay, true);
        closeFolder(false);
        expectWhole(kill);
    }
    // The next save clears whatever the killed ones left.
    closeFolder(true);
    save({}, false);
    closeFolder(false);
    std::vector<std::string> expected = {"out.s"};
    if (GetParam().path == Path::InPlaceHardLink) {
        expected.insert(expected.begin(), "link.s");
    }
    EXPECT_EQ(dir_.listing(), expected);
    RecordProperty("kills", kills);
    RecordProperty("partial", partial_);
    std::printf(
        "%s: %d kills, %d partial files (each with its whole old copy kept), %d "
        "temporary files seen right after a kill\n",
        GetParam().name, kills, partial_, temporaries_);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, KilledSave,
    ::testing::Values(Row{"Rename", Path::Rename}, Row{"InPlaceHardLink", Path::InPlaceHardLink},
                      Row{"InPlaceReadOnlyFolder", Path::InPlaceReadOnlyFolder},
                      Row{"Append", Path::Append}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stipple
