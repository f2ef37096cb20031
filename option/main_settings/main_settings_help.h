#pragma once
// The help texts of the main settings page's controls, reloaded on every language change.
#include <string>

#include "option/main_settings/main_settings_ports.h"

namespace kavo::option {

struct MainSettingsHelpTexts {
  std::string sensitivitySlider;
  std::string sensitivityValue;
  std::string resolution;  // the three resolution buttons
  std::string scrollSpeed; // the Scroll speed slider and "not one page"
  std::string onePage;
  std::string pointSpeed;
  std::string acceleration;
  std::string tiltSpeed;
  std::string doubleClick;
  std::string reset;
};

MainSettingsHelpTexts LoadMainSettingsHelp(const HelpLibrary& library);

}  // namespace kavo::option
