#pragma once
// The smaller skinned windows of the configuration program's main window: its pages (so far their
// backgrounds), the language popup and the Windows-profile question.
#include <windows.h>

#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

// The empty page templates that resources/dialog_templates.rc adds for the main settings and button
// assignment pages.
constexpr int kMainSettingsPageTemplate = 129;
constexpr int kButtonAssignPageTemplate = 131;

// A page in the main window's page area, showing its background picture.
class OptionPage : public skin::win32::SkinDialog {
 public:
  // pictures all 0: a page without artwork, sized to the page area and left black.
  OptionPage(HINSTANCE instance, int templateId, const skin::win32::WindowPictureIds& pictures, skin::Point topLeft,
             skin::Extent area);

 protected:
  void OnBuild() override;

 private:
  skin::win32::WindowPictureIds pictures_;
  skin::Point topLeft_;
  skin::Extent area_;
};

// The language popup: the chosen language number (0..9), or -1 when the user clicked anywhere else.
class LanguagePopup : public skin::win32::SkinDialog {
 public:
  explicit LanguagePopup(HINSTANCE instance);

  // Runs the popup with its top left at screen point topLeft.
  int Choose(HWND owner, POINT topLeft);

 protected:
  void OnBuild() override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool OverEntry(POINT screenPoint) const;
  void HoldCapture();
};

// Asks before a slot becomes the Windows profile: true on OK.
class WindowsProfileDialog : public skin::win32::SkinDialog {
 public:
  explicit WindowsProfileDialog(HINSTANCE instance);
  bool Ask(HWND owner);

 protected:
  void OnBuild() override;
};

}  // namespace kavo::option::win32
