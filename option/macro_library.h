#pragma once
// The program-wide macro store as the main window and the macro manager drive it, kept in the sequence
// file of the program folder.
#include <string>

#include "option/macro_store.h"
#include "option/main_window_ports.h"
#include "option/sequence_file.h"
#include "settings/private_profile.h"

namespace kavo::option {

class MacroStoreLibrary final : public MacroLibrary {
 public:
  // programFolder ends in a backslash.
  MacroStoreLibrary(MacroStore& store, PrivateProfileAccess& profiles, std::string programFolder);

  std::string Path() const { return folder_ + kSequenceFileName; }

  // Appends the file's sets: the store must be empty, and emptying it is the caller's job (Reload does both).
  void Load() override;
  void MergeFromProfiles(const SettingsRecord& record) override;
  // The failure is only reported here; the previous file then stays whole. While the last load could not
  // read the file, the store is not the user's library and nothing is saved over it.
  void Save() override { SaveFile(); }
  bool SaveFile();
  // Drops every edit since the last save: what Cancel in the macro manager does.
  void Reload();
  void Clear() { store_.Clear(); }

  MacroStore& store() { return store_; }

 private:
  MacroStore& store_;
  SequenceFile file_;
  std::string folder_;
  bool fileUnread_ = false;
};

}  // namespace kavo::option
