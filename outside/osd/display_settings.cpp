#include "outside/osd/display_settings.h"

#include <algorithm>

namespace kavo::osd {

DisplaySettings DecodeDisplaySettings(std::uint16_t high, std::uint16_t low) {
  DisplaySettings settings;
  settings.noticesShown = high != 1;
  if (low != 0) settings.durationMs = std::clamp<int>(low, kMinDurationMs, kMaxDurationMs);
  return settings;
}

DisplaySettings DisplaySettingsFromMessage(std::uint32_t lParam) {
  return DecodeDisplaySettings(static_cast<std::uint16_t>(lParam >> 16), static_cast<std::uint16_t>(lParam));
}

DisplaySettings DisplaySettingsFromRecord(const OSDSetting& record) {
  // Bytes 28 and 32 are the last two of the nine leading values.
  return DecodeDisplaySettings(static_cast<std::uint16_t>(record.switches[7]),
                               static_cast<std::uint16_t>(record.switches[8]));
}

}  // namespace kavo::osd
