#pragma once
// Pushes the Windows pointer settings of the current profile into the running system.
#include "settings/registry.h"
#include "settings/settings_record.h"

namespace kavo::monitor {

// The running system's pointer settings; each call also tells the windows that care about the change.
class PointerSystem {
 public:
  virtual ~PointerSystem() = default;
  virtual void SetDoubleClickTime(int milliseconds) = 0;
  virtual void SetAcceleration(int threshold1, int threshold2, int speed) = 0;
  virtual void SetPointerSpeed(int speed) = 0;
  virtual void SetWheelScrollLines(int lines) = 0;  // -1: one page per notch
  virtual void SetWheelScrollChars(int characters) = 0;
};

// mouseKey is the open "Control Panel\Mouse" key. With acceleration off, any acceleration left in the
// registry is cleared there and in the profile, so that Windows and the profile agree. A value outside
// the ranges of settings/windows_settings.h is not applied. Nothing happens while no profile is current.
void ApplyPointerSettings(SettingsRecord& record, RegistryKey& mouseKey, PointerSystem& system);

}  // namespace kavo::monitor
