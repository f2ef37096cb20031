#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "skin/list_input.h"

namespace kavo::skin {

void PrintTo(const WheelScroll& s, std::ostream* out) {
  *out << (s.direction == WheelDirection::kLineUp ? "up " : "down ") << s.lines;
}

namespace {

constexpr unsigned kUp = 0x26, kDown = 0x28, kLeft = 0x25, kRight = 0x27, kPageDown = 0x22, kHome = 0x24,
                   kReturn = 0x0D, kLetterA = 'A', kSpace = 0x20;

struct KeyCase {
  const char* name;
  KeyStroke stroke;
  unsigned key;
  bool passes;
};
void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class ArrowKeysOnlyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ArrowKeysOnlyTest, OnlyUpAndDownReachTheList) {
  EXPECT_EQ(ArrowKeysOnlyPasses(GetParam().stroke, GetParam().key), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Strokes, ArrowKeysOnlyTest,
    ::testing::Values(KeyCase{"UpPressed", KeyStroke::kPress, kUp, true},
                      KeyCase{"UpReleased", KeyStroke::kRelease, kUp, true},
                      KeyCase{"DownPressed", KeyStroke::kPress, kDown, true},
                      KeyCase{"DownReleased", KeyStroke::kRelease, kDown, true},
                      // The arrow keys' neighbours in the key codes (0x25..0x28) and the list's own
                      // navigation keys stay out.
                      KeyCase{"LeftPressed", KeyStroke::kPress, kLeft, false},
                      KeyCase{"RightReleased", KeyStroke::kRelease, kRight, false},
                      KeyCase{"PageDownPressed", KeyStroke::kPress, kPageDown, false},
                      KeyCase{"HomePressed", KeyStroke::kPress, kHome, false},
                      KeyCase{"ReturnReleased", KeyStroke::kRelease, kReturn, false},
                      KeyCase{"LetterPressed", KeyStroke::kPress, kLetterA, false},
                      KeyCase{"SpaceReleased", KeyStroke::kRelease, kSpace, false},
                      // A character is never an arrow, even one whose code equals an arrow's key code
                      // ('&' is 0x26, '(' is 0x28).
                      KeyCase{"CharacterSharingUpsCode", KeyStroke::kCharacter, kUp, false},
                      KeyCase{"CharacterSharingDownsCode", KeyStroke::kCharacter, kDown, false},
                      KeyCase{"LetterCharacter", KeyStroke::kCharacter, 'a', false}),
    [](const ::testing::TestParamInfo<KeyCase>& row) { return std::string(row.param.name); });

struct WheelCase {
  const char* name;
  int delta;
  WheelScroll scroll;
};
void PrintTo(const WheelCase& c, std::ostream* out) { *out << c.name; }

class WheelLinesTest : public ::testing::TestWithParam<WheelCase> {};

TEST_P(WheelLinesTest, OneLinePerNotch) { EXPECT_EQ(WheelLines(GetParam().delta), GetParam().scroll); }

constexpr WheelDirection kUpward = WheelDirection::kLineUp;
constexpr WheelDirection kDownward = WheelDirection::kLineDown;

INSTANTIATE_TEST_SUITE_P(
    Deltas, WheelLinesTest,
    ::testing::Values(WheelCase{"NotchAway", 120, {kUpward, 1}}, WheelCase{"NotchTowards", -120, {kDownward, 1}},
                      WheelCase{"ZeroGoesDown", 0, {kDownward, 1}},
                      WheelCase{"FineStepUpStillMoves", 30, {kUpward, 1}},
                      WheelCase{"FineStepDownStillMoves", -1, {kDownward, 1}},
                      WheelCase{"ThreeNotchesAtOnce", 360, {kUpward, 3}},
                      WheelCase{"PartNotchesDropped", -250, {kDownward, 2}},
                      WheelCase{"MostNegative", INT_MIN, {kDownward, static_cast<int>(-(INT_MIN / 120))}},
                      WheelCase{"MostPositive", INT_MAX, {kUpward, INT_MAX / 120}}),
    [](const ::testing::TestParamInfo<WheelCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
