#include "option/assign/button_assign_labels.h"

#include "option/assign/button_assign_catalogue.h"
#include "settings/bounded_text.h"
#include "settings/key_tables.h"

namespace kavo::option {

std::string ShortcutText(KeyboardLayout& layout, std::uint8_t keyCode, std::uint8_t mask) {
  std::string text;
  if ((mask & kShortcutNone) == 0) {
    if (mask & kShortcutCtrl) text += "Ctrl+";
    if (mask & kShortcutShift) text += "Shift+";
    if (mask & kShortcutAlt) text += "Alt+";
    if (mask & kShortcutWin) text += "Win+";
  }
  return text + DeviceKeyName(layout, keyCode);
}

std::string ProgramFileName(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string SlotLabel(KeyboardLayout& layout, const MacroKeyInfo& entry) {
  switch (entry.function) {
    case kFunctionKeyShortcut: {
      if (entry.eventCount == 0) return {};
      // The first event's two bytes hold the key and the mask, not a key and an action.
      return ShortcutText(layout, entry.events[0].key, entry.events[0].action);
    }
    case kFunctionQuicklaunch:
      return ProgramFileName(FieldText(entry.programPath));
    case kFunctionMacro:
      return FieldText(entry.macroName);
    default:
      return std::string(FixedLabel(entry.function));
  }
}

std::string SlotTooltip(const MacroKeyInfo& entry) {
  return entry.function == kFunctionQuicklaunch ? FieldText(entry.programPath) : std::string();
}

bool SlotActive(int slot, const MacroKeyInfo& entry) {
  return slot >= 2 && entry.function != kFunctionNone;
}

}  // namespace kavo::option
