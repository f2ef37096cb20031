#pragma once
// The main settings page's controls: their ids, ranges and pictures, and the mappings between what a
// control shows and what the active profile stores.
#include <array>
#include <cstdint>

namespace kavo::option {

// Slider ids are also their notify values (lParam of the slider position message).
enum MainSettingsSliderId : int {
  kSensitivitySlider = 300,
  kScrollSpeedSlider = 301,
  kTiltSpeedSlider = 302,
  kPointSpeedSlider = 303,
  kDoubleClickSlider = 304,
};

constexpr int kSensitivityValueControlId = 400;
// Posted by the sensitivity value control to the page: wParam value, lParam kSensitivityValueControlId.
constexpr unsigned kWmValueControlChanged = 1114;

struct SliderSetup {
  int id;
  int minimum;
  int maximum;
  bool rounding;
  int thumbPicture;
  int helpText;  // string number in the help library
};

constexpr int kSliderCount = 5;
// In the order of their ids.
const std::array<SliderSetup, kSliderCount>& MainSettingsSliders();
// Null for an id that is not one of the page's sliders.
const SliderSetup* FindSlider(int id);

// Sensitivity and the value control that shows it beside its slider.
constexpr int kSensitivityMinimum = 1;
constexpr int kSensitivityMaximum = 10;
constexpr int kSensitivityStep = 1;

// Pointer speed: slider positions 1..11 against the Windows pointer speed 1..20.
constexpr int kPointerSpeedOutOfRange = 10;
int PointerSpeedForPosition(int position);
int PositionForPointerSpeed(int mouseSpeed);

// The double-click slider runs the other way: its right end is the shortest time.
constexpr int kDoubleClickBase = 900;
int DoubleClickTimeForPosition(int position);
// Unclamped: a stored time outside 200..900 lies off the slider's range.
std::int64_t PositionForDoubleClickTime(int milliseconds);

// Resolution codes the page's three buttons stand for (code 3 has no button).
enum class Resolution { k400, k800, k1600 };
constexpr int kResolutionCount = 3;
int ResolutionCode(Resolution resolution);
// False for a code without a button.
bool ResolutionForCode(int code, Resolution& resolution);

// Acceleration row stored with the check box ticked; unticked stores row 0.
constexpr int kAccelerationOnRow = 8;

// Help text numbers of the page's controls.
enum MainSettingsHelp : int {
  kHelpSensitivitySlider = 1004,
  kHelpSensitivityValue = 1005,
  kHelpResolution = 1006,
  kHelpScrollSpeed = 1007,  // also "not one page"
  kHelpOnePage = 1008,
  kHelpPointSpeed = 1009,
  kHelpAcceleration = 1010,
  kHelpTiltSpeed = 1011,
  kHelpDoubleClick = 1013,
  kHelpReset = 1014,
};

}  // namespace kavo::option
