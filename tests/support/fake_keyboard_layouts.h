#pragma once
// Keyboard layouts for the key tables and playback: a US layout (with the scan codes of the generic
// modifiers), and one where the key at scan code 16 types "A"
// (A and Q, Z and W swap places, as on a French keyboard).
#include <map>

#include "settings/keyboard_layout.h"

namespace kavo::test {

class FakeKeyboardLayout final : public KeyboardLayout {
 public:
  int ScanCodeOfVirtualKey(int virtualKey) override;
  int VirtualKeyOfScanCode(int scanCode) override;
  std::optional<char> CharacterOfKey(int virtualKey, int scanCode) override;

  // Puts the key with this virtual key at the scan code (both directions), typing character.
  void Place(int virtualKey, int scanCode, char character);
  // Only the scan code of a virtual key, as Windows gives the generic Shift, Ctrl and Alt keys theirs.
  void SetScanCode(int virtualKey, int scanCode) { scanOfVirtual_[virtualKey] = scanCode; }

 private:
  std::map<int, int> scanOfVirtual_;
  std::map<int, int> virtualOfScan_;
  std::map<int, char> characterOfVirtual_;
};

FakeKeyboardLayout UsLayout();
FakeKeyboardLayout LayoutWithAAtScanCode16();

}  // namespace kavo::test
