#include "monitor/win32/win32_window_tree.h"

#include <algorithm>

namespace kavo::monitor::win32 {
namespace {

// Normalised absolute coordinates span the virtual screen as 0..65535; rounded up, they map back onto the
// same pixel.
DWORD Normalised(int offset, int extent) {
  if (extent <= 0) return 0;
  const long long scaled = (static_cast<long long>(offset) * 65536 + extent - 1) / extent;
  return static_cast<DWORD>(std::clamp(scaled, 0LL, 65535LL));
}

void PointerEvent(ScreenPoint point, DWORD buttonFlags) {
  const DWORD x = Normalised(point.x - ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const DWORD y = Normalised(point.y - ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  ::mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_MOVE | buttonFlags, x, y, 0, 0);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(ToHandle(window));
  return TRUE;
}

}  // namespace

ScreenPoint Win32WindowTree::PointerPosition() {
  POINT point{};
  ::GetCursorPos(&point);
  return {point.x, point.y};
}

WindowHandle Win32WindowTree::WindowAt(ScreenPoint point) {
  return ToHandle(::WindowFromPoint(POINT{point.x, point.y}));
}

WindowHandle Win32WindowTree::DesktopWindow() { return ToHandle(::GetDesktopWindow()); }

std::string Win32WindowTree::ClassName(WindowHandle window) {
  char name[256];
  const int length = ::GetClassNameA(ToHwnd(window), name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::uint32_t Win32WindowTree::Style(WindowHandle window) {
  return static_cast<std::uint32_t>(::GetWindowLongA(ToHwnd(window), GWL_STYLE));
}

WindowRect Win32WindowTree::Rect(WindowHandle window) {
  RECT rect{};
  ::GetWindowRect(ToHwnd(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowHandle Win32WindowTree::Parent(WindowHandle window) {
  const HWND parent = ::GetAncestor(ToHwnd(window), GA_PARENT);
  return parent == ::GetDesktopWindow() ? kNoWindow : ToHandle(parent);
}

WindowHandle Win32WindowTree::FirstChild(WindowHandle window) {
  return ToHandle(::GetWindow(ToHwnd(window), GW_CHILD));
}

WindowHandle Win32WindowTree::NextSibling(WindowHandle window) {
  return ToHandle(::GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

WindowHandle Win32WindowTree::PreviousSibling(WindowHandle window) {
  return ToHandle(::GetWindow(ToHwnd(window), GW_HWNDPREV));
}

WindowHandle Win32WindowTree::ChildAt(WindowHandle window, ScreenPoint point) {
  POINT client{point.x, point.y};
  if (!::ScreenToClient(ToHwnd(window), &client)) return kNoWindow;
  return ToHandle(::ChildWindowFromPoint(ToHwnd(window), client));
}

std::vector<WindowHandle> Win32WindowTree::Descendants(WindowHandle window) {
  std::vector<WindowHandle> all;
  if (window != kNoWindow) ::EnumChildWindows(ToHwnd(window), CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool Win32WindowTree::HasAncestorOfClass(WindowHandle window, std::string_view className) {
  const HWND desktop = ::GetDesktopWindow();
  // Bounded: windows may be re-parented while they are walked.
  HWND up = ::GetAncestor(ToHwnd(window), GA_PARENT);
  for (int level = 0; up != nullptr && up != desktop && level < 256; ++level) {
    if (ClassName(ToHandle(up)) == className) return true;
    up = ::GetAncestor(up, GA_PARENT);
  }
  return false;
}

void Win32ScrollOutput::ClickAt(ScreenPoint at, int count, ScreenPoint back) {
  // With the buttons swapped, the primary button is the physical right one.
  const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
  const DWORD down = swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  const DWORD up = swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  // The moves go through the same input stream as the clicks, so that they keep their order however long
  // the clicks wait for low-level hooks; the last SetCursorPos makes the return exact.
  PointerEvent(at, 0);
  for (int i = 0; i < count; ++i) {
    PointerEvent(at, down);
    PointerEvent(at, up);
  }
  PointerEvent(back, 0);
  ::SetCursorPos(back.x, back.y);
}

void Win32ScrollOutput::Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  ::PostMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32ScrollOutput::Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  // A hung program must not stall the service's window thread, which also takes the mouse's events.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                        SMTO_ABORTIFHUNG, 1000, &result);
}

void Win32ScrollOutput::PostToService(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  ::PostMessageA(serviceWindow_, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

}  // namespace kavo::monitor::win32
