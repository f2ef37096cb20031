#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/held_keys.h"
#include "tests/support/fake_service_ports.h"

namespace kavo {
namespace {

constexpr int kControl = 0x11, kAlt = 0x12, kShift = 0x10, kKeyT = 0x54;

TEST(HeldKeysTest, ReleasesWhatIsStillDownLastPressedFirst) {
  test::FakeKeyInput input;
  HeldKeys keys(input);
  keys.Press(kControl);
  keys.Press(kAlt);
  keys.Press(kControl);  // already down: not pressed again
  keys.Press(kKeyT);
  keys.Release(kKeyT);
  keys.Release(kShift);  // never pressed: nothing to let go
  EXPECT_TRUE(keys.IsHeld(kAlt));
  keys.ReleaseHeld();
  EXPECT_EQ(input.keys, (std::vector<std::string>{"down 17", "down 18", "down 84", "up 84", "up 18", "up 17"}));
  EXPECT_FALSE(keys.IsHeld(kControl));

  input.keys.clear();
  keys.ReleaseHeld();
  EXPECT_TRUE(input.keys.empty()) << "nothing is released twice";
}

}  // namespace
}  // namespace kavo
