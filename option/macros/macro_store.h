#pragma once
// The configuration program's macro library in memory: named sets of macros in display (and file) order.
// The macro manager edits it in place; button entries that carry macros are merged into it.
#include <string_view>
#include <vector>

#include "option/macros/macro.h"
#include "settings/settings_record.h"

namespace kavo::option {

// The sequence file lists the sets in a section of this name beside one section per set named after it;
// a set of this name would write its section over the list.
constexpr char kSetListSection[] = "SetMacro";

// The sets the program ships with; menus set them apart from the user's own.
constexpr std::string_view kPresetWarcraftSet = "World of Warcraft";
constexpr std::string_view kPresetXfireSet = "Xfire";

// Set and macro names are compared without regard to letter case (ASCII only, whatever the locale), after
// trimming white space.
std::string_view TrimmedName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);
// Whether text starts with prefix without regard to case, nothing trimmed: the name lists' typed search.
bool NameStartsWith(std::string_view text, std::string_view prefix);
// A name a new set may take once trimmed: not blank and not the list section's name.
bool UsableSetName(std::string_view name);
// Whether a set menu puts a separator after the set at index of count: always after World of Warcraft,
// after Xfire unless it is the last.
bool SeparatorAfterSet(std::string_view name, int index, int count);

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

  // Index of the first set of that name; -1 when none.
  int FindSet(std::string_view name) const;
  bool SetExists(std::string_view name) const { return FindSet(name) >= 0; }
  // The first set of that name, its first macro of that name, and whether that macro's events are the
  // first count of events. Names from button entries may carry blanks the store's names lack, so both
  // sides are trimmed.
  MacroMatch FindByNames(std::string_view setName, std::string_view macroName, const MacroEvent* events,
                         int count) const;

  // A copy of the entry's macro, appended to set setIndex, or to a new set named as the entry says when
  // setIndex is -1. False when setIndex names no set, or a new set would take a name no set may have.
  bool AddFromButtonEntry(const MacroKeyInfo& entry, int setIndex);
  // Every macro a profile button carries ends up in the store with the button's events; matched by names
  // only, so the later profile and button win for the same names. Buttons without a set name, or with the
  // list section's name, are skipped.
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
