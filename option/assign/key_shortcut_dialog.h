#pragma once
// The key shortcut dialog: one key, captured from the keyboard, and the modifier keys a mouse button sends
// with it. The key comes in as Windows virtual keys from the keyboard hook and is kept as a device key
// code; the modifiers are five toggles of which None, when set, stands for "no modifier" and locks the
// other four. The button's entry is written on OK only.
#include <array>
#include <cstdint>
#include <string>

#include "option/common/program_path_browse.h"
#include "settings/keyboard_layout.h"
#include "settings/settings_record.h"

namespace kavo::option {

// The modifier toggles in the order of their flags and of the mask's bits.
enum class ShortcutModifier { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 3, kWin = 4 };
constexpr int kShortcutModifierCount = 5;

enum class KeyShortcutCommand { kOk, kCancel, kExit };

// How a modifier toggle shows.
struct ModifierToggleView {
  bool checked = false;
  bool enabled = true;
  bool operator==(const ModifierToggleView& other) const {
    return checked == other.checked && enabled == other.enabled;
  }
};

constexpr DialogPictures kKeyShortcutPictures{254, 232, 232, 465, 467, 466, {460, 206}};
constexpr skin::Colour kKeyDisplayText = 0xFFFFFF;
constexpr skin::Colour kKeyDisplayBackground = 0x0B0B0B;
constexpr unsigned kKeyDisplayStyle = 0x10010081;  // visible, tab stop, centred, automatic horizontal scroll
constexpr char kKeyShortcutTitle[] = "Kavo Key Shortcut Dialog";

class KeyShortcutDialog {
 public:
  // Starts from the shortcut stored in a button entry: event byte 0 the key, byte 1 the modifier mask.
  KeyShortcutDialog(KeyboardLayout& layout, const MacroKeyInfo& entry);

  std::uint8_t keyCode() const { return keyCode_; }
  // The name of the key for the key display; empty for none or a code without a name.
  std::string KeyText() const;

  bool Flag(ShortcutModifier modifier) const { return flags_[Index(modifier)]; }
  ModifierToggleView Toggle(ShortcutModifier modifier) const;
  // A toggle changed its own checked state to checked; every toggle then shows as Toggle says.
  void SetFlag(ShortcutModifier modifier, bool checked);
  // The mask OK stores: None alone when it is set, else the set flags' bits.
  std::uint8_t Mask() const;

  // A key press or release captured by the hook (both count alike: the last one wins). False when the key
  // has no device code and nothing changed.
  bool OnKeyCaptured(int virtualKey);

  // The end code, OK or Cancel; on OK the entry is written.
  int OnCommand(KeyShortcutCommand command, MacroKeyInfo& entry) const;

  // Writes the shortcut into a button entry: key and mask in the first event, one event, no macro names.
  // The function code is the caller's.
  void Store(MacroKeyInfo& entry) const;

 private:
  static std::size_t Index(ShortcutModifier modifier) { return static_cast<std::size_t>(modifier); }

  KeyboardLayout& layout_;
  std::uint8_t keyCode_ = 0;
  std::array<bool, kShortcutModifierCount> flags_{};
};

}  // namespace kavo::option
