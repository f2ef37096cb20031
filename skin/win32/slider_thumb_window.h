#pragma once
// CPHSlider: the draggable thumb of a picture slider, a child of its track. It is as large as its
// picture, sits on the track's top row and moves from the track's left edge to its right edge. Dragged
// with the left button (the mouse is captured for the drag), it posts WM_SLIDERPOS (kWmSliderPos: value,
// notify value) to the track at every move and once more when it is dropped; with rounding on, a dropped
// thumb snaps to the place of the value it reported.
//
// User-interface thread only. The object owns the window.
#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/slider_thumb.h"
#include "skin/win32/hover_help.h"
#include "platform/win32/window_class.h"

namespace kavo::skin::win32 {

class CPHSlider {
 public:
  // The thumb as a child of parent, centred on (x, y) in its picture's size until a value places it;
  // rightBound is the parent's width. shaped: pixels of the picture's top-left colour are not part of the
  // thumb. Null (no window) without a picture.
  static std::unique_ptr<CPHSlider> Create(HWND parent, kavo::win32::UniqueBitmap picture, int x, int y,
                                           int rightBound, int notifyValue, bool shaped);
  // The same with the picture of this id from module's resources.
  static std::unique_ptr<CPHSlider> Create(HWND parent, HINSTANCE module, int pictureId, int x, int y,
                                           int rightBound, int notifyValue, bool shaped);
  ~CPHSlider();
  CPHSlider(const CPHSlider&) = delete;
  CPHSlider& operator=(const CPHSlider&) = delete;

  // The stored value is kept; set the value after the range.
  void SetRange(int minimum, int maximum) { thumb_.SetRange(minimum, maximum); }
  void SetRounding(bool rounding) { thumb_.SetRounding(rounding); }
  // Clamped to the range, stored, and the thumb put at its place.
  void SetValue(int value);
  void EnableDragging(bool enabled) { thumb_.EnableDragging(enabled); }
  // The thumb belongs to its track's help text.
  void SetHelpText(std::string_view text) { help_.SetText(text); }

  int value() const { return thumb_.value(); }
  bool dragging() const { return thumb_.dragging(); }
  const SliderRange& range() const { return thumb_.range(); }
  HWND window() const { return window_.get(); }
  Extent size() const { return size_; }

 private:
  CPHSlider(kavo::win32::UniqueBitmap picture, const Extent& size, int rightBound, HWND parent, int notifyValue);
  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being freed: the object lets go of it without destroying it again.
  void WindowGone();
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window) const;
  void Drop();
  void Place();
  void Notify(int value) const;

  kavo::win32::UniqueBitmap picture_;
  Extent size_;
  HWND parent_;
  int notifyValue_;
  int row_ = 0;  // the thumb's top in the track
  SliderThumb thumb_;
  HoverHelp help_;
  kavo::win32::UniqueWindow window_;
};

}  // namespace kavo::skin::win32
