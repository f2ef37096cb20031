#pragma once
// A button that opens a skinned menu under itself, where a second click on the button while its menu is
// open only closes the menu. The menu is tracked modally, so the press that closes it reaches the button
// once the menu has gone; the memory tells that press from a click that opens. The buttons of one page and
// the dialogs they open share one memory.
#include <windows.h>

#include <functional>
#include <memory>

#include "skin/menu_click_memory.h"
#include "skin/win32/skin_menu.h"

namespace kavo::skin::win32 {

// The click on button that opens its menu: build gives the menu (null: nothing to show), which is tracked
// at screenPoint and owned by owner, to which the choice is posted as WM_COMMAND. False for the click that
// only closed the menu, which builds nothing.
bool OpenMenuFromButton(MenuClickMemory& memory, HWND button, HWND owner, POINT screenPoint,
                        const std::function<std::unique_ptr<SkinMenu>()>& build);

}  // namespace kavo::skin::win32
