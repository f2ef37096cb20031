#include "option/macros/macro_button_copies.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::option {

namespace {

int BoundedCount(std::int32_t count) { return std::clamp(static_cast<int>(count), 0, kMaxMacroEvents); }

bool SamePlayback(const Macro& macro, std::int32_t repeatCount, int eventCount, const MacroEvent* events) {
  const int count = BoundedCount(macro.eventCount);
  return macro.repeatCount == repeatCount && count == eventCount &&
         std::memcmp(macro.events, events, sizeof(MacroEvent) * static_cast<std::size_t>(count)) == 0;
}

bool Unchanged(const MacroLibraryCopy& before, std::string_view setName, const Macro& macro) {
  const std::string name = FieldText(macro.name);
  for (const MacroLibraryCopy::Entry& entry : before.entries) {
    if (!SameName(entry.setName, setName) || !SameName(FieldText(entry.macro.name), name)) continue;
    return SamePlayback(entry.macro, macro.repeatCount, BoundedCount(macro.eventCount), macro.events);
  }
  return false;
}

// The store's macro a button names, or none.
const Macro* FindMacro(MacroStorePort& store, const MacroKeyInfo& entry) {
  const MacroSet* set = store.SetAt(store.FindSet(FieldText(entry.macroSetName)));
  if (!set) return nullptr;
  const std::string name = FieldText(entry.macroName);
  for (const auto& macro : set->macros) {
    if (SameName(FieldText(macro->name), name)) return macro.get();
  }
  return nullptr;
}

}  // namespace

MacroLibraryCopy CopyMacroLibrary(MacroStorePort& store) {
  MacroLibraryCopy copy;
  for (int s = 0; s < store.SetCount(); ++s) {
    const MacroSet* set = store.SetAt(s);
    if (!set) continue;
    for (const auto& macro : set->macros) copy.entries.push_back({set->name, *macro});
  }
  return copy;
}

void CopyMacroPlayback(MacroKeyInfo& entry, const Macro& macro) {
  entry.eventCount = static_cast<std::uint16_t>(BoundedCount(macro.eventCount));
  entry.repeatCount = macro.repeatCount;
  static_assert(sizeof(entry.events) == sizeof(macro.events), "a macro fills a button's event data");
  std::memcpy(entry.events, macro.events, sizeof(entry.events));
}

void CarryChangedMacrosToButtons(const MacroLibraryCopy& before, MacroStorePort& store, SettingsRecord& record) {
  for (int p = 0; p < kProfileCount; ++p) {
    for (int slot = 0; slot < kButtonSlotCount; ++slot) {
      MacroKeyInfo& entry = record.profiles[p].buttons[slot];
      if (entry.function != kFunctionMacro) continue;
      const Macro* macro = FindMacro(store, entry);
      if (!macro || Unchanged(before, FieldText(entry.macroSetName), *macro)) continue;
      if (SamePlayback(*macro, entry.repeatCount, BoundedCount(entry.eventCount), entry.events)) continue;
      CopyMacroPlayback(entry, *macro);
      record.ButtonChanged[p][slot] = 1;
    }
  }
}

}  // namespace kavo::option
