#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "skin/geometry.h"
#include "skin/layout.h"
#include "tests/unit/skin/test_printers.h"

namespace kavo::skin {
namespace {

struct Expected {
  std::string name;
  Rect bounds;
  std::string text;
};

struct LayoutCase {
  const char* name;
  std::string layout;
  std::optional<Expected> entry;  // none: the string is refused
};
void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class ParseLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ParseLayoutTest, GivesNameRectangleAndText) {
  const LayoutCase& c = GetParam();
  const std::optional<LayoutEntry> entry = ParseLayout(c.layout);
  ASSERT_EQ(entry.has_value(), c.entry.has_value()) << c.layout;
  // The one-field readers agree, with empty ones for a refused string.
  EXPECT_EQ(LayoutBounds(c.layout), c.entry ? c.entry->bounds : Rect{});
  EXPECT_EQ(LayoutText(c.layout), c.entry ? c.entry->text : std::string());
  if (!entry) return;
  EXPECT_EQ(entry->name, c.entry->name);
  EXPECT_EQ(entry->Bounds(), c.entry->bounds);
  EXPECT_EQ(entry->text, c.entry->text);
  EXPECT_EQ(entry->checked, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ParseLayoutTest,
    ::testing::Values(
        LayoutCase{"EndsWithComma", "EDIT_PROFILE_NAME,120,78,182,15,",
                   Expected{"EDIT_PROFILE_NAME", {120, 78, 302, 93}, ""}},
        LayoutCase{"TextKeepsItsCommas",
                   "Button1,25,108,185,40,Click here to access online support, the support form or to send "
                   "an email request",
                   Expected{"Button1", {25, 108, 210, 148},
                            "Click here to access online support, the support form or to send an email "
                            "request"}},
        LayoutCase{"SpaceBeforeNumber", "Profile 1,8, 485,155,25,Click here to activate profile slot #1",
                   Expected{"Profile 1", {8, 485, 163, 510}, "Click here to activate profile slot #1"}},
        LayoutCase{"SpaceBeforeFirstNumber", "Check Interval, 164,204,65,15,",
                   Expected{"Check Interval", {164, 204, 229, 219}, ""}},
        LayoutCase{"BlanksAroundNumbers", "A,\t1 , 2\t,3 ,  4 ,x", Expected{"A", {1, 2, 4, 6}, "x"}},
        LayoutCase{"TextTrimmed", "A,1,2,3,4,  \thelp, text \t\r\n", Expected{"A", {1, 2, 4, 6}, "help, text"}},
        LayoutCase{"TextOnlyBlanks", "A,1,2,3,4,   ", Expected{"A", {1, 2, 4, 6}, ""}},
        LayoutCase{"HeightEndsString", "A,1,2,3,4", Expected{"A", {1, 2, 4, 6}, ""}},
        LayoutCase{"EmptyName", ",1,2,3,4,", Expected{"", {1, 2, 4, 6}, ""}},
        LayoutCase{"NameKeepsItsBlanks", " A b ,1,2,3,4,", Expected{" A b ", {1, 2, 4, 6}, ""}},
        LayoutCase{"NegativePosition", "A,-5,-7,3,4,", Expected{"A", {-5, -7, -2, -3}, ""}},
        LayoutCase{"ZeroSize", "A,1,2,0,0,", Expected{"A", {1, 2, 1, 2}, ""}},
        LayoutCase{"LargestCoordinates", "A,32767,32767,32767,32767,",
                   Expected{"A", {32767, 32767, 65534, 65534}, ""}},
        LayoutCase{"Empty", "", std::nullopt},
        LayoutCase{"NoComma", "BUTTON_OK", std::nullopt},
        LayoutCase{"NameOnly", "BUTTON_OK,", std::nullopt},
        LayoutCase{"HeightMissing", "A,1,2,3,", std::nullopt},
        LayoutCase{"EmptyNumber", "A,1,,3,4,", std::nullopt},
        LayoutCase{"LetterForNumber", "A,1,2,x,4,", std::nullopt},
        LayoutCase{"SignWithoutDigits", "A,-,2,3,4,", std::nullopt},
        LayoutCase{"DecimalPoint", "A,1.5,2,3,4,", std::nullopt},
        LayoutCase{"TwoNumbersInOneField", "A,1 2,3,4,5,", std::nullopt},
        LayoutCase{"JunkAfterHeight", "A,1,2,3,4x", std::nullopt},
        LayoutCase{"NegativeWidth", "A,1,2,-3,4,", std::nullopt},
        LayoutCase{"NegativeHeight", "A,1,2,3,-4,", std::nullopt},
        LayoutCase{"CoordinateTooLarge", "A,32768,2,3,4,", std::nullopt},
        LayoutCase{"NumberBeyondAnyInteger", "A,1,2,99999999999999999999999,4,", std::nullopt}),
    [](const ::testing::TestParamInfo<LayoutCase>& row) { return std::string(row.param.name); });

TEST(ParseLayoutBoundsTest, CutsNameAndTextToTheirFields) {
  const std::string longName(60, 'n');
  const std::string longText(500, 't');
  const std::optional<LayoutEntry> entry = ParseLayout(longName + ",1,2,3,4," + longText);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, std::string(kMaxLayoutName, 'n'));
  EXPECT_EQ(entry->text, std::string(kMaxLayoutText, 't'));
}

TEST(ParseLayoutBoundsTest, ACutTextDoesNotEndInABlank) {
  // The cut falls right after a blank: what stays is trimmed again.
  const std::string text = std::string(kMaxLayoutText - 1, 'a') + " bbbb";
  const std::optional<LayoutEntry> entry = ParseLayout("A,1,2,3,4," + text);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->text, std::string(kMaxLayoutText - 1, 'a'));
}

// Where a dialog goes over its owner window (or the desktop).
struct CentreCase {
  const char* name;
  Rect owner;
  Extent size;
  Point topLeft;
};
void PrintTo(const CentreCase& c, std::ostream* out) { *out << c.name; }

class CentredOverTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentredOverTest, GivesTheTopLeft) {
  EXPECT_EQ(CentredOver(GetParam().owner, GetParam().size), GetParam().topLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CentredOverTest,
    ::testing::Values(CentreCase{"OverAWindow", {100, 50, 900, 650}, {525, 356}, {237, 172}},
                      CentreCase{"OverTheDesktop", {0, 0, 1024, 768}, {305, 245}, {359, 261}},
                      CentreCase{"SameSize", {10, 20, 310, 220}, {300, 200}, {10, 20}},
                      CentreCase{"OddRemainderRoundsDown", {0, 0, 101, 51}, {50, 20}, {25, 15}},
                      CentreCase{"OwnerSmallerOverhangsEvenly", {100, 100, 200, 150}, {300, 200}, {0, 25}},
                      CentreCase{"OwnerSmallerNearTheCorner", {0, 0, 100, 60}, {300, 200}, {-100, -70}},
                      CentreCase{"OwnerOnAScreenLeftAndAbove", {-1000, -200, -600, 100}, {200, 100}, {-900, -100}},
                      // Halves toward zero, not downwards, where the sum is negative.
                      CentreCase{"NegativeOddRemainderRoundsTowardZero", {-11, -7, 0, 0}, {4, 0}, {-7, -3}},
                      CentreCase{"EmptyOwner", {40, 40, 40, 40}, {20, 10}, {30, 35}}),
    [](const ::testing::TestParamInfo<CentreCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace kavo::skin
