#include "settings/win32/win32_keyboard_layout.h"

#include <windows.h>

namespace kavo::win32 {

int Win32KeyboardLayout::ScanCodeOfVirtualKey(int virtualKey) {
  return static_cast<int>(::MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
}

int Win32KeyboardLayout::VirtualKeyOfScanCode(int scanCode) {
  return static_cast<int>(::MapVirtualKeyA(static_cast<UINT>(scanCode), MAPVK_VSC_TO_VK_EX));
}

std::optional<char> Win32KeyboardLayout::CharacterOfKey(int virtualKey, int scanCode) {
  BYTE state[256] = {};
  WORD output[2] = {};
  const int result = ::ToAscii(static_cast<UINT>(virtualKey), static_cast<UINT>(scanCode), state, output, 0);
  if (result < 0) {
    // A dead key stays pending in the layout and would change the next key typed; feed it once more
    // to take it out again.
    WORD discard[2] = {};
    ::ToAscii(static_cast<UINT>(virtualKey), static_cast<UINT>(scanCode), state, discard, 0);
  }
  if (result == 0) return std::nullopt;
  const char character = static_cast<char>(output[0] & 0xFF);
  if (character == '\0') return std::nullopt;
  return character;
}

}  // namespace kavo::win32
