#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/shortcut_player.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_service_ports.h"

namespace kavo::monitor {
namespace {

constexpr std::uint8_t kDeviceA = 4, kDeviceF5 = 62, kDeviceLeftShift = 225, kDeviceLeftWindows = 227,
                       kDeviceRightAlt = 230, kNotAKey = 3;

std::uint32_t Shortcut(std::uint8_t key, std::uint8_t mask) { return key | static_cast<std::uint32_t>(mask) << 8; }

// The keys of a log without their scan codes: "17 down", "65 up".
std::vector<std::string> Keys(const test::EventLog& log) {
  std::vector<std::string> keys;
  for (const std::string& entry : log) {
    if (entry.rfind("key ", 0) != 0) continue;
    const std::string rest = entry.substr(4);
    keys.push_back(rest.substr(0, rest.find(" scan")));
  }
  return keys;
}

class ShortcutPlayerTest : public ::testing::Test {
 protected:
  test::EventLog log;
  test::FakeInputSink input{log};
  test::FakeKeyboardLayout layout = test::UsLayout();
  test::FakeClock clock;
  ShortcutPlayer player{input, layout, clock};
};

TEST_F(ShortcutPlayerTest, ModifiersGoDownInOrderAndComeUpInReverse) {
  struct Case {
    const char* name;
    std::uint32_t value;
    std::vector<std::string> keys;
    int pauses;
  };
  const Case cases[] = {
      {"Ctrl+Alt+A", Shortcut(kDeviceA, 0x04 | 0x08), {"17 down", "18 down", "65 down", "65 up", "18 up", "17 up"}, 4},
      {"all four", Shortcut(kDeviceF5, 0x1E),
       {"17 down", "16 down", "18 down", "91 down", "116 down", "116 up", "91 up", "18 up", "16 up", "17 up"}, 8},
      {"mask 1 overrides the rest", Shortcut(kDeviceA, 0x1F), {"65 down", "65 up"}, 0},
      {"mask 0x03 presses no modifier", Shortcut(kDeviceA, 0x03), {"65 down", "65 up"}, 0},
      {"a key not in the table is skipped", Shortcut(kNotAKey, 0x02), {"16 down", "16 up"}, 1},
      {"right Alt as the key is Alt", Shortcut(kDeviceRightAlt, 0x00), {"18 down", "18 up"}, 0},
      {"a modifier already pressed is not pressed twice", Shortcut(kDeviceLeftShift, 0x02), {"16 down", "16 up"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    test::FakeClock caseClock;
    ShortcutPlayer casePlayer(input, layout, caseClock);
    casePlayer.Press(c.value);
    EXPECT_TRUE(casePlayer.holding() || c.keys.empty());
    casePlayer.Release();
    EXPECT_FALSE(casePlayer.holding());
    EXPECT_EQ(Keys(log), c.keys);
    EXPECT_EQ(caseClock.sleeps(), std::vector<int>(c.pauses, 1)) << "1 ms between the keys";
  }
}

TEST_F(ShortcutPlayerTest, KeysCarryTheLayoutsScanCode) {
  player.Press(Shortcut(kDeviceA, 0x04));
  EXPECT_EQ(log, (test::EventLog{"key 17 down scan 29", "key 65 down scan 30"}));
}

TEST_F(ShortcutPlayerTest, OnlyOrdinaryKeysRepeat) {
  struct Case {
    const char* name;
    std::uint8_t key;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {"a letter", kDeviceA, {"65 up", "65 down"}},
      {"Shift alone", kDeviceLeftShift, {}},
      {"the Windows key", kDeviceLeftWindows, {}},
      {"right Alt", kDeviceRightAlt, {}},
      {"no key", kNotAKey, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    player.Repeat(Shortcut(c.key, 0x04));
    EXPECT_EQ(Keys(log), c.keys);
  }
}

TEST_F(ShortcutPlayerTest, ReleaseWithNothingHeldSendsNothing) {
  player.Release();
  player.Press(Shortcut(kDeviceA, 0x02));
  player.Release();
  log.clear();
  player.Release();
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace kavo::monitor
