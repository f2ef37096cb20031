// What key capture does with the keys that were down when it began: the key that chose the command is
// neither taken nor kept from the system, while every key pressed after the start is the user's.
#include "option/common/keys_down_at_start.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kavo::option {
namespace {

constexpr int kVkReturn = 0x0D, kVkSpace = 0x20, kVkLeftShift = 0xA0, kVkA = 'A', kVkB = 'B';
using V = StartKeyVerdict;

KeysDownAtStart::KeyDown Down(std::set<int> keys) {
  return [keys](int key) { return keys.count(key) != 0; };
}

struct Message {
  int key;
  bool released;
  V verdict;
};

TEST(KeysDownAtStartTest, HeldKeysAreLeftAloneUntilTheyComeUpAndLaterStrokesAreCaptured) {
  struct Case {
    const char* name;
    std::set<int> downAtStart;
    std::vector<Message> messages;
  };
  const Case cases[] = {
      {"the Return that chose the command, then the wanted key",
       {kVkReturn},
       {{kVkReturn, true, V::kPassOn}, {kVkA, false, V::kCapture}, {kVkA, true, V::kCapture}}},
      {"Return held on: its repeats are dropped, its release passed on, its next stroke taken",
       {kVkReturn},
       {{kVkReturn, false, V::kIgnore},
        {kVkReturn, false, V::kIgnore},
        {kVkReturn, true, V::kPassOn},
        {kVkReturn, false, V::kCapture},
        {kVkReturn, true, V::kCapture}}},
      {"a key pressed while the held one is still down is taken",
       {kVkSpace},
       {{kVkB, false, V::kCapture}, {kVkSpace, true, V::kPassOn}, {kVkB, true, V::kCapture}}},
      {"two held keys, each forgotten with its own release",
       {kVkLeftShift, kVkReturn},
       {{kVkLeftShift, true, V::kPassOn},
        {kVkReturn, false, V::kIgnore},
        {kVkLeftShift, false, V::kCapture},
        {kVkReturn, true, V::kPassOn},
        {kVkReturn, false, V::kCapture}}},
      {"nothing down at the start: everything is taken, a lone release too",
       {},
       {{kVkReturn, true, V::kCapture}, {kVkA, false, V::kCapture}}},
      {"codes outside the key range are taken as they come",
       {kVkReturn},
       {{0, false, V::kCapture}, {256, true, V::kCapture}, {-1, true, V::kCapture}, {kVkReturn, true, V::kPassOn}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeysDownAtStart keys;
    keys.Start(Down(c.downAtStart));
    for (std::size_t i = 0; i < c.messages.size(); ++i) {
      const Message& m = c.messages[i];
      EXPECT_EQ(keys.OnKey(m.key, m.released), m.verdict) << "message " << i;
    }
  }
}

TEST(KeysDownAtStartTest, ANewStartForgetsTheKeysOfTheLastOne) {
  KeysDownAtStart keys;
  keys.Start(Down({kVkReturn}));
  keys.Start(Down({kVkSpace}));
  EXPECT_EQ(keys.OnKey(kVkReturn, true), V::kCapture);
  EXPECT_EQ(keys.OnKey(kVkSpace, true), V::kPassOn);
}

TEST(KeysDownAtStartTest, AWaitEndsOnceEveryHeldKeyIsUp) {
  KeysDownAtStart keys;
  keys.Start(Down({kVkReturn, kVkLeftShift}));
  EXPECT_FALSE(keys.AllUp(Down({kVkReturn, kVkLeftShift})));
  // Shift came up; a key pressed since the start does not hold the wait.
  EXPECT_FALSE(keys.AllUp(Down({kVkReturn, kVkA})));
  EXPECT_EQ(keys.OnKey(kVkLeftShift, false), V::kCapture) << "Shift was forgotten when it was seen up";
  EXPECT_TRUE(keys.AllUp(Down({kVkA})));
  EXPECT_EQ(keys.OnKey(kVkReturn, true), V::kCapture);

  KeysDownAtStart none;
  none.Start(Down({}));
  EXPECT_TRUE(none.AllUp(Down({kVkReturn})));
}

}  // namespace
}  // namespace kavo::option
