#include "option/main_settings/win32/main_settings_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "artwork/main_settings_page.h"
#include "option/main_settings/main_settings_controls.h"
#include "option/main_settings/main_settings_help.h"
#include "skin/layout.h"
#include "skin/skin_messages.h"
#include "skin/win32/cut_picture.h"
#include "skin/win32/picture_resources.h"

namespace kavo::option::win32 {

namespace skinw = skin::win32;
namespace art = artwork::main_settings_page;

namespace {

constexpr UINT_PTR kAreaSubclassId = 0x4B4D5354;  // "KMST"

// The layout strings of the sliders, in the order of their ids.
constexpr std::array<const char*, kSliderCount> kSliderLayouts = {
    art::kSensitivitySlider, art::kScrollSpeed, art::kTiltSpeed, art::kPointSpeed, art::kDoubleClickSpeed};
constexpr std::array<const char*, kResolutionCount> kResolutionLayouts = {art::kDpi400, art::kDpi800, art::kDpi1600};

// The value control's buttons in its own pictures: the decrease part on the left, the increase part on
// the right; the edit covers the black field between them, inside its one-pixel rim.
constexpr int kValueButtonWidth = 13;

std::string HelpOr(const std::string& text, const char* layout) { return text.empty() ? skin::LayoutText(layout) : text; }

}  // namespace

MainSettingsWindow::MainSettingsWindow(HINSTANCE instance, MainSettingsPage& page, const HelpLibrary& help,
                                       std::string programFolder, skin::Point topLeft)
    : SkinDialog(instance, kMainSettingsPageTemplate),
      page_(page),
      help_(help),
      topLeft_(topLeft),
      test_(std::move(programFolder), media_, timer_, clock_, ::GetSystemMetrics(SM_CXDOUBLECLK),
            ::GetSystemMetrics(SM_CYDOUBLECLK)) {}

MainSettingsWindow::~MainSettingsWindow() { ReleaseTestArea(); }

skinw::CclickHSlider* MainSettingsWindow::slider(int id) const {
  const int index = id - kSensitivitySlider;
  return index >= 0 && index < kSliderCount ? sliders_[static_cast<std::size_t>(index)].get() : nullptr;
}

void MainSettingsWindow::OnBuild() {
  SetPictures(skinw::LoadWindowPictures(instance(), art::kWindowPictures));
  PlaceAt(topLeft_);
  BuildSliders();
  BuildValueControl();
  BuildButtons();
  BuildTestArea();
  ReloadHelpTexts();
  ShowView();
}

void MainSettingsWindow::BuildSliders() {
  for (const SliderSetup& setup : MainSettingsSliders()) {
    const std::size_t index = static_cast<std::size_t>(setup.id - kSensitivitySlider);
    auto made = skinw::CclickHSlider::Create(window(), skin::LayoutBounds(kSliderLayouts[index]), instance(),
                                             setup.thumbPicture, setup.id);
    if (!made) continue;  // no thumb picture: no slider
    made->SetBackground(background());
    made->SetRange(setup.minimum, setup.maximum);
    made->SetRounding(setup.rounding);
    sliders_[index] = std::move(made);
  }
}

void MainSettingsWindow::BuildValueControl() {
  const skin::Rect whole = skin::LayoutBounds(art::kSensitivityValue);
  const kavo::win32::UniqueBitmap normal = skinw::LoadPicture(instance(), art::kValueNormalPicture);
  const kavo::win32::UniqueBitmap hover = skinw::LoadPicture(instance(), art::kValueHoverPicture);
  const kavo::win32::UniqueBitmap pressed = skinw::LoadPicture(instance(), art::kValuePressedPicture);
  const kavo::win32::UniqueBitmap disabled = skinw::LoadPicture(instance(), art::kValueDisabledPicture);
  const skinw::StatePictureSources sources{normal.get(), hover.get(), pressed.get(), disabled.get()};
  const int width = whole.Width();
  const int height = whole.Height();
  const skin::Rect decreasePart{0, 0, kValueButtonWidth, height};
  const skin::Rect increasePart{width - kValueButtonWidth, 0, width, height};
  decrease_ = skinw::BitmapButton::Create(
      window(), skin::Rect{whole.left, whole.top, whole.left + kValueButtonWidth, whole.bottom});
  if (decrease_) decrease_->SetPictures(sources, decreasePart);
  increase_ = skinw::BitmapButton::Create(
      window(), skin::Rect{whole.right - kValueButtonWidth, whole.top, whole.right, whole.bottom});
  if (increase_) increase_->SetPictures(sources, increasePart);
  const skin::Rect field{whole.left + kValueButtonWidth + 1, whole.top + 1, whole.right - kValueButtonWidth - 1,
                         whole.bottom - 1};
  edit_ = skinw::BitmapEdit::Create(window(), field, WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, kSensitivityValueControlId);
  if (edit_) {
    edit_->SetNumeric(true);
    edit_->SetColours(0xFFFFFF, 0x000000);  // white on the artwork's black field
    ::SendMessageA(edit_->window(), EM_LIMITTEXT, page_.SensitivityValue().TextLimit(), 0);
  }
}

void MainSettingsWindow::BuildButtons() {
  notOnePage_ = &AddButton(art::kNotOnePage, [this] {
    page_.OnNotOnePage();
    ShowView();
  });
  onePage_ = &AddButton(art::kOnePage, [this] {
    page_.OnOnePage();
    ShowView();
  });
  for (int i = 0; i < kResolutionCount; ++i) {
    resolution_[static_cast<std::size_t>(i)] = &AddButton(kResolutionLayouts[static_cast<std::size_t>(i)], [this, i] {
      page_.OnResolution(static_cast<Resolution>(i));
      ShowView();
    });
  }
  skinw::BitmapButton& box = AddButton(art::kEnableMouseAcceleration);
  box.SetToggleMode(true);
  // A disabled check box still shows its pressed picture.
  const skin::Rect rect = skin::LayoutBounds(art::kEnableMouseAcceleration);
  skinw::ButtonPictures pictures = skinw::CutButtonPictures(StateSources(), rect);
  pictures.disabled = skinw::CutPicture(StateSources().pressed, rect);
  box.SetPictures(std::move(pictures));
  acceleration_ = &box;
  // The box has toggled itself before it tells the page.
  OnClick(box, [this] {
    page_.OnAcceleration(acceleration_->checked());
    ShowView();
  });
  reset_ = &AddButton(art::kButtonReset, [this] {
    page_.OnReset();
    ShowView();
  });
  reset_->SetHandCursor(true);
}

void MainSettingsWindow::BuildTestArea() {
  const skin::Rect rect = skin::LayoutBounds(art::kDoubleClickTest);
  area_.reset(::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect.left, rect.top,
                                rect.Width(), rect.Height(), window(), nullptr, instance(), nullptr));
  if (!area_) return;
  ::SetWindowSubclass(area_.get(), AreaProc, kAreaSubclassId, reinterpret_cast<DWORD_PTR>(this));
  media_.SetArea(area_.get());
  // A missing file leaves the area empty.
  picture_.reset(static_cast<HBITMAP>(
      ::LoadImageA(nullptr, test_.PicturePath().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void MainSettingsWindow::ReleaseTestArea() {
  if (!area_) return;
  ::RemoveWindowSubclass(area_.get(), AreaProc, kAreaSubclassId);
  if (!::IsWindow(area_.get())) {
    static_cast<void>(area_.release());
    media_.AreaGone();
    return;
  }
  area_.reset();  // its animation control goes with it
  media_.AreaGone();
}

LRESULT CALLBACK MainSettingsWindow::AreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
  return reinterpret_cast<MainSettingsWindow*>(self)->OnAreaMessage(window, message, wParam, lParam);
}

LRESULT MainSettingsWindow::OnAreaMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Every press goes to the test, which tells a double click by the system's time as the slider set
      // it; the button's own pressing, capture and focus are of no use here.
      test_.OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      ::InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == ACN_STOP && reinterpret_cast<HWND>(lParam) == media_.animation()) {
        test_.OnAnimationStopped();
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      ::RemoveWindowSubclass(window, AreaProc, kAreaSubclassId);
      static_cast<void>(area_.release());
      media_.AreaGone();
      return ::DefSubclassProc(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

void MainSettingsWindow::DrawTestArea(const DRAWITEMSTRUCT& item) const {
  const RECT& rect = item.rcItem;
  const kavo::win32::UniqueDC source(::CreateCompatibleDC(item.hDC));
  if (test_.View().showsPicture && picture_) {
    BITMAP size{};
    ::GetObjectA(picture_.get(), sizeof size, &size);
    const kavo::win32::SelectedObject selected(source.get(), picture_.get());
    ::SetStretchBltMode(item.hDC, COLORONCOLOR);
    ::StretchBlt(item.hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(), 0, 0,
                 size.bmWidth, size.bmHeight, SRCCOPY);
    return;
  }
  // No picture: the page shows through.
  const skin::Rect at = skin::LayoutBounds(art::kDoubleClickTest);
  const kavo::win32::SelectedObject selected(source.get(), background());
  ::BitBlt(item.hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(), at.left, at.top,
           SRCCOPY);
}

void MainSettingsWindow::OnButton(HWND control) {
  if (control == nullptr) return;
  if (control == decreaseButton()) {
    page_.OnSensitivityDecrease();
    ShowView();
  } else if (control == increaseButton()) {
    page_.OnSensitivityIncrease();
    ShowView();
  }
}

std::optional<LRESULT> MainSettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case skin::kWmSliderPos: {
      const int id = static_cast<int>(lParam);
      page_.OnSliderPos(static_cast<int>(wParam), id);
      ShowView(id);
      return 0;
    }
    case skin::kWmEditChanged:
      if (!edit_) return 0;
      if (wParam == skin::kEditChangedEnter) {
        page_.OnSensitivityEnter();
      } else {
        page_.OnSensitivityTextChanged(edit_->Text());
      }
      ShowView();
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || !area_ || item->hwndItem != area_.get()) return std::nullopt;
      DrawTestArea(*item);
      return TRUE;
    }
    default:
      return std::nullopt;
  }
}

