#include "option/support/win32/support_pages.h"

#include <shellapi.h>

#include <utility>

#include "artwork/help_page.h"
#include "artwork/update_page.h"
#include "skin/win32/picture_resources.h"
#include "skin/win32/skin_font.h"

namespace kavo::option::win32 {

namespace skinw = skin::win32;
namespace updateArt = artwork::update_page;
namespace helpArt = artwork::help_page;

void ShellAddresses::Open(const std::string& address) {
  // Whatever program is registered for the address takes it; when none is, nothing happens.
  ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

namespace {

// The page's buttons in the order of UpdateButtons().
const char* UpdateButtonLayout(UpdateButton button) {
  switch (button) {
    case UpdateButton::kUpdate: return updateArt::kButtonUpdate;
    case UpdateButton::kHelp: return updateArt::kButtonHelp;
    case UpdateButton::kEmailRequest: return updateArt::kButtonEmailRequest;
    case UpdateButton::kSupportFormUpper: return updateArt::kSupportForm;
    case UpdateButton::kSupportFormLower: return updateArt::kSupportMail;
  }
  return "";
}

}  // namespace

UpdatePageWindow::UpdatePageWindow(HINSTANCE instance, AddressShell& shell, const HelpLibrary& help,
                                   skin::Point topLeft)
    : SkinDialog(instance, skinw::kPageTemplate),
      model_(DefaultSupportSite(), shell),
      help_(help),
      topLeft_(topLeft) {}

void UpdatePageWindow::OnBuild() {
  SetPictures(skinw::LoadWindowPictures(instance(), updateArt::kWindowPictures));
  PlaceAt(topLeft_);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const UpdateButtonInfo& info = UpdateButtons()[i];
    const UpdateButton which = info.button;
    skinw::BitmapButton& button = AddButton(UpdateButtonLayout(which), [this, which] { model_.OnButton(which); });
    button.SetHandCursor(info.handCursor);
    buttons_[i] = &button;
  }
  const UpdatePageView view = model_.View();
  font_ = skinw::SkinFont(view.fontHeight, view.fontWidth);
  ReloadHelpTexts();
}

void UpdatePageWindow::SetVersions(const std::string& software, const std::string& firmware) {
  model_.SetVersions(firmware, software);
  if (window() != nullptr) ::InvalidateRect(window(), nullptr, FALSE);
}

void UpdatePageWindow::ReloadHelpTexts() {
  const auto texts = UpdatePage::HelpTexts(help_);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] != nullptr) buttons_[i]->SetHelpText(texts[i]);
  }
}

void UpdatePageWindow::PaintTexts(HDC dc) {
  const UpdatePageView view = model_.View();
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = ::SetTextColor(dc, view.colour);  // a skin colour is already 0x00BBGGRR
  {
    const kavo::win32::SelectedObject selected(dc, font_.get());
    for (const PageLabel* label : {&view.program, &view.firmware}) {
      ::TextOutA(dc, label->at.x, label->at.y, label->text.c_str(), static_cast<int>(label->text.size()));
    }
  }
  ::SetTextColor(dc, colour);
  ::SetBkMode(dc, mode);
}

HelpPageWindow::HelpPageWindow(HINSTANCE instance, skin::Point topLeft)
    : HelpPageWindow(instance, DefaultSupportSite(), topLeft) {}

HelpPageWindow::HelpPageWindow(HINSTANCE instance, const SupportSite& site, skin::Point topLeft)
    : SkinDialog(instance, skinw::kPageTemplate), topLeft_(topLeft), model_(site, browser_) {}

void HelpPageWindow::OnBuild() {
  // The whole page is its background; the start button brings its own pictures.
  SetPictures(skinw::LoadWindowPictures(instance(), {helpArt::kMaskPicture, helpArt::kBackgroundPicture, 0, 0, 0, 0}));
  PlaceAt(topLeft_);
  browser_.SetParent(window());
  start_ = &AddButton(helpArt::kButton1, [this] { Start(); });
  skinw::ButtonPictures pictures;
  pictures.normal = skinw::LoadPicture(instance(), helpArt::kStartNormalPicture);
  pictures.hover = skinw::LoadPicture(instance(), helpArt::kStartHoverPicture);
  pictures.pressed = skinw::LoadPicture(instance(), helpArt::kStartPressedPicture);
  pictures.disabled = skinw::LoadPicture(instance(), helpArt::kStartDisabledPicture);
  start_->SetPictures(std::move(pictures));
}

void HelpPageWindow::Start() {
  if (!model_.startButtonVisible()) return;
  // Hidden before the browser comes, so a browser that cannot be made leaves an empty page.
  if (start_ != nullptr && start_->window() != nullptr) ::ShowWindow(start_->window(), SW_HIDE);
  model_.OnStart();
}

void HelpPageWindow::OnDestroy() { browser_.Close(); }

}  // namespace kavo::option::win32
