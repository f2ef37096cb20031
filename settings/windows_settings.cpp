#include "settings/windows_settings.h"

#include <string>

namespace kavo {
namespace {

constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

void WriteNumber(RegistryKey& key, std::string_view name, int number) { key.WriteString(name, std::to_string(number)); }

void WriteNumberIf(bool accepted, RegistryKey& key, std::string_view name, int number) {
  if (accepted) WriteNumber(key, name, number);
}

int AccelerationRowOf(const ProfileRecord& profile) {
  if (profile.AccelerationFlag == 0 || profile.Acceleration < 0) return 0;
  if (profile.Acceleration >= kAccelerationRows) return kAccelerationRows - 1;
  return profile.Acceleration;
}

}  // namespace

bool IsDoubleClickTime(int milliseconds) { return milliseconds >= 1 && milliseconds <= 5000; }

bool IsPointerSpeed(int speed) { return speed >= 1 && speed <= 20; }

bool IsWheelAmount(int linesOrCharacters) { return linesOrCharacters >= 1 && linesOrCharacters <= 100; }

bool IsAcceleration(int threshold1, int threshold2, int speed) {
  return threshold1 >= 0 && threshold2 >= 0 && speed >= 0 && speed <= 2;
}

AccelerationRow AccelerationTable(int row) {
  if (row <= 0) return {0, 0, 0};
  if (row <= 10) return {1, 14 - row, 0};
  return {2, 4, 24 - row};
}

int WriteWindowsSettings(Registry& registry, const ProfileRecord& profile) {
  auto mouse = registry.OpenOrCreate(kMouseKey);
  if (!mouse) return -1;
  WriteNumberIf(IsDoubleClickTime(profile.DbleClickSpeed), *mouse, "DoubleClickSpeed", profile.DbleClickSpeed);
  WriteNumberIf(IsPointerSpeed(profile.MouseSpeed), *mouse, "MouseSensitivity", profile.MouseSpeed);
  const AccelerationRow row = AccelerationTable(AccelerationRowOf(profile));
  WriteNumber(*mouse, "MouseSpeed", row.mouseSpeed);
  WriteNumber(*mouse, "MouseThreshold1", row.threshold1);
  WriteNumber(*mouse, "MouseThreshold2", row.threshold2);
  mouse.reset();

  auto desktop = registry.OpenOrCreate(kDesktopKey);
  if (!desktop) return -1;
  if (profile.ScrollWheelFlag == 1) {
    WriteNumber(*desktop, "WheelScrollLines", -1);
  } else {
    WriteNumberIf(IsWheelAmount(profile.ScrollWheelSpeed), *desktop, "WheelScrollLines", profile.ScrollWheelSpeed);
  }
  WriteNumberIf(IsWheelAmount(profile.TiltSpeed), *desktop, "WheelScrollChars", profile.TiltSpeed);
  return 1;
}

int ReadWindowsSettings(Registry& registry, ProfileRecord& profile) {
  auto mouse = registry.OpenOrCreate(kMouseKey);
  if (!mouse) return 0;
  ReadRegistryNumber(*mouse, "DoubleClickSpeed", profile.DbleClickSpeed);
  ReadRegistryNumber(*mouse, "MouseSensitivity", profile.MouseSpeed);
  int speed = 0, threshold1 = 0, threshold2 = 0;
  // The acceleration is only looked up from a complete set of the three values; otherwise both the row
  // and its flag keep what the profile holds.
  if (ReadRegistryNumber(*mouse, "MouseSpeed", speed) && ReadRegistryNumber(*mouse, "MouseThreshold1", threshold1) &&
      ReadRegistryNumber(*mouse, "MouseThreshold2", threshold2)) {
    for (int r = 0; r < kAccelerationRows; ++r) {
      const AccelerationRow row = AccelerationTable(r);
      if (row.mouseSpeed == speed && threshold1 <= row.threshold1 && threshold2 <= row.threshold2) {
        profile.Acceleration = r;
      }
    }
    profile.AccelerationFlag = profile.Acceleration != 0 ? 1 : 0;
  }
  mouse.reset();

  auto desktop = registry.OpenOrCreate(kDesktopKey);
  if (!desktop) return -1;
  int lines = 0;
  if (ReadRegistryNumber(*desktop, "WheelScrollLines", lines)) {
    if (lines == -1) {
      profile.ScrollWheelFlag = 1;
      if (profile.ScrollWheelSpeed < 1 || profile.ScrollWheelSpeed > 10) profile.ScrollWheelSpeed = 3;
    } else {
      profile.ScrollWheelSpeed = lines;
      profile.ScrollWheelFlag = 0;
    }
  }
  ReadRegistryNumber(*desktop, "WheelScrollChars", profile.TiltSpeed);
  return 1;
}

}  // namespace kavo
