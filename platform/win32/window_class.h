#pragma once
// Window classes of our own, registered in the program's module the first time a window needs
// one; registering an existing class again is not an error.
#include <windows.h>

#include <utility>

namespace kavo::win32 {

inline bool RegisterWindowClass(const char* name, WNDPROC procedure, HCURSOR cursor = nullptr) {
  WNDCLASSA existing{};
  if (::GetClassInfoA(::GetModuleHandleA(nullptr), name, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hCursor = cursor;
  windowClass.lpszClassName = name;
  return ::RegisterClassA(&windowClass) != 0;
}

// The window procedure of a control object: the object arrives as CreateWindowEx's creation parameter and
// handles every message in Control::Handle (which must let nothing escape), and is told with
// Control::WindowGone when its window is about to be freed, so that it never touches it again.
template <typename Control>
LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Control*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->WindowGone();
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return self->Handle(window, message, wParam, lParam);
  } catch (...) {
    // Nothing unwinds into the window manager; a control whose creation failed is not made.
    return message == WM_CREATE ? -1 : ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace kavo::win32
