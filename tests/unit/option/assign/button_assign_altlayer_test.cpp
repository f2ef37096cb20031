// The Altlayer rules after a slot change, with the codes they save and restore, and the hover picture of
// every slot in every Altlayer state and orientation.
#include "option/assign/button_assign_altlayer.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kavo::option {
namespace {

using Codes = std::array<int, kInputsPerLayer>;  // slots 7..13

class AltlayerRulesTest : public ::testing::Test {
 protected:
  AltlayerRulesTest() {
    ResetProfile(profile_, 0);
    for (int slot = 0; slot < kButtonSlotCount; ++slot) ResetButtonEntry(profile_.buttons[slot], slot);
  }

  // Puts code into slot as the page does and runs the rules.
  SlotSet Choose(int slot, int code) {
    profile_.buttons[slot].function = static_cast<std::uint8_t>(code);
    return rules_.Apply(profile_, code);
  }
  Codes Layer() const {
    Codes codes{};
    for (int i = 0; i < kInputsPerLayer; ++i) codes[static_cast<std::size_t>(i)] = profile_.buttons[7 + i].function;
    return codes;
  }
  void SetLayer(const Codes& codes) {
    for (int i = 0; i < kInputsPerLayer; ++i) {
      profile_.buttons[7 + i].function = static_cast<std::uint8_t>(codes[static_cast<std::size_t>(i)]);
    }
  }
  Codes Saved() const {
    Codes codes{};
    for (int i = 0; i < kInputsPerLayer; ++i) codes[static_cast<std::size_t>(i)] = rules_.Saved(7 + i);
    return codes;
  }
  static SlotSet Slots(std::initializer_list<int> slots) {
    SlotSet set;
    for (int slot : slots) set.set(static_cast<std::size_t>(slot));
    return set;
  }

  ProfileRecord profile_{};
  AltlayerRules rules_;
};

TEST_F(AltlayerRulesTest, DefaultsHaveTheLayerOnInput4) {
  EXPECT_EQ(CurrentAltlayer(profile_), AltlayerState::kInput4);
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 0, 6, 38, 39}));
  EXPECT_EQ(Saved(), (Codes{}));
}

TEST_F(AltlayerRulesTest, ReplacingTheOnlyAltlayerSavesAndClearsTheLayerAndChoosingItAgainRestoresIt) {
  SetLayer({8, 7, 37, 0, 33, 38, 39});
  EXPECT_EQ(Choose(3, 1), Slots({7, 8, 9, 11, 12, 13}));
  EXPECT_EQ(Layer(), (Codes{}));
  EXPECT_EQ(Saved(), (Codes{8, 7, 37, 0, 33, 38, 39}));

  // Further changes while the layer is off must not save its zeros over the kept codes.
  EXPECT_EQ(Choose(5, 20), SlotSet{});
  EXPECT_EQ(Saved(), (Codes{8, 7, 37, 0, 33, 38, 39}));

  EXPECT_EQ(Choose(3, kFunctionAltlayer), Slots({7, 8, 9, 11, 12, 13}));
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 0, 33, 38, 39}));
}

TEST_F(AltlayerRulesTest, SwitchingOnWithNothingSavedRestoresDisabled) {
  profile_.buttons[3].function = 1;
  SetLayer({});
  EXPECT_EQ(Choose(3, kFunctionAltlayer), Slots({7, 8, 9, 11, 12, 13}));
  EXPECT_EQ(Layer(), (Codes{6, 6, 6, 0, 6, 6, 6}));
}

TEST_F(AltlayerRulesTest, AltlayerOnInput5AloneFreesSlot10AndBlocksSlot11) {
  Choose(3, 1);  // layer off, codes saved; slot 10 had 0, so it comes back as Disabled
  EXPECT_EQ(Choose(4, kFunctionAltlayer), Slots({7, 8, 9, 10, 12, 13}));
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 6, 0, 38, 39}));
}

