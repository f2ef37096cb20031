#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "settings/language.h"
#include "settings/settings_record.h"

namespace kavo {
namespace {

std::unique_ptr<SettingsRecord> NewRecord() {
  auto record = std::make_unique<SettingsRecord>();
  std::memset(record.get(), 0xAB, sizeof *record);  // garbage the operations must overwrite
  return record;
}

TEST(SettingsRecordTest, ResetToDefaultsFillsEveryProfileAndKeepsTypeAndFlags) {
  auto record = NewRecord();
  record->MouseType = 1;
  record->SettingsChanged[2] = 1;
  ResetToDefaults(*record, kGerman);

  EXPECT_EQ(record->CurrentProfile, 0);
  EXPECT_EQ(record->WindowsProfile, -1);
  EXPECT_EQ(record->QuickHelpLan, kGerman);
  EXPECT_EQ(record->MouseType, 1);
  EXPECT_EQ(record->SettingsChanged[2], 1);
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileRecord& profile = record->profiles[p];
    EXPECT_STREQ(profile.ProFileName, ("Default" + std::to_string(p + 1)).c_str());
    EXPECT_EQ(profile.GameFile0[0], '\0');
    EXPECT_EQ(profile.padding[0] | profile.padding[1], 0);
    EXPECT_EQ(profile.DbleClickSpeed, 500);
    EXPECT_EQ(profile.MouseSpeed, 11);
    EXPECT_EQ(profile.Acceleration, 10);
    EXPECT_EQ(profile.AccelerationFlag, 0);
    EXPECT_EQ(profile.Cpi_X, 2);
    EXPECT_EQ(profile.PollingRate, 3);
    EXPECT_EQ(profile.LightType, 1);
    for (int b = 0; b < kButtonSlotCount; ++b) {
      const MacroKeyInfo& entry = profile.buttons[b];
      EXPECT_EQ(entry.slot, b);
      EXPECT_EQ(entry.function, kDefaultSlotFunctions[b]);
      EXPECT_EQ(entry.eventCount, 0);
      EXPECT_EQ(entry.macroName[0], '\0');
      EXPECT_EQ(entry.programPath[0], '\0');
    }
    EXPECT_EQ(profile.buttons[3].function, kFunctionAltlayer);
    EXPECT_EQ(profile.buttons[10].function, kFunctionNone);
  }
  // Every byte of a profile is defined: two resets of different garbage are identical.
  auto other = std::make_unique<SettingsRecord>();
  std::memset(other.get(), 0x11, sizeof *other);
  ResetToDefaults(*other, kGerman);
  EXPECT_EQ(std::memcmp(other->profiles, record->profiles, sizeof record->profiles), 0);
}

TEST(SettingsRecordTest, ClearZeroesEverythingButCurrentProfile) {
  auto record = NewRecord();
  ClearRecord(*record);
  EXPECT_EQ(record->CurrentProfile, -1);
  const auto* bytes = reinterpret_cast<const unsigned char*>(record.get());
  for (std::size_t i = 4; i < sizeof *record; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(SettingsRecordTest, MarkEverythingChangedFillsButtonFlagBytes) {
  auto record = NewRecord();
  ClearChangeFlags(*record);
  for (auto& profile : record->ButtonChanged) {
    for (int flag : profile) EXPECT_EQ(flag, 0);
  }
  MarkEverythingChanged(*record);
  for (auto& profile : record->ButtonChanged) {
    for (int flag : profile) EXPECT_EQ(flag, 0x01010101);
  }
  for (int flag : record->SettingsChanged) EXPECT_EQ(flag, 1);
  EXPECT_EQ(record->CurrentProfileChanged, 1);
}

TEST(SettingsRecordTest, ResetOSDSetting) {
  OSDSetting osd;
  std::memset(&osd, 0x5A, sizeof osd);
  ResetOSDSetting(osd);
  for (int value : osd.switches) EXPECT_EQ(value, 0);
  EXPECT_EQ(osd.mailServer[0], '\0');
  EXPECT_EQ(osd.mailPassword[99], '\0');
  EXPECT_EQ(osd.mailPort, 110);
  EXPECT_EQ(osd.checkInterval, 5);
}

TEST(SettingsRecordTest, SanitizeButtonEntryBoundsWhatCameFromOutside) {
  MacroKeyInfo entry;
  std::memset(&entry, 'x', sizeof entry);
  entry.eventCount = 65535;
  EXPECT_TRUE(SanitizeButtonEntry(entry));
  EXPECT_EQ(entry.eventCount, kMaxMacroEvents);
  EXPECT_EQ(std::strlen(entry.macroSetName), 49u);
  EXPECT_EQ(std::strlen(entry.macroName), 49u);
  EXPECT_EQ(std::strlen(entry.programPath), 261u);

  MacroKeyInfo sound;
  ResetButtonEntry(sound, 4);
  sound.eventCount = kMaxMacroEvents;
  const MacroKeyInfo before = sound;
  EXPECT_FALSE(SanitizeButtonEntry(sound));
  EXPECT_EQ(std::memcmp(&before, &sound, sizeof sound), 0);
}

TEST(SettingsRecordTest, SanitizeRecordBoundsEveryIndexAndField) {
  struct Case {
    const char* name;
    std::function<void(SettingsRecord&)> damage;
    std::function<bool(const SettingsRecord&)> safe;
  };
  const Case cases[] = {
      {"current profile 5", [](SettingsRecord& r) { r.CurrentProfile = 5; },
       [](const SettingsRecord& r) { return r.CurrentProfile == -1; }},
      {"current profile -7", [](SettingsRecord& r) { r.CurrentProfile = -7; },
       [](const SettingsRecord& r) { return r.CurrentProfile == -1; }},
      {"windows profile 99", [](SettingsRecord& r) { r.WindowsProfile = 99; },
       [](const SettingsRecord& r) { return r.WindowsProfile == -1; }},
      {"language 10", [](SettingsRecord& r) { r.QuickHelpLan = 10; },
       [](const SettingsRecord& r) { return r.QuickHelpLan == kEnglish; }},
      {"media player 4", [](SettingsRecord& r) { r.profiles[3].MediaOption = 4; },
       [](const SettingsRecord& r) { return r.profiles[3].MediaOption == 0; }},
      {"unterminated name", [](SettingsRecord& r) { std::memset(r.profiles[0].ProFileName, 'n', 250); },
       [](const SettingsRecord& r) { return std::strlen(r.profiles[0].ProFileName) == 249; }},
      {"unterminated game path", [](SettingsRecord& r) { std::memset(r.profiles[4].GameFile2, 'g', 500); },
       [](const SettingsRecord& r) { return std::strlen(r.profiles[4].GameFile2) == 499; }},
      {"event count 501", [](SettingsRecord& r) { r.profiles[2].buttons[13].eventCount = 501; },
       [](const SettingsRecord& r) { return r.profiles[2].buttons[13].eventCount == kMaxMacroEvents; }},
      {"unterminated program path", [](SettingsRecord& r) { std::memset(r.profiles[1].buttons[0].programPath, 'p', 262); },
       [](const SettingsRecord& r) { return std::strlen(r.profiles[1].buttons[0].programPath) == 261; }},
  };
  for (const auto& c : cases) {
    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    ResetToDefaults(*record, kEnglish);
    c.damage(*record);
    EXPECT_TRUE(SanitizeRecord(*record)) << c.name;
    EXPECT_TRUE(c.safe(*record)) << c.name;
    EXPECT_FALSE(SanitizeRecord(*record)) << c.name << ": a safe record stays as it is";
  }
  auto sound = std::make_unique<SettingsRecord>();
  ClearRecord(*sound);
  ResetToDefaults(*sound, kTurkish);
  sound->CurrentProfile = 4;
  sound->WindowsProfile = 0;
  const auto before = std::make_unique<SettingsRecord>(*sound);
  EXPECT_FALSE(SanitizeRecord(*sound));
  EXPECT_EQ(std::memcmp(sound.get(), before.get(), sizeof *sound), 0);
}

TEST(LanguageNumberTest, SystemLanguageIdentifiers) {
  struct Case {
    int langId;
    int expected;
  };
  const Case cases[] = {
      {1030, kDanish}, {1033, kEnglish}, {2057, kEnglish}, {1035, kFinnish}, {1036, kFrench},
      {2060, kFrench}, {5132, kFrench}, {6156, kEnglish},  // French (Monaco) is not among the variants
      {1031, kGerman}, {5127, kGerman}, {6151, kEnglish}, {1045, kPolish}, {1049, kRussian},
      {2073, kEnglish}, {1034, kSpanish}, {3082, kSpanish}, {20490, kSpanish}, {21514, kEnglish},
      {1053, kSwedish}, {2077, kEnglish}, {1055, kTurkish}, {0, kEnglish}, {1043, kEnglish},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageNumberFromLangId(c.langId), c.expected) << c.langId;
}

}  // namespace
}  // namespace kavo
