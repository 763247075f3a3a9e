#include "io/FileAccess.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "io/KeptCopy.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

using testing::FileSizeLimit;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

void expectError(const FileResult& result, const std::string& path, int errorNumber) {
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorNumber, errorNumber) << result.error;
    EXPECT_NE(result.error.find('"' + path + '"'), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(std::strerror(errorNumber)), std::string::npos) << result.error;
}

TEST(FileAccessTest, ReplaceCreatesAndOverwritesWithoutLeftovers) {
    TempFolder dir;
    const std::string path = dir / "pic.s";
    ASSERT_TRUE(replaceFile(path, "first\r\n"));
    EXPECT_EQ(readFile(path), "first\r\n");
    ASSERT_TRUE(replaceFile(path, "2"));
    EXPECT_EQ(readFile(path), "2");
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"pic.s"});
}

TEST(FileAccessTest, ReplaceThroughALinkReplacesTheFileItPointsTo) {
    TempFolder dir;
    writeFile(dir / "real.h", "old");
    std::filesystem::create_symlink("real.h", dir / "link.h");
    ASSERT_TRUE(replaceFile(dir / "link.h", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.h"));
    EXPECT_EQ(readFile(dir / "real.h"), "new");
}

TEST(FileAccessTest, ALinkThatPointsNowhereLeadsToTheFileToMake) {
    TempFolder dir;
    std::filesystem::create_symlink("made.s", dir / "saved.s");
    std::filesystem::create_symlink("added.s", dir / "appended.s");
    ASSERT_TRUE(replaceFile(dir / "saved.s", "new"));
    ASSERT_TRUE(appendToFile(dir / "appended.s", "block"));
    EXPECT_EQ(readFile(dir / "made.s"), "new");
    EXPECT_EQ(readFile(dir / "added.s"), "block");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "saved.s"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "appended.s"));
}

TEST(FileAccessTest, ACopyKeptByAnEarlierVersionIsTold) {
    TempFolder dir;
    const std::string path = dir / "out.s";
    writeFile(path, "new, cut o");
    writeFile(dir / ".out.s.before-save", "the old content");
    const std::string notice = "A save of \"" + path +
                               "\" was cut off before it ended; the content the file had before "
                               "it is kept in \"" +
                               (dir / ".out.s.before-save").string() + "\".";
    std::string content;
    EXPECT_EQ(readFileStart(path, 100, content).notice, notice);
    // The file a save makes is younger than the copy, however fine the clock of the file system.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(replaceFile(path, "whole").notice, notice);
    EXPECT_EQ(appendToFile(path, " and more").notice, notice);
    EXPECT_EQ(readFile(path), "whole and more");
    EXPECT_EQ(readFile(dir / ".out.s.before-save"), "the old content");
}

TEST(FileAccessTest, AKeptCopyIsToldThroughEveryNameOfTheFile) {
    TempFolder dir;
    TempFolder state;
    // A name too long for a copy named after it, a second name and a symbolic link.
    const std::string file = dir / std::string(250, 'n');
    const std::string other = dir / "b.s";
    const std::string symlink = dir / "c.s";
    writeFile(file, "cut o");
    std::filesystem::create_hard_link(file, other);
    std::filesystem::create_symlink(file, symlink);
    // The copy in the state folder, then, with none to be made, beside the file.
    for (const std::string& stateHome : {state.path().string(), other}) {
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        struct stat info {};
        ::stat(file.c_str(), &info);
        std::string kept;
        {
            io::KeptCopy copy;  // and then the save is killed
            ASSERT_EQ(copy.keep(file, info, "old"), 0);
            kept = copy.path();
        }
        std::string content;
        for (const std::string& path : {other, symlink}) {
            EXPECT_NE(readFileStart(path, 9, content).notice.find(kept), std::string::npos) << path;
        }
        const FileResult saved = replaceFile(other, "whole");
        EXPECT_NE(saved.notice.find(kept), std::string::npos) << saved.error;
        EXPECT_EQ(readFile(file), "whole");
        // A file made after the copy can only have taken the inode number its file had.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        writeFile(dir / "later.s", "x");
        EXPECT_EQ(io::keptCopyNotice(dir / "later.s", info), "");
        std::filesystem::remove(dir / "later.s");
        std::filesystem::remove(kept);
    }
    ::unsetenv("XDG_STATE_HOME");
}

