#include "monitor/win32/win32_desktop.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/debug_trace.h"

namespace kavo::monitor::win32 {

using kavo::win32::DebugTrace;
bool Win32Desktop::PostToWindow(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  HWND window = ::FindWindowA(nullptr, title);
  if (!window) return false;
  ::PostMessageA(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  return true;
}

bool Win32Desktop::BringToFront(const char* title) {
  HWND window = ::FindWindowA(nullptr, title);
  if (!window) return false;
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  return true;
}

bool Win32Desktop::WindowExists(const char* title) { return ::FindWindowA(nullptr, title) != nullptr; }

void Win32Shell::Open(const std::string& path) {
  ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void Win32DebugOutput::Write(const char* text) { DebugTrace(text); }

void Win32InputSink::Key(int virtualKey, int scanCode, bool up, bool extended) {
  const DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  ::keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(scanCode), flags, 0);
}

void Win32InputSink::Button(MouseButton button, bool up) {
  DWORD flags = 0, data = 0;
  switch (button) {
    case MouseButton::Left:
      flags = up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
      break;
    case MouseButton::Right:
      flags = up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
      break;
    case MouseButton::Middle:
      flags = up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN;
      break;
    case MouseButton::X1:
    case MouseButton::X2:
      flags = up ? MOUSEEVENTF_XUP : MOUSEEVENTF_XDOWN;
      data = button == MouseButton::X1 ? XBUTTON1 : XBUTTON2;
      break;
  }
  ::mouse_event(flags, 0, 0, data, static_cast<ULONG_PTR>(::GetMessageExtraInfo()));
}

}  // namespace kavo::monitor::win32
