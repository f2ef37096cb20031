#pragma once
// What the key tables ask of the active Windows keyboard layout.
#include <optional>

namespace kavo {

class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;
  // Scan code of a virtual key; 0 when the layout has none.
  virtual int ScanCodeOfVirtualKey(int virtualKey) = 0;
  // Virtual key at a scan code, distinguishing left and right keys; 0 when none.
  virtual int VirtualKeyOfScanCode(int scanCode) = 0;
  // The character the key types with no modifier held; none when it types nothing.
  virtual std::optional<char> CharacterOfKey(int virtualKey, int scanCode) = 0;
};

}  // namespace kavo