void MainSettingsWindow::OnDestroy() { ReleaseTestArea(); }

void MainSettingsWindow::Refresh() {
  page_.Refresh();
  ShowView();
}

void MainSettingsWindow::ShowView(int draggedSlider) {
  if (window() == nullptr) return;
  const MainSettingsView& view = page_.View();
  for (const auto& one : sliders_) {
    if (!one) continue;
    const int id = ::GetDlgCtrlID(one->window());
    if (id != draggedSlider && one->value() != view.SliderValue(id)) one->SetValue(view.SliderValue(id));
  }
  // Rewritten only when it differs: the user may be typing in it.
  if (edit_ && edit_->Text() != view.sensitivityText) ::SetWindowTextA(edit_->window(), view.sensitivityText.c_str());
  if (acceleration_ != nullptr) acceleration_->SetChecked(view.accelerationChecked);
  if (notOnePage_ != nullptr) notOnePage_->SetChecked(view.notOnePagePressed);
  if (onePage_ != nullptr) onePage_->SetChecked(view.onePagePressed);
  for (std::size_t i = 0; i < resolution_.size(); ++i) {
    if (resolution_[i] != nullptr) resolution_[i]->SetChecked(view.resolutionPressed[i]);
  }
}

void MainSettingsWindow::ReloadHelpTexts() {
  const MainSettingsHelpTexts texts = LoadMainSettingsHelp(help_);
  const std::array<std::string, kSliderCount> sliderTexts = {
      HelpOr(texts.sensitivitySlider, art::kSensitivitySlider), HelpOr(texts.scrollSpeed, art::kScrollSpeed),
      HelpOr(texts.tiltSpeed, art::kTiltSpeed), HelpOr(texts.pointSpeed, art::kPointSpeed),
      HelpOr(texts.doubleClick, art::kDoubleClickSpeed)};
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    if (sliders_[i]) sliders_[i]->SetHelpText(sliderTexts[i]);
  }
  const std::string value = HelpOr(texts.sensitivityValue, art::kSensitivityValue);
  if (edit_) edit_->SetHelpText(value);
  if (decrease_) decrease_->SetHelpText(value);
  if (increase_) increase_->SetHelpText(value);
  for (std::size_t i = 0; i < resolution_.size(); ++i) {
    if (resolution_[i] != nullptr) resolution_[i]->SetHelpText(HelpOr(texts.resolution, kResolutionLayouts[i]));
  }
  if (notOnePage_ != nullptr) notOnePage_->SetHelpText(HelpOr(texts.scrollSpeed, art::kNotOnePage));
  if (onePage_ != nullptr) onePage_->SetHelpText(HelpOr(texts.onePage, art::kOnePage));
  if (acceleration_ != nullptr) acceleration_->SetHelpText(HelpOr(texts.acceleration, art::kEnableMouseAcceleration));
  if (reset_ != nullptr) reset_->SetHelpText(HelpOr(texts.reset, art::kButtonReset));
}

}  // namespace kavo::option::win32
