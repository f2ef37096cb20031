#pragma once
// SkinDialog: the frame of every skinned window of the configuration program. The window is a dialog on an
// empty template, shaped by its mask picture, sized to and painted with its background picture; its
// buttons show cut-outs of its four whole-window state pictures. Any point of the background drags the
// window (a page drags the window it sits in), and Escape and Enter never reach the dialog manager: a
// skinned window closes through its buttons (or a close request, which cancels).
//
// A window of the program derives from it, gives its pictures and adds its controls in OnBuild, draws its
// own texts in PaintTexts and handles its buttons with the handlers given to AddButton:
//
//   class ConfirmDialog : public SkinDialog {
//    public:
//     explicit ConfirmDialog(HINSTANCE instance) : SkinDialog(instance, kDialogTemplate) {}
//    protected:
//     void OnBuild() override {
//       SetPictures(LoadWindowPictures(instance(), kConfirmPictures));
//       AddButton("BUTTON_OK,72,200,56,24,", [this] { End(kEndOk); });
//       AddButton("BUTTON_CANCEL,136,200,100,24,", [this] { End(kEndCancel); });
//     }
//   };
//   ConfirmDialog dialog(instance);
//   if (dialog.RunModal(owner) == kEndOk) ...
//
// User-interface thread only.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/bitmap_button.h"

namespace kavo::skin::win32 {

// The empty dialog templates of resources/dialog_templates.rc.
constexpr int kPageTemplate = 100;          // the update and help pages (child)
constexpr int kMainWindowTemplate = 102;    // the main window (popup)
constexpr int kAdvancedPageTemplate = 130;  // the advanced page (child)
constexpr int kDialogTemplate = 132;        // dialogs (popup)
constexpr int kMessageBoxTemplate = 134;    // message boxes (popup)

// End codes of a modal run.
constexpr INT_PTR kEndOk = IDOK;          // 1
constexpr INT_PTR kEndCancel = IDCANCEL;  // 2

// A window's pictures: its shape, its background (and size), and the four state pictures its controls
// are cut from. Any of them may be missing.
struct WindowPictures {
  kavo::win32::UniqueBitmap mask;
  kavo::win32::UniqueBitmap background;
  kavo::win32::UniqueBitmap normal;
  kavo::win32::UniqueBitmap hover;
  kavo::win32::UniqueBitmap pressed;
  kavo::win32::UniqueBitmap disabled;
};

// The ids of a window's six pictures (0 for none).
struct WindowPictureIds {
  int mask = 0;
  int background = 0;
  int normal = 0;
  int hover = 0;
  int pressed = 0;
  int disabled = 0;
};

// The pictures from module's resources; a missing one stays empty.
WindowPictures LoadWindowPictures(HINSTANCE module, const WindowPictureIds& ids);
// The same for the six ids a window's generated header lists as kWindowPictures, in the order above.
inline WindowPictures LoadWindowPictures(HINSTANCE module, const int (&ids)[6]) {
  return LoadWindowPictures(module, WindowPictureIds{ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]});
}

// Top left of a window of size centred over owner's window rectangle, for PlaceAt. Without an owner (or
// its rectangle) 0, 0: where a window stands that nothing placed.
Point CentredOverWindow(HWND owner, Extent size);

class SkinDialog {
 public:
  SkinDialog(HINSTANCE instance, int templateId);
  virtual ~SkinDialog();
  SkinDialog(const SkinDialog&) = delete;
  SkinDialog& operator=(const SkinDialog&) = delete;

  // Runs the window modally over owner (which may be null) and gives its end code; -1 when the window
  // could not be made.
  INT_PTR RunModal(HWND owner);
  // Makes the window without running it: a page as a child of parent, a popup owned by parent. It stays
  // hidden until shown. False when it could not be made.
  bool Create(HWND parent);
  // Ends a modal run with code; a window made with Create is destroyed.
  void End(INT_PTR code);
  // Where the window's top left goes (parent's client or screen pixels); until it is told, a window
  // built from its pictures stands at 0, 0. May be called before a modal run.
  void PlaceAt(Point topLeft);

  HWND window() const { return window_; }
  HINSTANCE instance() const { return instance_; }
  bool IsPage() const;

 protected:
  // Called once the window exists, before it is first shown: SetPictures, then the controls. When it
  // returns, the state pictures are let go and the mask gives the window its shape.
  virtual void OnBuild() {}
  // The window's own texts, drawn over the background into the off-screen picture.
  virtual void PaintTexts(HDC) {}
  // A button without a handler of its own (or any other control) sent a click.
  virtual void OnButton(HWND) {}
  // Any other message; a value handles it (and is its result).
  virtual std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }
  // The window is going away; its controls still exist.
  virtual void OnDestroy() {}

  // Keeps mask and background, holds the state pictures for building and sizes the window to the
  // background, at 0, 0 unless PlaceAt said otherwise.
  void SetPictures(WindowPictures pictures);
  // The whole-window state pictures while building; none afterwards.
  StatePictureSources StateSources() const;
  // A button at the layout string's place with its pictures cut from the state pictures and the layout's
  // text as its help text. onClick runs when it is clicked; without one OnButton is told. The dialog
  // owns the button for as long as the window lives. Buttons are matched in the order they were added.
  // A broken layout string, or a window that could not be made, gives a windowless button (the layout
  // strings are fixed in the program, so its callers need not check).
  BitmapButton& AddButton(std::string_view layout, std::function<void()> onClick = {});
  // Sets or replaces the click handler of a button made by AddButton (one that needs itself in it).
  void OnClick(const BitmapButton& button, std::function<void()> onClick);

  HBITMAP background() const { return background_.get(); }
  HBITMAP mask() const { return mask_.get(); }
  HRGN region() const { return region_.get(); }

 private:
  struct Button {
    std::unique_ptr<BitmapButton> control;
    std::function<void()> onClick;
  };

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Build();
  void Paint();
  void DragFrom(LPARAM clientPoint) const;
  void Clicked(HWND control);
  void Destroyed();
  // Sets the dialog's result for a message whose answer goes through DWLP_MSGRESULT.
  INT_PTR Answer(UINT message, LRESULT result);

  HINSTANCE instance_;
  int templateId_;
  HWND window_ = nullptr;
  bool modal_ = false;
  Point topLeft_;
  kavo::win32::UniqueBitmap mask_;
  kavo::win32::UniqueBitmap background_;
  WindowPictures building_;  // state pictures, held only while building
  kavo::win32::UniqueRegion region_;
  std::vector<Button> buttons_;
};

}  // namespace kavo::skin::win32
