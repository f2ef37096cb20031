// KavoMonitor.exe: the background service of the mouse.
#include <windows.h>

#include "monitor/win32/monitor_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  kavo::monitor::win32::CMonitorApp app;
  return app.Run(instance, commandLine);
}
