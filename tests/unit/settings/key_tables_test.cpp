#include <gtest/gtest.h>

#include <set>

#include "settings/key_tables.h"
#include "tests/support/fake_keyboard_layouts.h"

namespace kavo {
namespace {

TEST(KeyCodeTableTest, EveryDeviceCodeHasOneRowAndTheEuropeanKeysNone) {
  std::set<int> deviceCodes;
  for (const auto& row : kKeyCodeTable) EXPECT_TRUE(deviceCodes.insert(row.deviceKey).second) << int(row.deviceKey);
  EXPECT_EQ(deviceCodes.count(50), 0u);
  EXPECT_EQ(deviceCodes.count(100), 0u);
  for (int code = 4; code <= 99; ++code) {
    if (code != 50) {
      EXPECT_EQ(deviceCodes.count(code), 1u) << code;
    }
  }
}

TEST(KeyTablesTest, UsLayoutRoundTripsEveryRow) {
  auto layout = test::UsLayout();
  for (const auto& row : kKeyCodeTable) {
    const KeyLookup device = VirtualKeyToDeviceKey(layout, row.virtualKey);
    EXPECT_TRUE(device.found);
    EXPECT_EQ(device.code, row.deviceKey) << int(row.virtualKey);
    const KeyLookup virtualKey = DeviceKeyToVirtualKey(layout, row.deviceKey);
    EXPECT_TRUE(virtualKey.found);
    EXPECT_EQ(virtualKey.code, row.virtualKey) << int(row.deviceKey);
  }
}

TEST(KeyTablesTest, LayoutDecidesByKeyPosition) {
  auto french = test::LayoutWithAAtScanCode16();
  EXPECT_EQ(VirtualKeyToDeviceKey(french, 'A').code, 20);  // the position of Q on a US keyboard
  EXPECT_EQ(DeviceKeyName(french, 20), "A");
  EXPECT_EQ(DeviceKeyName(french, 4), "Q");
  EXPECT_EQ(VirtualKeyToDeviceKey(french, 'W').code, 29);
  auto us = test::UsLayout();
  EXPECT_EQ(DeviceKeyName(us, 20), "Q");
}

TEST(KeyTablesTest, LookupsThatFindNothing) {
  auto layout = test::UsLayout();
  EXPECT_EQ(VirtualKeyToDeviceKey(layout, 255).found, false);
  EXPECT_EQ(VirtualKeyToDeviceKey(layout, 255).code, 0);
  EXPECT_EQ(DeviceKeyToVirtualKey(layout, 50).found, false);
  EXPECT_EQ(DeviceKeyToVirtualKey(layout, 100).found, false);
  // A key without a scan code on this layout keeps its own row, never the first row that has none.
  test::FakeKeyboardLayout bare;
  EXPECT_EQ(VirtualKeyToDeviceKey(bare, 'A').code, 4);
  EXPECT_EQ(DeviceKeyToVirtualKey(bare, 4).code, 'A');
}

TEST(KeyTablesTest, DeviceKeyNames) {
  auto layout = test::UsLayout();
  struct Case {
    int code;
    const char* name;
  };
  const Case cases[] = {
      {4, "A"},           {29, "Z"},          {30, "1"},           {39, "0"},         {40, "Enter"},
      {41, "Esc"},        {42, "BackSpace"},  {44, "Space"},       {45, "-"},         {49, "\\"},
      {53, "`"},          {57, "Caps Lock"},  {58, "F1"},          {69, "F12"},       {72, "Break"},
      {88, "Num_Enter"},  {89, "Num_1"},      {98, "Num_0"},       {99, "Num_."},     {100, "Europe 2"},
      {101, "APP"},       {130, "Sleep"},     {224, "Left Control"}, {231, "Right GUI"}, {244, "Side Button 2"},
      {0, ""},            {50, ""},           {132, ""},           {102, ""},         {255, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeviceKeyName(layout, c.code), c.name) << c.code;
}

TEST(KeyTablesTest, VirtualKeyNames) {
  auto layout = test::UsLayout();
  struct Case {
    int code;
    const char* name;
  };
  const Case cases[] = {
      {13, "Enter"},  {108, "NumRet"},      {162, "Left Ctrl"}, {97, "Num1"}, {91, "Left Windows Button"},
      {44, "Snapshot"}, {242, "Wheel"},     {65, "A"},          {186, ";"},   {48, "0"},
      {0, ""},        {255, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyName(layout, c.code), c.name) << c.code;
}

}  // namespace
}  // namespace kavo
