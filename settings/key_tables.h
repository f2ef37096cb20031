#pragma once
// Keys in two numberings: Windows virtual-key codes, and the device key codes (USB keyboard usages,
// 240..244 for the mouse buttons) that macros and shortcuts store. Device codes name key positions,
// so letters, digits and punctuation are translated through the active keyboard layout.
#include <string>

#include "settings/keyboard_layout.h"

namespace kavo {

struct KeyCodeRow {
  unsigned char virtualKey;
  unsigned char deviceKey;
  unsigned char scanCode;  // 0 for keys found by their virtual key alone
};

constexpr int kKeyCodeRows = 109;
extern const KeyCodeRow kKeyCodeTable[kKeyCodeRows];

struct KeyLookup {
  bool found;
  int code;  // 0 when not found
};

KeyLookup VirtualKeyToDeviceKey(KeyboardLayout& layout, int virtualKey);
KeyLookup DeviceKeyToVirtualKey(KeyboardLayout& layout, int deviceKey);
std::string VirtualKeyName(KeyboardLayout& layout, int virtualKey);
// Empty for codes that name no key.
std::string DeviceKeyName(KeyboardLayout& layout, int deviceKey);

}  // namespace kavo
