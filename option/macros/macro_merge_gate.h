#pragma once
// Holds the library's merge from the profiles, and its save, while the macro manager is open: the dialog
// edits the library in place and its Cancel reloads the file, so a fresh record from the service must not
// merge into or save the library under it. The held merge runs once the manager's end has been dealt with.
#include "option/main_window/main_window_ports.h"
#include "option/macros/macro_manager_ports.h"

namespace kavo::option {

class MacroMergeGate final : public MacroLibrary, public MacroManagerSession {
 public:
  explicit MacroMergeGate(MacroLibrary& library) : library_(library) {}

  void Load() override { library_.Load(); }
  void MergeFromProfiles(const SettingsRecord& record) override;
  void Save() override;

  void Opened() override { open_ = true; }
  // Merges working, the record as the closed manager left it, when a merge was held; saves when either was.
  void Closed(const SettingsRecord& working) override;

 private:
  MacroLibrary& library_;
  bool open_ = false;
  bool mergeHeld_ = false;
  bool saveHeld_ = false;
};

}  // namespace kavo::option
