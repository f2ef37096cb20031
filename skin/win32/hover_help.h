#pragma once
// The help text of an edit or a slider: while the mouse moves over the control, the help line shows the
// control's text (the line is told only when its text changes). The text stays when the mouse leaves;
// leaving only disarms the tracking, so that the next entry is noticed.
#include <windows.h>

#include <string>
#include <string_view>

namespace kavo::skin::win32 {

class HoverHelp {
 public:
  void SetText(std::string_view text) { text_ = text; }
  const std::string& text() const { return text_; }

  // WM_MOUSEMOVE over window.
  void MouseMoved(HWND window);
  // WM_MOUSELEAVE.
  void MouseLeft() { armed_ = false; }
  bool armed() const { return armed_; }

 private:
  std::string text_;
  bool armed_ = false;
};

}  // namespace kavo::skin::win32
