#include "skin/win32/menu_frame_hook.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/menu_frame_registry.h"
#include "skin/menu_item_drawing.h"

namespace kavo::skin::win32 {

using kavo::win32::UniqueBrush;
using kavo::win32::UniqueHook;

namespace {

constexpr char kPopupMenuClass[] = "#32768";

// What it takes to give a menu window its own procedure back.
struct FramedMenu {
  WNDPROC oldProc = nullptr;
};

struct FrameHookState {
  UniqueHook hook;
  DWORD thread = 0;
  std::optional<MenuFrameRegistry<FramedMenu>> registry;  // exists while the hook does
};

FrameHookState& State() {
  static FrameHookState state;
  return state;
}

std::uintptr_t Key(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void DrawFrame(HWND window, HDC dc) {
  RECT bounds{};
  if (!::GetWindowRect(window, &bounds)) return;
  const Rect outline{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  for (const FrameRing& ring : MenuFrame(outline)) {
    const UniqueBrush brush(::CreateSolidBrush(ring.colour));
    const RECT rect{ring.rect.left, ring.rect.top, ring.rect.right, ring.rect.bottom};
    if (brush) ::FrameRect(dc, &rect, brush.get());
  }
}

// The device context of the whole window, frame included (GetDC gives only the client area).
class WholeWindowDC {
 public:
  explicit WholeWindowDC(HWND window) : window_(window), dc_(::GetWindowDC(window)) {}
  ~WholeWindowDC() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  WholeWindowDC(const WholeWindowDC&) = delete;
  WholeWindowDC& operator=(const WholeWindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

void DrawFrame(HWND window) {
  const WholeWindowDC dc(window);
  if (dc.get() != nullptr) DrawFrame(window, dc.get());
}

bool IsPopupMenu(HWND window) {
  char name[16] = {};
  const int length = ::GetClassNameA(window, name, sizeof name);
  return length > 0 && std::strcmp(name, kPopupMenuClass) == 0;
}

void Frame(HWND window) {
  FrameHookState& state = State();
  if (!state.registry || state.registry->Find(Key(window)) != nullptr) return;
  if (!IsPopupMenu(window) || ::GetPropA(window, kMenuOldProcProperty) != nullptr) return;
  const auto oldProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (oldProc == nullptr || !::SetPropA(window, kMenuOldProcProperty, reinterpret_cast<HANDLE>(oldProc))) return;
  try {
    state.registry->Add(Key(window), FramedMenu{oldProc});
  } catch (...) {
    // Runs inside the hook: nothing may unwind into the system. The window keeps its own procedure.
    ::RemovePropA(window, kMenuOldProcProperty);
    return;
  }
  ::SetLastError(0);
  if (::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProcedure)) == 0 &&
      ::GetLastError() != 0) {
    ::RemovePropA(window, kMenuOldProcProperty);
    state.registry->Remove(Key(window));
  }
}

// Puts the menu window's own procedure back (unless another procedure went on top of ours since), drops
// the property and the registration.
void Unframe(HWND window, WNDPROC oldProc) {
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == FrameProcedure) {
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
  }
  ::RemovePropA(window, kMenuOldProcProperty);
  FrameHookState& state = State();
  if (state.registry) state.registry->Remove(Key(window));
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto oldProc = reinterpret_cast<WNDPROC>(::GetPropA(window, kMenuOldProcProperty));
  if (oldProc == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCPAINT:
      DrawFrame(window);
      return 0;
    case WM_PRINT: {
      const LRESULT result = ::CallWindowProcW(oldProc, window, message, wParam, lParam);
      DrawFrame(window, reinterpret_cast<HDC>(wParam));
      return result;
    }
    case WM_PAINT: {
      // Where the menu paints its border inside its client area (Wine does), the frame goes over it.
      const LRESULT result = ::CallWindowProcW(oldProc, window, message, wParam, lParam);
      DrawFrame(window);
      return result;
    }
    case WM_SHOWWINDOW:
      if (wParam == FALSE) Unframe(window, oldProc);
      break;
    case WM_NCDESTROY:
      Unframe(window, oldProc);
      break;
    default:
      break;
  }
  return ::CallWindowProcW(oldProc, window, message, wParam, lParam);
}

LRESULT CALLBACK CallWindowHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_CREATE || call->message == kMenuSizingMessage) Frame(call->hwnd);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool InstallMenuFrameHook() {
  FrameHookState& state = State();
  if (state.hook) return state.thread == ::GetCurrentThreadId();
  state.hook.reset(::SetWindowsHookExA(WH_CALLWNDPROC, CallWindowHook, nullptr, ::GetCurrentThreadId()));
  if (!state.hook) return false;
  state.thread = ::GetCurrentThreadId();
  state.registry.emplace();
  return true;
}

void RemoveMenuFrameHook() {
  FrameHookState& state = State();
  if (!state.hook || state.thread != ::GetCurrentThreadId()) return;
  state.hook.reset();
  if (state.registry) {
    for (const auto& [handle, frame] : state.registry->TakeAll()) {
      const HWND window = reinterpret_cast<HWND>(handle);
      if (::IsWindow(window)) Unframe(window, frame.oldProc);
    }
  }
  state.registry.reset();
  state.thread = 0;
}

bool MenuFrameHookInstalled() { return static_cast<bool>(State().hook); }

std::size_t FramedMenuCount() {
  const FrameHookState& state = State();
  return state.registry ? state.registry->size() : 0;
}

}  // namespace kavo::skin::win32
