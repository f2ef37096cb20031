// KavoOption.exe: the configuration program. One instance at a time; its main window runs modally for the
// program's lifetime.
#include <windows.h>

#include "option/main_window/win32/main_window.h"
#include "option/support/win32/web_browser_host.h"
#include "platform/win32/win32_handles.h"
#include "skin/win32/menu_frame_hook.h"

namespace {
constexpr char kSingleInstanceMutex[] = "Velmar_Kavo_configure";
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HANDLE made = ::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex);
  const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
  const kavo::win32::UniqueKernelHandle single(made);
  if (!single || existed) return 0;

  // OLE for the help page's browser, for as long as any window may hold it.
  const kavo::option::win32::OleThread ole;
  kavo::skin::win32::MenuFrameHook menuFrames;
  kavo::option::win32::MainWindow window(instance);
  window.RunModal(nullptr);
  return 0;
}
