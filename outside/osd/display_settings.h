#pragma once
// The two 16-bit values the service forwards from its OSD settings record (the values at bytes 28 and 32),
// read as the display's own settings. Zero in either value means its default, so a fresh record shows
// every notice for two seconds.
//   high word: 0 notices shown, 1 notices hidden; other values are taken as 0, so that a damaged record
//              cannot silence a low-battery warning.
//   low word:  how long a notice stays, in milliseconds, kept within 500..10000.
#include <cstdint>

#include "settings/settings_record.h"

namespace kavo::osd {

constexpr int kDefaultDurationMs = 2000;
constexpr int kMinDurationMs = 500;
constexpr int kMaxDurationMs = 10000;

struct DisplaySettings {
  bool noticesShown = true;
  int durationMs = kDefaultDurationMs;
  bool operator==(const DisplaySettings& other) const {
    return noticesShown == other.noticesShown && durationMs == other.durationMs;
  }
};

DisplaySettings DecodeDisplaySettings(std::uint16_t high, std::uint16_t low);
// From the lParam of the settings message.
DisplaySettings DisplaySettingsFromMessage(std::uint32_t lParam);
// From the record in "config.ini", read the way the service reads it before forwarding.
DisplaySettings DisplaySettingsFromRecord(const OSDSetting& record);

}  // namespace kavo::osd
