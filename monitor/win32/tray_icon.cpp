#include "monitor/win32/tray_icon.h"

#include <shellapi.h>

#include "monitor/service_messages.h"
#include "settings/bounded_text.h"

namespace kavo::monitor::win32 {

using kavo::win32::UniqueMenu;

namespace {

constexpr int kProgramIconId = 1;  // the icon resource of KavoMonitor.exe

}  // namespace

TrayIcon::TrayIcon(HWND owner, HINSTANCE program) : owner_(owner) {
  // The program's own icon at the small size; the shell's file icon lookup gave Wine's generic
  // document icon instead of the program's.
  icon_.reset(static_cast<HICON>(::LoadImageA(program, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                              LR_DEFAULTCOLOR)));
}

NOTIFYICONDATAA TrayIcon::Data() const {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kMsgTrayCallback;
  data.hIcon = icon_ ? icon_.get() : ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  CopyBounded(data.szTip, "VELMAR Kavo");
  return data;
}

void TrayIcon::Add() {
  NOTIFYICONDATAA data = Data();
  shown_ = ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE || shown_;
}

void TrayIcon::Remove() {
  NOTIFYICONDATAA data = Data();
  data.uFlags = 0;
  ::Shell_NotifyIconA(NIM_DELETE, &data);
  shown_ = false;
}

void ShowTrayMenu(HWND owner) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  ::AppendMenuA(menu.get(), MF_STRING, kCmdConfiguration, "Configuration");
  ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu.get(), MF_STRING, kCmdExit, "Exit");
  ::SetMenuDefaultItem(menu.get(), kCmdConfiguration, FALSE);
  POINT pointer{};
  ::GetCursorPos(&pointer);
  ::TrackPopupMenu(menu.get(), TPM_LEFTBUTTON, pointer.x, pointer.y, 0, owner, nullptr);
  // Without this the menu does not close when the user clicks elsewhere.
  ::PostMessageA(owner, WM_NULL, 0, 0);
}

}  // namespace kavo::monitor::win32
