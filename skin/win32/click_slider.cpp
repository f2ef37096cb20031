#include "skin/win32/click_slider.h"

#include <windowsx.h>

#include <utility>

#include "skin/skin_messages.h"
#include "skin/slider_math.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/picture_resources.h"
#include "platform/win32/window_class.h"

namespace kavo::skin::win32 {

using kavo::win32::ControlWindowProc;
using kavo::win32::RegisterWindowClass;
using kavo::win32::UniqueBitmap;

namespace {

constexpr char kTrackClass[] = "KavoSliderTrack";


}  // namespace

CclickHSlider::CclickHSlider(UniqueBitmap thumbPicture, HWND parent, int notifyValue)
    : thumbPicture_(std::move(thumbPicture)), parent_(parent), notifyValue_(notifyValue) {}

std::unique_ptr<CclickHSlider> CclickHSlider::Create(HWND parent, const Rect& rect, HINSTANCE module,
                                                     int thumbPictureId, int notifyValue) {
  return Create(parent, rect, LoadPicture(module, thumbPictureId), notifyValue);
}

std::unique_ptr<CclickHSlider> CclickHSlider::Create(HWND parent, const Rect& rect, UniqueBitmap thumbPicture,
                                                     int notifyValue) {
  if (!thumbPicture || !RegisterWindowClass(kTrackClass, ControlWindowProc<CclickHSlider>, ::LoadCursorA(nullptr, IDC_ARROW))) {
    return nullptr;
  }
  std::unique_ptr<CclickHSlider> track(new CclickHSlider(std::move(thumbPicture), parent, notifyValue));
  // The thumb is made while the track's window is created; without it there is no track.
  const HWND window = ::CreateWindowExA(0, kTrackClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                                        rect.top, rect.Width(), rect.Height(), parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(notifyValue)),
                                        ::GetModuleHandleA(nullptr), track.get());
  if (window == nullptr) return nullptr;
  track->window_.reset(window);
  return track;
}

CclickHSlider::~CclickHSlider() { window_.reset(); }

void CclickHSlider::SetBackground(HBITMAP pagePicture) {
  const RECT place = PlaceInParent();
  background_ = CutPicture(pagePicture, Rect{place.left, place.top, place.right, place.bottom});
  if (window_) ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void CclickHSlider::SetRange(int minimum, int maximum) {
  if (thumb_) thumb_->SetRange(minimum, maximum);
}

void CclickHSlider::SetRounding(bool rounding) {
  rounding_ = rounding;
  if (thumb_) thumb_->SetRounding(rounding);
}

void CclickHSlider::SetValue(int value) {
  if (thumb_) thumb_->SetValue(value);
  if (window_) ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void CclickHSlider::SetHelpText(std::string_view text) {
  help_.SetText(text);
  if (thumb_) thumb_->SetHelpText(text);
}

void CclickHSlider::WindowGone() { static_cast<void>(window_.release()); }

LRESULT CclickHSlider::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return MakeThumb(window) ? 0 : -1;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the background picture covers the track
    case WM_LBUTTONUP:
      Clicked(window, lParam);
      return 0;
    case kWmSliderPos:
      // The thumb moved or was dropped: the page hears it from the track, with the track's notify value.
      ::PostMessageA(parent_, kWmSliderPos, wParam, notifyValue_);
      return 0;
    case WM_MOUSEMOVE:
      help_.MouseMoved(window);
      return 0;
    case WM_MOUSELEAVE:
      help_.MouseLeft();
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

bool CclickHSlider::MakeThumb(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  thumb_ = CPHSlider::Create(window, std::move(thumbPicture_), 0, 0, client.right, notifyValue_, true);
  if (!thumb_) return false;
  thumb_->SetValue(0);
  thumb_->EnableDragging(true);
  return true;
}

void CclickHSlider::Paint(HWND window) const {
  RECT client{};
  ::GetClientRect(window, &client);
  PaintPicture(window, background_.get(), Extent{client.right, client.bottom});
}

void CclickHSlider::Clicked(HWND window, LPARAM clientPoint) {
  if (!thumb_) return;
  // The click in the page's coordinates against the track's place there: the whole width is the range.
  POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  ::MapWindowPoints(window, parent_, &point, 1);
  const RECT place = PlaceInParent();
  const int value = TrackClickValue(point.x, place.left, place.right, thumb_->range(), rounding_);
  thumb_->SetValue(value);
  ::PostMessageA(parent_, kWmSliderPos, static_cast<WPARAM>(static_cast<INT_PTR>(value)), notifyValue_);
}

RECT CclickHSlider::PlaceInParent() const {
  RECT place{};
  if (!window_) return place;
  ::GetWindowRect(window_.get(), &place);
  ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

}  // namespace kavo::skin::win32
