#include "outside/osd/win32/notice_popup.h"

#include <vector>

#include "outside/osd/notice_layout.h"
#include "outside/osd/osd_messages.h"

namespace kavo::osd::win32 {
namespace {

using kavo::win32::SelectedObject;
using kavo::win32::WindowDC;

constexpr COLORREF kBackground = RGB(32, 34, 40);
constexpr COLORREF kAccent = RGB(0, 150, 255);
constexpr COLORREF kBorder = RGB(90, 96, 110);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr int kAccentWidth = 5;
constexpr int kFontHeight = 22;  // pixels; the notice is read at a glance
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS;

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

NoticePopup::NoticePopup(HINSTANCE instance, HWND listener, UINT dismissed)
    : listener_(listener),
      dismissed_(dismissed),
      font_(::CreateFontA(-kFontHeight, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          "Tahoma")),
      background_(::CreateSolidBrush(kBackground)),
      accent_(::CreateSolidBrush(kAccent)),
      border_(::CreateSolidBrush(kBorder)) {
  kavo::win32::RegisterWindowClass(kNoticeClassName, kavo::win32::ControlWindowProc<NoticePopup>,
                                   ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  window_.reset(::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNoticeClassName, "",
                                  WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this));
}

void NoticePopup::Show(const std::string& text) {
  if (!window_) return;
  HWND window = window_.get();
  ::SetWindowTextA(window, text.c_str());

  SIZE measured{0, 0};
  {
    WindowDC dc(window);
    SelectedObject font(dc.get(), font_.get());
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured);
  }
  RECT workArea{};
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) {
    workArea = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  const Rect place = NoticeRect(ToRect(workArea), {measured.cx, measured.cy});
  ::SetWindowPos(window, HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(window, nullptr, TRUE);
  ::UpdateWindow(window);
}

void NoticePopup::Hide() {
  if (window_) ::ShowWindow(window_.get(), SW_HIDE);
}

LRESULT NoticePopup::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click must not take the focus either
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_LBUTTONUP:
      // A click dismisses the notice; the display window decides and stops the timer.
      ::PostMessageA(listener_, dismissed_, 0, 0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

void NoticePopup::OnPaint(HWND window) {
  const kavo::win32::PaintScope paint(window);
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(paint.dc(), &client, background_.get());
  RECT strip{client.left, client.top, client.left + kAccentWidth, client.bottom};
  ::FillRect(paint.dc(), &strip, accent_.get());
  ::FrameRect(paint.dc(), &client, border_.get());

  const int length = ::GetWindowTextLengthA(window);
  std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(window, text.data(), length + 1);
  RECT textRect = ToRECT(TextRect({client.right - client.left, client.bottom - client.top}));
  SelectedObject font(paint.dc(), font_.get());
  ::SetBkMode(paint.dc(), TRANSPARENT);
  ::SetTextColor(paint.dc(), kTextColour);
  ::DrawTextA(paint.dc(), text.data(), -1, &textRect, kTextFormat);
}

}  // namespace kavo::osd::win32
