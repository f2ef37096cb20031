#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/ini_text.h"
#include "settings/settings_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/macro_event_printing.h"
#include "tests/support/memory_file_system.h"

namespace kavo {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";

// A record whose every field differs from the defaults and from its neighbours.
std::unique_ptr<SettingsRecord> FilledRecord(int seed) {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  record->CurrentProfile = 2;
  record->WindowsProfile = 4;
  record->QuickHelpLan = 7;
  record->MouseType = 1;
  for (int p = 0; p < kProfileCount; ++p) {
    ProfileRecord& profile = record->profiles[p];
    CopyBounded(profile.ProFileName, "Profile " + std::to_string(p) + " of " + std::to_string(seed));
    CopyBounded(profile.GameFile0, "C:\\Games\\game" + std::to_string(p) + ".exe");
    CopyBounded(profile.GameFile2, "D:\\Other Games\\x.exe");
    std::int32_t* integers = &profile.DbleClickSpeed;
    for (int i = 0; i < 22; ++i) integers[i] = seed * 100 + p * 10 + i - 50;
    profile.AccelerationFlag = 1;
    profile.Acceleration = 12;
    profile.ScrollWheelFlag = 0;
    for (int b = 0; b < kButtonSlotCount; ++b) {
      MacroKeyInfo& entry = profile.buttons[b];
      entry.slot = static_cast<std::uint8_t>(b);
      entry.function = static_cast<std::uint8_t>(seed + p + b);
      CopyBounded(entry.macroSetName, "Set " + std::to_string(b));
      CopyBounded(entry.macroName, "Macro " + std::to_string(p));
      entry.padding[1] = 0x5A;  // padding travels with the entry
      entry.repeatCount = -b;
      entry.eventCount = static_cast<std::uint16_t>((b * 37 + p) % 501);
      for (int e = 0; e < kMaxMacroEvents; ++e) {
        entry.events[e] = MacroEvent{static_cast<std::uint8_t>(e + b), static_cast<std::uint8_t>(1 + e % 2),
                                     static_cast<std::uint16_t>(e * 13 + seed)};
      }
      CopyBounded(entry.programPath, "C:\\Program Files\\tool" + std::to_string(b) + ".exe");
    }
  }
  return record;
}

std::unique_ptr<SettingsRecord> EmptyRecord() {
  auto record = std::make_unique<SettingsRecord>();
  std::memset(record.get(), 0x77, sizeof *record);
  return record;
}

class SettingsFilesTest : public ::testing::Test {
 protected:
  std::string Slot(int i) { return settings.SlotPath(i); }
  std::string Config() { return settings.ConfigPath(); }
  void SetProfileValue(int slot, const char* key, const std::string& value) {
    IniFile file(files, Slot(slot));
    file.WriteString("Setting", key, value);
  }

  test::MemoryFileSystem files;
  test::FakeRegistry registry;
  IniFileAccess access{files};
  SettingsFiles settings{kFolder, access, files, registry};
};

TEST_F(SettingsFilesTest, PathsAreBuiltFromTheProgramFolder) {
  EXPECT_EQ(Config(), "C:\\Kavo\\config.ini");
  EXPECT_EQ(Slot(0), "C:\\Kavo\\config\\Default0.vmp");
  EXPECT_EQ(Slot(4), "C:\\Kavo\\config\\Default4.vmp");
}

TEST_F(SettingsFilesTest, WriteAllThenReadAllReproducesTheRecordByteForByte) {
  auto written = FilledRecord(3);
  ASSERT_EQ(settings.WriteAll(*written), 1);
  auto read = EmptyRecord();
  ClearChangeFlags(*read);
  read->MouseType = 0;
  ASSERT_EQ(settings.ReadAll(*read), 1);
  EXPECT_EQ(read->CurrentProfile, 2);
  EXPECT_EQ(read->WindowsProfile, 4);
  EXPECT_EQ(read->QuickHelpLan, 7);
  EXPECT_EQ(read->MouseType, 1);
  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(std::memcmp(&read->profiles[p], &written->profiles[p], sizeof(ProfileRecord)), 0) << "profile " << p;
  }
}

