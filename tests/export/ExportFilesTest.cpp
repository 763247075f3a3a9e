#include "export/ExportFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "export/ExportTestSupport.h"

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

TEST(ExportFilesTest, ReplaceCreatesAndOverwritesWithoutLeftovers) {
    TempFolder dir;
    const std::string path = dir / "pic.s";
    ASSERT_TRUE(replaceFile(path, "first\r\n"));
    EXPECT_EQ(readFile(path), "first\r\n");
    ASSERT_TRUE(replaceFile(path, "2"));
    EXPECT_EQ(readFile(path), "2");
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"pic.s"});
}

TEST(ExportFilesTest, ReplaceThroughALinkReplacesTheFileItPointsTo) {
    TempFolder dir;
    writeFile(dir / "real.h", "old");
    std::filesystem::create_symlink("real.h", dir / "link.h");
    ASSERT_TRUE(replaceFile(dir / "link.h", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.h"));
    EXPECT_EQ(readFile(dir / "real.h"), "new");
}

TEST(ExportFilesTest, FailedReplaceLeavesEverythingAsItWas) {
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

TEST(ExportFilesTest, ShortAppendIsCutBackToTheOldBytes) {
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

TEST(ExportFilesTest, SecondTryNeverEmptiesAnExistingFile) {
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
