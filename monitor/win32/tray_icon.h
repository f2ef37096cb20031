#pragma once
// The service's icon in the notification area and its menu.
#include <windows.h>

#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class TrayIcon {
 public:
  // The icon is the program's own icon (resource 1 of the program module) at the small size; Windows'
  // application icon when the program has none.
  TrayIcon(HWND owner, HINSTANCE program);
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // A failing shell call is ignored; the next add or remove tries again.
  void Add();
  void Remove();
  bool shown() const { return shown_; }

 private:
  NOTIFYICONDATAA Data() const;
  HWND owner_;
  kavo::win32::UniqueIcon icon_;
  bool shown_ = false;
};

// "Configuration" (the default item), a separator and "Exit" at the pointer, owned by owner; the choice
// arrives as WM_COMMAND.
void ShowTrayMenu(HWND owner);

}  // namespace kavo::monitor::win32
