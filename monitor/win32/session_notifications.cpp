#include "monitor/win32/session_notifications.h"

#include "monitor/win32/system_library.h"

namespace kavo::monitor::win32 {
namespace {

constexpr int kRegistrationAttempts = 10;
constexpr DWORD kRetryPause = 1000;
constexpr DWORD kThisSessionOnly = 0;

using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);

template <typename Function>
Function Entry(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace

SessionNotifications::SessionNotifications(HWND window)
    : window_(window), library_(LoadSystemLibrary("wtsapi32.dll")) {
  if (!library_) return;
  auto registerWindow = Entry<RegisterFn>(library_.get(), "WTSRegisterSessionNotification");
  if (!registerWindow) return;
  for (int attempt = 1; attempt <= kRegistrationAttempts && !registered_; ++attempt) {
    registered_ = registerWindow(window_, kThisSessionOnly) != FALSE;
    if (!registered_) ::Sleep(kRetryPause);
  }
}

SessionNotifications::~SessionNotifications() {
  if (!library_) return;
  if (auto unregisterWindow = Entry<UnregisterFn>(library_.get(), "WTSUnRegisterSessionNotification")) {
    unregisterWindow(window_);
  }
}

}  // namespace kavo::monitor::win32
