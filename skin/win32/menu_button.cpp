#include "skin/win32/menu_button.h"

namespace kavo::skin::win32 {
namespace {

MenuClickMemory::WindowId IdOf(HWND window) { return reinterpret_cast<MenuClickMemory::WindowId>(window); }

HWND WindowUnderCursor() {
  POINT cursor{};
  return ::GetCursorPos(&cursor) ? ::WindowFromPoint(cursor) : nullptr;
}

}  // namespace

bool OpenMenuFromButton(MenuClickMemory& memory, HWND button, HWND owner, POINT screenPoint,
                        const std::function<std::unique_ptr<SkinMenu>()>& build) {
  if (!memory.ClickOpens(IdOf(button), ::GetTickCount())) return false;
  unsigned command = 0;
  if (const std::unique_ptr<SkinMenu> menu = build()) {
    command = menu->Show(owner, screenPoint);
    // The remedy TrackPopupMenu's documentation gives for a menu whose owner is not in front: a message
    // posted afterwards lets the menu loop end cleanly.
    ::PostMessageA(owner, WM_NULL, 0, 0);
  }
  memory.MenuClosed(IdOf(WindowUnderCursor()), ::GetTickCount(), command != 0);
  return true;
}

}  // namespace kavo::skin::win32