TEST_F(SettingsFilesTest, ProfileFileKeysComeInTheirOrder) {
  auto record = FilledRecord(1);
  settings.WriteProfile(record->profiles[0], Slot(0));
  const IniText text = IniText::Parse(files.files[Slot(0)]);
  ASSERT_EQ(text.sections().size(), 2u);
  const auto& lines = text.sections()[1].lines;
  ASSERT_EQ(lines.size(), 4u + 22u + 14u);
  EXPECT_EQ(text.sections()[1].name, "Setting");
  const char* expected[] = {"ProFileName", "GameFile0", "GameFile1", "GameFile2", "DbleClickSpeed",
                            "ScrollWheelSpeed", "ScrollWheelFlag", "MouseSpeed", "Acceleration", "AccelerationFlag",
                            "TiltSpeed", "MediaOption", "HDDKeyboard", "Orientation", "XYSynchronous",
                            "Sensitivity_X", "Sensitivity_Y", "Cpi_X", "Cpi_Y", "XYCpiFlag", "PollingRate",
                            "LiftSwitch", "LiftLevel", "LightSwitch", "LightType", "BTOption"};
  for (std::size_t i = 0; i < 26; ++i) EXPECT_EQ(lines[i].key, expected[i]);
  for (int b = 0; b < kButtonSlotCount; ++b) {
    EXPECT_EQ(lines[26 + b].key, "MacroKeyInfo" + std::to_string(b));
    EXPECT_EQ(lines[26 + b].value->size(), 4746u);
  }
  EXPECT_EQ(*lines[1].value, "C:\\Games\\game0.exe");
}

TEST_F(SettingsFilesTest, MissingFilesGiveDefaultsAndMinusOne) {
  auto record = EmptyRecord();
  ClearChangeFlags(*record);
  ASSERT_EQ(settings.ReadAll(*record), 1);
  EXPECT_EQ(record->CurrentProfile, -1);
  EXPECT_EQ(record->WindowsProfile, -1);
  EXPECT_EQ(record->QuickHelpLan, -1);
  EXPECT_EQ(record->MouseType, -1);
  auto defaults = EmptyRecord();
  ResetToDefaults(*defaults, 1);
  EXPECT_EQ(std::memcmp(record->profiles, defaults->profiles, sizeof defaults->profiles), 0);
  EXPECT_TRUE(registry.keys.empty()) << "no current profile: the registry is not consulted";
}

TEST_F(SettingsFilesTest, AMissingSlotFileIsSavedWithDefaultsButAnUnreadableOneOnlyOnceItWasRead) {
  auto users = FilledRecord(1);
  ASSERT_EQ(settings.WriteAll(*users), 1);
  files.files.erase(Slot(1));
  // Not the active slot 2, whose Windows fields the registry fills.
  const std::string held = files.files[Slot(3)];
  files.FailReadsOf(Slot(3));

  auto record = EmptyRecord();
  settings.ReadAll(*record);
  ProfileRecord defaults;
  for (int slot : {1, 3}) {
    ResetProfile(defaults, slot);
    EXPECT_EQ(std::memcmp(&record->profiles[slot], &defaults, sizeof defaults), 0) << "slot " << slot;
  }
  files.StopFailingReadsOf(Slot(3));
  record->profiles[3].Cpi_Y = 3200;  // the mouse's value: the rest of the slot is still not the user's
  EXPECT_EQ(settings.WriteAll(*record), 0) << "not every file was written";
  EXPECT_EQ(files.files[Slot(3)], held);
  ProfileRecord saved;
  ASSERT_EQ(settings.ReadProfile(saved, Slot(1)), 1);
  ResetProfile(defaults, 1);
  EXPECT_EQ(std::memcmp(&saved, &defaults, sizeof saved), 0) << "a missing file is saved with its defaults";

  // Once a read takes the user's file, it is saved again.
  settings.ReadAll(*record);
  EXPECT_STREQ(record->profiles[3].ProFileName, users->profiles[3].ProFileName);
  record->profiles[3].Cpi_Y = 3200;
  EXPECT_EQ(settings.WriteAll(*record), 1);
  ASSERT_EQ(settings.ReadProfile(saved, Slot(3)), 1);
  EXPECT_EQ(saved.Cpi_Y, 3200);
  EXPECT_STREQ(saved.ProFileName, users->profiles[3].ProFileName);
}

