#include "option/assign/key_shortcut_dialog.h"

#include <cstring>

#include "settings/key_tables.h"

namespace kavo::option {
namespace {

// A modifier's toggle is its bit in the stored mask.
constexpr std::uint8_t Bit(ShortcutModifier modifier) {
  return static_cast<std::uint8_t>(1u << static_cast<int>(modifier));
}
static_assert(Bit(ShortcutModifier::kNone) == kShortcutNone && Bit(ShortcutModifier::kShift) == kShortcutShift &&
                  Bit(ShortcutModifier::kCtrl) == kShortcutCtrl && Bit(ShortcutModifier::kAlt) == kShortcutAlt &&
                  Bit(ShortcutModifier::kWin) == kShortcutWin,
              "the toggles follow the stored mask's bits");

}  // namespace

KeyShortcutDialog::KeyShortcutDialog(KeyboardLayout& layout, const MacroKeyInfo& entry) : layout_(layout) {
  // A shortcut's key and mask take the first event's key and action bytes.
  keyCode_ = entry.events[0].key;
  const std::uint8_t mask = entry.events[0].action;
  for (int i = 0; i < kShortcutModifierCount; ++i) flags_[static_cast<std::size_t>(i)] = (mask >> i) & 1;
}

std::string KeyShortcutDialog::KeyText() const { return DeviceKeyName(layout_, keyCode_); }

ModifierToggleView KeyShortcutDialog::Toggle(ShortcutModifier modifier) const {
  const bool none = flags_[Index(ShortcutModifier::kNone)];
  if (modifier == ShortcutModifier::kNone) return {none, true};
  // Locked under None, but keeping its own state for when None is cleared again.
  if (none) return {flags_[Index(modifier)], false};
  return {flags_[Index(modifier)], true};
}

void KeyShortcutDialog::SetFlag(ShortcutModifier modifier, bool checked) { flags_[Index(modifier)] = checked; }

std::uint8_t KeyShortcutDialog::Mask() const {
  if (flags_[Index(ShortcutModifier::kNone)]) return kShortcutNone;
  std::uint8_t mask = 0;
  for (int i = 1; i < kShortcutModifierCount; ++i) {
    if (flags_[static_cast<std::size_t>(i)]) mask = static_cast<std::uint8_t>(mask | (1u << i));
  }
  return mask;
}

bool KeyShortcutDialog::OnKeyCaptured(int virtualKey) {
  const KeyLookup device = VirtualKeyToDeviceKey(layout_, virtualKey);
  if (!device.found) return false;
  keyCode_ = static_cast<std::uint8_t>(device.code);
  return true;
}

int KeyShortcutDialog::OnCommand(KeyShortcutCommand command, MacroKeyInfo& entry) const {
  if (command != KeyShortcutCommand::kOk) return kDialogCancel;
  Store(entry);
  return kDialogOk;
}

void KeyShortcutDialog::Store(MacroKeyInfo& entry) const {
  entry.events[0].key = keyCode_;
  entry.events[0].action = Mask();
  entry.eventCount = 1;
  std::memset(entry.macroSetName, 0, sizeof entry.macroSetName);
  std::memset(entry.macroName, 0, sizeof entry.macroName);
}

}  // namespace kavo::option
