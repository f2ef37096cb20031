#pragma once
// The update page (driver download, online help, support form, e-mail request and the versions) and the
// help page with its browser made on demand: thin windows over UpdatePage and HelpPage. The main window
// makes each with Create(parent) and shows it for its tab.
#include <windows.h>

#include <array>
#include <string>

#include "option/common/help_library.h"
#include "option/support/update_page_model.h"
#include "option/support/win32/web_browser_host.h"
#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/bitmap_button.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

// Addresses handed to the user's default browser or mail program through the shell.
class ShellAddresses : public AddressShell {
 public:
  void Open(const std::string& address) override;
};

class UpdatePageWindow : public skin::win32::SkinDialog {
 public:
  UpdatePageWindow(HINSTANCE instance, AddressShell& shell, const HelpLibrary& help, skin::Point topLeft);

  // Both texts as version_text.h makes them; the page shows "V" before each and repaints.
  void SetVersions(const std::string& software, const std::string& firmware);
  // The buttons' help texts from the library now held (after a language change).
  void ReloadHelpTexts();

 protected:
  void OnBuild() override;
  void PaintTexts(HDC dc) override;

 private:
  UpdatePage model_;
  const HelpLibrary& help_;
  skin::Point topLeft_;
  std::array<skin::win32::BitmapButton*, kUpdateButtonCount> buttons_{};
  kavo::win32::UniqueFont font_;
};

class HelpPageWindow : public skin::win32::SkinDialog {
 public:
  HelpPageWindow(HINSTANCE instance, skin::Point topLeft);
  // The same page with its browser sent to another support site.
  HelpPageWindow(HINSTANCE instance, const SupportSite& site, skin::Point topLeft);
  ~HelpPageWindow() override { End(skin::win32::kEndCancel); }

 protected:
  void OnBuild() override;
  void OnDestroy() override;

 private:
  void Start();

  skin::Point topLeft_;
  WebBrowserHost browser_;
  HelpPage model_;
  skin::win32::BitmapButton* start_ = nullptr;
};

}  // namespace kavo::option::win32
