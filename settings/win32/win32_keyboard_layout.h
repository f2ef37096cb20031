#pragma once
#include "settings/keyboard_layout.h"

namespace kavo::win32 {

// The keyboard layout of the calling thread.
class Win32KeyboardLayout final : public KeyboardLayout {
 public:
  int ScanCodeOfVirtualKey(int virtualKey) override;
  int VirtualKeyOfScanCode(int scanCode) override;
  std::optional<char> CharacterOfKey(int virtualKey, int scanCode) override;
};

}  // namespace kavo::win32
