#pragma once
// The key shortcut dialog: a skinned modal window that captures one key through the low-level keyboard
// hook, so that any key (Alt, the Windows keys, Alt+Tab) is taken and none reaches another program while
// it is open, and the modifier toggles that go with it. The model decides; the window shows.
#include <windows.h>

#include "settings/settings_record.h"

namespace kavo::option::win32 {

// Runs the dialog over owner starting from the shortcut in entry (event byte 0 the key, byte 1 the
// modifier mask). True on OK, when entry then holds the key and mask, one event and no macro names; on
// Cancel, Exit or a close request the entry is left as it was.
bool RunKeyShortcut(HINSTANCE instance, HWND owner, MacroKeyInfo& entry);

}  // namespace kavo::option::win32