TEST_F(AltlayerRulesTest, BothSideButtonsBlockBothCopiesAndKeepTheirCodes) {
  profile_.buttons[11].function = 36;
  EXPECT_EQ(Choose(4, kFunctionAltlayer), Slots({11}));
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 0, 0, 38, 39}));
  EXPECT_EQ(rules_.Saved(11), 36);

  // Another change while both hold the layer: the copies' zeros are no codes to keep.
  EXPECT_EQ(Choose(6, 13), SlotSet{});
  EXPECT_EQ(rules_.Saved(11), 36);

  // Giving input 5 something else: slot 11 comes back, slot 10 stays blocked under input 4's Altlayer.
  EXPECT_EQ(Choose(4, 2), Slots({11}));
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 0, 36, 38, 39}));
}

TEST_F(AltlayerRulesTest, BothThenInput4GivesUpTheLayerLeavingInput5s) {
  profile_.buttons[10].function = 0;
  Choose(3, 1);                       // off: saves 8,7,37,0,6,38,39
  Choose(4, kFunctionAltlayer);       // input 5 only: slot 10 back as Disabled
  profile_.buttons[10].function = 35; // the user gives it a function
  EXPECT_EQ(Choose(3, kFunctionAltlayer), Slots({10}));
  EXPECT_EQ(rules_.Saved(10), 35);
  EXPECT_EQ(Choose(3, 9), Slots({10}));
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 35, 0, 38, 39}));
}

TEST_F(AltlayerRulesTest, OtherChangesLeaveAnAvailableCopyAlone) {
  // Only input 4 holds the layer and slot 11 has a function: a change elsewhere changes nothing.
  SetLayer({8, 7, 37, 0, 33, 38, 39});
  EXPECT_EQ(Choose(5, 21), SlotSet{});
  EXPECT_EQ(Layer(), (Codes{8, 7, 37, 0, 33, 38, 39}));
  // The Altlayer slot's own copy is forced to 0 even if something put a code there.
  profile_.buttons[10].function = 4;
  EXPECT_EQ(Choose(6, 22), Slots({10}));
  EXPECT_EQ(profile_.buttons[10].function, 0);
}

TEST(ButtonAssignHover, PictureOfEverySlotLayerStateAndOrientation) {
  struct Case { int side4; int side5; int orientation; int normalGroup; int altGroup; };
  const Case cases[] = {
      {1, 2, 0, 0, -1}, {1, 2, 1, 1, -1},                    // layer off: no picture for its slots
      {65, 64, 0, 0, 2}, {65, 64, 1, 1, 3},
      {1, 65, 0, 0, 4}, {1, 65, 1, 1, 5},
      {65, 65, 0, 0, 6}, {65, 65, 1, 1, 7},
  };
  for (const Case& c : cases) {
    ProfileRecord profile{};
    profile.buttons[3].function = static_cast<std::uint8_t>(c.side4);
    profile.buttons[4].function = static_cast<std::uint8_t>(c.side5);
    profile.Orientation = c.orientation;
    for (int slot = 0; slot < kButtonSlotCount; ++slot) {
      const int group = slot < 7 ? c.normalGroup : c.altGroup;
      const int expected = group < 0 ? -1 : 7 * group + slot % 7;
      EXPECT_EQ(HoverPictureIndex(200 + slot, profile), expected)
          << "slot " << slot << " side " << c.side4 << "/" << c.side5 << " orientation " << c.orientation;
    }
  }
}

TEST(ButtonAssignHover, CornersOfThePictureRangeAndStrayValues) {
  ProfileRecord profile{};
  profile.buttons[3].function = kFunctionAltlayer;
  profile.buttons[4].function = kFunctionAltlayer;
  EXPECT_EQ(HoverPictureIndex(200, profile), 0);
  EXPECT_EQ(HoverPictureIndex(207, profile), 42);
  profile.Orientation = 1;
  EXPECT_EQ(HoverPictureIndex(213, profile), kHoverPictureCount - 1);
  for (int value : {0, 199, 214, 1124, -200}) EXPECT_EQ(HoverPictureIndex(value, profile), -1) << value;
}

}  // namespace
}  // namespace kavo::option
