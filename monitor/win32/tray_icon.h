#pragma once
// The service's icon in the notification area and its menu.
#include <windows.h>

#include <string>

#include "settings/win32/win32_handles.h"

namespace kavo::win32 {

class TrayIcon {
 public:
  // The icon is the small icon of the program file at programPath.
  TrayIcon(HWND owner, const std::string& programPath);
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
  UniqueIcon icon_;
  bool shown_ = false;
};

// "Configuration" (the default item), a separator and "Exit" at the pointer, owned by owner; the choice
// arrives as WM_COMMAND.
void ShowTrayMenu(HWND owner);

}  // namespace kavo::win32