TEST(FileAccessTest, ASaveRemovesOnlyItsOwnAbandonedTemporaries) {
    TempFolder dir;
    writeFile(dir / "notes", "mine");
    // A killed save's, then names merely alike, one a running save holds, a symbolic link, a
    // second name of notes, and (as root) another user's.
    const std::vector<std::string> names = {
        ".out.s.stipple-0123456789abcdef.tmp", ".notes.99999-1.tmp",
        ".notes.stipple-0123456789abcdeg.tmp", ".a.stipple-1111111111111111.tmp",
        ".b.stipple-2222222222222222.tmp",     ".c.stipple-3333333333333333.tmp",
        ".d.stipple-4444444444444444.tmp"};
    for (const std::size_t i : {0, 1, 2, 3, 6}) {
        writeFile(dir / names[i], "half");
    }
    std::filesystem::create_symlink("notes", dir / names[4]);
    std::filesystem::create_hard_link(dir / "notes", dir / names[5]);
    const bool root = ::chown((dir / names[6]).c_str(), 65534, 65534) == 0;
    const io::FileHandle held(::open((dir / names[3]).c_str(), O_RDONLY));
    ASSERT_EQ(::flock(held.get(), LOCK_EX), 0);
    ASSERT_TRUE(replaceFile(dir / "out.s", "whole"));
    std::vector<std::string> kept(names.begin() + 1, names.end() - (root ? 0 : 1));
    kept.insert(kept.end(), {"notes", "out.s"});
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(dir.listing(), kept);
}

TEST(FileAccessTest, AWriterWaitsForItsTurnThroughAnyNameThenGivesUp) {
    TempFolder dir;
    const std::string path = dir / "f.s";
    writeFile(path, "old");
    std::filesystem::create_hard_link(path, dir / "g.s");
    setWaitForOtherWriters(std::chrono::milliseconds(100));
    const io::FileHandle held(::open(path.c_str(), O_RDONLY));  // another writer's turn
    ASSERT_EQ(::flock(held.get(), LOCK_EX), 0);
    EXPECT_EQ(appendToFile(dir / "g.s", "more").error,
              "Could not add to \"" + (dir / "g.s").string() +
                  "\": the file is being written by another process.");
    EXPECT_EQ(readFile(path), "old");
    setWaitForOtherWriters(std::chrono::seconds(10));
}

// Two writers at once, processes of their own let go together: every block is there
// afterwards, in one order or the other. STIPPLE_WRITER_ROUNDS sets the rounds of each pair.
TEST(FileAccessTest, TwoWritersAtOnceLoseNoBlock) {
    struct Pair {
        const char* name;
        bool firstSaves, hardLink, missing;
    };
    const char* count = std::getenv("STIPPLE_WRITER_ROUNDS");
    const std::string old(1 << 20, 'o'), a(4096, 'a'), b(4096, 'b');
    for (const Pair& p :
         {Pair{"append + append", false, false, false}, Pair{"save + append", true, false, false},
          Pair{"through two hard links", false, true, false},
          Pair{"both making the file", false, false, true}}) {
        const std::string before = p.missing ? "" : old;
        int lost = 0;
        for (int round = 0; round < (count != nullptr ? std::atoi(count) : 4); ++round) {
            TempFolder dir;
            if (!p.missing) {
                writeFile(dir / "f.s", old);
            }
            if (p.hardLink) {
                std::filesystem::create_hard_link(dir / "f.s", dir / "g.s");
            }
            int go[2];
            ASSERT_EQ(::pipe(go), 0);
            pid_t writers[2];
            for (int w = 0; w < 2; ++w) {
                if ((writers[w] = ::fork()) == 0) {
                    ::close(go[1]);
                    char ignored;
                    (void)::read(go[0], &ignored, 1);  // until the pipe is closed
                    const std::string path = dir / (w == 1 && p.hardLink ? "g.s" : "f.s");
                    ::_exit(w == 0 && p.firstSaves ? !replaceFile(path, a)
                                                   : !appendToFile(path, w == 0 ? a : b));
                }
            }
            for (const int end : go) {
                ::close(end);
            }
            for (const pid_t writer : writers) {
                int status = -1;
                ::waitpid(writer, &status, 0);
                EXPECT_EQ(status, 0) << p.name;
            }
            const std::string now = readFile(dir / "f.s");
            // A save that comes second replaces the appended block, as it should.
            lost += p.firstSaves ? now != a && now != a + b
                                 : now != before + a + b && now != before + b + a;
        }
        EXPECT_EQ(lost, 0) << p.name;
    }
}

