#include "skin/win32/slider_thumb_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "skin/skin_messages.h"
#include "skin/thumb_shape.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/picture_resources.h"
#include "platform/win32/window_class.h"
#include "skin/win32/window_region.h"

namespace kavo::skin::win32 {

using kavo::win32::ControlWindowProc;
using kavo::win32::RegisterWindowClass;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueRegion;

namespace {

constexpr char kThumbClass[] = "KavoSliderThumb";


// The thumb's shape: its picture without the pixels of the top-left pixel's colour.
UniqueRegion ThumbRegion(HBITMAP picture, const Extent& size) {
  const std::vector<std::uint32_t> pixels = ReadPicturePixels(picture, size);
  if (pixels.empty()) return {};
  return RegionFromMaskPixels(ThumbShapeMask(pixels, size.width, size.height), size);
}

}  // namespace

CPHSlider::CPHSlider(UniqueBitmap picture, const Extent& size, int rightBound, HWND parent, int notifyValue)
    : picture_(std::move(picture)),
      size_(size),
      parent_(parent),
      notifyValue_(notifyValue),
      thumb_(ThumbTrack{0, rightBound, size.width}) {}

std::unique_ptr<CPHSlider> CPHSlider::Create(HWND parent, HINSTANCE module, int pictureId, int x, int y,
                                             int rightBound, int notifyValue, bool shaped) {
  return Create(parent, LoadPicture(module, pictureId), x, y, rightBound, notifyValue, shaped);
}

std::unique_ptr<CPHSlider> CPHSlider::Create(HWND parent, UniqueBitmap picture, int x, int y, int rightBound,
                                             int notifyValue, bool shaped) {
  const Extent size = PictureSize(picture.get());
  if (size.width <= 0 || size.height <= 0) return nullptr;
  if (!RegisterWindowClass(kThumbClass, ControlWindowProc<CPHSlider>, ::LoadCursorA(nullptr, IDC_ARROW))) return nullptr;
  std::unique_ptr<CPHSlider> thumb(new CPHSlider(std::move(picture), size, rightBound, parent, notifyValue));
  // Asked for topmost as the thumbs always were; the window manager drops the bit from a child window.
  const HWND window = ::CreateWindowExA(WS_EX_TOPMOST, kThumbClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                        x - size.width / 2, y - size.height / 2, size.width, size.height, parent,
                                        nullptr, ::GetModuleHandleA(nullptr), thumb.get());
  if (window == nullptr) return nullptr;
  thumb->window_.reset(window);
  if (shaped) {
    const UniqueRegion region = ThumbRegion(thumb->picture_.get(), size);
    if (region) ApplyWindowRegion(window, region.get());
  }
  return thumb;
}

CPHSlider::~CPHSlider() { window_.reset(); }

void CPHSlider::SetValue(int value) {
  thumb_.SetValue(value);
  Place();
}

void CPHSlider::WindowGone() { static_cast<void>(window_.release()); }

LRESULT CPHSlider::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole thumb
    case WM_LBUTTONDOWN:
      if (thumb_.ButtonDown(GET_X_LPARAM(lParam))) ::SetCapture(window);
      return 0;
    case WM_MOUSEMOVE:
      if (thumb_.dragging()) {
        if (const std::optional<int> value = thumb_.MouseMove(GET_X_LPARAM(lParam))) {
          Place();
          Notify(*value);
        }
      } else {
        help_.MouseMoved(window);
      }
      return 0;
    case WM_LBUTTONUP:
      Drop();
      return 0;
    case WM_CAPTURECHANGED:
      // The capture taken away in the middle of a drag (another window, a menu): the thumb is dropped
      // where it is, so it never stays in a drag nobody ends.
      Drop();
      return 0;
    case WM_MOUSELEAVE:
      help_.MouseLeft();
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

void CPHSlider::Paint(HWND window) const { PaintPicture(window, picture_.get(), size_); }

void CPHSlider::Drop() {
  const std::optional<int> value = thumb_.ButtonUp();
  if (!value) return;
  // Not dragging any more: the capture change this causes finds nothing to drop.
  if (::GetCapture() == window_.get()) ::ReleaseCapture();
  Place();
  Notify(*value);
}

void CPHSlider::Place() {
  if (!window_) return;
  ::SetWindowPos(window_.get(), nullptr, thumb_.left(), row_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window_.get(), nullptr, FALSE);
}

void CPHSlider::Notify(int value) const {
  ::PostMessageA(parent_, kWmSliderPos, static_cast<WPARAM>(static_cast<INT_PTR>(value)), notifyValue_);
}

}  // namespace kavo::skin::win32
