#include "monitor/pointer_settings.h"

#include "settings/windows_settings.h"

namespace kavo::monitor {
namespace {

// An acceleration value that cannot be read counts as 0.
int ReadNumber(RegistryKey& key, const char* name) {
  int number = 0;
  ReadRegistryNumber(key, name, number);
  return number;
}

}  // namespace

void ApplyPointerSettings(SettingsRecord& record, RegistryKey& mouseKey, PointerSystem& system) {
  if (!IsProfileIndex(record.CurrentProfile)) return;
  ProfileRecord& profile = record.profiles[record.CurrentProfile];
  // A value the system would not take as meant is left out; the system keeps its own.
  if (IsDoubleClickTime(profile.DbleClickSpeed)) system.SetDoubleClickTime(profile.DbleClickSpeed);

  int speed = ReadNumber(mouseKey, "MouseSpeed");
  int threshold2 = ReadNumber(mouseKey, "MouseThreshold2");
  int threshold1 = ReadNumber(mouseKey, "MouseThreshold1");
  if (profile.AccelerationFlag != 1 && (speed != 0 || threshold1 != 0 || threshold2 != 0)) {
    profile.Acceleration = 0;
    speed = threshold1 = threshold2 = 0;
    for (const char* name : {"MouseSpeed", "MouseThreshold1", "MouseThreshold2"}) mouseKey.WriteString(name, "0");
  }
  if (IsAcceleration(threshold1, threshold2, speed)) system.SetAcceleration(threshold1, threshold2, speed);
  if (IsPointerSpeed(profile.MouseSpeed)) system.SetPointerSpeed(profile.MouseSpeed);
  if (profile.ScrollWheelFlag != 0) {
    system.SetWheelScrollLines(-1);
  } else if (IsWheelAmount(profile.ScrollWheelSpeed)) {
    system.SetWheelScrollLines(profile.ScrollWheelSpeed);
  }
  if (IsWheelAmount(profile.TiltSpeed)) system.SetWheelScrollChars(profile.TiltSpeed);
}

}  // namespace kavo::monitor