TEST(FileAccessTest, FailedReplaceLeavesEverythingAsItWas) {
    TempFolder dir;
    writeFile(dir / "plain", "old");
    std::filesystem::create_directory(dir / "folder");
    struct Case {
        std::string path;
        int errorNumber;
    };
    for (const Case& c : {Case{dir / "folder", EISDIR}, Case{dir / "plain/x.s", ENOTDIR},
                          Case{dir / "missing/x.s", ENOENT}}) {
        expectError(replaceFile(c.path, "new"), c.path, c.errorNumber);
    }
    EXPECT_EQ(dir.listing(), (std::vector<std::string>{"folder", "plain"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));

    const std::string path = dir / "plain";
    {
        FileSizeLimit limit(10);
        expectError(replaceFile(path, std::string(100, 'x')), path, EFBIG);
    }
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(dir.listing(), (std::vector<std::string>{"folder", "plain"}));
}

TEST(FileAccessTest, ShortAppendIsCutBackToTheOldBytes) {
    TempFolder dir;
    const std::string path = dir / "lib.h";
    writeFile(path, std::string(100, 'a'));
    {
        FileSizeLimit limit(120);  // the first 20 bytes of the block get in
        const FileResult result = appendToFile(path, std::string(500, 'b'));
        expectError(result, path, EFBIG);
        EXPECT_FALSE(result.openFailed);
    }
    EXPECT_EQ(readFile(path), std::string(100, 'a'));

    const std::string fresh = dir / "fresh.h";
    {
        FileSizeLimit limit(10);
        expectError(appendToFile(fresh, std::string(500, 'b')), fresh, EFBIG);
    }
    EXPECT_FALSE(std::filesystem::exists(fresh)) << "a file the append created is removed";
}

TEST(FileAccessTest, SecondTryNeverEmptiesAnExistingFile) {
    TempFolder dir;
    writeFile(dir / "plain", "old");
    FileResult appendFailure;
    appendFailure.ok = false;
    appendFailure.error = "append failed";
    EXPECT_EQ(createMissingFile(dir / "plain", "new", appendFailure).error, "append failed");
    EXPECT_EQ(readFile(dir / "plain"), "old");
    ASSERT_TRUE(createMissingFile(dir / "made.h", "new", appendFailure));
    EXPECT_EQ(readFile(dir / "made.h"), "new");
}

}  // namespace
}  // namespace stipple

namespace stipple {
namespace {

namespace fs = std::filesystem;

// Root passes every permission check, so as root a save runs in a child process as the
// unprivileged user below; otherwise as the user running the tests.
constexpr uid_t kUnprivilegedId = 65534;

struct SaveOutcome {
    bool ok = false;
    int errorNumber = 0;
    std::string error;
};

// replaceFile as the saving user, with writes limited to `sizeLimit` bytes when not 0 and
// copies of old contents kept in `stateFolder` where the file's folder takes none.
SaveOutcome saveAsUser(const std::string& path, const std::string& content, rlim_t sizeLimit,
                       const std::string& stateFolder) {
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
                                 ::setuid(kUnprivilegedId) != 0)) {
            ::_exit(2);
        }
        ::setenv("XDG_STATE_HOME", stateFolder.c_str(), 1);
        std::optional<testing::FileSizeLimit> limit;
        if (sizeLimit != 0) {
            limit.emplace(sizeLimit);
        }
        const FileResult result = replaceFile(path, content);
        const std::string report = std::to_string(result.ok) + " " +
                                   std::to_string(result.errorNumber) + " " + result.error;
        const ssize_t ignored = ::write(channel[1], report.data(), report.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the saving process failed";
    SaveOutcome outcome;
    std::istringstream in(report);
    in >> outcome.ok >> outcome.errorNumber;
    in.get();
    std::getline(in, outcome.error);
    return outcome;
}

struct FileState {
    std::string bytes;
    mode_t mode = 0;
    uid_t owner = 0;
    nlink_t links = 0;
    ino_t inode = 0;
};

FileState stateOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return {testing::readFile(path), info.st_mode & 07777, info.st_uid, info.st_nlink, info.st_ino};
}

