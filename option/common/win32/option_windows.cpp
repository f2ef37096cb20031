#include "option/common/win32/option_windows.h"

#include <windowsx.h>

#include <array>

#include "artwork/language_popup.h"
#include "artwork/windows_profile_dialog.h"
#include "skin/layout.h"
#include "skin/skin_messages.h"

namespace kavo::option::win32 {

namespace skinw = skin::win32;
namespace popup = artwork::language_popup;
namespace question = artwork::windows_profile_dialog;

OptionPage::OptionPage(HINSTANCE instance, int templateId, const skinw::WindowPictureIds& pictures,
                       skin::Point topLeft, skin::Extent area)
    : SkinDialog(instance, templateId), pictures_(pictures), topLeft_(topLeft), area_(area) {}

void OptionPage::OnBuild() {
  if (pictures_.background != 0) {
    SetPictures(skinw::LoadWindowPictures(instance(), pictures_));
  } else {
    ::SetWindowPos(window(), nullptr, 0, 0, area_.width, area_.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceAt(topLeft_);
}

namespace {

constexpr std::array<const char*, 10> kLanguageEntries = {popup::kL1, popup::kL2, popup::kL3, popup::kL4,
                                                          popup::kL5, popup::kL6, popup::kL7, popup::kL8,
                                                          popup::kL9, popup::kL10};
// End codes of the popup: a chosen language k ends it with kChoiceBase + k; anything else cancels.
constexpr INT_PTR kChoiceBase = 100;

}  // namespace

LanguagePopup::LanguagePopup(HINSTANCE instance) : SkinDialog(instance, skinw::kDialogTemplate) {}

int LanguagePopup::Choose(HWND owner, POINT topLeft) {
  PlaceAt(skin::Point{topLeft.x, topLeft.y});
  const INT_PTR code = RunModal(owner);
  const INT_PTR language = code - kChoiceBase;
  return language >= 0 && language < static_cast<INT_PTR>(kLanguageEntries.size()) ? static_cast<int>(language) : -1;
}

void LanguagePopup::OnBuild() {
  SetPictures(skinw::LoadWindowPictures(instance(), popup::kWindowPictures));
  for (std::size_t k = 0; k < kLanguageEntries.size(); ++k) {
    skinw::BitmapButton& entry = AddButton(kLanguageEntries[k], [this, k] { End(kChoiceBase + static_cast<INT_PTR>(k)); });
    entry.SetHandCursor(true);
  }
}

bool LanguagePopup::OverEntry(POINT screenPoint) const {
  POINT client = screenPoint;
  ::ScreenToClient(window(), &client);
  for (const char* layout : kLanguageEntries) {
    const auto entry = skin::ParseLayout(layout);
    if (entry && client.x >= entry->left && client.x < entry->right && client.y >= entry->top &&
        client.y < entry->bottom) {
      return true;
    }
  }
  return false;
}

void LanguagePopup::HoldCapture() {
  POINT pointer{};
  ::GetCursorPos(&pointer);
  // Over an entry the entry itself must see the pointer; everywhere else the popup listens, so that a click
  // outside it reaches the popup and closes it.
  if (OverEntry(pointer)) {
    if (::GetCapture() == window()) ::ReleaseCapture();
  } else if (::GetCapture() != window()) {
    ::SetCapture(window());
  }
}

std::optional<LRESULT> LanguagePopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) HoldCapture();
      return std::nullopt;
    case WM_MOUSEMOVE:
      HoldCapture();
      return 0;
    case skin::kWmHoverNotify:
      // An entry the pointer left: the popup takes the pointer back.
      if (wParam == 0) HoldCapture();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ::ClientToScreen(window(), &point);
      if (OverEntry(point)) {
        // The capture kept the press from the entry: hand it over and let the entry take the click.
        ::ReleaseCapture();
        return 0;
      }
      if (::GetCapture() == window()) ::ReleaseCapture();
      End(skinw::kEndCancel);
      return 0;
    }
    default:
      return std::nullopt;
  }
}

WindowsProfileDialog::WindowsProfileDialog(HINSTANCE instance) : SkinDialog(instance, skinw::kDialogTemplate) {}

bool WindowsProfileDialog::Ask(HWND owner) {
  PlaceAt(skinw::CentredOverWindow(owner, {question::kWidth, question::kHeight}));
  return RunModal(owner) == skinw::kEndOk;
}

void WindowsProfileDialog::OnBuild() {
  SetPictures(skinw::LoadWindowPictures(instance(), question::kWindowPictures));
  AddButton(question::kButtonOk, [this] { End(skinw::kEndOk); });
  AddButton(question::kButtonCancel, [this] { End(skinw::kEndCancel); });
  AddButton(question::kButtonExit, [this] { End(skinw::kEndCancel); });
}

}  // namespace kavo::option::win32
