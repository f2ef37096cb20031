#pragma once
// The notice on screen: a borderless, topmost tool window that is shown without being activated, so it
// never takes the focus from the program the user works in. Its window text is the notice text.
#include <windows.h>

#include <string>

#include "platform/win32/window_class.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_handles.h"

namespace kavo::osd::win32 {

class NoticePopup {
 public:
  // A click on the notice posts dismissed to listener.
  NoticePopup(HINSTANCE instance, HWND listener, UINT dismissed);
  NoticePopup(const NoticePopup&) = delete;
  NoticePopup& operator=(const NoticePopup&) = delete;

  bool Created() const { return static_cast<bool>(window_); }
  void Show(const std::string& text);
  void Hide();
  void Destroy() { window_.reset(); }

 private:
  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being freed: the owner lets go of it without destroying it again.
  void WindowGone() { (void)window_.release(); }
  void OnPaint(HWND window);

  HWND listener_;
  UINT dismissed_;

  kavo::win32::UniqueFont font_;
  kavo::win32::UniqueBrush background_;
  kavo::win32::UniqueBrush accent_;
  kavo::win32::UniqueBrush border_;
  kavo::win32::UniqueWindow window_;
};

}  // namespace kavo::osd::win32
