#pragma once
// The feature reports exchanged with the mouse: ids, exact lengths, the checksum of the settings and
// button reports, and the order in which the mouse carries the button slots.
#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/settings_record.h"

namespace kavo::monitor {

enum ReportId : std::uint8_t {
  kReportStatus = 4,          // write: select what the next read of 6 or 7 returns; read: device status
  kReportActiveProfile = 5,
  kReportSettings = 6,
  kReportButtons = 7,
  kReportFirmware = 9,        // read: firmware version; write: reset request
  kReportHostActive = 11,
};

constexpr std::size_t kStatusReportLength = 3;
constexpr std::size_t kActiveProfileReportLength = 3;
constexpr std::size_t kSettingsReportLength = 13;
constexpr std::size_t kButtonsReportLength = 19;
constexpr std::size_t kFirmwareReportLength = 6;
constexpr std::size_t kHostActiveReportLength = 3;

enum SelectWhat : std::uint8_t { kSelectSettings = 0x10, kSelectButtons = 0x20 };
enum DeviceStatus : std::uint8_t { kStatusReady = 1, kStatusBusy = 3 };
constexpr std::uint8_t kResetRequest = 7;
constexpr int kMouseTypeProductId = 0x2CF6;

// Slot carried by each of the fourteen button bytes (report bytes 3..16).
constexpr std::array<int, kButtonSlotCount> kDeviceSlotOrder = {0, 1, 2, 5, 6, 7, 8, 9, 12, 13, 3, 4, 10, 11};

using SettingsReport = std::array<std::uint8_t, kSettingsReportLength>;
using ButtonsReport = std::array<std::uint8_t, kButtonsReportLength>;

// Sum of the bytes before the last two, as a 16-bit total.
std::uint16_t ReportChecksum(const std::uint8_t* report, std::size_t length);
void StampChecksum(std::uint8_t* report, std::size_t length);
bool ChecksumMatches(const std::uint8_t* report, std::size_t length);

// Each value travels as its low byte.
SettingsReport EncodeSettings(int profileIndex, const ProfileRecord& profile);
void StoreSettings(const SettingsReport& report, ProfileRecord& profile);
ButtonsReport EncodeButtons(int profileIndex, const ProfileRecord& profile);
void StoreButtons(const ButtonsReport& report, ProfileRecord& profile);

}  // namespace kavo::monitor
