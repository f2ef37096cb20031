#pragma once
// The Windows-wide pointer settings of a profile, mirrored to and from the current user's registry.
#include "settings/registry.h"
#include "settings/settings_record.h"

namespace kavo {

struct AccelerationRow {
  int mouseSpeed;
  int threshold1;
  int threshold2;
};

constexpr int kAccelerationRows = 20;
// Row r of the acceleration choice -> the three Windows values MouseSpeed, MouseThreshold1, MouseThreshold2.
AccelerationRow AccelerationTable(int row);

// The values the running system takes as they are meant. One outside them (a key missing from a profile
// file reads as -1) is never handed on, to the registry or to the system: Windows keeps what it has.
bool IsDoubleClickTime(int milliseconds);   // 1..5000: 0 means Windows' default, more is cut to 5000
bool IsPointerSpeed(int speed);             // 1..20
bool IsWheelAmount(int linesOrCharacters);  // 1..100 lines per notch or characters per tilt
// Thresholds in mickeys, never negative; the speed doubles the motion past one threshold (1) or both (2).
bool IsAcceleration(int threshold1, int threshold2, int speed);

// 1 on success, -1 when a registry key could not be opened or created. A value out of its range above
// is not written.
int WriteWindowsSettings(Registry& registry, const ProfileRecord& profile);
// 1 on success; 0 when the mouse key could not be opened (nothing changed); -1 when the desktop key could
// not be opened (the mouse fields stay updated). A value that cannot be read leaves its field unchanged.
int ReadWindowsSettings(Registry& registry, ProfileRecord& profile);

}  // namespace kavo
