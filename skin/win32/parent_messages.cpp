#include "skin/win32/parent_messages.h"

#include <commctrl.h>

#include <utility>

namespace kavo::skin::win32 {
namespace {

// The control a parent's message is about, or null when it names none: WM_DRAWITEM's item window and the
// WM_CTLCOLOR* messages' control. WM_MEASUREITEM names only a control id, which is 0 for all of ours.
HWND MessageControl(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lParam);
    default: return nullptr;
  }
}

}  // namespace

bool ParentMessages::Attach(HWND control, Handler handler, bool measureItems) {
  Detach();
  const HWND parent = ::GetParent(control);
  if (parent == nullptr) return false;
  control_ = control;
  parent_ = parent;
  handler_ = std::move(handler);
  measureItems_ = measureItems;
  // One subclass per control, told apart by this object's address.
  if (!::SetWindowSubclass(parent_, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this))) {
    control_ = parent_ = nullptr;
    handler_ = nullptr;
    return false;
  }
  return true;
}

void ParentMessages::Detach() {
  if (parent_ == nullptr) return;
  ::RemoveWindowSubclass(parent_, Procedure, reinterpret_cast<UINT_PTR>(this));
  control_ = parent_ = nullptr;
}

bool ParentMessages::Concerns(UINT message, LPARAM lParam) const {
  if (message == WM_COMMAND) return lParam != 0 && reinterpret_cast<HWND>(lParam) == control_;
  if (message == WM_MEASUREITEM) return measureItems_;
  if (message == WM_DRAWITEM && reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) return false;
  return MessageControl(message, lParam) == control_;
}

LRESULT CALLBACK ParentMessages::Procedure(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR reference) {
  auto* self = reinterpret_cast<ParentMessages*>(reference);
  if (message == WM_NCDESTROY) {
    self->Detach();
    return ::DefSubclassProc(parent, message, wParam, lParam);
  }
  try {
    if (self->control_ != nullptr && self->Concerns(message, lParam)) {
      if (const std::optional<LRESULT> answer = self->handler_(message, wParam, lParam)) return *answer;
    }
  } catch (...) {
    // Nothing unwinds into the window manager; the parent handles the message as if untouched.
  }
  return ::DefSubclassProc(parent, message, wParam, lParam);
}

}  // namespace kavo::skin::win32
