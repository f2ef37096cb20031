#pragma once
// The gallery's one window: a skinned dialog with a control of every kind the toolkit has, each wired to
// the log, and its own texts (the slider's value, the help line) painted over the background.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/win32_handles.h"
#include "skin/win32/gallery/gallery_log.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/click_slider.h"
#include "skin/win32/skin_dialog.h"
#include "skin/win32/skin_list_box.h"
#include "skin/win32/skin_message_box.h"

namespace kavo::skin::gallery {

class GalleryWindow : public win32::SkinDialog {
 public:
  GalleryWindow(HINSTANCE instance, GalleryLog& log);

 protected:
  void OnBuild() override;
  void PaintTexts(HDC dc) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowMenu();
  void ShowMessageBox(win32::MessageBoxLook look, const char* variant, const char* text);
  void Redraw(const char* layout) const;

  GalleryLog& log_;
  kavo::win32::UniqueFont textFont_;
  kavo::win32::UniqueFont menuFont_;
  std::unique_ptr<win32::CclickHSlider> slider_;
  std::unique_ptr<win32::BitmapEdit> edit_;
  std::unique_ptr<win32::SkinListBox> list_;
  win32::BitmapButton* menuButton_ = nullptr;
};

}  // namespace kavo::skin::gallery
