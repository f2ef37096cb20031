#include <gtest/gtest.h>

#include <cstring>

#include "settings/ini_file.h"
#include "tests/support/memory_file_system.h"

namespace kavo {
namespace {

constexpr char kPath[] = "C:\\Kavo\\config.ini";

class IniFileTest : public ::testing::Test {
 protected:
  test::MemoryFileSystem files;
};

TEST_F(IniFileTest, ReadsValuesAsTheWindowsReaderDoes) {
  files.files[kPath] = "[S]\r\nq=\"quoted\"\r\nh='half\r\nsingle='\r\nempty=\r\nn= -7 \r\nlong=" +
                       std::string(3000, 'x') + "\r\nnum=" + std::string(40, '0') + "12\r\n";
  IniFile file(files, kPath);
  EXPECT_EQ(file.ReadString("S", "q", "d"), "quoted");
  EXPECT_EQ(file.ReadString("S", "h", "d"), "'half");
  EXPECT_EQ(file.ReadString("S", "single", "d"), "'");
  EXPECT_EQ(file.ReadString("S", "empty", "d"), "");
  EXPECT_EQ(file.ReadString("S", "missing", "fallback  "), "fallback");  // trailing blanks of the fallback go
  EXPECT_EQ(file.ReadString("S", "long", "").size(), kMaxProfileString);
  EXPECT_EQ(file.ReadInt("S", "n", 3), -7);
  EXPECT_EQ(file.ReadInt("S", "empty", 3), 3);
  EXPECT_EQ(file.ReadInt("S", "missing", -1), -1);
  EXPECT_EQ(file.ReadInt("S", "num", -1), 0) << "only the first 29 characters of an integer are read";
}

TEST_F(IniFileTest, WritesOnceOnCommitAndOnlyWhenChanged) {
  {
    IniFile file(files, kPath);
    file.WriteInt("Setting", "CurrentProfile", 2);
    file.WriteString("Setting", "Name", "two words");
    EXPECT_EQ(files.replaceCount, 0);
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(files.replaceCount, 1);
    file.WriteInt("Setting", "CurrentProfile", 2);
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(files.replaceCount, 1) << "an unchanged file is not rewritten";
    file.WriteInt("Setting", "CurrentProfile", 3);
  }  // pending writes land when the file goes away
  EXPECT_EQ(files.replaceCount, 2);
  EXPECT_EQ(files.files[kPath], "[Setting]\r\nCurrentProfile=3\r\nName=two words\r\n");
}

TEST_F(IniFileTest, AFailedWriteReportsFailureAndKeepsTheOldFile) {
  files.files[kPath] = "[Setting]\r\nA=1\r\n";
  files.FailWritesTo(kPath);
  IniFile file(files, kPath);
  file.WriteInt("Setting", "A", 2);
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(files.files[kPath], "[Setting]\r\nA=1\r\n");
}

TEST_F(IniFileTest, AMissingFileIsCreatedButOneThatCannotBeReadIsNeverWrittenOver) {
  const std::string held = "[Setting]\r\nA=1\r\nB=2\r\n";
  files.files[kPath] = held;
  files.FailReadsOf(kPath);
  struct Case {
    const char* name;
    std::string path;
    FileRead found;
    bool committed;
    std::string contents;
  };
  const Case cases[] = {
      {"missing", "C:\\Kavo\\new.ini", FileRead::kMissing, true, "[Setting]\r\nC=3\r\nD=4\r\n"},
      {"unreadable", kPath, FileRead::kUnreadable, false, held},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      IniFile file(files, c.path);
      EXPECT_TRUE(file.Found() == c.found);
      EXPECT_EQ(file.ReadInt("Setting", "A", -1), -1) << "nothing was read: every read gives its fallback";
      file.WriteInt("Setting", "C", 3);
      files.StopFailingReadsOf(kPath);  // readable again before the commit: still nothing read to keep
      EXPECT_EQ(file.Commit(), c.committed);
      file.WriteInt("Setting", "D", 4);
    }  // nor when the file goes away
    EXPECT_EQ(files.files[c.path], c.contents);
    files.FailReadsOf(kPath);
  }
}

TEST_F(IniFileTest, AFileThatCanBeReadIsFoundRead) {
  files.files[kPath] = "";
  EXPECT_TRUE(IniFile(files, kPath).Found() == FileRead::kRead) << "an empty file is still the user's file";
}

TEST_F(IniFileTest, StartingEmptyDropsWhatTheFileHeld) {
  files.files[kPath] = "[Setting]\r\nOld=1\r\n[Gone]\r\nx=1\r\n";
  IniFileAccess access(files);
  {
    auto file = access.OpenEmpty(kPath);
    EXPECT_EQ(file->ReadInt("Setting", "Old", -1), -1);
    file->WriteInt("Setting", "New", 1);
  }
  EXPECT_EQ(files.files[kPath], "[Setting]\r\nNew=1\r\n");
}

TEST_F(IniFileTest, StructsRoundTripAndBadOnesLeaveTheBufferAlone) {
  IniFile file(files, kPath);
  unsigned char blob[2372];
  for (std::size_t i = 0; i < sizeof blob; ++i) blob[i] = static_cast<unsigned char>(i * 7);
  file.WriteStruct("Setting", "Blob", blob, sizeof blob);
  ASSERT_TRUE(file.Commit());

  IniFile reread(files, kPath);
  unsigned char back[2372] = {};
  ASSERT_TRUE(reread.ReadStruct("Setting", "Blob", back, sizeof back));
  EXPECT_EQ(std::memcmp(blob, back, sizeof blob), 0);
  unsigned char wrongSize[344];
  std::memset(wrongSize, 0xEE, sizeof wrongSize);
  EXPECT_FALSE(reread.ReadStruct("Setting", "Blob", wrongSize, sizeof wrongSize));
  EXPECT_FALSE(reread.ReadStruct("Setting", "Missing", wrongSize, sizeof wrongSize));
  EXPECT_EQ(wrongSize[0], 0xEE);
  EXPECT_EQ(files.files[kPath].size(), std::string("[Setting]\r\nBlob=\r\n").size() + 4746);
}

}  // namespace
}  // namespace kavo