TEST_F(SettingsFilesTest, AProfileLoadedIntoAnUnreadSlotIsSavedThere) {
  auto users = FilledRecord(1);
  settings.WriteAll(*users);
  files.FailReadsOf(Slot(2));
  auto record = EmptyRecord();
  settings.ReadAll(*record);
  files.StopFailingReadsOf(Slot(2));

  auto source = FilledRecord(5);
  settings.WriteProfile(source->profiles[0], "E:\\share\\team.vmp");
  record->CurrentProfile = 2;
  ASSERT_EQ(settings.ImportProfile(*record, "E:\\share\\team.vmp"), 1);
  EXPECT_EQ(settings.WriteAll(*record), 1);
  ProfileRecord saved;
  ASSERT_EQ(settings.ReadProfile(saved, Slot(2)), 1);
  EXPECT_EQ(std::memcmp(&saved, &source->profiles[0], sizeof saved), 0);
}

TEST_F(SettingsFilesTest, APresentFileWithMissingKeysGivesMinusOneAndEmptyText) {
  files.files[Slot(1)] = "[Setting]\r\nMouseSpeed=7\r\n";
  auto record = EmptyRecord();
  settings.ReadAll(*record);
  const ProfileRecord& profile = record->profiles[1];
  EXPECT_STREQ(profile.ProFileName, "");
  EXPECT_EQ(profile.MouseSpeed, 7);
  EXPECT_EQ(profile.DbleClickSpeed, -1);
  EXPECT_EQ(profile.BTOption, -1);
  for (int b = 0; b < kButtonSlotCount; ++b) EXPECT_EQ(profile.buttons[b].function, kDefaultSlotFunctions[b]);
}

TEST_F(SettingsFilesTest, PointerValuesMissingFromTheActiveProfileFileLeaveTheRegistryAlone) {
  IniFile(files, Config()).WriteInt("Setting", "CurrentProfile", 0);
  files.files[Slot(0)] = "[Setting]\r\nProFileName=Sparse\r\n";
  registry.keys["Control Panel\\Desktop"]["WheelScrollChars"] = "bad";  // read as nothing, kept as it is
  auto record = EmptyRecord();
  settings.ReadAll(*record);
  ASSERT_EQ(record->profiles[0].MouseSpeed, -1);
  settings.WriteAll(*record);
  for (const auto& [key, values] : registry.keys) {
    for (const auto& [name, value] : values) EXPECT_NE(value, "-1") << key << "\\" << name;
  }
  EXPECT_EQ(registry.keys["Control Panel\\Mouse"].count("MouseSensitivity"), 0u);
  EXPECT_EQ(registry.keys["Control Panel\\Desktop"]["WheelScrollChars"], "bad");
}

