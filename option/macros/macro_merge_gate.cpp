#include "option/macros/macro_merge_gate.h"

namespace kavo::option {

void MacroMergeGate::MergeFromProfiles(const SettingsRecord& record) {
  if (open_) {
    mergeHeld_ = true;
    return;
  }
  library_.MergeFromProfiles(record);
}

void MacroMergeGate::Save() {
  if (open_) {
    saveHeld_ = true;
    return;
  }
  library_.Save();
}

void MacroMergeGate::Closed(const SettingsRecord& working) {
  open_ = false;
  const bool merge = mergeHeld_;
  const bool save = saveHeld_ || mergeHeld_;
  mergeHeld_ = false;
  saveHeld_ = false;
  if (merge) library_.MergeFromProfiles(working);
  if (save) library_.Save();
}

}  // namespace kavo::option
