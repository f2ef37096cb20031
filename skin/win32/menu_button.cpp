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
  HWND closedOver = nullptr;
  if (const std::unique_ptr<SkinMenu> menu = build()) {
    const unsigned command = menu->Show(owner, screenPoint);
    // The remedy TrackPopupMenu's documentation gives for a menu whose owner is not in front: a message
    // posted afterwards lets the menu loop end cleanly.
    ::PostMessageA(owner, WM_NULL, 0, 0);
    // A menu left without a choice was closed by a press (or Escape); a choice, made with a click or a key,
    // closes nothing the next click could be taken for.
    if (command == 0) closedOver = WindowUnderCursor();
  }
  memory.MenuClosed(IdOf(closedOver), ::GetTickCount());
  return true;
}

}  // namespace kavo::skin::win32
