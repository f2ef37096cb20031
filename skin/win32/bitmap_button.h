#pragma once
// BitmapButton: the owner-drawn push button of the skinned windows. It shows one of four pictures
// (normal, hover, pressed, disabled) cut from its window's state pictures, works as a push button or as a
// toggle (check box, radio), lights up under the pointer and tells its parent (WM_HOVERNOTIFY) and the
// help line (WM_HELPTEXT) when the pointer enters and leaves it. Every button has control id 0: the
// parent tells buttons apart by the window handle that comes with WM_COMMAND. The button takes its own
// WM_DRAWITEM out of its parent's messages (ParentMessages), under any parent. User-interface thread only.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/win32_handles.h"
#include "skin/button_hover.h"
#include "skin/button_picture.h"
#include "skin/geometry.h"
#include "skin/layout.h"
#include "skin/win32/parent_messages.h"

namespace kavo::skin::win32 {

// The program's hand cursor among its resources; the system's hand where the program has none.
constexpr int kHandCursorId = 426;

// The four whole-window state pictures a window's controls are cut from; the window owns them.
struct StatePictureSources {
  HBITMAP normal = nullptr;
  HBITMAP hover = nullptr;
  HBITMAP pressed = nullptr;
  HBITMAP disabled = nullptr;
};

// A button's own four pictures, each the button's size.
struct ButtonPictures {
  kavo::win32::UniqueBitmap normal;
  kavo::win32::UniqueBitmap hover;
  kavo::win32::UniqueBitmap pressed;
  kavo::win32::UniqueBitmap disabled;
};

// The part of each state picture under rect (window pixels).
ButtonPictures CutButtonPictures(const StatePictureSources& sources, const Rect& rect);

class BitmapButton {
 public:
  // The button with its window: no text, child and visible, owner-drawn, control id 0, at bounds in
  // parent's client pixels. Null when the window could not be made.
  static std::unique_ptr<BitmapButton> Create(HWND parent, const Rect& bounds);
  static std::unique_ptr<BitmapButton> Create(HWND parent, const LayoutEntry& entry) {
    return Create(parent, entry.Bounds());
  }
  // A button without a window, which keeps what it is given and shows nothing: the stand-in for one
  // whose window could not be made, so that its window's code goes on alike.
  static std::unique_ptr<BitmapButton> Windowless() { return std::unique_ptr<BitmapButton>(new BitmapButton()); }
  ~BitmapButton();
  BitmapButton(const BitmapButton&) = delete;
  BitmapButton& operator=(const BitmapButton&) = delete;

  // The pictures cut from whole-window state pictures at the button's rectangle (window pixels).
  void SetPictures(const StatePictureSources& sources, const Rect& rect);
  // Four pictures of the button's own size; the button takes the normal picture's size where it stands.
  void SetPictures(ButtonPictures pictures);

  // Stored and redrawn only when it changes. In push mode a checked button shows its pressed picture.
  void SetChecked(bool checked);
  void SetToggleMode(bool toggle);
  void SetHandCursor(bool hand) { handCursor_ = hand; }
  // Drawn over the picture in light grey; empty for none.
  void SetCaption(std::string_view caption);
  // A small "TM" after the caption.
  void SetTrademark(bool trademark);
  // Shown in the help line while the pointer rests on the button; also the text of its (inactive) tooltip.
  void SetHelpText(std::string_view text);
  // A text the tooltip shows itself, in the help text's place, while it is not empty; the help line keeps
  // the help text.
  void SetTooltipText(std::string_view text);
  // Sent as lParam of WM_HOVERNOTIFY.
  void SetNotifyValue(int value) { notifyValue_ = value; }

  HWND window() const { return window_; }
  bool checked() const { return checked_; }
  bool toggleMode() const { return toggle_; }
  bool hovering() const { return hover_.hovering(); }
  const std::string& helpText() const { return helpText_; }
  HWND tooltip() const { return tooltip_.get(); }

 private:
  // A tooltip is owned by the button's top-level window, which destroys it first when it goes itself.
  struct TooltipTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND window) {
      if (::IsWindow(window)) ::DestroyWindow(window);
    }
  };

  BitmapButton() = default;
  bool MakeWindow(HWND parent, const Rect& bounds);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnLeftButtonUp(WPARAM wParam, LPARAM lParam);
  void OnDestroyed();

  PointerSituation Situation(POINT screenPoint, bool leftButtonDown) const;
  void Apply(const HoverActions& actions);
  void Announce(bool entered) const;
  void WatchForLeaving() const;
  void Relay(UINT message, WPARAM wParam, LPARAM lParam) const;
  void Redraw() const;
  void Draw(const DRAWITEMSTRUCT& item) const;
  HBITMAP Picture(ButtonPicture which) const;
  void UpdateTooltip();
  void UpdateToolRect() const;
  void DropFrameStyles() const;

  HWND window_ = nullptr;
  ButtonPictures pictures_;
  ButtonHover hover_;
  bool checked_ = false;
  bool toggle_ = false;
  bool handCursor_ = false;
  bool trademark_ = false;
  bool pressed_ = false;  // the left button went down on this button and has not come up yet
  int notifyValue_ = 0;
  std::string caption_;
  std::string helpText_;
  std::string tooltipText_;
  kavo::win32::UniqueFont captionFont_;
  kavo::win32::UniqueFont trademarkFont_;
  kavo::win32::UniqueHandle<HWND, TooltipTraits> tooltip_;
  ParentMessages parentMessages_;
};

}  // namespace kavo::skin::win32
