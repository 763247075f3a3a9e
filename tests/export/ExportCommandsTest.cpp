#include "export/ExportCommands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "export/ExportTestSupport.h"
#include "support/EditorFixture.h"

namespace stipple {
namespace {

using testing::readFile;
using testing::writeFile;
using Messages = std::vector<std::pair<std::string, std::string>>;

const char* kBlock =
    "/*Created by VexlanImageMaker */\r\nName:\r\n.byte 3,2  /* Image size*/\r\n"
    ".byte 0,3,4\r\n.byte 1,2,3\r\n";

class ExportCommandsTest : public testing::EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        testing::setPicture(ed(), {"034", "123"});
    }
    void choose(const std::filesystem::path& path) { host.exportFileAnswer = path.string(); }

    testing::TempFolder dir;
};

TEST_F(ExportCommandsTest, CancelledDialogWritesNothing) {
    ed().Save1Click();
    ed().Savetoend1Click();
    EXPECT_EQ(host.exportFileQuestions, 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(dir.listing().empty());
}

TEST_F(ExportCommandsTest, SaveReplacesTheWholeFileWithoutAsking) {
    choose(dir / "pic.s");
    writeFile(dir / "pic.s", std::string(5000, 'x'));
    ed().Save1Click();
    EXPECT_EQ(readFile(dir / "pic.s"), kBlock);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommandsTest, SaveToEndAddsOneBlockPerCommand) {
    choose(dir / "lib.h");
    ed().Savetoend1Click();
    EXPECT_EQ(readFile(dir / "lib.h"), kBlock);
    ed().Savetoend1Click();
    EXPECT_EQ(readFile(dir / "lib.h"), std::string(kBlock) + kBlock);

    // Without a final line end the author comment continues the last line.
    choose(dir / "open.s");
    writeFile(dir / "open.s", "nop");
    ed().Savetoend1Click();
    EXPECT_EQ(readFile(dir / "open.s"), std::string("nop") + kBlock);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommandsTest, SaveToEndThatCannotOpenSaysHiThenReports) {
    std::filesystem::create_directory(dir / "folder");
    writeFile(dir / "plain", "old");
    for (const auto& [path, reason] :
         {std::pair{dir / "folder", EISDIR}, std::pair{dir / "plain" / "x.h", ENOTDIR}}) {
        host.messages.clear();
        choose(path);
        ed().Savetoend1Click();
        ASSERT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.messages[0],
                  (std::pair<std::string, std::string>{"Hi", "Vexlan Tarn Stippleworkshop"}));
        EXPECT_NE(host.messages[1].first.find(path.string()), std::string::npos);
        EXPECT_NE(host.messages[1].first.find(std::strerror(reason)), std::string::npos);
    }
    EXPECT_EQ(readFile(dir / "plain"), "old");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));

    host.messages.clear();
    choose(dir / "folder");
    ed().Save1Click();
    ASSERT_EQ(host.messages.size(), 1u) << "Save has no \"Hi\"";
    EXPECT_NE(host.messages[0].first.find(std::strerror(EISDIR)), std::string::npos);
}

TEST_F(ExportCommandsTest, SaveToEndOnAFullDeviceReportsNoSpace) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    host.exportFileAnswer = "/dev/full";
    ed().Savetoend1Click();
    ed().Save1Click();  // a device is written in place, not replaced
    ASSERT_EQ(host.messages.size(), 2u) << "the open worked, so no \"Hi\"";
    for (const auto& [text, caption] : host.messages) {
        EXPECT_NE(text.find("\"/dev/full\": " + std::string(std::strerror(ENOSPC))),
                  std::string::npos);
    }
}

TEST_F(ExportCommandsTest, ClipboardGetsTheTextAndTheBoxOnlyWhenCopied) {
    ed().copyExportToClipboard(ExportSource::SelectedBox, 1, false);
    EXPECT_EQ(host.clipboardWrites, 0);
    EXPECT_EQ(host.clipboard, "(earlier clipboard)");

    ed().copyExportToClipboard(ExportSource::Picture, 4, true);
    EXPECT_EQ(host.clipboard, ed().buildExportText(ExportSource::Picture, 4, true));

    testing::setBox(ed(), {"3", "0"});
    ed().copyExportToClipboard(ExportSource::SelectedBox, 2, false);
    EXPECT_EQ(host.clipboard,
              "/*Created by VexlanImageMaker */\r\nName[1][2]={\r\n{3}\r\n{0}\r\n}");
    EXPECT_EQ(host.clipboardWrites, 2);
}

TEST_F(ExportCommandsTest, AlignButtonFollowsTheFlag) {
    ed().alignClick();
    EXPECT_TRUE(ed().alignToByte);
    EXPECT_TRUE(host.alignDown);
    ed().alignClick();
    EXPECT_FALSE(ed().alignToByte);
    EXPECT_FALSE(host.alignDown);
}

TEST(ExportPanelTest, ItemsMapToFormatCodes) {
    const std::vector<std::pair<int, std::optional<int>>> table = {
        {0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 1}, {-1, std::nullopt}, {5, std::nullopt}};
    for (const auto& [item, code] : table) {
        EXPECT_EQ(formatCodeForPanelItem(item), code) << "item " << item;
    }
}

}  // namespace
}  // namespace stipple
