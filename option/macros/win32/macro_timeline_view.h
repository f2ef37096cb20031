#pragma once
// The macro manager's timeline view: an owner-drawn child at the manager's CHILD_POS that shows the
// selected macro as one bar per key stroke (MacroTimeline decides everything; this window paints it and
// feeds it clicks, drags, scroll bars, its four buttons and the captured key). User-interface thread only.
#include <windows.h>

#include <functional>
#include <memory>

#include "option/macros/macro_timeline.h"
#include "option/common/win32/keyboard_hook.h"
#include "settings/keyboard_layout.h"
#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/bitmap_button.h"

namespace kavo::option::win32 {

class MacroTimelineView {
 public:
  // Where things are inside the view (490 by 365 pixels): key labels on the left, the bar area to their
  // right, one row per bar.
  static constexpr int kLabelWidth = 90;
  static constexpr int kBarLeft = 92;
  static constexpr int kBarWidth = 376;
  static constexpr int kRowTop = 24;
  static constexpr int kRowHeight = 15;

  // The view, hidden, at bounds in the parent's pixels (the manager's CHILD_POS), naming keys through
  // keys. Null when its window could not be made.
  static std::unique_ptr<MacroTimelineView> Create(HWND parent, const skin::Rect& bounds, KeyboardLayout& keys);
  ~MacroTimelineView();
  MacroTimelineView(const MacroTimelineView&) = delete;
  MacroTimelineView& operator=(const MacroTimelineView&) = delete;
  // Called with true when the view starts waiting for a key (the manager disables its controls) and
  // with false when the key has arrived.
  void SetBusyHandler(std::function<void(bool)> busy) { busy_ = std::move(busy); }

  // Shows a macro of the library (none: an empty view); the view keeps editing it until the next Show.
  void Show(Macro* macro);
  // The bars into the macro shown, before the manager shows anything else.
  void WriteBack();

  HWND window() const { return window_.get(); }
  const MacroTimeline& timeline() const { return timeline_; }
  HWND addButton() const { return ButtonWindow(add_); }
  HWND deleteButton() const { return ButtonWindow(delete_); }
  HWND zoomInButton() const { return ButtonWindow(zoomIn_); }
  HWND zoomOutButton() const { return ButtonWindow(zoomOut_); }

  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void WindowGone() { (void)window_.release(); }

 private:
  using Button = std::unique_ptr<skin::win32::BitmapButton>;
  explicit MacroTimelineView(KeyboardLayout& keys);
  static HWND ButtonWindow(const Button& button) { return button ? button->window() : nullptr; }
  Button MakeButton(const skin::Rect& rect, skin::win32::ButtonPictures pictures, const char* helpText) const;
  void CreateControls();
  void OnCommand(HWND control);
  void OnScroll(int bar, WPARAM wParam);
  void OnKeyCaptured(WPARAM virtualKey);
  void OnLeftButtonDown(int x, int y);
  void Paint(HDC dc, int width, int height);
  void Refresh();
  int VisibleRowAt(int y) const;

  KeyboardLayout& keys_;
  MacroTimeline timeline_;
  Macro* macro_ = nullptr;
  kavo::win32::UniqueWindow window_;
  HWND rowBar_ = nullptr;   // scroll bar children, destroyed with the view
  HWND timeBar_ = nullptr;
  Button add_;
  Button delete_;
  Button zoomIn_;
  Button zoomOut_;
  kavo::win32::UniqueFont font_;
  std::unique_ptr<KeyboardCapture> capture_;
  std::function<void(bool)> busy_;
};

}  // namespace kavo::option::win32
