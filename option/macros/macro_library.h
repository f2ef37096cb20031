#pragma once
// The program-wide macro store as the main window and the macro manager drive it, kept in the sequence
// file of the program folder: the manager edits the store in place, OK saves it, anything else reloads it.
#include <string>
#include <string_view>

#include "option/macros/macro_manager_ports.h"
#include "option/macros/macro_store.h"
#include "option/main_window/main_window_ports.h"
#include "option/macros/sequence_file.h"
#include "settings/private_profile.h"

namespace kavo::option {

class MacroStoreLibrary final : public MacroLibrary, public MacroStorePort {
 public:
  // programFolder ends in a backslash.
  MacroStoreLibrary(MacroStore& store, PrivateProfileAccess& profiles, std::string programFolder);

  std::string Path() const { return folder_ + kSequenceFileName; }

  // Appends the file's sets: the store must be empty, and emptying it is the caller's job (Reload does both).
  void Load() override;
  // The manager's view of the store. It has already refused empty, reserved, duplicate and surplus set
  // names; the store refuses them again.
  int SetCount() const override { return store_.SetCount(); }
  MacroSet* SetAt(int index) override { return store_.Set(index); }
  int FindSet(std::string_view name) const override { return store_.FindSet(name); }
  void AppendSet(std::string_view name) override { store_.AddSet(name); }
  void DeleteSet(int index) override { store_.RemoveSet(index); }
  void MergeFromProfiles(const SettingsRecord& record) override;
  // The failure is only reported here; the previous file then stays whole (the manager has nothing better
  // to offer than that). While the last load could not read the file, the store is not the user's library
  // and nothing is saved over it.
  void Save() override { SaveFile(); }
  bool SaveFile();
  // Drops every edit since the last save: what Cancel in the macro manager does.
  void Reload();
  void Clear() override { store_.Clear(); }

  MacroStore& store() { return store_; }

 private:
  MacroStore& store_;
  SequenceFile file_;
  std::string folder_;
  bool fileUnread_ = false;
};

}  // namespace kavo::option
