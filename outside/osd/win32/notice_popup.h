#pragma once
// The notice on screen: a borderless, topmost tool window that is shown without being activated, so it
// never takes the focus from the program the user works in. Its window text is the notice text.
#include <windows.h>

#include <string>

#include "settings/win32/win32_handles.h"
#include "outside/osd/win32/gdi_owners.h"

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
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint(HWND window);

  HWND listener_;
  UINT dismissed_;

  UniqueFont font_;
  UniqueBrush background_;
  UniqueBrush accent_;
  UniqueBrush border_;
  kavo::win32::UniqueWindow window_;
};

}  // namespace kavo::osd::win32