TEST_F(SettingsFilesTest, ButtonEntriesThatCannotBeReadGetTheirSlotDefaults) {
  auto record = FilledRecord(2);
  settings.WriteProfile(record->profiles[0], Slot(0));
  const std::string good = EncodeProfileStruct(&record->profiles[0].buttons[7], sizeof(MacroKeyInfo));
  std::string badChecksum = good;
  badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
  {
    IniFile file(files, Slot(0));
    file.WriteString("Setting", "MacroKeyInfo7", badChecksum);
    file.WriteString("Setting", "MacroKeyInfo8", good.substr(2));
    file.WriteString("Setting", "MacroKeyInfo9", good.substr(0, 690));  // a struct of another size
  }
  // A file without one key (MacroKeyInfo5) still loads everything else.
  IniText text = IniText::Parse(files.files[Slot(0)]);
  std::string withoutFive;
  for (const auto& line : text.sections()[1].lines) {
    if (line.key != "MacroKeyInfo5") withoutFive += line.key + "=" + *line.value + "\r\n";
  }
  files.files[Slot(0)] = "[Setting]\r\n" + withoutFive;

  ProfileRecord profile;
  std::memset(&profile, 0x33, sizeof profile);
  settings.ReadProfile(profile, Slot(0));
  for (int b : {5, 7, 8, 9}) {
    MacroKeyInfo expected;
    ResetButtonEntry(expected, b);
    EXPECT_EQ(std::memcmp(&profile.buttons[b], &expected, sizeof expected), 0) << "slot " << b;
  }
  for (int b : {0, 4, 6, 10, 13}) {
    EXPECT_EQ(std::memcmp(&profile.buttons[b], &record->profiles[0].buttons[b], sizeof(MacroKeyInfo)), 0) << b;
  }
  EXPECT_STREQ(profile.ProFileName, record->profiles[0].ProFileName);
  EXPECT_EQ(profile.BTOption, record->profiles[0].BTOption);
}

TEST_F(SettingsFilesTest, HostileContentIsCutAndMadeSafe) {
  MacroKeyInfo hostile;
  std::memset(&hostile, 'Z', sizeof hostile);
  hostile.eventCount = 60000;
  {
    IniFile file(files, Slot(3));
    file.WriteString("Setting", "ProFileName", std::string(600, 'n'));
    file.WriteString("Setting", "GameFile1", std::string(1500, 'g'));
    file.WriteStruct("Setting", "MacroKeyInfo2", &hostile, sizeof hostile);
  }
  ProfileRecord profile;
  settings.ReadProfile(profile, Slot(3));
  EXPECT_EQ(std::strlen(profile.ProFileName), 249u);
  EXPECT_EQ(std::strlen(profile.GameFile1), 499u);
  EXPECT_EQ(profile.buttons[2].eventCount, kMaxMacroEvents);
  EXPECT_EQ(std::strlen(profile.buttons[2].macroSetName), 49u);
  EXPECT_EQ(std::strlen(profile.buttons[2].macroName), 49u);
  EXPECT_EQ(std::strlen(profile.buttons[2].programPath), 261u);
}

