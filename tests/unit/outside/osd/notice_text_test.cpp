#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "outside/osd/notice_text.h"
#include "settings/ini_file.h"
#include "tests/support/memory_file_system.h"

namespace kavo::osd {
namespace {

struct TextCase {
  const char* name;
  std::string stored;
  unsigned reason;
  std::string shown;
};
// Test names and failure messages show the case by name, not as raw bytes.
void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }


class NoticeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NoticeTextTest, FitsTheStoredTextOnOneLine) {
  const TextCase& c = GetParam();
  const std::string text = NoticeText(c.stored, c.reason);
  EXPECT_EQ(text, c.shown);
  EXPECT_LE(text.size(), kMaxNoticeLength);
}

const std::string k64(64, 'x');

INSTANTIATE_TEST_SUITE_P(
    Texts, NoticeTextTest,
    ::testing::Values(
        TextCase{"Plain", "Low Battery", 50, "Low Battery"},
        TextCase{"OtherReasonKeepsText", "Profile 2", 0, "Profile 2"},
        TextCase{"EmptyLowBattery", "", 50, "Low Battery"},
        TextCase{"EmptyOtherReason", "", 0, "VELMAR Kavo Mouse"},
        TextCase{"OnlyBlanks", " \t\r\n ", 50, "Low Battery"},
        TextCase{"OnlyControls", std::string("\x01\x1F\x7F", 3), 7, "VELMAR Kavo Mouse"},
        TextCase{"BlanksCollapsed", "  Low   Battery  ", 0, "Low Battery"},
        TextCase{"LinesJoined", "Line one\r\nLine two", 0, "Line one Line two"},
        TextCase{"ControlsAreSpaces", std::string("a\tb\x01" "c\x7F" "d", 8), 0, "a b c d"},
        TextCase{"CodePageLettersKept", "Caf\xE9 \xC5land", 0, "Caf\xE9 \xC5land"},
        TextCase{"PrefixCharacterKept", "Save & Load", 0, "Save & Load"},
        TextCase{"ExactlyTheLimit", k64, 0, k64},
        TextCase{"OneOverTheLimit", k64 + "z", 0, std::string(61, 'x') + "..."},
        TextCase{"BlanksBeforeTheCutDropped", std::string(60, 'y') + "  tail", 0, std::string(60, 'y') + "..."},
        TextCase{"CollapsedTextFitsAgain", "a" + std::string(100, ' ') + "b", 0, "a b"}),
    [](const ::testing::TestParamInfo<TextCase>& row) { return std::string(row.param.name); });

struct FileCase {
  const char* name;
  std::string config;  // content of "config.ini"; empty: no file
  unsigned reason;
  std::string shown;
};
// Test names and failure messages show the case by name, not as raw bytes.
void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }


class ReadNoticeTextTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReadNoticeTextTest, TakesTheMessageKeyOfTheOSDDataSection) {
  const FileCase& c = GetParam();
  test::MemoryFileSystem files;
  const std::string path = "C:\\Kavo\\config.ini";
  if (!c.config.empty()) files.files[path] = c.config;
  IniFile config(files, path);
  EXPECT_EQ(ReadNoticeText(config, c.reason), c.shown);
  EXPECT_EQ(files.replaceCount, 0) << "reading a notice must not write the file";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadNoticeTextTest,
    ::testing::Values(
        FileCase{"Written", "[OSDData]\r\nMessage=Low Battery\r\n", 50, "Low Battery"},
        FileCase{"AmongOtherKeys", "[Config]\r\nCurrentProfile=2\r\n[OSDData]\r\nOther=1\r\nMessage=Profile 3\r\n", 0,
                 "Profile 3"},
        FileCase{"OtherSectionIgnored", "[Config]\r\nMessage=Wrong\r\n", 0, "VELMAR Kavo Mouse"},
        FileCase{"QuotesDropped", "[OSDData]\r\nMessage=\"Profile 4\"\r\n", 0, "Profile 4"},
        FileCase{"EmptyValue", "[OSDData]\r\nMessage=\r\n", 50, "Low Battery"},
        FileCase{"NoFile", "", 50, "Low Battery"},
        FileCase{"HugeValueCut", "[OSDData]\r\nMessage=" + std::string(5000, 'm') + "\r\n", 0,
                 std::string(61, 'm') + "..."}),
    [](const ::testing::TestParamInfo<FileCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::osd
