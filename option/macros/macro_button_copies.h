#pragma once
// The copies of library macros that profile buttons carry (the service plays a button's own copy). When
// the macro manager's OK has changed a macro, every button carrying it by set and macro name takes the
// new version, so an Apply writes it and the next merge from the profiles finds the two equal.
#include <string>
#include <vector>

#include "option/macros/macro_manager_ports.h"
#include "settings/settings_record.h"

namespace kavo::option {

// The library's macros as they were when the manager opened.
struct MacroLibraryCopy {
  struct Entry {
    std::string setName;
    Macro macro;
  };
  std::vector<Entry> entries;
};

MacroLibraryCopy CopyMacroLibrary(MacroStorePort& store);

// What a button plays of a macro: its events (every slot, like the library's record) and repeat count.
void CopyMacroPlayback(MacroKeyInfo& entry, const Macro& macro);

// Every button in every profile that carries a macro of the store that differs from its copy in before
// (or has none there) takes that macro's playback and is flagged in ButtonChanged. Buttons already equal
// to the macro, and buttons of macros the manager did not change, are left alone.
void CarryChangedMacrosToButtons(const MacroLibraryCopy& before, MacroStorePort& store, SettingsRecord& record);

}  // namespace kavo::option
