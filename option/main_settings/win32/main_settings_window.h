#pragma once
// MainSettingsWindow: the main settings page of the configuration program, a child skinned dialog in the
// main window's page area. It builds the page's controls, carries every user action to MainSettingsPage
// and shows what the page's view says; the decisions are the page's.
//
//   MainSettingsWindow window(instance, page, help, programFolder, {12, 140});
//   window.Create(mainWindow);
//   window.Refresh();
//
// User-interface thread only.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "option/main_settings/main_settings_double_click.h"
#include "option/main_settings/main_settings_page.h"
#include "option/main_settings/main_settings_ports.h"
#include "option/main_settings/win32/main_settings_ports_win32.h"
#include "option/common/win32/option_windows.h"
#include "platform/win32/win32_handles.h"
#include "skin/geometry.h"
#include "skin/win32/bitmap_button.h"
#include "skin/win32/bitmap_edit.h"
#include "skin/win32/click_slider.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

class MainSettingsWindow : public skin::win32::SkinDialog {
 public:
  // programFolder ends in a backslash; topLeft is the page's place in its parent's client area.
  MainSettingsWindow(HINSTANCE instance, MainSettingsPage& page, const HelpLibrary& help, std::string programFolder,
                     skin::Point topLeft);
  ~MainSettingsWindow() override;

  // page.Refresh(), then every control shows page.View().
  void Refresh();
  // The controls' help texts from the help library; the layout's text where the library has none.
  void ReloadHelpTexts();

  // For the tests and the main window: the controls as built (null before Create).
  skin::win32::CclickHSlider* slider(int id) const;
  skin::win32::BitmapEdit* sensitivityEdit() const { return edit_.get(); }
  HWND decreaseButton() const { return decrease_ ? decrease_->window() : nullptr; }
  HWND increaseButton() const { return increase_ ? increase_->window() : nullptr; }
  HWND testArea() const { return area_.get(); }
  HWND animation() const { return media_.animation(); }
  const DoubleClickTest& doubleClickTest() const { return test_; }

 protected:
  void OnBuild() override;
  void OnButton(HWND control) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  static LRESULT CALLBACK AreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT OnAreaMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void BuildSliders();
  void BuildValueControl();
  void BuildButtons();
  void BuildTestArea();
  void DrawTestArea(const DRAWITEMSTRUCT& item) const;
  void ReleaseTestArea();
  // Brings the controls in line with the view; the slider being dragged (its id, or 0) is left alone.
  void ShowView(int draggedSlider = 0);

  MainSettingsPage& page_;
  const HelpLibrary& help_;
  skin::Point topLeft_;
  Win32DoubleClickTimer timer_;
  Win32TickClock clock_;
  Win32DoubleClickMedia media_;
  DoubleClickTest test_;

  std::array<std::unique_ptr<skin::win32::CclickHSlider>, kSliderCount> sliders_;
  std::unique_ptr<skin::win32::BitmapButton> decrease_;
  std::unique_ptr<skin::win32::BitmapButton> increase_;
  std::unique_ptr<skin::win32::BitmapEdit> edit_;
  skin::win32::BitmapButton* notOnePage_ = nullptr;
  skin::win32::BitmapButton* onePage_ = nullptr;
  skin::win32::BitmapButton* acceleration_ = nullptr;
  skin::win32::BitmapButton* reset_ = nullptr;
  std::array<skin::win32::BitmapButton*, kResolutionCount> resolution_{};
  kavo::win32::UniqueBitmap picture_;  // the test area's picture file
  kavo::win32::UniqueWindow area_;
};

}  // namespace kavo::option::win32
