#pragma once
// CclickHSlider: the track of a horizontal picture slider, a child of its page holding a CPHSlider thumb.
// It shows the page picture's cut-out under it, so the slider looks painted on the page. A click on the
// track (the button released over it, not over the thumb) maps the point across the whole track width onto
// the range; the thumb is set there and the page receives WM_SLIDERPOS (kWmSliderPos: value, notify value),
// as it does for every move and drop of the thumb. The track's help text shows in the help line while the
// mouse moves over it.
//
//   auto slider = CclickHSlider::Create(instance, kThumbPicture, Rect{40, 120, 240, 136}, page, 7);
//   slider->SetBackground(pagePicture);
//   slider->SetRange(1, 10);
//   slider->SetRounding(true);
//   slider->SetValue(5);
//
// User-interface thread only. The object owns the track; the thumb lives inside it.
#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/hover_help.h"
#include "skin/win32/slider_thumb_window.h"
#include "platform/win32/window_class.h"

namespace kavo::skin::win32 {

class CclickHSlider {
 public:
  // The track at rect (parent's client coordinates) with its thumb at value 0 of the range 0..10;
  // notifyValue is the track's control id and the lParam of its WM_SLIDERPOS. Null (no window) without a
  // thumb picture.
  static std::unique_ptr<CclickHSlider> Create(HWND parent, const Rect& rect, kavo::win32::UniqueBitmap thumbPicture,
                                               int notifyValue);
  // The same with the thumb picture of this id from module's resources.
  static std::unique_ptr<CclickHSlider> Create(HWND parent, const Rect& rect, HINSTANCE module, int thumbPictureId,
                                               int notifyValue);
  ~CclickHSlider();
  CclickHSlider(const CclickHSlider&) = delete;
  CclickHSlider& operator=(const CclickHSlider&) = delete;

  // Cuts the track's background out of the page's picture at the track's place.
  void SetBackground(HBITMAP pagePicture);
  // The thumb keeps its value; set the value after the range.
  void SetRange(int minimum, int maximum);
  void SetRounding(bool rounding);
  // Clamped to the range; the thumb moves there and the track is redrawn. Nothing is posted.
  void SetValue(int value);
  void SetHelpText(std::string_view text);

  int value() const { return thumb_ != nullptr ? thumb_->value() : 0; }
  HWND window() const { return window_.get(); }
  CPHSlider& thumb() const { return *thumb_; }

 private:
  CclickHSlider(kavo::win32::UniqueBitmap thumbPicture, HWND parent, int notifyValue);
  template <typename Control>
  friend LRESULT CALLBACK kavo::win32::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window is being freed: the object lets go of it without destroying it again.
  void WindowGone();
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool MakeThumb(HWND window);
  void Paint(HWND window) const;
  void Clicked(HWND window, LPARAM point);
  RECT PlaceInParent() const;

  kavo::win32::UniqueBitmap thumbPicture_;  // until the thumb takes it
  HWND parent_;
  int notifyValue_;
  bool rounding_ = false;
  kavo::win32::UniqueBitmap background_;
  HoverHelp help_;
  std::unique_ptr<CPHSlider> thumb_;
  kavo::win32::UniqueWindow window_;
};

}  // namespace kavo::skin::win32
