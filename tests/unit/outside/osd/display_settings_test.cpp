#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "outside/osd/display_settings.h"

namespace kavo::osd {
namespace {

struct MessageCase {
  std::uint32_t lParam;
  bool shown;
  int durationMs;
};
// Test names and failure messages show the case by name, not as raw bytes.
void PrintTo(const MessageCase& c, std::ostream* out) { *out << "0x" << std::hex << c.lParam << std::dec; }


class DisplaySettingsFromMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(DisplaySettingsFromMessageTest, HighWordSwitchesNoticesLowWordTimesThem) {
  const MessageCase& c = GetParam();
  const DisplaySettings settings = DisplaySettingsFromMessage(c.lParam);
  EXPECT_EQ(settings.noticesShown, c.shown);
  EXPECT_EQ(settings.durationMs, c.durationMs);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplaySettingsFromMessageTest,
    ::testing::Values(MessageCase{0x00000000, true, 2000},   // a fresh record: the defaults
                      MessageCase{0x00010000, false, 2000},  // hidden, default time
                      MessageCase{0x00000BB8, true, 3000},
                      MessageCase{0x000102EE, false, 750},
                      // The words are not swapped: 3000 in the high word is no switch, 1 ms is cut to the minimum.
                      MessageCase{0x0BB80001, true, 500},
                      // Unknown switch values keep notices on.
                      MessageCase{0x00020000, true, 2000}, MessageCase{0xFFFF0000, true, 2000},
                      // The time stays within 0.5 to 10 seconds.
                      MessageCase{0x000001F3, true, 500}, MessageCase{0x000001F4, true, 500},
                      MessageCase{0x00002710, true, 10000}, MessageCase{0x00002711, true, 10000},
                      MessageCase{0x0000FFFF, true, 10000}));

TEST(DisplaySettingsFromRecordTest, ReadsTheLow16BitsOfTheValuesTheServiceForwards) {
  OSDSetting record;
  ResetOSDSetting(record);
  EXPECT_EQ(DisplaySettingsFromRecord(record), DisplaySettings{});

  // The seven values before them belong to other notice programs.
  for (int i = 0; i < 7; ++i) record.switches[i] = 1;
  EXPECT_EQ(DisplaySettingsFromRecord(record), DisplaySettings{});

  record.switches[7] = 0x00050001;  // only the low 16 bits cross in the message
  record.switches[8] = 0x12340BB8;
  EXPECT_EQ(DisplaySettingsFromRecord(record), (DisplaySettings{false, 3000}));
  // The same values as the service packs them into the message.
  EXPECT_EQ(DisplaySettingsFromRecord(record), DisplaySettingsFromMessage((0x0001u << 16) | 0x0BB8u));
}

}  // namespace
}  // namespace kavo::osd