TEST(FileAccessTest, SaveWritesWhereAnInPlaceWriteMayAndKeepsTheFileItself) {
    const bool root = ::geteuid() == 0;
    const uid_t user = root ? kUnprivilegedId : ::geteuid();
    const std::string kOld = "old content\r\n";
    const std::string kNew = "new content, longer than the old one\r\n";
    struct Case {
        const char* name;
        mode_t fileMode;
        mode_t folderMode;
        bool otherOwner;   // the file belongs to root, not to the saving user
        bool hardLinked;   // a second name links to the file
        rlim_t sizeLimit;  // writes stop after this many bytes (0: no limit)
        int errorNumber;   // 0: saved
        bool inPlace;      // the file itself is kept rather than replaced by a new one
    };
    const Case cases[] = {
        {"read-only file", 0444, 0755, false, false, 0, EACCES, true},
        {"writable file in a read-only folder", 0644, 0555, false, false, 0, 0, true},
        {"hard-linked file", 0640, 0755, false, true, 0, 0, true},
        {"file of another owner", 0666, 0755, true, false, 0, 0, true},
        {"write cut short in place", 0644, 0755, false, true, 20, EFBIG, true},
        {"write-only file", 0200, 0755, false, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherOwner && !root) {
            continue;  // only root can give a file to another owner
        }
        testing::TempFolder dir;
        testing::TempFolder state;
        const fs::path file = dir / "pic.s";
        testing::writeFile(file, kOld);
        if (c.hardLinked) {
            fs::create_hard_link(file, dir / "other.s");
        }
        ::chmod(file.c_str(), c.fileMode);
        if (root) {
            ::chown(dir.path().c_str(), user, user);
            ::chown(state.path().c_str(), user, user);
            ::chown(file.c_str(), c.otherOwner ? 0 : user, c.otherOwner ? 0 : user);
        }
        ::chmod(dir.path().c_str(), c.folderMode);
        const FileState before = stateOf(file);

        const SaveOutcome outcome = saveAsUser(file, kNew, c.sizeLimit, state.path());
        ::chmod(dir.path().c_str(), 0755);

        const FileState after = stateOf(file);
        EXPECT_EQ(after.mode, before.mode);
        EXPECT_EQ(after.owner, before.owner);
        EXPECT_EQ(after.links, before.links);
        EXPECT_EQ(after.inode == before.inode, c.inPlace) << "the file itself is kept";
        EXPECT_EQ(dir.listing().size(), c.hardLinked ? 2u : 1u) << "no file is left behind";
        EXPECT_TRUE(!fs::exists(state / "stippleworkshop") ||
                    fs::is_empty(state / "stippleworkshop"))
            << "no copy of the old content is left";
        if (c.errorNumber == 0) {
            EXPECT_TRUE(outcome.ok) << outcome.error;
            ::chmod(file.c_str(), 0644);  // to read a write-only file back
            EXPECT_EQ(testing::readFile(file), kNew);
            if (c.hardLinked) {
                EXPECT_EQ(testing::readFile(dir / "other.s"), kNew);
            }
        } else {
            EXPECT_FALSE(outcome.ok);
            EXPECT_EQ(outcome.errorNumber, c.errorNumber);
            EXPECT_EQ(outcome.error, "Could not save \"" + file.string() +
                                         "\": " + std::strerror(c.errorNumber) + ".");
            EXPECT_EQ(after.bytes, kOld);
        }
    }
}

}  // namespace
}  // namespace stipple
