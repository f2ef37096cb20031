#pragma once
// The display's hidden top-level window, found by the service through its title. It turns the service's
// messages into notices and carries out what the notice board decides.
#include <windows.h>

#include <memory>

#include "platform/win32/window_class.h"
#include "platform/win32/win32_handles.h"
#include "outside/osd/notice_board.h"
#include "outside/osd/win32/notice_popup.h"

namespace kavo::osd::win32 {

class OsdWindow {
 public:
  OsdWindow(HINSTANCE instance, const DisplaySettings& settings);
  OsdWindow(const OsdWindow&) = delete;
  OsdWindow& operator=(const OsdWindow&) = delete;

  bool Created() const { return static_cast<bool>(window_); }

 private:
  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being freed: the owner lets go of it without destroying it again.
  void WindowGone() { (void)window_.release(); }
  void OnNotice(HWND window, WPARAM reason);
  void Carry(HWND window, const NoticeAction& action);

  HINSTANCE instance_;
  NoticeBoard board_;
  std::unique_ptr<NoticePopup> popup_;
  kavo::win32::UniqueWindow window_;
};

}  // namespace kavo::osd::win32
