#pragma once
// Console connect and disconnect notifications (WM_WTSSESSION_CHANGE) for a window, through
// "wtsapi32.dll" from the system folder when the system has it. Without it the service runs without them.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class SessionNotifications {
 public:
  // Registers the window, up to ten times a second apart, since the session services may still be
  // starting when the service starts with the session.
  explicit SessionNotifications(HWND window);
  ~SessionNotifications();
  SessionNotifications(const SessionNotifications&) = delete;
  SessionNotifications& operator=(const SessionNotifications&) = delete;

  bool registered() const { return registered_; }

 private:
  HWND window_;
  kavo::win32::UniqueModule library_;
  bool registered_ = false;
};

}  // namespace kavo::monitor::win32