// A macro entry as another process or a file may hand it over: the two ways in (the shared block and a
// profile file) bound it alike.
TEST_F(SettingsFilesTest, MacroEntriesFromOutsideAreBoundedOnBothWaysIn) {
  constexpr std::uint8_t kA = 4, kB = 5;
  struct Case {
    const char* name;
    std::int32_t repeatCount;
    std::uint16_t eventCount;
    std::vector<MacroEvent> events;
    std::int32_t boundedRepeatCount;
    std::vector<MacroEvent> played;  // what the entry holds afterwards, in order
  };
  const std::vector<MacroEvent> tap = {{kA, 1, 20}, {kA, 2, 30}};
  const Case cases[] = {
      {"a sound macro stays as it is", 3, 2, tap, 3, tap},
      {"action 7 is dropped, the later events move up", 1, 3, {{kA, 1, 20}, {kB, 7, 400}, {kA, 2, 30}}, 1, tap},
      {"action 0 is dropped", 1, 3, {{kB, 0, 5}, {kA, 1, 20}, {kA, 2, 30}}, 1, tap},
      {"action 255 is dropped", 1, 3, {{kA, 1, 20}, {kA, 2, 30}, {kB, 255, 5}}, 1, tap},
      {"nothing playable leaves no event", 1, 2, {{kA, 3, 20}, {kA, 0, 30}}, 1, {}},
      {"a repeat count near 2^31 is cut to 255", 2147483647, 2, tap, 255, tap},
      {"a repeat count of 256 is cut to 255", 256, 2, tap, 255, tap},
      {"255 is the most the configuration program offers", 255, 2, tap, 255, tap},
      {"a negative repeat count plays once, as 0 does", -5, 2, tap, 0, tap},
      {"the least repeat count", std::numeric_limits<std::int32_t>::min(), 2, tap, 0, tap},
      {"a repeat count of 0 stays", 0, 2, tap, 0, tap},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MacroKeyInfo entry;
    ResetButtonEntry(entry, 6);
    entry.function = kFunctionMacro;
    entry.repeatCount = c.repeatCount;
    entry.eventCount = c.eventCount;
    for (std::size_t i = 0; i < c.events.size(); ++i) entry.events[i] = c.events[i];
    auto check = [&](const MacroKeyInfo& bounded) {
      EXPECT_EQ(bounded.repeatCount, c.boundedRepeatCount);
      ASSERT_EQ(bounded.eventCount, c.played.size());
      const std::vector<MacroEvent> held(bounded.events, bounded.events + bounded.eventCount);
      EXPECT_EQ(held, c.played);
      for (std::size_t i = c.played.size(); i < c.events.size(); ++i) {
        EXPECT_EQ(bounded.events[i], (MacroEvent{0, 0, 0})) << "a place left by a dropped event is cleared";
      }
    };
    auto record = FilledRecord(1);
    record->profiles[2].buttons[6] = entry;
    SanitizeRecord(*record);
    check(record->profiles[2].buttons[6]);
    EXPECT_FALSE(SanitizeRecord(*record)) << "a bounded entry stays as it is";
    IniFile(files, Slot(4)).WriteStruct("Setting", "MacroKeyInfo6", &entry, sizeof entry);
    ProfileRecord fromFile;
    settings.ReadProfile(fromFile, Slot(4));
    check(fromFile.buttons[6]);
  }
}

TEST_F(SettingsFilesTest, EventCountsBeyondTheEventArrayAreCutBeforeEventsAreDropped) {
  for (std::uint16_t count : {std::uint16_t{501}, std::uint16_t{0xFFFF}}) {  // 0xFFFF: -1 as the block's 16 bits
    SCOPED_TRACE(count);
    MacroKeyInfo entry;
    ResetButtonEntry(entry, 2);
    entry.function = kFunctionMacro;
    entry.repeatCount = 1;
    for (auto& event : entry.events) event = MacroEvent{4, 1, 1};
    entry.events[kMaxMacroEvents - 1].action = 9;
    entry.eventCount = count;
    IniFile(files, Slot(1)).WriteStruct("Setting", "MacroKeyInfo2", &entry, sizeof entry);
    ProfileRecord profile;
    settings.ReadProfile(profile, Slot(1));
    EXPECT_EQ(profile.buttons[2].eventCount, kMaxMacroEvents - 1);
    EXPECT_EQ(profile.buttons[2].events[kMaxMacroEvents - 2], (MacroEvent{4, 1, 1}));
  }
}

TEST_F(SettingsFilesTest, OnlyMacroEntriesHaveTheirEventsAndRepeatCountBounded) {
  // A shortcut keeps its modifier mask where a macro has its first action: Ctrl is 0x04.
  MacroKeyInfo shortcut;
  ResetButtonEntry(shortcut, 1);
  shortcut.function = kFunctionKeyShortcut;
  shortcut.eventCount = 1;
  shortcut.events[0] = MacroEvent{4, kShortcutCtrl, 0};
  shortcut.repeatCount = 1000;
  IniFile(files, Slot(0)).WriteStruct("Setting", "MacroKeyInfo1", &shortcut, sizeof shortcut);
  ProfileRecord profile;
  settings.ReadProfile(profile, Slot(0));
  EXPECT_EQ(std::memcmp(&profile.buttons[1], &shortcut, sizeof shortcut), 0);
}

