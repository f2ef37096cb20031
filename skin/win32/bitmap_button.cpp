#include "skin/win32/bitmap_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "skin/skin_messages.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/help_text.h"
#include "skin/win32/skin_font.h"

namespace kavo::skin::win32 {

using kavo::win32::SelectedObject;
using kavo::win32::UniqueBitmap;
using kavo::win32::UniqueDC;
using kavo::win32::UniqueFont;

namespace {

constexpr UINT_PTR kSubclassId = 1;
// Posted to itself after losing the capture while hovering: the hover is looked at again once the
// window that took the capture (or the standard release that let it go) is done.
constexpr UINT kRecheckHover = WM_USER + 0x1BFF;
constexpr COLORREF kCaptionColour = RGB(0xE0, 0xE0, 0xE0);
constexpr int kCaptionLeft = 5;

HCURSOR HandCursor() {
  static const HCURSOR cursor = [] {
    const HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorId));
    return own != nullptr ? own : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
  }();
  return cursor;
}

bool LeftButtonDown() { return (::GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

POINT CursorPosition() {
  POINT point{};
  ::GetCursorPos(&point);
  return point;
}

void CopyPicture(HDC target, HBITMAP picture, int width, int height) {
  if (picture == nullptr) return;
  const UniqueDC source(::CreateCompatibleDC(target));
  if (!source) return;
  const SelectedObject selected(source.get(), picture);
  ::BitBlt(target, 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
}

}  // namespace

ButtonPictures CutButtonPictures(const StatePictureSources& sources, const Rect& rect) {
  return {CutPicture(sources.normal, rect), CutPicture(sources.hover, rect), CutPicture(sources.pressed, rect),
          CutPicture(sources.disabled, rect)};
}

BitmapButton::~BitmapButton() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

std::unique_ptr<BitmapButton> BitmapButton::Create(HWND parent, const Rect& bounds) {
  std::unique_ptr<BitmapButton> button = Windowless();
  if (!button->MakeWindow(parent, bounds)) return nullptr;
  return button;
}

bool BitmapButton::MakeWindow(HWND parent, const Rect& bounds) {
  if (parent == nullptr) return false;
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  // No tab stop: the skinned windows are worked with the mouse, and Enter and Escape never reach a button.
  const HWND window = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, bounds.left,
                                        bounds.top, bounds.Width(), bounds.Height(), parent, nullptr, instance, nullptr);
  if (window == nullptr) return false;
  if (!::SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    ::DestroyWindow(window);
    return false;
  }
  window_ = window;
  // The parent is asked to draw the owner-drawn button; the button paints itself.
  parentMessages_.Attach(window, [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != WM_DRAWITEM) return std::nullopt;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  });
  return true;
}

void BitmapButton::SetPictures(const StatePictureSources& sources, const Rect& rect) {
  pictures_ = CutButtonPictures(sources, rect);
  if (window_ == nullptr) return;
  DropFrameStyles();
  ::SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Redraw();
}

void BitmapButton::SetPictures(ButtonPictures pictures) {
  pictures_ = std::move(pictures);
  if (window_ == nullptr) return;
  DropFrameStyles();
  const Extent size = PictureSize(pictures_.normal.get());
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  if (size.width <= 0 || size.height <= 0) flags |= SWP_NOSIZE;  // a missing picture keeps the layout's size
  // The tooltip's area follows in WM_SIZE.
  ::SetWindowPos(window_, nullptr, 0, 0, size.width, size.height, flags);
  Redraw();
}

void BitmapButton::DropFrameStyles() const {
  // The pictures make the whole look: no border, and still no tab stop.
  const LONG_PTR style = ::GetWindowLongPtrA(window_, GWL_STYLE);
  ::SetWindowLongPtrA(window_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER | WS_TABSTOP));
}

void BitmapButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Redraw();
}

void BitmapButton::SetToggleMode(bool toggle) {
  if (toggle_ == toggle) return;
  toggle_ = toggle;
  Redraw();
}

void BitmapButton::SetCaption(std::string_view caption) {
  caption_ = caption;
  if (!caption_.empty() && !captionFont_) captionFont_ = SkinFont(14, 5);
  Redraw();
}

void BitmapButton::SetTrademark(bool trademark) {
  trademark_ = trademark;
  if (trademark_ && !trademarkFont_) trademarkFont_ = SkinFont(8, 0);
  Redraw();
}

void BitmapButton::SetHelpText(std::string_view text) {
  helpText_ = text;
  UpdateTooltip();
}

