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

// 1 on success, -1 when a registry key could not be opened or created.
int WriteWindowsSettings(Registry& registry, const ProfileRecord& profile);
// 1 on success; 0 when the mouse key could not be opened (nothing changed); -1 when the desktop key could
// not be opened (the mouse fields stay updated). A value that cannot be read leaves its field unchanged.
int ReadWindowsSettings(Registry& registry, ProfileRecord& profile);

}  // namespace kavo
