#pragma once
// The screen's windows for the sideways-scroll search, and the means that scroll them, over the real API.
#include <windows.h>

#include "monitor/scroll_target.h"

namespace kavo::monitor::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

class Win32WindowTree final : public WindowTree {
 public:
  ScreenPoint PointerPosition() override;
  WindowHandle WindowAt(ScreenPoint point) override;
  WindowHandle DesktopWindow() override;
  std::string ClassName(WindowHandle window) override;
  std::uint32_t Style(WindowHandle window) override;
  WindowRect Rect(WindowHandle window) override;
  // The parent window; none for a top-level window, whose owner is no parent.
  WindowHandle Parent(WindowHandle window) override;
  WindowHandle FirstChild(WindowHandle window) override;
  WindowHandle NextSibling(WindowHandle window) override;
  WindowHandle PreviousSibling(WindowHandle window) override;
  WindowHandle ChildAt(WindowHandle window, ScreenPoint point) override;
  std::vector<WindowHandle> Descendants(WindowHandle window) override;
  bool HasAncestorOfClass(WindowHandle window, std::string_view className) override;
};

// Clicks through mouse_event, as every program's input; messages to other windows and to the service's own.
class Win32ScrollOutput final : public ScrollOutput {
 public:
  explicit Win32ScrollOutput(HWND serviceWindow) : serviceWindow_(serviceWindow) {}
  void ClickAt(ScreenPoint at, int count, ScreenPoint back) override;
  void Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Waits for the window to handle the message, unless its program has stopped responding.
  void Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void PostToService(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  HWND serviceWindow_;
};

}  // namespace kavo::monitor::win32
