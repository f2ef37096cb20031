#include "monitor/win32/monitor_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <wtsapi32.h>

#include "monitor/service_messages.h"
#include "platform/win32/module_folder.h"

namespace kavo::monitor::win32 {

using kavo::win32::BlockMutex;
using kavo::win32::ControlWindowProc;
using kavo::win32::ModuleFolder;
using kavo::win32::RegisterWindowClass;
using kavo::win32::SharedBlock;
using kavo::win32::SharedRecordBlock;
using kavo::win32::Win32KeyboardLayout;
using kavo::win32::Win32Settings;
using kavo::win32::kServiceBlockWait;

namespace {

constexpr char kWindowClass[] = "VELMAR Kavo Monitor Window";
constexpr SIZE_T kWorkerStackCommit = 4096;

bool IsIgnoredCommand(UINT message) {
  for (unsigned ignored : kMsgIgnoredByService) {
    if (message == ignored) return true;
  }
  return false;
}

}  // namespace

// The window's end runs the ordered shutdown, which needs every member still there.
CMonitorWnd::~CMonitorWnd() { window_.reset(); }

bool CMonitorWnd::Create(HINSTANCE instance) {
  RegisterWindowClass(kWindowClass, ControlWindowProc<CMonitorWnd>,
                      ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  // A popup that is never shown: the service's messages need a window, the user does not.
  return ::CreateWindowExA(0, kWindowClass, kMonitorWindowTitle, WS_POPUP, 100, 100, 100, 100, nullptr, nullptr,
                           instance, this) != nullptr;
}

LRESULT CMonitorWnd::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Everything below may use the window before CreateWindowEx has returned it.
  if (message == WM_NCCREATE) window_.reset(window);
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    if (service_) service_->OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_TIMER:
      if (service_) service_->OnTimer(static_cast<int>(wParam));
      return 0;
    case WM_WTSSESSION_CHANGE:
      OnSessionChange(wParam);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows may end the process as soon as this returns: the ordered shutdown of WM_CLOSE runs now,
      // in full, through the window's destruction.
      if (wParam) window_.reset();
      return 0;
    case WM_DEVICECHANGE:
    case WM_COPYDATA:
    case kMsgDeviceBusy:
      return TRUE;
    case kMsgScrollWebView:
      if (scroller_) scroller_->ScrollWebView(static_cast<int>(wParam), lParam != 0);
      return 0;
    default:
      break;
  }
  if (service_) {
    switch (message) {
      case kMsgDeviceEvent:
        service_->OnDeviceMessage(wParam, lParam);
        return 0;
      case kMsgDevicePresence:
        service_->OnPresenceMessage(wParam);
        return 0;
      case kMsgApplyRecord:
        service_->OnApplyRecord(wParam);
        return 0;
      case kMsgFetchRecord:
        service_->OnFetchRecord();
        return 0;
      case kMsgFetchAndApplyPointer:
        service_->OnFetchAndApplyPointer();
        return 0;
      case kMsgTrayCallback:
        service_->OnSystrayNotify(static_cast<unsigned>(lParam));
        return 0;
      case WM_COMMAND:
        service_->OnMenuCommand(LOWORD(wParam));
        return 0;
      default:
        break;
    }
  }
  if (IsIgnoredCommand(message)) return 0;
  return ::DefWindowProcA(window, message, wParam, lParam);
}

