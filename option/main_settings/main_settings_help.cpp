#include "option/main_settings/main_settings_help.h"

#include "option/main_settings/main_settings_controls.h"

namespace kavo::option {

MainSettingsHelpTexts LoadMainSettingsHelp(const HelpLibrary& library) {
  MainSettingsHelpTexts texts;
  texts.sensitivitySlider = library.Text(kHelpSensitivitySlider);
  texts.sensitivityValue = library.Text(kHelpSensitivityValue);
  texts.resolution = library.Text(kHelpResolution);
  texts.scrollSpeed = library.Text(kHelpScrollSpeed);
  texts.onePage = library.Text(kHelpOnePage);
  texts.pointSpeed = library.Text(kHelpPointSpeed);
  texts.acceleration = library.Text(kHelpAcceleration);
  texts.tiltSpeed = library.Text(kHelpTiltSpeed);
  texts.doubleClick = library.Text(kHelpDoubleClick);
  texts.reset = library.Text(kHelpReset);
  return texts;
}

}  // namespace kavo::option
