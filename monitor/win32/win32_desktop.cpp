#include "monitor/win32/win32_desktop.h"

#include <windows.h>
#include <shellapi.h>

namespace kavo::win32 {
namespace {

void SendKey(int virtualKey, DWORD flags) {
  const BYTE key = static_cast<BYTE>(virtualKey);
  const BYTE scan = static_cast<BYTE>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  ::keybd_event(key, scan, flags, 0);
}

}  // namespace

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

void Win32Shell::Open(const std::string& path) {
  ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

void Win32DebugOutput::Write(const char* text) { ::OutputDebugStringA(text); }

void Win32KeyInput::KeyDown(int virtualKey) { SendKey(virtualKey, 0); }

void Win32KeyInput::KeyUp(int virtualKey) { SendKey(virtualKey, KEYEVENTF_KEYUP); }

}  // namespace kavo::win32
