#pragma once
// A control's side of what its parent is told about it. An edit learns of its own text changes only from
// the EN_CHANGE its parent receives, and a list box or edit is coloured and owner-drawn through the
// parent's WM_CTLCOLOR* and WM_DRAWITEM. Attached to a control, this subclasses the parent and hands
// those messages (WM_COMMAND, WM_CTLCOLOR*, WM_DRAWITEM naming the control,
// and WM_MEASUREITEM when asked) to the control first, so
// the control works under any parent, a SkinDialog or a plain window, with nothing for the owner to do.
// A handler's answer ends the message; without one the parent handles it as before.
//
// User-interface thread only; the parent must belong to the thread.
#include <windows.h>

#include <functional>
#include <optional>

namespace kavo::skin::win32 {

class ParentMessages {
 public:
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

  ParentMessages() = default;
  ~ParentMessages() { Detach(); }
  ParentMessages(const ParentMessages&) = delete;
  ParentMessages& operator=(const ParentMessages&) = delete;

  // False when control has no parent or the parent could not be subclassed. WM_MEASUREITEM names no
  // window, only a control id (0 for all of ours): with measureItems the handler is offered every one of
  // them and must tell by itself whether it is its control that asks.
  bool Attach(HWND control, Handler handler, bool measureItems = false);
  // Idempotent; the control calls it when its window goes.
  void Detach();

 private:
  static LRESULT CALLBACK Procedure(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  bool Concerns(UINT message, LPARAM lParam) const;

  HWND control_ = nullptr;
  HWND parent_ = nullptr;
  Handler handler_;
  bool measureItems_ = false;
};

}  // namespace kavo::skin::win32
