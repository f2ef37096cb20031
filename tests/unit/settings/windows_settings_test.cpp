#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/windows_settings.h"
#include "tests/support/fake_registry.h"

namespace kavo {
namespace {

constexpr char kMouse[] = "Control Panel\\Mouse";
constexpr char kDesktop[] = "Control Panel\\Desktop";

ProfileRecord DefaultProfile() {
  ProfileRecord profile;
  ResetProfile(profile, 0);
  return profile;
}

TEST(AccelerationTableTest, Rows) {
  struct Case {
    int row, speed, t1, t2;
  };
  const Case cases[] = {{0, 0, 0, 0}, {1, 1, 13, 0}, {10, 1, 4, 0}, {11, 2, 4, 13}, {15, 2, 4, 9}, {19, 2, 4, 5}};
  for (const auto& c : cases) {
    const AccelerationRow row = AccelerationTable(c.row);
    EXPECT_EQ(row.mouseSpeed, c.speed) << c.row;
    EXPECT_EQ(row.threshold1, c.t1) << c.row;
    EXPECT_EQ(row.threshold2, c.t2) << c.row;
  }
}

TEST(WindowsSettingsTest, WriteMirrorsThePointerFields) {
  struct Case {
    int acceleration, flag, wheelFlag;
    const char *speed, *t1, *t2, *lines;
  };
  const Case cases[] = {
      {12, 0, 0, "0", "0", "0", "7"},     // acceleration off: row 0 whatever the stored row
      {12, 1, 0, "2", "4", "12", "7"},
      {3, 1, 1, "1", "11", "0", "-1"},    // one page per notch
      {-4, 1, 0, "0", "0", "0", "7"},
      {25, 1, 0, "2", "4", "5", "7"},     // above the table: its last row
  };
  for (const auto& c : cases) {
    test::FakeRegistry registry;
    ProfileRecord profile = DefaultProfile();
    profile.DbleClickSpeed = 640;
    profile.MouseSpeed = 14;
    profile.ScrollWheelSpeed = 7;
    profile.TiltSpeed = 4;
    profile.Acceleration = c.acceleration;
    profile.AccelerationFlag = c.flag;
    profile.ScrollWheelFlag = c.wheelFlag;
    ASSERT_EQ(WriteWindowsSettings(registry, profile), 1);
    auto& mouse = registry.keys[kMouse];
    auto& desktop = registry.keys[kDesktop];
    EXPECT_EQ(mouse["DoubleClickSpeed"], "640");
    EXPECT_EQ(mouse["MouseSensitivity"], "14");
    EXPECT_EQ(mouse["MouseSpeed"], c.speed) << c.acceleration;
    EXPECT_EQ(mouse["MouseThreshold1"], c.t1) << c.acceleration;
    EXPECT_EQ(mouse["MouseThreshold2"], c.t2) << c.acceleration;
    EXPECT_EQ(desktop["WheelScrollLines"], c.lines);
    EXPECT_EQ(desktop["WheelScrollChars"], "4");
  }
}

// Values Windows does not take as they are meant (a key missing from a profile file reads as -1) are
// not written: the registry keeps what it held, and the other values are written as usual.
TEST(WindowsSettingsTest, OutOfRangeValuesNeverReachTheRegistry) {
  struct Case {
    const char* name;
    std::int32_t ProfileRecord::*field;
    int value;
    const char* key;    // the key of the value left alone
    const char* valueName;
  };
  const Case cases[] = {
      {"double-click -1", &ProfileRecord::DbleClickSpeed, -1, kMouse, "DoubleClickSpeed"},
      {"double-click 0", &ProfileRecord::DbleClickSpeed, 0, kMouse, "DoubleClickSpeed"},
      {"double-click 5001", &ProfileRecord::DbleClickSpeed, 5001, kMouse, "DoubleClickSpeed"},
      {"pointer speed -1", &ProfileRecord::MouseSpeed, -1, kMouse, "MouseSensitivity"},
      {"pointer speed 0", &ProfileRecord::MouseSpeed, 0, kMouse, "MouseSensitivity"},
      {"pointer speed 21", &ProfileRecord::MouseSpeed, 21, kMouse, "MouseSensitivity"},
      {"wheel lines -1", &ProfileRecord::ScrollWheelSpeed, -1, kDesktop, "WheelScrollLines"},
      {"wheel lines 0", &ProfileRecord::ScrollWheelSpeed, 0, kDesktop, "WheelScrollLines"},
      {"wheel lines 101", &ProfileRecord::ScrollWheelSpeed, 101, kDesktop, "WheelScrollLines"},
      {"tilt characters -1", &ProfileRecord::TiltSpeed, -1, kDesktop, "WheelScrollChars"},
      {"tilt characters 0", &ProfileRecord::TiltSpeed, 0, kDesktop, "WheelScrollChars"},
      {"tilt characters 101", &ProfileRecord::TiltSpeed, 101, kDesktop, "WheelScrollChars"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeRegistry registry;
    registry.keys[c.key][c.valueName] = "kept";
    ProfileRecord profile = DefaultProfile();
    profile.*c.field = c.value;
    ASSERT_EQ(WriteWindowsSettings(registry, profile), 1);
    EXPECT_EQ(registry.keys[c.key][c.valueName], "kept");
    EXPECT_EQ(registry.keys[kMouse].size() + registry.keys[kDesktop].size(), 7u) << "the others are written";
  }
}

TEST(WindowsSettingsTest, ValuesAtTheEndsOfTheirRangesAreWritten) {
  struct Case {
    std::int32_t ProfileRecord::*field;
    int value;
    const char* key;
    const char* valueName;
  };
  const Case cases[] = {
      {&ProfileRecord::DbleClickSpeed, 1, kMouse, "DoubleClickSpeed"},
      {&ProfileRecord::DbleClickSpeed, 5000, kMouse, "DoubleClickSpeed"},
      {&ProfileRecord::MouseSpeed, 1, kMouse, "MouseSensitivity"},
      {&ProfileRecord::MouseSpeed, 20, kMouse, "MouseSensitivity"},
      {&ProfileRecord::ScrollWheelSpeed, 1, kDesktop, "WheelScrollLines"},
      {&ProfileRecord::ScrollWheelSpeed, 100, kDesktop, "WheelScrollLines"},
      {&ProfileRecord::TiltSpeed, 1, kDesktop, "WheelScrollChars"},
      {&ProfileRecord::TiltSpeed, 100, kDesktop, "WheelScrollChars"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.valueName) + " " + std::to_string(c.value));
    test::FakeRegistry registry;
    ProfileRecord profile = DefaultProfile();
    profile.*c.field = c.value;
    ASSERT_EQ(WriteWindowsSettings(registry, profile), 1);
    EXPECT_EQ(registry.keys[c.key][c.valueName], std::to_string(c.value));
  }
  // Paging does not depend on the number of lines the profile keeps.
  test::FakeRegistry registry;
  ProfileRecord profile = DefaultProfile();
  profile.ScrollWheelFlag = 1;
  profile.ScrollWheelSpeed = -1;
  ASSERT_EQ(WriteWindowsSettings(registry, profile), 1);
  EXPECT_EQ(registry.keys[kDesktop]["WheelScrollLines"], "-1");
}

TEST(WindowsSettingsTest, ReadFindsTheLastMatchingAccelerationRow) {
  struct Case {
    const char *speed, *t1, *t2;
    int storedAcceleration, acceleration, flag;
  };
  const Case cases[] = {
      {"2", "4", "9", 3, 15, 1},    // rows 11..15 match; the last wins
      {"0", "0", "0", 7, 0, 0},     // row 0 only
      {"1", "6", "10", 7, 7, 1},    // Windows' own defaults match no row: the stored row stays
      {"1", "6", "10", 0, 0, 0},
      {"1", "13", "0", 9, 1, 1},
      {"1", "4", "0", 9, 10, 1},
  };
  for (const auto& c : cases) {
    test::FakeRegistry registry;
    registry.keys[kMouse] = {{"MouseSpeed", c.speed}, {"MouseThreshold1", c.t1}, {"MouseThreshold2", c.t2}};
    ProfileRecord profile = DefaultProfile();
    profile.Acceleration = c.storedAcceleration;
    EXPECT_EQ(ReadWindowsSettings(registry, profile), 1);
    EXPECT_EQ(profile.Acceleration, c.acceleration) << c.speed << "," << c.t1 << "," << c.t2;
    EXPECT_EQ(profile.AccelerationFlag, c.flag) << c.speed << "," << c.t1 << "," << c.t2;
  }
}

TEST(WindowsSettingsTest, ReadWheelAndMissingValues) {
  test::FakeRegistry registry;
  registry.keys[kMouse] = {{"DoubleClickSpeed", "450"}, {"MouseSensitivity", "9"}, {"MouseSpeed", "2"}};
  registry.keys[kDesktop] = {{"WheelScrollLines", "-1"}};
  ProfileRecord profile = DefaultProfile();
  profile.ScrollWheelSpeed = 25;
  profile.Acceleration = 6;
  profile.AccelerationFlag = 0;
  ASSERT_EQ(ReadWindowsSettings(registry, profile), 1);
  EXPECT_EQ(profile.DbleClickSpeed, 450);
  EXPECT_EQ(profile.MouseSpeed, 9);
  EXPECT_EQ(profile.ScrollWheelFlag, 1);
  EXPECT_EQ(profile.ScrollWheelSpeed, 3) << "out of 1..10 while paging";
  EXPECT_EQ(profile.TiltSpeed, 3) << "unreadable: unchanged";
  EXPECT_EQ(profile.Acceleration, 6) << "an incomplete set of acceleration values changes nothing";
  EXPECT_EQ(profile.AccelerationFlag, 0);

  registry.keys[kDesktop] = {{"WheelScrollLines", "5"}, {"WheelScrollChars", "2"}};
  ReadWindowsSettings(registry, profile);
  EXPECT_EQ(profile.ScrollWheelFlag, 0);
  EXPECT_EQ(profile.ScrollWheelSpeed, 5);
  EXPECT_EQ(profile.TiltSpeed, 2);

  registry.keys[kDesktop] = {{"WheelScrollLines", "-1"}};
  profile.ScrollWheelSpeed = 8;
  ReadWindowsSettings(registry, profile);
  EXPECT_EQ(profile.ScrollWheelSpeed, 8) << "a speed in range is kept while paging";
}

TEST(WindowsSettingsTest, KeysThatCannotBeOpened) {
  test::FakeRegistry registry;
  registry.BlockKey(kMouse);
  registry.keys[kDesktop] = {{"WheelScrollChars", "8"}};
  ProfileRecord profile = DefaultProfile();
  const ProfileRecord before = profile;
  EXPECT_EQ(ReadWindowsSettings(registry, profile), 0);
  EXPECT_EQ(std::memcmp(&profile, &before, sizeof profile), 0);
  EXPECT_EQ(WriteWindowsSettings(registry, profile), -1);
  EXPECT_EQ(registry.keys[kDesktop].count("WheelScrollLines"), 0u);

  test::FakeRegistry desktopBlocked;
  desktopBlocked.BlockKey(kDesktop);
  desktopBlocked.keys[kMouse] = {{"DoubleClickSpeed", "700"}};
  EXPECT_EQ(ReadWindowsSettings(desktopBlocked, profile), -1);
  EXPECT_EQ(profile.DbleClickSpeed, 700) << "the mouse fields stay updated";
  EXPECT_EQ(WriteWindowsSettings(desktopBlocked, profile), -1);
  EXPECT_EQ(desktopBlocked.keys[kMouse]["MouseSensitivity"], "11");
}

TEST(WindowsSettingsTest, NumbersOutOfRangeAreClamped) {
  test::FakeRegistry registry;
  registry.keys[kMouse] = {{"DoubleClickSpeed", "99999999999999"}, {"MouseSensitivity", " -12abc"}};
  ProfileRecord profile = DefaultProfile();
  ReadWindowsSettings(registry, profile);
  EXPECT_EQ(profile.DbleClickSpeed, 2147483647);
  EXPECT_EQ(profile.MouseSpeed, -12);
}

}  // namespace
}  // namespace kavo
