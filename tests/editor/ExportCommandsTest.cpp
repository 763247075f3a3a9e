#include "editor/ExportCommands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/SessionFixture.h"
#include "support/TestFiles.h"

namespace stipple {
namespace {

using testing::readFile;
using testing::writeFile;
using Messages = std::vector<std::pair<std::string, std::string>>;

const char* kBlock =
    "/*Created by VexlanImageMaker */\r\nName:\r\n.byte 3,2  /* Image size*/\r\n"
    ".byte 0,3,4\r\n.byte 1,2,3\r\n";

class ExportCommandsTest : public testing::SessionFixture {
  protected:
    void SetUp() override {
        SessionFixture::SetUp();
        setPicture({"034", "123"});
    }
    void choose(const std::filesystem::path& path) { host.exportFileAnswer = path.string(); }

    testing::TempFolder dir;
};

TEST_F(ExportCommandsTest, CancelledDialogWritesNothing) {
    saveAsm8File(s());
    appendAsm8ToFile(s());
    EXPECT_EQ(host.exportFileQuestions, 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(dir.listing().empty());
}

TEST_F(ExportCommandsTest, SaveReplacesTheWholeFileWithoutAsking) {
    choose(dir / "pic.s");
    writeFile(dir / "pic.s", std::string(5000, 'x'));
    saveAsm8File(s());
    EXPECT_EQ(readFile(dir / "pic.s"), kBlock);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommandsTest, SaveToEndAddsOneBlockPerCommand) {
    choose(dir / "lib.h");
    appendAsm8ToFile(s());
    EXPECT_EQ(readFile(dir / "lib.h"), kBlock);
    appendAsm8ToFile(s());
    EXPECT_EQ(readFile(dir / "lib.h"), std::string(kBlock) + kBlock);

    // Without a final line end the author comment continues the last line.
    choose(dir / "open.s");
    writeFile(dir / "open.s", "nop");
    appendAsm8ToFile(s());
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
        appendAsm8ToFile(s());
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
    saveAsm8File(s());
    ASSERT_EQ(host.messages.size(), 1u) << "Save has no \"Hi\"";
    EXPECT_NE(host.messages[0].first.find(std::strerror(EISDIR)), std::string::npos);
}

TEST_F(ExportCommandsTest, SaveToEndOnAFullDeviceReportsNoSpace) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    host.exportFileAnswer = "/dev/full";
    appendAsm8ToFile(s());
    saveAsm8File(s());  // a device is written in place, not replaced
    ASSERT_EQ(host.messages.size(), 2u) << "the open worked, so no \"Hi\"";
    for (const auto& [text, caption] : host.messages) {
        EXPECT_NE(text.find("\"/dev/full\": " + std::string(std::strerror(ENOSPC))),
                  std::string::npos);
    }
}

TEST_F(ExportCommandsTest, ClipboardGetsTheTextAndTheBoxOnlyWhenCopied) {
    copyExportToClipboard(s(), ExportSource::SelectedBox, ExportFormat::Asm8, false);
    EXPECT_EQ(host.clipboardWrites, 0);
    EXPECT_EQ(host.clipboard, "(earlier clipboard)");

    copyExportToClipboard(s(), ExportSource::Picture, ExportFormat::Asm2, true);
    EXPECT_EQ(host.clipboard,
              "/* format 2 bits per pixel */\r\nName: \r\n.byte 3,2  /* Image "
              "size*/\r\n.byte 60,57\r\n");

    setBox({"3", "0"});
    copyExportToClipboard(s(), ExportSource::SelectedBox, ExportFormat::CppArray, false);
    EXPECT_EQ(host.clipboard,
              "/*Created by VexlanImageMaker */\r\nName[1][2]={\r\n{3}\r\n{0}\r\n}");
    EXPECT_EQ(host.clipboardWrites, 2);
}

TEST_F(ExportCommandsTest, NameWithALineBreakIsNotExported) {
    renamePicture(s(), "two\nlines");
    choose(dir / "out.s");
    copyExportToClipboard(s(), ExportSource::Picture, ExportFormat::CppArray, false);
    saveAsm8File(s());
    appendAsm8ToFile(s());
    const std::pair<std::string, std::string> refused{
        "The name \"two\\nlines\" cannot go into a text: it holds a line break.",
        "Vexlan Tarn Stippleworkshop"};
    EXPECT_EQ(host.messages, Messages(3, refused));
    EXPECT_EQ(host.clipboardWrites, 0);
    EXPECT_EQ(host.exportFileQuestions, 0);
    EXPECT_TRUE(dir.listing().empty());
}

TEST_F(ExportCommandsTest, AlignButtonFollowsTheFlag) {
    toggleAlignToByte(s());
    EXPECT_TRUE(s().alignToByte());
    EXPECT_TRUE(isChecked(s(), CommandId::AlignToByte));
    toggleAlignToByte(s());
    EXPECT_FALSE(s().alignToByte());
    EXPECT_FALSE(isChecked(s(), CommandId::AlignToByte));
}

TEST(ExportPanelTest, ItemsMapToFormats) {
    const std::vector<std::pair<int, std::optional<ExportFormat>>> table = {
        {0, ExportFormat::CppArray},
        {1, ExportFormat::Asm1},
        {2, ExportFormat::Asm2},
        {3, ExportFormat::Asm4},
        {4, ExportFormat::Asm8},
        {-1, std::nullopt},
        {5, std::nullopt}};
    for (const auto& [item, format] : table) {
        EXPECT_EQ(exportFormatForPanelItem(item), format) << "item " << item;
    }
}

}  // namespace
}  // namespace stipple
