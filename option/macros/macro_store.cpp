#include "option/macros/macro_store.h"

#include <algorithm>
#include <cstring>

#include "settings/bounded_text.h"
#include "settings/trimmed_text.h"

namespace kavo::option {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int ClampedEventCount(int count) { return std::clamp(count, 0, kMaxMacroEvents); }

}  // namespace

std::string_view TrimmedName(std::string_view name) { return TrimmedText(name); }

bool SameName(std::string_view a, std::string_view b) {
  a = TrimmedName(a);
  b = TrimmedName(b);
  return a.size() == b.size() && NameStartsWith(a, b);
}

bool NameStartsWith(std::string_view text, std::string_view prefix) {
  return prefix.size() <= text.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

bool UsableSetName(std::string_view name) {
  name = TrimmedName(name);
  return !name.empty() && !SameName(name, kSetListSection);
}

bool SeparatorAfterSet(std::string_view name, int index, int count) {
  return SameName(name, kPresetWarcraftSet) || (SameName(name, kPresetXfireSet) && index + 1 < count);
}

MacroSet* MacroStore::Set(int index) {
  return index >= 0 && index < SetCount() ? sets_[static_cast<std::size_t>(index)].get() : nullptr;
}

const MacroSet* MacroStore::Set(int index) const { return const_cast<MacroStore*>(this)->Set(index); }

Macro* MacroStore::MacroAt(int setIndex, int macroIndex) {
  MacroSet* set = Set(setIndex);
  if (!set || macroIndex < 0 || macroIndex >= static_cast<int>(set->macros.size())) return nullptr;
  return set->macros[static_cast<std::size_t>(macroIndex)].get();
}

const Macro* MacroStore::MacroAt(int setIndex, int macroIndex) const {
  return const_cast<MacroStore*>(this)->MacroAt(setIndex, macroIndex);
}

int MacroStore::FindSet(std::string_view name) const {
  for (int s = 0; s < SetCount(); ++s) {
    if (SameName(sets_[static_cast<std::size_t>(s)]->name, name)) return s;
  }
  return -1;
}

MacroMatch MacroStore::FindByNames(std::string_view setName, std::string_view macroName, const MacroEvent* events,
                                   int count) const {
  MacroMatch match;
  match.setIndex = FindSet(setName);
  if (match.setIndex < 0) return match;
  const MacroSet& set = *sets_[static_cast<std::size_t>(match.setIndex)];
  for (std::size_t m = 0; m < set.macros.size(); ++m) {
    const Macro& macro = *set.macros[m];
    if (!SameName(FieldText(macro.name), macroName)) continue;
    match.macroIndex = static_cast<int>(m);
    // The stored count is always within 0..kMaxMacroEvents, so an equal count bounds the comparison.
    match.equal = macro.eventCount == count &&
                  (count == 0 || std::memcmp(macro.events, events, sizeof(MacroEvent) * static_cast<std::size_t>(count)) == 0);
    break;
  }
  return match;
}

bool MacroStore::AddFromButtonEntry(const MacroKeyInfo& entry, int setIndex) {
  const std::string setName = FieldText(entry.macroSetName);
  if (setIndex == -1 && SameName(setName, kSetListSection)) return false;
  MacroSet* set = setIndex == -1 ? &AppendSet(setName) : Set(setIndex);
  if (!set) return false;
  auto macro = std::make_unique<Macro>();  // value-initialised: all zero
  CopyBounded(macro->name, FieldText(entry.macroName));
  macro->repeatCount = std::clamp(entry.repeatCount, 0, kMaxRepeatCount);
  macro->eventCount = ClampedEventCount(entry.eventCount);
  std::memcpy(macro->events, entry.events, sizeof(MacroEvent) * static_cast<std::size_t>(macro->eventCount));
  set->macros.push_back(std::move(macro));
  return true;
}

void MacroStore::MergeFromProfiles(const SettingsRecord& record) {
  for (const ProfileRecord& profile : record.profiles) {
    for (const MacroKeyInfo& entry : profile.buttons) {
      if (entry.function != kFunctionMacro) continue;
      const std::string setName = FieldText(entry.macroSetName);
      // Neither name can be saved as a set of its own.
      if (TrimmedName(setName).empty() || SameName(setName, kSetListSection)) continue;
      const int count = ClampedEventCount(entry.eventCount);
      const MacroMatch match = FindByNames(setName, FieldText(entry.macroName), entry.events, count);
      if (match.setIndex < 0 || match.macroIndex < 0) {
        AddFromButtonEntry(entry, match.setIndex);
      } else if (!match.equal) {
        // The button's copy is what the service plays, so it is the authority.
        Macro& macro = *sets_[static_cast<std::size_t>(match.setIndex)]->macros[static_cast<std::size_t>(match.macroIndex)];
        std::memcpy(macro.events, entry.events, sizeof macro.events);
        macro.eventCount = count;
        macro.repeatCount = std::clamp(entry.repeatCount, 0, kMaxRepeatCount);
      }
    }
  }
}

int MacroStore::AddSet(std::string_view name) {
  name = TrimmedName(name);
  if (!UsableSetName(name) || SetCount() >= kMaxMacroSets || SetExists(name)) return -1;
  AppendSet(name);
  return SetCount() - 1;
}

bool MacroStore::RemoveSet(int index) {
  if (!Set(index)) return false;
  sets_.erase(sets_.begin() + index);
  return true;
}

int MacroStore::AddMacro(int setIndex, std::string_view name) {
  MacroSet* set = Set(setIndex);
  name = TrimmedName(name);
  if (!set || name.empty() || set->macros.size() >= static_cast<std::size_t>(kMaxMacrosPerSet)) return -1;
  for (const auto& macro : set->macros) {
    if (SameName(FieldText(macro->name), name)) return -1;
  }
  auto macro = std::make_unique<Macro>();  // value-initialised: all zero
  CopyBounded(macro->name, name);
  set->macros.push_back(std::move(macro));
  return static_cast<int>(set->macros.size()) - 1;
}

bool MacroStore::RemoveMacro(int setIndex, int macroIndex) {
  if (!MacroAt(setIndex, macroIndex)) return false;
  auto& macros = sets_[static_cast<std::size_t>(setIndex)]->macros;
  macros.erase(macros.begin() + macroIndex);
  return true;
}

bool MacroStore::RenameMacro(int setIndex, int macroIndex, std::string_view name) {
  Macro* target = MacroAt(setIndex, macroIndex);
  name = TrimmedName(name);
  if (!target || name.empty()) return false;
  for (const auto& macro : sets_[static_cast<std::size_t>(setIndex)]->macros) {
    if (macro.get() != target && SameName(FieldText(macro->name), name)) return false;
  }
  CopyBounded(target->name, name);
  return true;
}

MacroSet& MacroStore::AppendSet(std::string_view name) {
  auto set = std::make_unique<MacroSet>();
  set->name = std::string(name.substr(0, kMacroSetNameBytes - 1));
  sets_.push_back(std::move(set));
  return *sets_.back();
}

}  // namespace kavo::option
