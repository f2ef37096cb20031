// KavoMonitor.exe. The service grows here; so far it loads the settings record from its folder.
#include <windows.h>

#include <memory>

#include "settings/win32/win32_settings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kavo::win32::Win32Settings settings;
  auto record = std::make_unique<kavo::SettingsRecord>();
  kavo::ClearRecord(*record);
  return settings.settings.ReadAll(*record) == 1 ? 0 : 1;
}
