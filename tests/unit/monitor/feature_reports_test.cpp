#include <gtest/gtest.h>

#include "monitor/feature_reports.h"

namespace kavo::monitor {
namespace {

ProfileRecord NumberedProfile() {
  ProfileRecord profile;
  ResetProfile(profile, 0);
  for (int slot = 0; slot < kButtonSlotCount; ++slot) profile.buttons[slot].function = static_cast<std::uint8_t>(100 + slot);
  return profile;
}

TEST(FeatureReportsTest, SettingsTravelAsLowBytesWithChecksum) {
  ProfileRecord profile = NumberedProfile();
  profile.XYSynchronous = 1;
  profile.Sensitivity_X = 300;  // sent as 44
  profile.Sensitivity_Y = -1;   // sent as 255
  profile.Cpi_X = 4;
  profile.Cpi_Y = 3;
  profile.LightSwitch = 0;
  profile.LightType = 2;
  profile.Orientation = 1;
  const SettingsReport report = EncodeSettings(3, profile);
  const SettingsReport expected = {6, 13, 3, 1, 44, 255, 4, 3, 0, 2, 1, 0, 0};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(report[i], expected[i]) << "byte " << i;
  const int sum = 6 + 13 + 3 + 1 + 44 + 255 + 4 + 3 + 0 + 2 + 1;
  EXPECT_EQ(report[11], sum & 0xFF);
  EXPECT_EQ(report[12], sum >> 8);
  EXPECT_TRUE(ChecksumMatches(report.data(), report.size()));

  ProfileRecord back = NumberedProfile();
  StoreSettings(report, back);
  EXPECT_EQ(back.Sensitivity_X, 44);
  EXPECT_EQ(back.Sensitivity_Y, 255);
  EXPECT_EQ(back.Orientation, 1);
}

TEST(FeatureReportsTest, ButtonsTravelInDeviceOrder) {
  const ButtonsReport report = EncodeButtons(1, NumberedProfile());
  const int slotOfByte[14] = {0, 1, 2, 5, 6, 7, 8, 9, 12, 13, 3, 4, 10, 11};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(report[3 + i], 100 + slotOfByte[i]) << "byte " << 3 + i;
  EXPECT_EQ(report[13], 103) << "slot 3 rides in byte 13";
  EXPECT_EQ(report[5], 102) << "slot 2 rides in byte 5";
  EXPECT_EQ(report[6], 105) << "slot 5 rides in byte 6";
  EXPECT_TRUE(ChecksumMatches(report.data(), report.size()));

  ProfileRecord back;
  ResetProfile(back, 1);
  StoreButtons(report, back);
  for (int slot = 0; slot < 14; ++slot) EXPECT_EQ(back.buttons[slot].function, 100 + slot);
  EXPECT_EQ(back.buttons[7].slot, 7) << "only the function code travels";
}

TEST(FeatureReportsTest, ChecksumIsASixteenBitSumLowByteFirst) {
  std::uint8_t report[19];
  for (int i = 0; i < 19; ++i) report[i] = 0xF0;
  StampChecksum(report, sizeof report);
  EXPECT_EQ(report[17], (17 * 0xF0) & 0xFF);
  EXPECT_EQ(report[18], (17 * 0xF0) >> 8);
  for (int damaged : {0, 16, 17, 18}) {
    std::uint8_t copy[19];
    std::copy(report, report + 19, copy);
    copy[damaged] ^= 1;
    EXPECT_FALSE(ChecksumMatches(copy, sizeof copy)) << "byte " << damaged;
  }
}

}  // namespace
}  // namespace kavo::monitor
