#include "monitor/win32/monitor_app.h"

#include <objbase.h>

#include "monitor/service.h"

namespace kavo::win32 {
namespace {

constexpr char kInstanceMutexName[] = "VELMAR_Kavo_Mouse_Normal_Monitor";
constexpr int kWindowRefused = 1;

}  // namespace

bool CMonitorApp::InitInstance(const char* commandLine) {
  instanceMutex_.reset(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  if (instanceMutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS) {
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
  // A second service ends at once, without a window.
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

}  // namespace kavo::win32
