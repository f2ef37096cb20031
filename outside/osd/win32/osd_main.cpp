// KavoOSD.exe: the on-screen display the service starts. It waits, hidden, for the service's messages and
// shows each notice briefly near the bottom right corner of the screen.
#include <windows.h>

#include "platform/win32/win32_handles.h"
#include "outside/osd/display_settings.h"
#include "outside/osd/win32/osd_window.h"
#include "settings/win32/win32_settings.h"

namespace {

constexpr char kSingleInstanceMutex[] = "VELMAR_Kavo_Mouse_OSD";

// The display settings the configuration program last saved, as the service would forward them.
kavo::osd::DisplaySettings SavedSettings() {
  kavo::win32::Win32Settings settings;
  kavo::OSDSetting record;
  kavo::ResetOSDSetting(record);
  settings.settings.ReadOSDSetting(record);
  return kavo::osd::DisplaySettingsFromRecord(record);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  kavo::win32::UniqueKernelHandle instanceMutex(::CreateMutexA(nullptr, FALSE, kSingleInstanceMutex));
  // One display per session: a second start leaves the running one alone.
  if (!instanceMutex || ::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  kavo::osd::win32::OsdWindow display(instance, SavedSettings());
  if (!display.Created()) return 1;

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
