#pragma once
// CMonitorWnd: the service's hidden window. It owns everything the service runs on (device library,
// shared block, worker threads, tray icon) and turns its window messages into the service's handlers.
#include <windows.h>

#include <memory>
#include <string>

#include "monitor/service.h"
#include "monitor/win32/foreground_hook.h"
#include "monitor/win32/kelsor_library.h"
#include "monitor/win32/session_notifications.h"
#include "monitor/win32/tray_icon.h"
#include "monitor/win32/win32_clock.h"
#include "monitor/win32/win32_desktop.h"
#include "monitor/win32/win32_horizontal_scroller.h"
#include "monitor/win32/win32_media_players.h"
#include "monitor/win32/win32_pointer_system.h"
#include "monitor/win32/win32_process_info.h"
#include "monitor/win32/win32_timeline.h"
#include "monitor/win32/worker_thread.h"
#include "platform/win32/window_class.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/shared_record_block.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "settings/win32/win32_settings.h"

namespace kavo::monitor::win32 {

class CMonitorWnd final : private ServiceWindow, private MacroQueue {
 public:
  explicit CMonitorWnd(bool openConfiguration) : openConfiguration_(openConfiguration) {}
  ~CMonitorWnd() override;
  CMonitorWnd(const CMonitorWnd&) = delete;
  CMonitorWnd& operator=(const CMonitorWnd&) = delete;

  // False when the window refused to be created (another service's block mutex exists).
  bool Create(HINSTANCE instance);
  HWND hwnd() const { return window_.get(); }

 private:
  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being freed: the owner lets go of it without destroying it again.
  void WindowGone() { (void)window_.release(); }
  int OnCreate();
  void OnDestroy();
  void OnSessionChange(WPARAM change);
  void OnDeviceThreadMessage(UINT message, WPARAM wParam);

  // ServiceWindow
  void StartTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  void WatchForeground(bool on) override;
  void AddTrayIcon() override;
  void RemoveTrayIcon() override;
  void PostDeviceCommand(int command) override;
  void PostCommand(int command) override;
  void BringPopupForward() override;
  void ShowTrayMenu() override;
  void Close() override;
  // MacroQueue
  bool PostPlay() override;

  bool openConfiguration_;
  kavo::win32::UniqueWindow window_;  // destroyed first of all, in the destructor: its end uses the members below
  UINT taskbarCreated_ = 0;  // the shell's message when it starts again; 0 when it could not be registered
  bool comStarted_ = false;
  std::string folder_;
  std::unique_ptr<SessionNotifications> sessions_;
  std::unique_ptr<kavo::win32::Win32Settings> settings_;
  std::unique_ptr<KelsorLibrary> library_;
  Win32Clock clock_;
  std::unique_ptr<Win32PointerSystem> pointer_;
  std::unique_ptr<kavo::win32::SharedRecordBlock> block_;
  Win32Desktop desktop_;
  Win32Shell shell_;
  Win32DebugOutput debug_;
  Win32InputSink input_;
  std::unique_ptr<kavo::win32::Win32KeyboardLayout> layout_;
  Win32Timeline timeline_;
  std::unique_ptr<Win32MediaPlayers> players_;
  std::unique_ptr<Win32HorizontalScroller> scroller_;
  Win32ProcessInfo processes_;
  std::unique_ptr<MonitorService> service_;
  std::unique_ptr<ForegroundHook> foregroundHook_;  // gone before the service it calls
  std::unique_ptr<TrayIcon> tray_;
  WorkerThread macroThread_;
  WorkerThread deviceThread_;
};

}  // namespace kavo::monitor::win32
