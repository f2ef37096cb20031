#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <ostream>
#include <string>

#include "skin/slider_math.h"
#include "skin/slider_thumb.h"

namespace kavo::skin {
namespace {

// The documents' slider: a 200-pixel track with a 20-pixel thumb, so the thumb's left edge travels 180.
constexpr ThumbTrack kTrack{0, 200, 20};

// A thumb on kTrack over 1..10, set to a value.
SliderThumb MakeThumb(int value, bool rounding) {
  SliderThumb thumb(kTrack);
  thumb.SetRange(1, 10);
  thumb.SetRounding(rounding);
  thumb.SetValue(value);
  return thumb;
}

struct DropCase {
  const char* name;
  int startValue;
  bool rounding;
  int moveBy;  // pixels the pointer moves while the button is down
  int leftWhileDragging;
  int valueWhileDragging;
  int droppedValue;
  int leftAfterDrop;
};
void PrintTo(const DropCase& c, std::ostream* out) { *out << c.name; }

class ThumbDropTest : public ::testing::TestWithParam<DropCase> {};

TEST_P(ThumbDropTest, DragAndDropGiveTheValueAndPlace) {
  const DropCase& c = GetParam();
  SliderThumb thumb = MakeThumb(c.startValue, c.rounding);
  ASSERT_TRUE(thumb.ButtonDown(5));
  EXPECT_EQ(thumb.MouseMove(5 + c.moveBy), c.valueWhileDragging);
  EXPECT_EQ(thumb.left(), c.leftWhileDragging);
  // The thumb moved with the pointer: the pointer is again at 5 within it.
  EXPECT_EQ(thumb.MouseMove(5), std::nullopt);
  EXPECT_EQ(thumb.ButtonUp(), c.droppedValue);
  EXPECT_EQ(thumb.value(), c.droppedValue);
  EXPECT_EQ(thumb.left(), c.leftAfterDrop);
  EXPECT_FALSE(thumb.dragging());
}

INSTANTIATE_TEST_SUITE_P(
    Drops, ThumbDropTest,
    ::testing::Values(
        // 1 + 90 * 9 / 180 = 5.5: rounded to 6 and snapped to its place; truncated to 5 where it lies.
        DropCase{"HalfRoundsUpAndSnaps", 1, true, 90, 90, 5, 6, 100},
        DropCase{"HalfTruncatesAndStays", 1, false, 90, 90, 5, 5, 90},
        DropCase{"BelowHalfRoundsDown", 1, true, 89, 89, 5, 5, 80},
        DropCase{"PastTheRightEnd", 1, true, 500, 180, 10, 10, 180},
        DropCase{"PastTheLeftEnd", 10, false, -500, 0, 1, 1, 0},
        DropCase{"FromTheMiddle", 5, false, 30, 110, 6, 6, 110}),
    [](const ::testing::TestParamInfo<DropCase>& row) { return std::string(row.param.name); });

struct ClickCase {
  const char* name;
  int x;
  int rounded;
  int truncated;
};
void PrintTo(const ClickCase& c, std::ostream* out) { *out << c.name; }

class TrackClickTest : public ::testing::TestWithParam<ClickCase> {};

// A track from 100 to 300 in its page over 1..10: the whole width maps onto the range.
TEST_P(TrackClickTest, MapsTheClickOntoTheRange) {
  const ClickCase& c = GetParam();
  const SliderRange range(1, 10);
  EXPECT_EQ(TrackClickValue(c.x, 100, 300, range, true), c.rounded);
  EXPECT_EQ(TrackClickValue(c.x, 100, 300, range, false), c.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, TrackClickTest,
    ::testing::Values(ClickCase{"LeftEdge", 100, 1, 1}, ClickCase{"FarRightEnd", 300, 10, 10},
                      ClickCase{"LeftOfTheFirstPixel", 99, 1, 1}, ClickCase{"FarLeft", INT_MIN, 1, 1},
                      ClickCase{"FarRight", INT_MAX, 10, 10}, ClickCase{"ExactlyHalf", 200, 6, 5},
                      ClickCase{"JustBelowAWhole", 211, 6, 5}, ClickCase{"JustAboveAWhole", 190, 5, 5}),
    [](const ::testing::TestParamInfo<ClickCase>& row) { return std::string(row.param.name); });

TEST(TrackClickTest, HalfRoundsUpBelowZeroToo) {
  // -10 + 90 * 10 / 200 = -5.5: half up is -5, not away from zero.
  EXPECT_EQ(TrackClickValue(190, 100, 300, SliderRange(-10, 0), true), -5);
  EXPECT_EQ(TrackClickValue(189, 100, 300, SliderRange(-10, 0), true), -6);
}

TEST(TrackClickTest, ATrackWithoutWidthGivesTheMinimum) {
  EXPECT_EQ(TrackClickValue(150, 150, 150, SliderRange(3, 9), true), 3);
  EXPECT_EQ(TrackClickValue(150, 200, 150, SliderRange(3, 9), false), 3);
}

struct SetValueCase {
  const char* name;
  int minimum, maximum;
  int value;
  int stored;
  int left;
};
void PrintTo(const SetValueCase& c, std::ostream* out) { *out << c.name; }

class ThumbSetValueTest : public ::testing::TestWithParam<SetValueCase> {};

TEST_P(ThumbSetValueTest, ClampsAndPlacesTheThumb) {
  const SetValueCase& c = GetParam();
  SliderThumb thumb(kTrack);
  thumb.SetRange(c.minimum, c.maximum);
  thumb.SetValue(c.value);
  EXPECT_EQ(thumb.value(), c.stored);
  EXPECT_EQ(thumb.left(), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ThumbSetValueTest,
    ::testing::Values(SetValueCase{"Minimum", 1, 10, 1, 1, 0}, SetValueCase{"Maximum", 1, 10, 10, 10, 180},
                      SetValueCase{"Inside", 1, 10, 6, 6, 100},
                      SetValueCase{"RemainderDropped", 0, 7, 3, 3, 77},
                      SetValueCase{"AboveTheMaximum", 1, 10, 100, 10, 180},
                      SetValueCase{"BelowTheMinimum", 1, 10, -5, 1, 0},
                      SetValueCase{"ReversedRangeIsSwapped", 10, 1, 6, 6, 100},
                      SetValueCase{"SingleValueRange", 4, 4, 9, 4, 0},
                      // The whole int range: no product overflows on the way.
                      SetValueCase{"WidestRangeMiddle", INT_MIN, INT_MAX, 0, 0, 90},
                      SetValueCase{"WidestRangeTop", INT_MIN, INT_MAX, INT_MAX, INT_MAX, 180}),
    [](const ::testing::TestParamInfo<SetValueCase>& row) { return std::string(row.param.name); });

TEST(ThumbDragTest, PickingUpAndDroppingInPlaceKeepsTheValue) {
  // 0..7 puts 3 at 77 (540 / 7 = 77.1), where the pixel mapping reads 2.99: a click on the thumb,
  // or a drag back to where it started, must not turn 3 into 2.
  for (const bool rounding : {false, true}) {
    SliderThumb thumb(kTrack);
    thumb.SetRange(0, 7);
    thumb.SetRounding(rounding);
    thumb.SetValue(3);
    ASSERT_EQ(thumb.left(), 77);
    ASSERT_TRUE(thumb.ButtonDown(4));
    EXPECT_EQ(thumb.MouseMove(4), std::nullopt);
    EXPECT_EQ(thumb.ButtonUp(), 3);
    EXPECT_EQ(thumb.left(), 77);

    ASSERT_TRUE(thumb.ButtonDown(4));
    EXPECT_EQ(thumb.MouseMove(4 + 52), 5);  // 129 * 7 / 180 = 5.02, remainder dropped
    EXPECT_EQ(thumb.MouseMove(4 - 52), 3);  // back at 77
    EXPECT_EQ(thumb.ButtonUp(), 3);
    EXPECT_EQ(thumb.value(), 3);
  }
}

TEST(ThumbDragTest, WithoutADragNothingIsReported) {
  SliderThumb thumb = MakeThumb(5, true);
  EXPECT_EQ(thumb.MouseMove(40), std::nullopt);
  EXPECT_EQ(thumb.ButtonUp(), std::nullopt);

  thumb.EnableDragging(false);
  EXPECT_FALSE(thumb.ButtonDown(5));
  EXPECT_EQ(thumb.MouseMove(60), std::nullopt);
  EXPECT_EQ(thumb.ButtonUp(), std::nullopt);
  EXPECT_EQ(thumb.value(), 5);
  EXPECT_EQ(thumb.left(), 80);
}

TEST(ThumbDragTest, AThumbThatFillsItsTrackNeverMoves) {
  for (const int width : {200, 250}) {
    SliderThumb thumb(ThumbTrack{0, 200, width});
    thumb.SetRange(1, 10);
    thumb.SetValue(7);
    EXPECT_EQ(thumb.left(), 0);
    ASSERT_TRUE(thumb.ButtonDown(3));
    EXPECT_EQ(thumb.MouseMove(90), std::nullopt);
    EXPECT_EQ(thumb.ButtonUp(), 7);
    EXPECT_EQ(thumb.left(), 0);
  }
}

TEST(ThumbDragTest, TheWidestRangeDragsWithoutOverflow) {
  SliderThumb thumb(kTrack);
  thumb.SetRange(INT_MIN, INT_MAX);
  thumb.SetValue(INT_MIN);
  ASSERT_TRUE(thumb.ButtonDown(0));
  // INT_MIN + 90 * (2^32 - 1) / 180, remainder dropped.
  EXPECT_EQ(thumb.MouseMove(90), -1);
  EXPECT_EQ(thumb.MouseMove(90), INT_MAX);
  EXPECT_EQ(thumb.ButtonUp(), INT_MAX);
}

TEST(ThumbMappingTest, AsManyPixelsAsValuesMapOneToOne) {
  // A track as wide as the whole int range over that range: every product in the mapping exceeds 64
  // bits when taken whole, yet each value sits on its own pixel.
  const ThumbTrack track{INT_MIN, INT_MAX, 0};
  const SliderRange range(INT_MIN, INT_MAX);
  for (const int value : {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX}) {
    EXPECT_EQ(ThumbLeftForValue(value, track, range), value);
    EXPECT_EQ(DragValue(value, track, range), value);
  }
}

TEST(ThumbMappingTest, PlaceAndValueAgreeOnTheDocumentsSlider) {
  // Every value of 1..10 placed on the track reads back as itself, dragged or dropped.
  const SliderRange range(1, 10);
  for (int value = 1; value <= 10; ++value) {
    const int left = ThumbLeftForValue(value, kTrack, range);
    EXPECT_EQ(DragValue(left, kTrack, range), value) << "left " << left;
    EXPECT_EQ(ReleaseValue(left, kTrack, range, false), value) << "left " << left;
    EXPECT_EQ(ReleaseValue(left, kTrack, range, true), value) << "left " << left;
  }
}

}  // namespace
}  // namespace kavo::skin
