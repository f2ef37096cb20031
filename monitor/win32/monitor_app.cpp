#include "monitor/win32/monitor_app.h"

#include <objbase.h>

#include "monitor/service.h"
#include "monitor/service_messages.h"

namespace kavo::monitor::win32 {
namespace {

constexpr char kInstanceMutexName[] = "VELMAR_Kavo_Mouse_Normal_Monitor";
constexpr int kWindowRefused = 1;
// The running service makes its window just after its mutex; a start that meets it that early waits.
constexpr int kWindowLookups = 50;
constexpr DWORD kWindowLookupPauseMs = 100;

// The tray menu's "Configuration" for the running service, which opens the configuration program or brings
// it forward; that service may then take the foreground this start was given.
void HandOpenToRunningService() {
  for (int lookup = 0; lookup < kWindowLookups; ++lookup) {
    if (HWND running = ::FindWindowA(nullptr, kMonitorWindowTitle)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(running, &owner);
      if (owner != 0) ::AllowSetForegroundWindow(owner);
      ::PostMessageA(running, WM_COMMAND, kCmdConfiguration, 0);
      return;
    }
    ::Sleep(kWindowLookupPauseMs);
  }
}

}  // namespace

bool CMonitorApp::InitInstance(const char* commandLine) {
  instanceMutex_.reset(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  const bool anotherRuns = instanceMutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
  switch (DecideInstanceStart(commandLine, anotherRuns)) {
    case InstanceStart::kRun:
      break;
    case InstanceStart::kHandOpenToRunning:
      HandOpenToRunningService();
      [[fallthrough]];
    case InstanceStart::kEnd:
      instanceMutex_.reset();
      return false;
  }
  comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  window_ = std::make_unique<CMonitorWnd>(OpenConfigurationRequested(commandLine));
  return true;
}

void CMonitorApp::ExitInstance() {
  if (comStarted_) ::CoUninitialize();
  comStarted_ = false;
  window_.reset();
  instanceMutex_.reset();
}

int CMonitorApp::Run(HINSTANCE instance, const char* commandLine) {
  // A second service ends without a window of its own.
  if (!InitInstance(commandLine)) return 0;
  // Without its window the service could never be reached or ended; it ends instead of lingering.
  if (!window_->Create(instance)) {
    ExitInstance();
    return kWindowRefused;
  }
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ExitInstance();
  return 0;
}

}  // namespace kavo::monitor::win32