void BitmapButton::SetTooltipText(std::string_view text) {
  if (text == tooltipText_) return;
  tooltipText_ = text;
  UpdateTooltip();
}

void BitmapButton::UpdateTooltip() {
  if (window_ == nullptr) return;  // Create sets the tooltip up
  if (helpText_.empty() && tooltipText_.empty() && !tooltip_) return;  // made only for a text
  if (!tooltip_) {
    static const bool registered = [] {
      INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
      return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    static_cast<void>(registered);
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    tooltip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                     instance, nullptr));
    if (!tooltip_) return;
  }
  // The version 2 size: accepted by every common-controls version, with or without a manifest.
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = window_;
  tool.uId = 0;
  ::GetClientRect(window_, &tool.rect);
  const bool shown = !tooltipText_.empty();
  tool.lpszText = shown ? tooltipText_.data() : helpText_.data();
  if (::SendMessageA(tooltip_.get(), TTM_GETTOOLCOUNT, 0, 0) == 0) {
    ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    ::SendMessageA(tooltip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  // The help line shows the help text; the tooltip only keeps it, and pops up only with a text of its own.
  ::SendMessageA(tooltip_.get(), TTM_ACTIVATE, shown ? TRUE : FALSE, 0);
}

LRESULT CALLBACK BitmapButton::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
  try {
    auto* button = reinterpret_cast<BitmapButton*>(self);
    if (button == nullptr || button->window_ != window) return ::DefSubclassProc(window, message, wParam, lParam);
    return button->OnMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the window system; the only thing that throws is a failed allocation.
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
}

LRESULT BitmapButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  switch (message) {
    case WM_MOUSEMOVE: {
      Relay(message, wParam, lParam);
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ::ClientToScreen(window, &point);
      Apply(hover_.MouseMove(Situation(point, (wParam & MK_LBUTTON) != 0)));
      break;
    }
    case WM_MOUSELEAVE:
      Apply(hover_.PointerGone(Situation(CursorPosition(), LeftButtonDown())));
      if (hover_.hovering()) WatchForLeaving();
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) pressed_ = false;
      Apply(hover_.CaptureLost());
      if (hover_.hovering()) ::PostMessageA(window, kRecheckHover, 0, 0);
      break;
    case kRecheckHover:
      // Never taken from a window that holds the capture now (a menu, a popup).
      if (::GetCapture() == nullptr) Apply(hover_.MouseMove(Situation(CursorPosition(), LeftButtonDown())));
      return 0;
    case WM_KILLFOCUS:
      Apply(hover_.FocusLost(Situation(CursorPosition(), LeftButtonDown())));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Relay(message, wParam, lParam);
      return OnLeftButtonDown(wParam, lParam);
    case WM_LBUTTONUP:
      Relay(message, wParam, lParam);
      return OnLeftButtonUp(wParam, lParam);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      Relay(message, wParam, lParam);
      break;
    case WM_SETCURSOR:
      if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(HandCursor());
        return TRUE;
      }
      break;
    case WM_SIZE:
      UpdateToolRect();
      break;
    case WM_NCDESTROY:
      OnDestroyed();
      return ::DefSubclassProc(window, message, wParam, lParam);
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT BitmapButton::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  // A click into a window of the program that is not active makes it active first. A child window cannot
  // be the active one, so a page's button activates the window the page sits in.
  const HWND root = ::GetAncestor(window, GA_ROOT);
  if (root != nullptr && ::GetActiveWindow() != root) ::SetActiveWindow(root);
  pressed_ = true;
  // A second press soon after the first is a click of its own: the standard owner-drawn button would
  // turn it into BN_DOUBLECLICKED and leave the button unpressed.
  return ::DefSubclassProc(window, WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT BitmapButton::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  if (!toggle_) {
    pressed_ = false;
    // The standard release: the parent hears BN_CLICKED when the pointer is still on the button.
    return ::DefSubclassProc(window, WM_LBUTTONUP, wParam, lParam);
  }
  if (!std::exchange(pressed_, false)) return 0;
  // A toggle flips on every release of its own press and tells its parent at once. The standard release
  // is skipped: a hovering button keeps the capture for the hover; without a hover (a click that
  // activated the program) the capture only served the press.
  checked_ = !checked_;
  Redraw();
  if (!hover_.hovering() && ::GetCapture() == window) ::ReleaseCapture();
  // The parent may close the window in its handler: nothing of this button is touched after the send.
  ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(window));
  return 0;
}

