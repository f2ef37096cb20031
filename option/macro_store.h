#pragma once
// The configuration program's macro library in memory: named sets of macros in display (and file) order.
// The macro manager edits it in place; button entries that carry macros are merged into it.
#include <string_view>
#include <vector>

#include "option/macro.h"
#include "settings/settings_record.h"

namespace kavo::option {

// Set and macro names are compared without regard to letter case, after trimming white space.
std::string_view TrimmedName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

struct MacroMatch {
  int setIndex = -1;    // -1: no set of that name
  int macroIndex = -1;  // -1: no macro of that name in the set
  bool equal = false;   // the found macro holds exactly the given events
};

class MacroStore {
 public:
  int SetCount() const { return static_cast<int>(sets_.size()); }
  // Null when the index is out of range.
  MacroSet* Set(int index);
  const MacroSet* Set(int index) const;
  Macro* MacroAt(int setIndex, int macroIndex);
  const Macro* MacroAt(int setIndex, int macroIndex) const;

  bool SetExists(std::string_view name) const;
  // The first set of that name, its first macro of that name, and whether that macro's events are the
  // first count of events. Names from button entries may carry blanks the store's names lack, so both
  // sides are trimmed.
  MacroMatch FindByNames(std::string_view setName, std::string_view macroName, const MacroEvent* events,
                         int count) const;

  // A copy of the entry's macro, appended to set setIndex, or to a new set named as the entry says when
  // setIndex is -1. False when setIndex names no set.
  bool AddFromButtonEntry(const MacroKeyInfo& entry, int setIndex);
  // Every macro a profile button carries ends up in the store with the button's events; matched by names
  // only, so the later profile and button win for the same names. Buttons without a set name are skipped.
  void MergeFromProfiles(const SettingsRecord& record);
  void Clear() { sets_.clear(); }

  // The macro manager's edits. New sets and macros take the trimmed name; -1 refuses an empty name, a name
  // in use (case-insensitive) or a full store (kMaxMacroSets sets) or set (kMaxMacrosPerSet macros).
  int AddSet(std::string_view name);
  bool RemoveSet(int index);
  // A zero-filled macro: repeat count 0, no events.
  int AddMacro(int setIndex, std::string_view name);
  bool RemoveMacro(int setIndex, int macroIndex);
  // False, keeping the old name, when another macro of the set has that name or the name is empty.
  bool RenameMacro(int setIndex, int macroIndex, std::string_view name);

  // Appends a set as read from the file, name cut to fit and blanks kept; no limits are checked.
  MacroSet& AppendSet(std::string_view name);

 private:
  std::vector<std::unique_ptr<MacroSet>> sets_;
};

}  // namespace kavo::option
