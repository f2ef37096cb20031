#pragma once
// The skinned frame of every popup menu of the program: one accent-coloured ring and two black rings
// inside it, drawn instead of the system's border. A call-window-procedure hook on the user-interface
// thread notices each popup-menu window ("#32768") as it is created or sized, subclasses it (its old
// window procedure is kept in the window property "CoolMenu_oldProc") and registers it; the frame procedure
// paints the frame and takes itself off again when the window is hidden or destroyed.
//
// Install once on the user-interface thread at start-up, for the program's lifetime:
//   MenuFrameHook frames;   // in WinMain, before the first window
//
// User-interface thread only.
#include <windows.h>

#include <cstddef>

namespace kavo::skin::win32 {

constexpr char kMenuOldProcProperty[] = "CoolMenu_oldProc";
constexpr UINT kMenuSizingMessage = 482;  // sent to a popup-menu window when it is sized for its items

// True when the hook is in place on this thread afterwards (also when it was already). Fails on a second
// thread while another one holds the hook.
bool InstallMenuFrameHook();
// Takes the hook away and the frame off every menu window still wearing it; the registry is left empty.
void RemoveMenuFrameHook();
bool MenuFrameHookInstalled();
// Menu windows wearing the frame now.
std::size_t FramedMenuCount();

// Installs the hook for its lifetime; removes it only if it was the one that installed it.
class MenuFrameHook {
 public:
  MenuFrameHook() : owns_(!MenuFrameHookInstalled() && InstallMenuFrameHook()) {}
  ~MenuFrameHook() {
    if (owns_) RemoveMenuFrameHook();
  }
  MenuFrameHook(const MenuFrameHook&) = delete;
  MenuFrameHook& operator=(const MenuFrameHook&) = delete;

  bool installed() const { return MenuFrameHookInstalled(); }

 private:
  bool owns_;
};

}  // namespace kavo::skin::win32
