#pragma once
// CMonitorApp: one service per session, the command line, the hidden window and its message loop.
#include <windows.h>

#include <memory>

#include "monitor/win32/monitor_window.h"
#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class CMonitorApp {
 public:
  // The program's exit code.
  int Run(HINSTANCE instance, const char* commandLine);

 private:
  bool InitInstance(const char* commandLine);
  void ExitInstance();

  kavo::win32::UniqueKernelHandle instanceMutex_;
  bool comStarted_ = false;
  std::unique_ptr<CMonitorWnd> window_;
};

}  // namespace kavo::monitor::win32
