#pragma once
// The system's notification that a window of any process came to the front, out of context: delivered
// through the message loop of the thread that installs it, with nothing loaded into other processes.
#include <windows.h>

#include <functional>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class ForegroundHook {
 public:
  // Installs the notification for this thread; changed runs on it for every new foreground window.
  explicit ForegroundHook(std::function<void()> changed);
  ~ForegroundHook();
  ForegroundHook(const ForegroundHook&) = delete;
  ForegroundHook& operator=(const ForegroundHook&) = delete;

  // False where the system refused it: the game checks then rest on their timer alone.
  bool installed() const { return static_cast<bool>(hook_); }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                               DWORD time);

  std::function<void()> changed_;
  kavo::win32::UniqueWinEventHook hook_;
};

}  // namespace kavo::monitor::win32