TEST_F(SettingsFilesTest, AFailedWriteIsReportedAndLeavesTheFilesAsTheyWere) {
  auto first = FilledRecord(1);
  ASSERT_EQ(settings.WriteAll(*first), 1);
  const auto before = files.files;
  files.FailWritesTo(Slot(2));
  auto second = FilledRecord(2);
  EXPECT_EQ(settings.WriteAll(*second), 0);
  EXPECT_EQ(files.files[Slot(2)], before.at(Slot(2)));
  EXPECT_NE(files.files[Slot(3)], before.at(Slot(3))) << "the other files are still written";
}

TEST_F(SettingsFilesTest, RegistryWinsForTheWindowsFieldsOfTheActiveProfileOnly) {
  auto record = FilledRecord(1);
  settings.WriteAll(*record);
  registry.keys["Control Panel\\Mouse"]["DoubleClickSpeed"] = "321";
  registry.keys["Control Panel\\Desktop"]["WheelScrollChars"] = "9";
  auto read = EmptyRecord();
  settings.ReadAll(*read);
  EXPECT_EQ(read->profiles[2].DbleClickSpeed, 321);
  EXPECT_EQ(read->profiles[2].TiltSpeed, 9);
  EXPECT_EQ(read->profiles[1].DbleClickSpeed, record->profiles[1].DbleClickSpeed);
}

TEST_F(SettingsFilesTest, OSDSettingRoundTripsAndABadOneLeavesTheRecordAlone) {
  OSDSetting osd;
  ResetOSDSetting(osd);
  osd.switches[7] = 0x12345;
  CopyBounded(osd.mailServer, "pop.example.org");
  ASSERT_EQ(settings.WriteOSDSetting(osd), 1);
  EXPECT_NE(files.files[Config()].find("[OSDSetting]\r\nconfig="), std::string::npos);
  OSDSetting back;
  std::memset(&back, 0, sizeof back);
  ASSERT_EQ(settings.ReadOSDSetting(back), 1);
  EXPECT_EQ(std::memcmp(&back, &osd, sizeof osd), 0);

  IniFile(files, Config()).WriteString("OSDSetting", "config", "00");
  OSDSetting untouched;
  std::memset(&untouched, 0x42, sizeof untouched);
  EXPECT_EQ(settings.ReadOSDSetting(untouched), 0);
  EXPECT_EQ(untouched.mailPort, 0x42424242);
}

TEST_F(SettingsFilesTest, FirmwareVersionDefaultsTo100) {
  EXPECT_EQ(settings.ReadFirmwareVersion(), 100);
  IniFile(files, Config()).WriteInt("Setting", "FWVersion", 141);
  EXPECT_EQ(settings.ReadFirmwareVersion(), 141);
}

