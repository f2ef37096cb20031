#include "option/main_settings/main_settings_page.h"

#include "skin/slider_math.h"

namespace kavo::option {

namespace {

int ClampToSlider(int id, std::int64_t value) {
  const SliderSetup* setup = FindSlider(id);
  return skin::SliderRange(setup->minimum, setup->maximum).Clamp(value);
}

}  // namespace

int MainSettingsView::SliderValue(int id) const {
  switch (id) {
    case kSensitivitySlider: return sensitivity;
    case kScrollSpeedSlider: return scrollSpeed;
    case kTiltSpeedSlider: return tiltSpeed;
    case kPointSpeedSlider: return pointSpeed;
    case kDoubleClickSlider: return doubleClick;
    default: return 0;
  }
}

MainSettingsPage::MainSettingsPage(SettingsRecord& working, OSDSetting& osd, const MainSettingsPorts& ports)
    : working_(working),
      osd_(osd),
      ports_(ports),
      value_(kSensitivityMinimum, kSensitivityMaximum, kSensitivityStep) {
  view_.sensitivityText = value_.text();
}

ProfileRecord* MainSettingsPage::ActiveProfile() {
  if (!IsProfileIndex(working_.CurrentProfile)) return nullptr;
  return &working_.profiles[working_.CurrentProfile];
}

void MainSettingsPage::Refresh() {
  const ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  // The sliders and the value control clamp what they are given, as the controls do.
  view_.sensitivity = ClampToSlider(kSensitivitySlider, profile->Sensitivity_X);
  value_.SetValue(profile->Sensitivity_X);
  view_.sensitivityText = value_.text();
  view_.scrollSpeed = ClampToSlider(kScrollSpeedSlider, profile->ScrollWheelSpeed);
  view_.tiltSpeed = ClampToSlider(kTiltSpeedSlider, profile->TiltSpeed);
  view_.pointSpeed = PositionForPointerSpeed(profile->MouseSpeed);
  view_.doubleClick = ClampToSlider(kDoubleClickSlider, PositionForDoubleClickTime(profile->DbleClickSpeed));
  view_.accelerationChecked = profile->AccelerationFlag != 0;
  ShowWheelPair(profile->ScrollWheelFlag);
  ShowResolution(profile->Cpi_X);
}

void MainSettingsPage::ShowWheelPair(int flag) {
  // A flag other than 0 or 1 presses neither.
  view_.notOnePagePressed = flag == 0;
  view_.onePagePressed = flag == 1;
}

void MainSettingsPage::ShowResolution(int code) {
  Resolution resolution;
  // Code 3 comes only from the mouse's own button and has no button here: leave the buttons as they are.
  if (!ResolutionForCode(code, resolution)) return;
  for (int i = 0; i < kResolutionCount; ++i) {
    view_.resolutionPressed[static_cast<std::size_t>(i)] = static_cast<Resolution>(i) == resolution;
  }
}

void MainSettingsPage::SetSensitivity(int value) {
  ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  // The record holds 1..10 whatever a half-typed text says; the slider shows what the record holds.
  const int stored = ClampToSlider(kSensitivitySlider, value);
  if (stored == profile->Sensitivity_X) return;
  profile->Sensitivity_X = stored;
  profile->Sensitivity_Y = stored;
  view_.sensitivity = stored;
}

void MainSettingsPage::OnSliderPos(int value, int sliderId) {
  const SliderSetup* setup = FindSlider(sliderId);
  ProfileRecord* profile = ActiveProfile();
  if (setup == nullptr || profile == nullptr) return;
  if (sliderId == kPointSpeedSlider) {
    // Not clamped: a position off the table has its own pointer speed.
    profile->MouseSpeed = PointerSpeedForPosition(value);
    view_.pointSpeed = ClampToSlider(sliderId, value);
    return;
  }
  const int position = ClampToSlider(sliderId, value);
  switch (sliderId) {
    case kSensitivitySlider:
      if (position != profile->Sensitivity_X) {
        SetSensitivity(position);
        value_.SetValue(position);
        view_.sensitivityText = value_.text();
      }
      view_.sensitivity = position;
      break;
    case kScrollSpeedSlider:
      profile->ScrollWheelSpeed = position;
      view_.scrollSpeed = position;
      break;
    case kTiltSpeedSlider:
      profile->TiltSpeed = position;
      view_.tiltSpeed = position;
      break;
    case kDoubleClickSlider:
      profile->DbleClickSpeed = DoubleClickTimeForPosition(position);
      view_.doubleClick = position;
      ports_.doubleClickTimer.SetDoubleClickTime(profile->DbleClickSpeed);
      break;
    default:
      break;
  }
}

void MainSettingsPage::OnValueControlChanged(int value, int controlId) {
  if (controlId != kSensitivityValueControlId) return;
  SetSensitivity(value);
}

void MainSettingsPage::ReportValue(const std::optional<int>& value) {
  view_.sensitivityText = value_.text();
  if (value) OnValueControlChanged(*value, kSensitivityValueControlId);
}

void MainSettingsPage::OnSensitivityIncrease() { ReportValue(value_.Increase()); }
void MainSettingsPage::OnSensitivityDecrease() { ReportValue(value_.Decrease()); }
void MainSettingsPage::OnSensitivityTextChanged(const std::string& text) { ReportValue(value_.TextChanged(text)); }
void MainSettingsPage::OnSensitivityEnter() { ReportValue(value_.EnterPressed()); }

void MainSettingsPage::OnNotOnePage() {
  ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  profile->ScrollWheelFlag = 0;
  ShowWheelPair(0);
}

void MainSettingsPage::OnOnePage() {
  ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  profile->ScrollWheelFlag = 1;
  ShowWheelPair(1);
}

void MainSettingsPage::OnResolution(Resolution resolution) {
  ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  profile->Cpi_X = ResolutionCode(resolution);
  profile->Cpi_Y = profile->Cpi_X;
  ShowResolution(profile->Cpi_X);
}

void MainSettingsPage::OnAcceleration(bool checked) {
  ProfileRecord* profile = ActiveProfile();
  if (profile == nullptr) return;
  profile->AccelerationFlag = checked ? 1 : 0;
  profile->Acceleration = checked ? kAccelerationOnRow : 0;
  view_.accelerationChecked = checked;
}

bool MainSettingsPage::OnReset() {
  if (!ports_.confirmation.Confirm()) return false;
  ResetToDefaults(working_, ports_.systemLanguage.LanguageNumber());
  ResetOSDSetting(osd_);
  MarkEverythingChanged(working_);
  Refresh();
  ports_.mainWindow.RefreshAll();
  ports_.mainWindow.ReloadHelp();
  // The service sends the mouse its reset request instead of the individual changes.
  ports_.mainWindow.Apply(1);
  return true;
}

}  // namespace kavo::option
