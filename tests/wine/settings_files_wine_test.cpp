// The whole settings record through SettingsFiles on real files and the real registry, written and read by
// IniFile and by the Windows private-profile functions.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_files.h"
#include "settings/win32/win32_registry.h"
#include "tests/wine/control_panel_backup.h"
#include "tests/wine/full_record.h"
#include "tests/wine/no_sharing_holder.h"
#include "tests/wine/profile_backends.h"

namespace kavo::wine_test {
namespace {

// Where two profiles first differ, for a readable failure.
std::string FirstDifference(const ProfileRecord& expected, const ProfileRecord& actual) {
  const auto* a = reinterpret_cast<const unsigned char*>(&expected);
  const auto* b = reinterpret_cast<const unsigned char*>(&actual);
  for (std::size_t i = 0; i < sizeof expected; ++i) {
    if (a[i] != b[i]) {
      return "first difference at byte " + std::to_string(i) + ": expected " + std::to_string(a[i]) + ", read " +
             std::to_string(b[i]);
    }
  }
  return "";
}

void ExpectSameRecord(const SettingsRecord& expected, const SettingsRecord& actual) {
  EXPECT_EQ(actual.CurrentProfile, expected.CurrentProfile);
  EXPECT_EQ(actual.WindowsProfile, expected.WindowsProfile);
  EXPECT_EQ(actual.QuickHelpLan, expected.QuickHelpLan);
  EXPECT_EQ(actual.MouseType, expected.MouseType);
  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(0, std::memcmp(&expected.profiles[p], &actual.profiles[p], sizeof expected.profiles[p]))
        << "profile " << p << ", " << FirstDifference(expected.profiles[p], actual.profiles[p]);
  }
}

class SettingsFilesWine : public ProfileBackendsTest {
 protected:
  void SetUp() override {
    ProfileBackendsTest::SetUp();
    FillFullRecord(*record_);
  }

  // A program folder of its own, with its "config" folder.
  std::string ProgramFolder(const std::string& name) {
    const std::string folder = folder_.Subfolder(name);
    ::CreateDirectoryA((folder + "config").c_str(), nullptr);
    return folder;
  }

  std::vector<std::string> SixFiles(const std::string& folder) {
    std::vector<std::string> contents{Contents(folder + "config.ini")};
    for (int slot = 0; slot < kProfileCount; ++slot) {
      contents.push_back(Contents(folder + "config\\Default" + std::to_string(slot) + ".vmp"));
    }
    return contents;
  }

  void ExpectReadBack(const std::string& folder, const SettingsRecord& expected) {
    for (auto& reader : Backends()) {
      SCOPED_TRACE(std::string("read by ") + reader.name);
      SettingsFiles settings(folder, reader.access, files_, registry_);
      auto read = std::make_unique<SettingsRecord>();
      ClearRecord(*read);
      ASSERT_EQ(settings.ReadAll(*read), 1);
      ExpectSameRecord(expected, *read);
    }
  }

  // Each side saves the records in turn into its own program folder; the last one must read back whole
  // through either side, and both sides must leave the same six files.
  void ExpectSameFilesFromBothSides(std::initializer_list<const SettingsRecord*> records) {
    std::vector<std::vector<std::string>> written;
    for (auto& writer : Backends()) {
      SCOPED_TRACE(std::string("written by ") + writer.name);
      const std::string folder = ProgramFolder(writer.name);
      SettingsFiles settings(folder, writer.access, files_, registry_);
      for (const SettingsRecord* record : records) ASSERT_EQ(settings.WriteAll(*record), 1);
      written.push_back(SixFiles(folder));
      ExpectReadBack(folder, **(records.end() - 1));
    }
    ASSERT_EQ(written[0].size(), written[1].size());
    for (std::size_t i = 0; i < written[0].size(); ++i) {
      EXPECT_TRUE(written[0][i] == written[1][i]) << "file " << i << " differs (0 is config.ini)";
    }
  }

  ControlPanelBackup controlPanel_;  // WriteAll mirrors the active profile into it
  win32::Win32Registry registry_;
  std::unique_ptr<SettingsRecord> record_ = std::make_unique<SettingsRecord>();
};

TEST_F(SettingsFilesWine, FullRecordComesBackWhicheverSideWroteIt) {
  ExpectSameFilesFromBothSides({record_.get()});
}

TEST_F(SettingsFilesWine, RewritingChangedRecordGivesTheSameFiles) {
  // Over existing files: texts grow and shrink, numbers change, buttons are replaced.
  auto changed = std::make_unique<SettingsRecord>(*record_);
  changed->WindowsProfile = -1;
  changed->MouseType = 0;
  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord& profile = changed->profiles[p];
    CopyBounded(profile.ProFileName, "P" + std::to_string(p));
    CopyBounded(profile.GameFile2, "F:\\New Game " + std::to_string(p) + "\\start.exe");
    profile.Cpi_X = 100 + p;
    profile.BTOption = -p;
    ResetButtonEntry(profile.buttons[p], p);
    profile.buttons[13].eventCount = 0;
  }

  ExpectSameFilesFromBothSides({record_.get(), changed.get()});
}

// Another program holds "config.ini" and one slot file without sharing them while the service starts,
// marks the mouse present and saves what it read from the mouse: both files stay whole, the rest is saved.
TEST_F(SettingsFilesWine, FilesHeldWithoutSharingAreLeftWhole) {
  const std::string folder = ProgramFolder("held");
  const int heldSlot = (kFullRecordCurrentProfile + 1) % kProfileCount;
  const std::string heldSlotPath = folder + "config\\Default" + std::to_string(heldSlot) + ".vmp";
  {
    SettingsFiles user(folder, ini_, files_, registry_);
    ASSERT_EQ(user.WriteAll(*record_), 1);
    ASSERT_EQ(user.RecordExportName(2, "fast aim"), 1);
  }
  const std::vector<std::string> before = SixFiles(folder);

  SettingsFiles settings(folder, ini_, files_, registry_);
  auto read = std::make_unique<SettingsRecord>();
  ClearRecord(*read);
  {
    NoSharingHolder config(folder + "config.ini");
    NoSharingHolder slot(heldSlotPath);
    ASSERT_TRUE(config.holds() && slot.holds());
    settings.ReadAll(*read);
    EXPECT_EQ(settings.WriteDevicePresent(1), 0);
  }
  for (int p = 0; p < kProfileCount; ++p) read->profiles[p].Cpi_X = 3000 + p;  // the mouse's values
  EXPECT_EQ(settings.WriteAll(*read), 0);

  const std::vector<std::string> after = SixFiles(folder);
  EXPECT_TRUE(after[0] == before[0]) << "config.ini changed";
  EXPECT_TRUE(after[1 + heldSlot] == before[1 + heldSlot]) << "the held slot file changed";
  for (int p = 0; p < kProfileCount; ++p) {
    if (p != heldSlot) {
      EXPECT_FALSE(after[1 + p] == before[1 + p]) << "slot " << p << " not saved";
    }
  }
  EXPECT_EQ(settings.WriteDevicePresent(1), 1) << "free again: single keys are written as ever";
  IniFile config(files_, folder + "config.ini");
  EXPECT_EQ(config.ReadString("FileName", "Profile2", ""), "fast aim");
  EXPECT_EQ(config.ReadInt("Setting", "WindowsProfile", -1), record_->WindowsProfile);
  EXPECT_EQ(config.ReadInt("Setting", "Device", -1), 1);
}

}  // namespace
}  // namespace kavo::wine_test