TEST_F(SettingsFilesTest, ServiceKeysLandInTheirSectionsAndKeepTheRestOfTheFile) {
  IniFile(files, Config()).WriteInt("Setting", "CurrentProfile", 3);
  struct Case {
    const char* section;
    const char* key;
    std::function<int()> write;
    const char* stored;
  };
  const Case cases[] = {
      {"Setting", "FWVersion", [&] { return settings.WriteFirmwareVersion(141); }, "141"},
      {"Setting", "FWVersion", [&] { return settings.WriteFirmwareVersion(0); }, "0"},
      {"Setting", "Device", [&] { return settings.WriteDevicePresent(1); }, "1"},
      {"Setting", "Device", [&] { return settings.WriteDevicePresent(0); }, "0"},
      {"OSDData", "Message", [&] { return settings.WriteNoticeText("Low Battery"); }, "Low Battery"},
      {"Setting", "CurrentProfile", [&] { return settings.WriteCurrentProfile(3); }, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
    EXPECT_EQ(c.write(), 1);
    IniFile config(files, Config());
    EXPECT_EQ(config.ReadString(c.section, c.key, "?"), c.stored);
    EXPECT_EQ(config.ReadInt("Setting", "CurrentProfile", -1), 3);
  }
  EXPECT_EQ(settings.ReadFirmwareVersion(), 0) << "a failed firmware read is kept as 0";
}

TEST_F(SettingsFilesTest, ExportWritesExactlyTheActiveProfileAndRecordsItsName) {
  auto record = FilledRecord(4);
  const std::string target = "D:\\My Profiles\\fast aim.vmp";
  files.files[target] = "[Setting]\r\nStale=1\r\n[Extra]\r\nx=1\r\n";
  ASSERT_EQ(settings.ExportProfile(*record, target), 1);
  const std::string& exported = files.files[target];
  EXPECT_EQ(exported.find("Stale"), std::string::npos) << "keys the new content lacks are gone";
  EXPECT_EQ(exported.find("[Extra]"), std::string::npos);
  EXPECT_EQ(files.files["C:\\Kavo\\config\\fast aim.vmp"], exported);
  IniFile config(files, Config());
  EXPECT_EQ(config.ReadString("FileName", "Profile3", ""), "fast aim");

  ProfileRecord back;
  settings.ReadProfile(back, target);
  EXPECT_EQ(std::memcmp(&back, &record->profiles[2], sizeof back), 0);
}

TEST_F(SettingsFilesTest, ImportLoadsIntoTheActiveProfileAndMarksItsButtons) {
  auto source = FilledRecord(5);
  settings.WriteProfile(source->profiles[0], "E:\\share\\team.cfg.vmp");
  auto record = FilledRecord(1);
  ClearChangeFlags(*record);
  record->CurrentProfile = 3;
  ASSERT_EQ(settings.ImportProfile(*record, "E:\\share\\team.cfg.vmp"), 1);
  EXPECT_EQ(std::memcmp(&record->profiles[3], &source->profiles[0], sizeof(ProfileRecord)), 0);
  for (int b = 0; b < kButtonSlotCount; ++b) EXPECT_EQ(record->ButtonChanged[3][b], 1);
  EXPECT_EQ(record->ButtonChanged[2][0], 0);
  EXPECT_EQ(files.files["C:\\Kavo\\team.cfg.vmp"], files.files["E:\\share\\team.cfg.vmp"]);
}

TEST_F(SettingsFilesTest, ImportAndExportChangeNothingWithoutSourceOrActiveProfile) {
  auto record = FilledRecord(1);
  auto before = FilledRecord(1);
  EXPECT_EQ(settings.ImportProfile(*record, "E:\\missing.vmp"), 0);
  settings.WriteProfile(FilledRecord(6)->profiles[0], "E:\\held.vmp");
  files.FailReadsOf("E:\\held.vmp");
  EXPECT_EQ(settings.ImportProfile(*record, "E:\\held.vmp"), 0);
  record->CurrentProfile = -1;
  before->CurrentProfile = -1;
  settings.WriteProfile(record->profiles[0], "E:\\present.vmp");
  const auto filesBefore = files.files;
  EXPECT_EQ(settings.ImportProfile(*record, "E:\\present.vmp"), 0);
  EXPECT_EQ(settings.ExportProfile(*record, "E:\\out.vmp"), 0);
  EXPECT_EQ(std::memcmp(record.get(), before.get(), sizeof *record), 0);
  EXPECT_EQ(files.files, filesBefore);
}

TEST_F(SettingsFilesTest, ImportNeverLoadsAStaleCopyWhenCopyingFails) {
  auto older = FilledRecord(1);
  auto newer = FilledRecord(2);
  settings.WriteProfile(older->profiles[0], "C:\\Kavo\\mine.vmp");  // left by an earlier import
  settings.WriteProfile(newer->profiles[0], "E:\\mine.vmp");
  files.FailWritesTo("C:\\Kavo\\mine.vmp");
  auto record = FilledRecord(3);
  ASSERT_EQ(settings.ImportProfile(*record, "E:\\mine.vmp"), 1);
  EXPECT_EQ(std::memcmp(&record->profiles[2], &newer->profiles[0], sizeof(ProfileRecord)), 0);
}

}  // namespace
}  // namespace kavo
