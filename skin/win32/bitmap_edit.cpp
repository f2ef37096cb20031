#include "skin/win32/bitmap_edit.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "skin/numeric_text.h"
#include "skin/skin_messages.h"
#include "skin/win32/skin_font.h"

namespace kavo::skin::win32 {

using kavo::win32::UniqueFont;

namespace {

}  // namespace

std::unique_ptr<BitmapEdit> BitmapEdit::Create(HWND parent, const Rect& rect, DWORD style, int id) {
  std::unique_ptr<BitmapEdit> edit(new BitmapEdit());
  edit->font_ = SkinFont(14, 6);
  const HWND window = ::CreateWindowExA(0, "EDIT", "", style | WS_CHILD, rect.left, rect.top, rect.Width(),
                                        rect.Height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        ::GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  edit->window_.reset(window);
  edit->parent_ = parent;
  BitmapEdit* self = edit.get();
  if (!::SetWindowSubclass(window, Procedure, 0, reinterpret_cast<DWORD_PTR>(self))) return nullptr;
  if (!edit->parentMessages_.Attach(
          window, [self](UINT message, WPARAM wParam, LPARAM lParam) { return self->FromParent(message, wParam, lParam); })) {
    return nullptr;
  }
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(edit->font_.get()), FALSE);
  return edit;
}

BitmapEdit::~BitmapEdit() { window_.reset(); }

UINT BitmapEdit::KillFocusMessage() {
  static const UINT message = ::RegisterWindowMessageA("BitmapEdit_KillFocus");
  return message;
}

void BitmapEdit::SetColours(Colour text, Colour background) {
  text_ = text;
  background_ = background;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

std::string BitmapEdit::Text() const {
  if (!window_) return {};
  const int length = ::GetWindowTextLengthA(window_.get());
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(window_.get(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

LRESULT CALLBACK BitmapEdit::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR reference) {
  auto* self = reinterpret_cast<BitmapEdit*>(reference);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, Procedure, 0);
    self->Gone();
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
}

LRESULT BitmapEdit::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_.get();
  switch (message) {
    case WM_KEYDOWN:
      swallowCharacters_ = numeric_ && !IsNumericKey(static_cast<unsigned>(wParam));
      if (swallowCharacters_) return 0;
      break;
    case WM_CHAR:
      if (swallowCharacters_) return 0;
      break;
    case WM_KEYUP: {
      swallowCharacters_ = false;
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      if (wParam == VK_RETURN) ::PostMessageA(parent_, kWmEditChanged, kEditChangedEnter, 0);
      return result;
    }
    case WM_KILLFOCUS:
      ::PostMessageA(parent_, KillFocusMessage(), 0, 0);
      break;
    case WM_MOUSEMOVE:
      help_.MouseMoved(window);
      break;
    case WM_MOUSELEAVE:
      help_.MouseLeft();
      break;
    case WM_VSCROLL: {
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> BitmapEdit::FromParent(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) TextChanged();
      return std::nullopt;  // the parent hears of it too
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:  // read-only or disabled
      return ControlColour(reinterpret_cast<HDC>(wParam));
    default:
      return std::nullopt;
  }
}

void BitmapEdit::TextChanged() {
  const HWND window = window_.get();
  if (window == nullptr) return;
  if (numeric_) {
    if (const std::optional<std::string> corrected = NumericCorrection(Text())) {
      // The replacement changes the text again: that change is announced from the nested call, this one
      // after it, so the parent hears of both.
      ::SendMessageA(window, EM_SETSEL, 0, -1);
      ::SendMessageA(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(corrected->c_str()));
    }
  }
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::PostMessageA(parent_, kWmEditChanged, 0, 0);
}

LRESULT BitmapEdit::ControlColour(HDC dc) {
  // A fresh brush for every request; the one handed out before is no longer in use.
  brush_.reset(::CreateSolidBrush(background_));
  ::SetTextColor(dc, text_);
  ::SetBkColor(dc, background_);
  return reinterpret_cast<LRESULT>(brush_.get());
}

void BitmapEdit::Gone() {
  parentMessages_.Detach();
  static_cast<void>(window_.release());
}

}  // namespace kavo::skin::win32
