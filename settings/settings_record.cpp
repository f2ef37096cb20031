#include "settings/settings_record.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "settings/bounded_text.h"
#include "settings/language.h"

namespace kavo {

const std::uint8_t kDefaultSlotFunctions[kButtonSlotCount] = {1, 2, 3, 65, 64, 13, 14, 8, 7, 37, 0, 6, 38, 39};

bool IsProfileIndex(int index) { return index >= 0 && index < kProfileCount; }

void ResetButtonEntry(MacroKeyInfo& entry, int slot) {
  std::memset(&entry, 0, sizeof entry);
  entry.slot = static_cast<std::uint8_t>(slot);
  entry.function = kDefaultSlotFunctions[slot];
}

void ResetProfile(ProfileRecord& profile, int slotIndex) {
  std::memset(&profile, 0, sizeof profile);
  CopyBounded(profile.ProFileName, "Default" + std::to_string(slotIndex + 1));
  profile.DbleClickSpeed = 500;
  profile.ScrollWheelSpeed = 3;
  profile.ScrollWheelFlag = 0;
  profile.MouseSpeed = 11;
  profile.Acceleration = 10;
  profile.AccelerationFlag = 0;
  profile.TiltSpeed = 3;
  profile.MediaOption = 0;
  profile.HDDKeyboard = 1;
  profile.Orientation = 0;
  profile.XYSynchronous = 1;
  profile.Sensitivity_X = 5;
  profile.Sensitivity_Y = 5;
  profile.Cpi_X = 2;
  profile.Cpi_Y = 2;
  profile.XYCpiFlag = 1;
  profile.PollingRate = 3;
  profile.LiftSwitch = 0;
  profile.LiftLevel = 1;
  profile.LightSwitch = 1;
  profile.LightType = 1;
  profile.BTOption = 0;
  for (int b = 0; b < kButtonSlotCount; ++b) ResetButtonEntry(profile.buttons[b], b);
}

void ResetToDefaults(SettingsRecord& record, int languageNumber) {
  record.CurrentProfile = 0;
  record.WindowsProfile = -1;
  record.QuickHelpLan = languageNumber;
  for (int p = 0; p < kProfileCount; ++p) ResetProfile(record.profiles[p], p);
}

void ClearRecord(SettingsRecord& record) {
  std::memset(&record, 0, sizeof record);
  record.CurrentProfile = -1;
}

void ResetOSDSetting(OSDSetting& osd) {
  std::memset(&osd, 0, sizeof osd);
  osd.mailPort = 110;
  osd.checkInterval = 5;
}

void ClearChangeFlags(SettingsRecord& record) {
  std::memset(record.ButtonChanged, 0, sizeof record.ButtonChanged);
  std::memset(record.SettingsChanged, 0, sizeof record.SettingsChanged);
  record.CurrentProfileChanged = 0;
}

void MarkEverythingChanged(SettingsRecord& record) {
  std::memset(record.ButtonChanged, 1, sizeof record.ButtonChanged);
  for (auto& flag : record.SettingsChanged) flag = 1;
  record.CurrentProfileChanged = 1;
}

namespace {

// Any other action would be played as a press with no wait after it, so a macro of them floods the system.
bool DropUnplayableEvents(MacroKeyInfo& entry) {
  int kept = 0;
  for (int i = 0; i < entry.eventCount; ++i) {
    const MacroEvent event = entry.events[i];
    if (event.action == kMacroPress || event.action == kMacroRelease) entry.events[kept++] = event;
  }
  if (kept == entry.eventCount) return false;
  std::memset(&entry.events[kept], 0, sizeof(MacroEvent) * static_cast<std::size_t>(entry.eventCount - kept));
  entry.eventCount = static_cast<std::uint16_t>(kept);
  return true;
}

bool BoundRepeatCount(MacroKeyInfo& entry) {
  const std::int32_t bounded = std::clamp<std::int32_t>(entry.repeatCount, 0, kMaxRepeatCount);
  if (bounded == entry.repeatCount) return false;
  entry.repeatCount = bounded;
  return true;
}

}  // namespace

bool SanitizeButtonEntry(MacroKeyInfo& entry) {
  bool changed = false;
  if (entry.eventCount > kMaxMacroEvents) {
    entry.eventCount = kMaxMacroEvents;
    changed = true;
  }
  // Only a macro's event area holds events; a key shortcut keeps its key and modifier mask there.
  if (entry.function == kFunctionMacro) {
    changed |= DropUnplayableEvents(entry);
    changed |= BoundRepeatCount(entry);
  }
  changed |= TerminateField(entry.macroSetName);
  changed |= TerminateField(entry.macroName);
  changed |= TerminateField(entry.programPath);
  return changed;
}

bool SanitizeRecord(SettingsRecord& record) {
  bool changed = false;
  auto keepWithin = [&changed](std::int32_t& value, std::int32_t low, std::int32_t high, std::int32_t fallback) {
    if (value >= low && value <= high) return;
    value = fallback;
    changed = true;
  };
  keepWithin(record.CurrentProfile, -1, kProfileCount - 1, -1);
  keepWithin(record.WindowsProfile, -1, kProfileCount - 1, -1);
  keepWithin(record.QuickHelpLan, kDanish, kTurkish, kEnglish);
  for (auto& profile : record.profiles) {
    changed |= TerminateField(profile.ProFileName);
    changed |= TerminateField(profile.GameFile0);
    changed |= TerminateField(profile.GameFile1);
    changed |= TerminateField(profile.GameFile2);
    keepWithin(profile.MediaOption, 0, 3, 0);
    for (auto& entry : profile.buttons) changed |= SanitizeButtonEntry(entry);
  }
  return changed;
}

}  // namespace kavo
