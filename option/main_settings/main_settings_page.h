#pragma once
// The main settings page over the working record's active profile: what each control shows, what each
// user action writes into the profile, and the Reset of all settings. Nothing here reaches the mouse or
// the registry; Apply (the main window's) does, except the double-click time, which is set in the system
// at once so the test area can be tried with it.
#include <array>
#include <string>

#include "option/main_settings/main_settings_controls.h"
#include "option/main_settings/main_settings_ports.h"
#include "option/main_settings/main_settings_value_control.h"
#include "settings/settings_record.h"

namespace kavo::option {

// What the page's controls show.
struct MainSettingsView {
  int sensitivity = kSensitivityMinimum;  // SENSITIVITY slider
  std::string sensitivityText;            // the value control's text
  int scrollSpeed = 1;
  int tiltSpeed = 1;
  int pointSpeed = 1;
  int doubleClick = 0;                    // slider position, 900 - time
  bool accelerationChecked = false;
  bool notOnePagePressed = false;
  bool onePagePressed = false;
  std::array<bool, kResolutionCount> resolutionPressed{};  // 400, 800, 1600

  // The position of a slider by id; the minimum of 0 for an unknown id.
  int SliderValue(int id) const;
};

struct MainSettingsPorts {
  ConfirmationQuestion& confirmation;
  MainWindowActions& mainWindow;
  SystemLanguage& systemLanguage;
  DoubleClickTimer& doubleClickTimer;
};

class MainSettingsPage {
 public:
  MainSettingsPage(SettingsRecord& working, OSDSetting& osd, const MainSettingsPorts& ports);

  const MainSettingsView& View() const { return view_; }
  const ValueControl& SensitivityValue() const { return value_; }

  // From the active profile; called after every reload of the working record.
  void Refresh();

  // Slider position message (value, slider id). Unknown ids are ignored.
  void OnSliderPos(int value, int sliderId);
  // The value control's message (value, control id).
  void OnValueControlChanged(int value, int controlId);

  // The value control's own actions; each reports to the page as its message would.
  void OnSensitivityIncrease();
  void OnSensitivityDecrease();
  void OnSensitivityTextChanged(const std::string& text);
  void OnSensitivityEnter();

  // Commands of the buttons.
  void OnNotOnePage();
  void OnOnePage();
  void OnResolution(Resolution resolution);
  // The check box toggles itself; this is its new state.
  void OnAcceleration(bool checked);
  // Reset of all settings, after asking. Returns whether it was done.
  bool OnReset();

 private:
  ProfileRecord* ActiveProfile();
  void SetSensitivity(int value);
  void ShowWheelPair(int flag);
  void ShowResolution(int code);
  void ReportValue(const std::optional<int>& value);

  SettingsRecord& working_;
  OSDSetting& osd_;
  MainSettingsPorts ports_;
  ValueControl value_;
  MainSettingsView view_;
};

}  // namespace kavo::option
