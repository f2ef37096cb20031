#include "settings/settings_files.h"

#include <cstdio>
#include <cstring>

#include "settings/bounded_text.h"
#include "settings/windows_settings.h"

namespace kavo {
namespace {

constexpr char kSetting[] = "Setting";

struct IntegerKey {
  const char* name;
  std::int32_t ProfileRecord::*field;
};

// The integer keys of a profile file, in the order they are written.
constexpr IntegerKey kProfileIntegers[] = {
    {"DbleClickSpeed", &ProfileRecord::DbleClickSpeed}, {"ScrollWheelSpeed", &ProfileRecord::ScrollWheelSpeed},
    {"ScrollWheelFlag", &ProfileRecord::ScrollWheelFlag}, {"MouseSpeed", &ProfileRecord::MouseSpeed},
    {"Acceleration", &ProfileRecord::Acceleration}, {"AccelerationFlag", &ProfileRecord::AccelerationFlag},
    {"TiltSpeed", &ProfileRecord::TiltSpeed}, {"MediaOption", &ProfileRecord::MediaOption},
    {"HDDKeyboard", &ProfileRecord::HDDKeyboard}, {"Orientation", &ProfileRecord::Orientation},
    {"XYSynchronous", &ProfileRecord::XYSynchronous}, {"Sensitivity_X", &ProfileRecord::Sensitivity_X},
    {"Sensitivity_Y", &ProfileRecord::Sensitivity_Y}, {"Cpi_X", &ProfileRecord::Cpi_X},
    {"Cpi_Y", &ProfileRecord::Cpi_Y}, {"XYCpiFlag", &ProfileRecord::XYCpiFlag},
    {"PollingRate", &ProfileRecord::PollingRate}, {"LiftSwitch", &ProfileRecord::LiftSwitch},
    {"LiftLevel", &ProfileRecord::LiftLevel}, {"LightSwitch", &ProfileRecord::LightSwitch},
    {"LightType", &ProfileRecord::LightType}, {"BTOption", &ProfileRecord::BTOption},
};
static_assert(sizeof kProfileIntegers / sizeof kProfileIntegers[0] == 22);

// The text keys, in order; each with its field.
template <typename Profile, typename Visit>
void ForEachProfileText(Profile& profile, Visit visit) {
  visit("ProFileName", profile.ProFileName);
  visit("GameFile0", profile.GameFile0);
  visit("GameFile1", profile.GameFile1);
  visit("GameFile2", profile.GameFile2);
}

std::string ButtonKey(int slot) { return "MacroKeyInfo" + std::to_string(slot); }

// The keys of "config.ini" that hold the record's own integers.
struct ConfigKey {
  const char* name;
  std::int32_t SettingsRecord::*field;
};
constexpr ConfigKey kConfigIntegers[] = {
    {"CurrentProfile", &SettingsRecord::CurrentProfile},
    {"WindowsProfile", &SettingsRecord::WindowsProfile},
    {"QuickHelpLan", &SettingsRecord::QuickHelpLan},
    {"MouseType", &SettingsRecord::MouseType},
};

}  // namespace

SettingsFiles::SettingsFiles(std::string programFolder, PrivateProfileAccess& profiles, FileSystem& files,
                             Registry& registry)
    : folder_(std::move(programFolder)), profiles_(profiles), files_(files), registry_(registry) {}

std::string SettingsFiles::ConfigPath() const { return folder_ + "config.ini"; }

std::string SettingsFiles::SlotPath(int slotIndex) const {
  return folder_ + "config\\Default" + std::to_string(slotIndex) + ".vmp";
}

int SettingsFiles::ReadAll(SettingsRecord& record) {
  {
    auto config = profiles_.Open(ConfigPath());
    for (const auto& key : kConfigIntegers) record.*key.field = config->ReadInt(kSetting, key.name, -1);
    heldBack_.configIntegers = config->Found() == FileRead::kUnreadable;
  }
  for (int slot = 0; slot < kProfileCount; ++slot) {
    const FileRead found = LoadProfile(record.profiles[slot], SlotPath(slot));
    if (!found) ResetProfile(record.profiles[slot], slot);
    heldBack_.slots[slot] = found == FileRead::kUnreadable;
  }
  // The registry wins for the Windows-wide fields of the active profile.
  if (IsProfileIndex(record.CurrentProfile)) ReadWindowsSettings(registry_, record.profiles[record.CurrentProfile]);
  return 1;
}

int SettingsFiles::WriteAll(const SettingsRecord& record) {
  if (IsProfileIndex(record.CurrentProfile)) WriteWindowsSettings(registry_, record.profiles[record.CurrentProfile]);
  bool written = !heldBack_.configIntegers;
  if (written) {
    auto config = profiles_.Open(ConfigPath());
    for (const auto& key : kConfigIntegers) config->WriteInt(kSetting, key.name, record.*key.field);
    written = config->Commit();
  }
  for (int slot = 0; slot < kProfileCount; ++slot) {
    if (heldBack_.slots[slot]) {
      written = false;
      continue;
    }
    written = WriteProfile(record.profiles[slot], SlotPath(slot)) == 1 && written;
  }
  return written ? 1 : 0;
}

int SettingsFiles::ReadProfile(ProfileRecord& profile, const std::string& path) {
  return LoadProfile(profile, path) ? 1 : 0;
}

FileRead SettingsFiles::LoadProfile(ProfileRecord& profile, const std::string& path) {
  auto file = profiles_.Open(path);
  const FileRead found = file->Found();
  if (!found) return found;
  ForEachProfileText(profile, [&](const char* key, auto& field) { CopyBounded(field, file->ReadString(kSetting, key, "")); });
  std::memset(profile.padding, 0, sizeof profile.padding);  // not stored; every byte of the profile is defined
  for (const auto& key : kProfileIntegers) profile.*key.field = file->ReadInt(kSetting, key.name, -1);
  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    MacroKeyInfo entry;
    if (file->ReadStruct(kSetting, ButtonKey(slot), &entry, sizeof entry)) {
      SanitizeButtonEntry(entry);
      profile.buttons[slot] = entry;
    } else {
      ResetButtonEntry(profile.buttons[slot], slot);
    }
  }
  return found;
}

