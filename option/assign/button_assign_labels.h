#pragma once
// What a button slot shows: its label and whether it is drawn with the active or the inactive pictures.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/keyboard_layout.h"
#include "settings/settings_record.h"

namespace kavo::option {

// "Ctrl+Shift+A" and the like: the modifiers in the order Ctrl, Shift, Alt, Win, then the key's name.
std::string ShortcutText(KeyboardLayout& layout, std::uint8_t keyCode, std::uint8_t mask);
// File name and extension of a Windows path: everything after its last backslash, slash or drive colon.
std::string ProgramFileName(std::string_view path);
// The slot's label from its function code and the fields that code uses.
std::string SlotLabel(KeyboardLayout& layout, const MacroKeyInfo& entry);
// What the slot's tooltip shows beside its label: the whole program path of a Quicklaunch slot, whose label
// has only the file name; empty for every other slot.
std::string SlotTooltip(const MacroKeyInfo& entry);
// Slots 0 and 1 (the main buttons) and slots not available (code 0) use the inactive pictures.
bool SlotActive(int slot, const MacroKeyInfo& entry);

}  // namespace kavo::option
