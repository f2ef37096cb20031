#pragma once
// The media player dialog of the button assignment page: a skinned modal window over the portable model
// (option/media_player_dialog.h), whose player button opens a skinned menu of the four players.
#include <windows.h>

#include <optional>

#include "skin/menu_click_memory.h"

namespace kavo::option::win32 {

// Runs the dialog over owner starting from playerIndex; the new index on OK, nothing on Cancel or Exit
// (or when the window could not be made). Its player menu shares menuMemory with the page that opened it.
std::optional<int> RunMediaPlayerDialog(HINSTANCE instance, HWND owner, int playerIndex,
                                        skin::MenuClickMemory& menuMemory);

}  // namespace kavo::option::win32