int CMonitorWnd::OnCreate() {
  comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  folder_ = ModuleFolder();
  taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
  sessions_ = std::make_unique<SessionNotifications>(hwnd());
  settings_ = std::make_unique<Win32Settings>();
  auto mouseKey = settings_->registry.OpenOrCreate("Control Panel\\Mouse");
  library_ = std::make_unique<KelsorLibrary>(folder_ + "Kelsor.dll");
  pointer_ = std::make_unique<Win32PointerSystem>(hwnd());

  BlockMutex::Created created = BlockMutex::Created::Failed;
  auto mutex = BlockMutex::Create(created);
  // Another service owns the block: this window must not exist.
  if (created == BlockMutex::Created::AlreadyExisted) return -1;
  block_ = std::make_unique<SharedRecordBlock>(std::move(mutex), SharedBlock::Create(), kServiceBlockWait);

  layout_ = std::make_unique<Win32KeyboardLayout>();
  players_ = std::make_unique<Win32MediaPlayers>(hwnd());
  scroller_ = std::make_unique<Win32HorizontalScroller>(hwnd());
  ServicePorts ports{*library_, clock_,    settings_->settings, *pointer_, *block_,        desktop_,
                     shell_,    *this,     debug_,              input_,    *layout_,       timeline_,
                     *this,     *players_, *scroller_, processes_, folder_};
  service_ = std::make_unique<MonitorService>(ports, std::move(mouseKey));
  service_->LoadSettings(::GetSystemDefaultLangID());
  service_->PublishRecord();

  macroThread_.Start(
      [this](UINT message, WPARAM, LPARAM) {
        if (message == kMsgPlayMacro) service_->PlayMacro();
      },
      kWorkerStackCommit);
  deviceThread_.Start([this](UINT message, WPARAM wParam, LPARAM) { OnDeviceThreadMessage(message, wParam); },
                      kWorkerStackCommit);

  ::SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ::GetWindowLongPtrA(hwnd(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  tray_ = std::make_unique<TrayIcon>(hwnd(), ::GetModuleHandleA(nullptr));
  service_->StartDevice(reinterpret_cast<std::uintptr_t>(hwnd()), openConfiguration_);
  return 0;
}

void CMonitorWnd::OnDeviceThreadMessage(UINT message, WPARAM wParam) {
  if (message == kMsgDeviceCommand) service_->RunDeviceCommand(static_cast<int>(wParam));
}

void CMonitorWnd::OnDestroy() {
  if (service_) service_->BeginShutdown();
  deviceThread_.Stop();
  if (service_) service_->CloseDevice();
  library_.reset();
  macroThread_.Stop();
  sessions_.reset();
  if (comStarted_) ::CoUninitialize();
  comStarted_ = false;
  if (block_) block_->Release();
  if (tray_) tray_->Remove();
  ::PostQuitMessage(0);
}

void CMonitorWnd::OnSessionChange(WPARAM change) {
  if (!service_) return;
  if (change == WTS_CONSOLE_CONNECT) service_->OnConsoleConnect();
  if (change == WTS_CONSOLE_DISCONNECT) service_->OnConsoleDisconnect();
}

void CMonitorWnd::BringPopupForward() {
  HWND popup = ::GetLastActivePopup(hwnd());
  if (::IsIconic(popup)) ::ShowWindow(popup, SW_RESTORE);
  ::SetForegroundWindow(popup);
  ::SetActiveWindow(popup);
}

void CMonitorWnd::ShowTrayMenu() {
  ::SetForegroundWindow(::GetLastActivePopup(hwnd()));
  win32::ShowTrayMenu(hwnd());
}

void CMonitorWnd::Close() { ::PostMessageA(hwnd(), WM_CLOSE, 0, 0); }

void CMonitorWnd::StartTimer(int id, int milliseconds) { ::SetTimer(hwnd(), id, milliseconds, nullptr); }

void CMonitorWnd::KillTimer(int id) { ::KillTimer(hwnd(), id); }

void CMonitorWnd::WatchForeground(bool on) {
  if (!on) {
    foregroundHook_.reset();
  } else if (!foregroundHook_) {
    foregroundHook_ = std::make_unique<ForegroundHook>([this] {
      if (service_) service_->OnForegroundChanged();
    });
  }
}

void CMonitorWnd::AddTrayIcon() {
  if (tray_) tray_->Add();
}

void CMonitorWnd::RemoveTrayIcon() {
  if (tray_) tray_->Remove();
}

void CMonitorWnd::PostDeviceCommand(int command) { deviceThread_.Post(kMsgDeviceCommand, command, 0); }

void CMonitorWnd::PostCommand(int command) { ::PostMessageA(hwnd(), WM_COMMAND, static_cast<WPARAM>(command), 0); }

bool CMonitorWnd::PostPlay() { return macroThread_.Post(kMsgPlayMacro, 0, 0); }

}  // namespace kavo::monitor::win32