int SettingsFiles::WriteProfileTo(PrivateProfileFile& file, const ProfileRecord& profile) {
  ForEachProfileText(profile, [&](const char* key, const auto& field) { file.WriteString(kSetting, key, FieldText(field)); });
  for (const auto& key : kProfileIntegers) file.WriteInt(kSetting, key.name, profile.*key.field);
  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    file.WriteStruct(kSetting, ButtonKey(slot), &profile.buttons[slot], sizeof profile.buttons[slot]);
  }
  return file.Commit() ? 1 : 0;
}

int SettingsFiles::WriteProfile(const ProfileRecord& profile, const std::string& path) {
  auto file = profiles_.Open(path);
  return WriteProfileTo(*file, profile);
}

int SettingsFiles::ReadOSDSetting(OSDSetting& osd) {
  auto config = profiles_.Open(ConfigPath());
  heldBack_.osd = config->Found() == FileRead::kUnreadable;
  OSDSetting stored;
  if (!config->ReadStruct("OSDSetting", "config", &stored, sizeof stored)) return 0;
  TerminateField(stored.mailServer);
  TerminateField(stored.mailUser);
  TerminateField(stored.mailPassword);
  osd = stored;
  return 1;
}

int SettingsFiles::WriteOSDSetting(const OSDSetting& osd) {
  if (heldBack_.osd) return 0;
  auto config = profiles_.Open(ConfigPath());
  config->WriteStruct("OSDSetting", "config", &osd, sizeof osd);
  return config->Commit() ? 1 : 0;
}

int SettingsFiles::ReadFirmwareVersion() { return profiles_.Open(ConfigPath())->ReadInt(kSetting, "FWVersion", 100); }

int SettingsFiles::WriteConfigString(const char* section, const char* key, const std::string& value) {
  auto config = profiles_.Open(ConfigPath());
  config->WriteString(section, key, value);
  return config->Commit() ? 1 : 0;
}

int SettingsFiles::WriteFirmwareVersion(int version) {
  return WriteConfigString(kSetting, "FWVersion", std::to_string(version));
}

int SettingsFiles::WriteDevicePresent(int present) { return WriteConfigString(kSetting, "Device", std::to_string(present)); }

int SettingsFiles::WriteNoticeText(const std::string& text) { return WriteConfigString("OSDData", "Message", text); }

int SettingsFiles::WriteCurrentProfile(int profileIndex) {
  return WriteConfigString(kSetting, "CurrentProfile", std::to_string(profileIndex));
}

int SettingsFiles::WriteWindowsSettingsOf(const ProfileRecord& profile) { return WriteWindowsSettings(registry_, profile); }

int SettingsFiles::RecordExportName(int slotNumber, const std::string& baseName) {
  return WriteConfigString("FileName", ("Profile" + std::to_string(slotNumber)).c_str(), baseName);
}

int SettingsFiles::ImportProfile(SettingsRecord& record, const std::string& sourcePath) {
  const int active = record.CurrentProfile;
  if (!IsProfileIndex(active)) return 0;
  // Loaded from the source itself: the copy holds the same content when it could be made, and a stale
  // copy left by an earlier import must never be loaded in its place.
  if (!LoadProfile(record.profiles[active], sourcePath)) return 0;
  heldBack_.slots[active] = false;  // the slot now holds a whole profile from a file
  CopyFileContents(files_, sourcePath, folder_ + BaseNameWithoutExtension(sourcePath) + ".vmp");
  for (auto& flag : record.ButtonChanged[active]) flag = 1;
  return 1;
}

int SettingsFiles::ExportProfile(const SettingsRecord& record, const std::string& targetPath) {
  const int active = record.CurrentProfile;
  if (!IsProfileIndex(active)) return 0;
  {
    // The target gets exactly the new content, replaced in one step: never deleted first and lost.
    auto target = profiles_.OpenEmpty(targetPath);
    if (!WriteProfileTo(*target, record.profiles[active])) return 0;
  }
  const std::string baseName = BaseNameWithoutExtension(targetPath);
  RecordExportName(active + 1, baseName);
  CopyFileContents(files_, targetPath, folder_ + "config\\" + baseName + ".vmp");
  return 1;
}

}  // namespace kavo
