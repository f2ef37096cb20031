#pragma once
// BitmapEdit: the single-line edit of the skinned windows, with fixed colours and its own font (Arial 14/6),
// and a numeric mode that admits only digits, "," and ".". It tells its parent
//   WM_EDITCHANGED (kWmEditChanged) 0   after every change of its text (posted),
//   WM_EDITCHANGED 13                   when Enter is released in it,
//   KillFocusMessage() (registered "BitmapEdit_KillFocus") when it loses the focus,
// and shows its help text in the help line while the mouse moves over it.
//
// The owner needs to do nothing for the colours or the change notifications: the edit takes its colour
// requests (WM_CTLCOLOREDIT) and its EN_CHANGE out of the parent's messages itself (see ParentMessages).
// The parent still receives EN_CHANGE and the other notifications afterwards.
//
//   auto edit = BitmapEdit::Create(page, Rect{120, 78, 302, 93}, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 4010);
//   edit->SetNumeric(true);
//   edit->SetHelpText("Type the resolution");
//
// User-interface thread only. The object owns the window; a window destroyed with its parent leaves the
// object harmless.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/hover_help.h"
#include "skin/win32/parent_messages.h"

namespace kavo::skin::win32 {

class BitmapEdit {
 public:
  static constexpr Colour kTextColour = 0x242424;
  static constexpr Colour kBackgroundColour = 0xFFFFFF;

  // The edit at rect (parent's client coordinates) with the owner's style (WS_CHILD is always added) and
  // control id, in its own font. Null when the window could not be made.
  static std::unique_ptr<BitmapEdit> Create(HWND parent, const Rect& rect, DWORD style, int id);
  ~BitmapEdit();
  BitmapEdit(const BitmapEdit&) = delete;
  BitmapEdit& operator=(const BitmapEdit&) = delete;

  // The number of the registered "BitmapEdit_KillFocus" message.
  static UINT KillFocusMessage();

  // Set before the edit is shown; a shown edit repaints.
  void SetColours(Colour text, Colour background);
  // On: key presses other than digits, "," "." and the editing keys are swallowed, and any other text
  // (pasted, set) is cut back to its leading run of "0123456789,.".
  void SetNumeric(bool numeric) { numeric_ = numeric; }
  void SetHelpText(std::string_view text) { help_.SetText(text); }

  std::string Text() const;
  HWND window() const { return window_.get(); }
  HFONT font() const { return font_.get(); }
  bool numeric() const { return numeric_; }

 private:
  BitmapEdit() = default;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> FromParent(UINT message, WPARAM wParam, LPARAM lParam);
  void TextChanged();
  LRESULT ControlColour(HDC dc);
  void Gone();

  kavo::win32::UniqueWindow window_;
  HWND parent_ = nullptr;
  ParentMessages parentMessages_;
  kavo::win32::UniqueFont font_;
  kavo::win32::UniqueBrush brush_;
  Colour text_ = kTextColour;
  Colour background_ = kBackgroundColour;
  bool numeric_ = false;
  // A swallowed key press also swallows the characters it makes: the message loop has translated the
  // press into them before the edit saw it.
  bool swallowCharacters_ = false;
  HoverHelp help_;
};

}  // namespace kavo::skin::win32
