#pragma once
// Sideways scrolling of the window under the pointer on Windows. A web view's document is scrolled later,
// when the service window handles the message the tilt posted to it (kMsgScrollWebView: wParam count,
// lParam 1 left, 0 right).
#include <windows.h>

#include "monitor/host_functions.h"
#include "monitor/win32/win32_web_documents.h"
#include "monitor/win32/win32_window_tree.h"

namespace kavo::monitor::win32 {

class Win32HorizontalScroller final : public HorizontalScroller {
 public:
  explicit Win32HorizontalScroller(HWND serviceWindow) : output_(serviceWindow) {}
  void Scroll(int direction, int units) override { ScrollHorizontally(tree_, output_, direction, units); }
  void ScrollWebView(int count, bool left) { monitor::ScrollWebView(tree_, documents_, output_, count, left); }

 private:
  Win32WindowTree tree_;
  Win32ScrollOutput output_;
  Win32WebDocuments documents_;
};

}  // namespace kavo::monitor::win32
