#pragma once
// The settings record on disk: "config.ini" and the five slot files in "config\" of the program folder,
// plus the Windows pointer settings of the active profile in the registry.
//
// A file that is there but cannot be read (another program holds it without sharing, a scan, an I/O
// error) is never saved over. Single keys written on their own ("Device", "FWVersion", "CurrentProfile",
// the notice, export names) are simply not written while their file cannot be read. A part of the record
// that a read could not take from its file (the four integers of "config.ini", the OSD struct, a slot)
// holds defaults in memory, not the user's values, so it is not saved while that read stands: the next
// read of that part that succeeds (or finds the file missing) lifts the hold, and a profile loaded whole
// into a slot lifts that slot's. The service reads once at its start, so such a file stays as it is until
// the service starts again; the configuration program likewise for its session, Apply and OK included.
#include <string>

#include "settings/file_system.h"
#include "settings/private_profile.h"
#include "settings/registry.h"
#include "settings/settings_record.h"

namespace kavo {

class SettingsFiles {
 public:
  // programFolder ends in a backslash.
  SettingsFiles(std::string programFolder, PrivateProfileAccess& profiles, FileSystem& files, Registry& registry);

  std::string ConfigPath() const;
  std::string SlotPath(int slotIndex) const;

  // Always succeeds: missing and unreadable files give the documented defaults. Change flags and
  // OSDSetting untouched.
  int ReadAll(SettingsRecord& record);
  // 1 when every file was written (a part held back is not); the record itself is never changed.
  int WriteAll(const SettingsRecord& record);
  // Strings default to empty and integers to -1; a button entry that cannot be read gets its slot's
  // defaults, and every entry is made safe to use. 0, with the profile unchanged, when the file is missing
  // or cannot be read.
  int ReadProfile(ProfileRecord& profile, const std::string& path);
  int WriteProfile(const ProfileRecord& profile, const std::string& path);

  // Leaves osd as it was when the stored struct is missing or damaged, or "config.ini" cannot be read.
  int ReadOSDSetting(OSDSetting& osd);
  int WriteOSDSetting(const OSDSetting& osd);
  int ReadFirmwareVersion();
  // The keys only the service writes: "FWVersion" and "Device" of section "Setting", and the text of a
  // notice for the on-screen display ("Message" of section "OSDData").
  int WriteFirmwareVersion(int version);
  int WriteDevicePresent(int present);
  int WriteNoticeText(const std::string& text);
  // A profile change made on the mouse: "CurrentProfile" alone, and the profile's Windows pointer values
  // into the registry.
  int WriteCurrentProfile(int profileIndex);
  int WriteWindowsSettingsOf(const ProfileRecord& profile);
  int RecordExportName(int slotNumber, const std::string& baseName);

  // The Load command: loads the file into the active profile, marking all its buttons changed, and copies
  // it into the program folder as <base name>.vmp. 0, with nothing changed, when the source cannot be read
  // or no profile is active.
  int ImportProfile(SettingsRecord& record, const std::string& sourcePath);
  // The Save command: the active profile as the whole content of the target, its name recorded for the
  // slot, and a copy as "config\<base name>.vmp". 0 when no profile is active or the target was not written.
  int ExportProfile(const SettingsRecord& record, const std::string& targetPath);

 private:
  FileRead LoadProfile(ProfileRecord& profile, const std::string& path);
  int WriteProfileTo(PrivateProfileFile& file, const ProfileRecord& profile);
  int WriteConfigString(const char* section, const char* key, const std::string& value);

  // The parts of the record whose last read here found their file unreadable.
  struct HeldBack {
    bool configIntegers = false;
    bool osd = false;
    bool slots[kProfileCount] = {};
  };

  std::string folder_;
  PrivateProfileAccess& profiles_;
  FileSystem& files_;
  Registry& registry_;
  HeldBack heldBack_;
};

}  // namespace kavo