void BitmapButton::OnDestroyed() {
  ::RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
  parentMessages_.Detach();
  // A button that goes while the pointer rests on it takes its text out of the help line.
  if (hover_.hovering()) LeaveHelpText();
  hover_ = ButtonHover();
  pressed_ = false;
  window_ = nullptr;
  // Its pictures, fonts and tooltip go with the window.
  pictures_ = ButtonPictures();
  captionFont_.reset();
  trademarkFont_.reset();
  tooltip_.reset();
}

PointerSituation BitmapButton::Situation(POINT screenPoint, bool leftButtonDown) const {
  PointerSituation now;
  now.leftButtonDown = leftButtonDown;
  now.holdsCapture = ::GetCapture() == window_;
  now.programActive = ::GetActiveWindow() != nullptr;
  now.hasParent = ::GetParent(window_) != nullptr;
  now.overThisButton = ::WindowFromPoint(screenPoint) == window_;
  return now;
}

void BitmapButton::Apply(const HoverActions& actions) {
  if (actions.left) Announce(false);
  if (actions.entered) Announce(true);
  if (actions.releaseCapture && ::GetCapture() == window_) ::ReleaseCapture();
  if (actions.takeCapture) {
    ::SetCapture(window_);
    // The capture does not follow the pointer onto another program's windows; the system tells the
    // button when the pointer is gone there.
    WatchForLeaving();
  }
  if (actions.redraw) Redraw();
}

void BitmapButton::Announce(bool entered) const {
  const HWND parent = ::GetParent(window_);
  if (parent != nullptr) ::PostMessageA(parent, kWmHoverNotify, entered ? 1 : 0, notifyValue_);
  if (entered) {
    EnterHelpText(helpText_);
  } else {
    LeaveHelpText();
  }
}

void BitmapButton::WatchForLeaving() const {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
  ::TrackMouseEvent(&track);
}

void BitmapButton::Relay(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!tooltip_) return;
  MSG relayed{window_, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
  const DWORD position = ::GetMessagePos();
  relayed.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  ::SendMessageA(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void BitmapButton::Redraw() const {
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, FALSE);
}

HBITMAP BitmapButton::Picture(ButtonPicture which) const {
  switch (which) {
    case ButtonPicture::kHover: return pictures_.hover.get();
    case ButtonPicture::kPressed: return pictures_.pressed.get();
    case ButtonPicture::kDisabled: return pictures_.disabled.get();
    case ButtonPicture::kNormal: break;
  }
  return pictures_.normal.get();
}

void BitmapButton::Draw(const DRAWITEMSTRUCT& item) const {
  ButtonLook look;
  look.toggle = toggle_;
  look.checked = checked_;
  look.disabled = (item.itemState & ODS_DISABLED) != 0;
  look.held = (item.itemState & ODS_SELECTED) != 0;
  look.hovering = hover_.hovering();
  const HBITMAP picture = Picture(ChooseButtonPicture(look));
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (caption_.empty()) {
    CopyPicture(item.hDC, picture, width, height);
    return;
  }
  // Picture and caption are put together off screen and shown in one copy.
  const UniqueDC canvas(::CreateCompatibleDC(item.hDC));
  const UniqueBitmap canvasPicture(::CreateCompatibleBitmap(item.hDC, width, height));
  if (!canvas || !canvasPicture) return;
  {
    const SelectedObject drawing(canvas.get(), canvasPicture.get());
    CopyPicture(canvas.get(), picture, width, height);
    ::SetBkMode(canvas.get(), TRANSPARENT);
    ::SetTextColor(canvas.get(), kCaptionColour);
    SIZE extent{};
    int top = 0;
    {
      const SelectedObject font(canvas.get(), captionFont_.get());
      ::GetTextExtentPoint32A(canvas.get(), caption_.data(), static_cast<int>(caption_.size()), &extent);
      top = height / 2 - extent.cy / 2;
      ::TextOutA(canvas.get(), kCaptionLeft, top, caption_.data(), static_cast<int>(caption_.size()));
    }
    if (trademark_) {
      const SelectedObject font(canvas.get(), trademarkFont_.get());
      ::TextOutA(canvas.get(), kCaptionLeft + extent.cx, top, "TM", 2);
    }
    ::BitBlt(item.hDC, 0, 0, width, height, canvas.get(), 0, 0, SRCCOPY);
  }
}

void BitmapButton::UpdateToolRect() const {
  if (!tooltip_ || window_ == nullptr) return;
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = window_;
  tool.uId = 0;
  ::GetClientRect(window_, &tool.rect);
  ::SendMessageA(tooltip_.get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kavo::skin::win32
