#include "option/main_settings/main_settings_controls.h"

namespace kavo::option {

namespace {

constexpr int kSliderThumb = 253;
constexpr int kDoubleClickThumb = 252;

const std::array<SliderSetup, kSliderCount> kSliders = {{
    {kSensitivitySlider, kSensitivityMinimum, kSensitivityMaximum, true, kSliderThumb, kHelpSensitivitySlider},
    {kScrollSpeedSlider, 1, 10, true, kSliderThumb, kHelpScrollSpeed},
    {kTiltSpeedSlider, 1, 10, true, kSliderThumb, kHelpTiltSpeed},
    {kPointSpeedSlider, 1, 11, true, kSliderThumb, kHelpPointSpeed},
    {kDoubleClickSlider, 0, 700, false, kDoubleClickThumb, kHelpDoubleClick},
}};

// Position p (1..11) writes the pointer speed at index p - 1: odd speeds, then the top speed 20.
constexpr std::array<int, 11> kPointerSpeedWritten = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 20};

}  // namespace

const std::array<SliderSetup, kSliderCount>& MainSettingsSliders() { return kSliders; }

const SliderSetup* FindSlider(int id) {
  for (const SliderSetup& setup : kSliders) {
    if (setup.id == id) return &setup;
  }
  return nullptr;
}

int PointerSpeedForPosition(int position) {
  if (position < 1 || position > static_cast<int>(kPointerSpeedWritten.size())) return kPointerSpeedOutOfRange;
  return kPointerSpeedWritten[static_cast<std::size_t>(position - 1)];
}

int PositionForPointerSpeed(int mouseSpeed) {
  // Pairs of speeds share a position; 10 and 11 and anything unknown show the middle position, so a
  // stored speed the slider cannot write is kept until the slider is moved.
  if (mouseSpeed == 0 || mouseSpeed == 1) return 1;
  if (mouseSpeed >= 2 && mouseSpeed <= 9) return mouseSpeed / 2 + 1;
  if (mouseSpeed >= 12 && mouseSpeed <= 19) return mouseSpeed / 2 + 1;
  if (mouseSpeed == 20) return 11;
  return 6;
}

int DoubleClickTimeForPosition(int position) { return kDoubleClickBase - position; }

std::int64_t PositionForDoubleClickTime(int milliseconds) {
  return static_cast<std::int64_t>(kDoubleClickBase) - milliseconds;
}

int ResolutionCode(Resolution resolution) {
  switch (resolution) {
    case Resolution::k400: return 1;
    case Resolution::k800: return 2;
    case Resolution::k1600: return 4;
  }
  return 2;
}

bool ResolutionForCode(int code, Resolution& resolution) {
  switch (code) {
    case 1: resolution = Resolution::k400; return true;
    case 2: resolution = Resolution::k800; return true;
    case 4: resolution = Resolution::k1600; return true;
    default: return false;
  }
}

}  // namespace kavo::option
