#pragma once
// The low-level keyboard hook through which the macro editor records key strokes and the key shortcut
// dialog captures a key. While it is installed every key press and release goes, as one posted
// WM_KEYCAPTURED, to a single target window, and to no other program: the hook swallows the keys. The
// keys already down when it is installed are left out until they come up, their releases reaching the
// system so that it does not hold them down.
//
// The procedure only posts and returns, because Windows silently removes a low-level hook that answers
// slowly. One hook and one target at a time, program-wide, on the user-interface thread.
#include <windows.h>

#include "option/common/keys_down_at_start.h"

namespace kavo::option::win32 {

constexpr UINT kWmKeyCaptured = WM_USER + 10;  // 1034: wParam virtual key, lParam 0x80 release / 0 press
constexpr LPARAM kKeyReleased = 0x80;

// Installs the hook with target as the window to tell; a hook already installed is removed first.
// Returns whether the hook exists. Traces "Hhook: <handle>" to the debugger output.
bool InstallKeyboardHook(HWND target);
// Removes the hook when one is installed; traces the handle and the outcome.
void RemoveKeyboardHook();
bool KeyboardHookInstalled();

// Whether a virtual key is down at this moment, as the keyboard hook and the commands that wait for the keys
// that chose them note it.
bool KeyDownNow(int virtualKey);

// Holds the hook for a scope: the key shortcut dialog for its whole life, the macro editor while it
// records.
class KeyboardCapture {
 public:
  explicit KeyboardCapture(HWND target) : installed_(InstallKeyboardHook(target)) {}
  ~KeyboardCapture() {
    if (installed_) RemoveKeyboardHook();
  }
  KeyboardCapture(const KeyboardCapture&) = delete;
  KeyboardCapture& operator=(const KeyboardCapture&) = delete;

 private:
  bool installed_;
};

}  // namespace kavo::option::win32
