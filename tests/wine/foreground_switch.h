#pragma once
// Brings a window to the front as a user's switch does, and tells of it as Windows does. Wine 8 changes
// the foreground without sending EVENT_SYSTEM_FOREGROUND to anyone, so the notification that Windows
// sends with every such change is sent here, right after it, for the hooks of every process to take. Where
// the system sends its own as well, the two arrive within the same few milliseconds.
#include <windows.h>

#include "tests/wine/programs.h"

namespace kavo::wine_test {

// True when the window is in front (its thread has taken the activation) within the time. The caller's
// own messages are taken meanwhile: Wine hands the activation over through them.
inline bool BringToFront(HWND window, DWORD milliseconds = 5000) {
  if (!::SetForegroundWindow(window)) return false;
  const auto inFront = [&] {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    return ::GetForegroundWindow() == window;
  };
  if (!WaitFor(inFront, milliseconds, 1)) return false;
  ::NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
  return true;
}

}  // namespace kavo::wine_test
