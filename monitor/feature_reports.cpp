#include "monitor/feature_reports.h"

namespace kavo::monitor {
namespace {

// The eight device values of the settings report, in report order (bytes 3..10).
constexpr std::int32_t ProfileRecord::*kSettingsFields[] = {
    &ProfileRecord::XYSynchronous, &ProfileRecord::Sensitivity_X, &ProfileRecord::Sensitivity_Y,
    &ProfileRecord::Cpi_X,         &ProfileRecord::Cpi_Y,         &ProfileRecord::LightSwitch,
    &ProfileRecord::LightType,     &ProfileRecord::Orientation,
};
static_assert(sizeof kSettingsFields / sizeof kSettingsFields[0] == kSettingsReportLength - 5);

constexpr std::size_t kFirstValueByte = 3;

}  // namespace

std::uint16_t ReportChecksum(const std::uint8_t* report, std::size_t length) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 2 < length; ++i) sum = static_cast<std::uint16_t>(sum + report[i]);
  return sum;
}

void StampChecksum(std::uint8_t* report, std::size_t length) {
  const std::uint16_t sum = ReportChecksum(report, length);
  report[length - 2] = static_cast<std::uint8_t>(sum & 0xFF);
  report[length - 1] = static_cast<std::uint8_t>(sum >> 8);
}

bool ChecksumMatches(const std::uint8_t* report, std::size_t length) {
  const std::uint16_t sum = ReportChecksum(report, length);
  return report[length - 2] == (sum & 0xFF) && report[length - 1] == (sum >> 8);
}

SettingsReport EncodeSettings(int profileIndex, const ProfileRecord& profile) {
  SettingsReport report{};
  report[0] = kReportSettings;
  report[1] = kSettingsReportLength;
  report[2] = static_cast<std::uint8_t>(profileIndex);
  for (std::size_t i = 0; i < std::size(kSettingsFields); ++i) {
    report[kFirstValueByte + i] = static_cast<std::uint8_t>(profile.*kSettingsFields[i]);
  }
  StampChecksum(report.data(), report.size());
  return report;
}

void StoreSettings(const SettingsReport& report, ProfileRecord& profile) {
  for (std::size_t i = 0; i < std::size(kSettingsFields); ++i) profile.*kSettingsFields[i] = report[kFirstValueByte + i];
}

ButtonsReport EncodeButtons(int profileIndex, const ProfileRecord& profile) {
  ButtonsReport report{};
  report[0] = kReportButtons;
  report[1] = kButtonsReportLength;
  report[2] = static_cast<std::uint8_t>(profileIndex);
  for (std::size_t i = 0; i < kDeviceSlotOrder.size(); ++i) {
    report[kFirstValueByte + i] = profile.buttons[kDeviceSlotOrder[i]].function;
  }
  StampChecksum(report.data(), report.size());
  return report;
}

void StoreButtons(const ButtonsReport& report, ProfileRecord& profile) {
  for (std::size_t i = 0; i < kDeviceSlotOrder.size(); ++i) {
    profile.buttons[kDeviceSlotOrder[i]].function = report[kFirstValueByte + i];
  }
}

}  // namespace kavo::monitor
