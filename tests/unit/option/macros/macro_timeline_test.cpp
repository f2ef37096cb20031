// The timeline view of a macro: pairing events into bars, writing them back, adding a bar whose key is
// captured next, zoom steps, scrolling, the geometry of the visible rows and dragging a bar.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "option/macros/macro_timeline.h"
#include "tests/support/macro_event_printing.h"

namespace kavo::option {

// Test output: bars print as values, not bytes.
inline void PrintTo(const KeyBar& b, std::ostream* os) {
  *os << "{" << b.key << "," << b.press << "," << b.release << "}";
}

namespace {

constexpr std::uint8_t kA = 4, kB = 5, kC = 6, kD = 7;
constexpr std::uint8_t P = kMacroPress, R = kMacroRelease;

Macro MakeMacro(std::initializer_list<MacroEvent> events) {
  Macro macro{};
  for (const MacroEvent& event : events) macro.events[macro.eventCount++] = event;
  return macro;
}

std::vector<MacroEvent> EventsOf(const Macro& macro) {
  return std::vector<MacroEvent>(macro.events, macro.events + macro.eventCount);
}

int TotalLength(const Macro& macro) {
  int total = 0;
  for (int i = 0; i < macro.eventCount; ++i) total += macro.events[i].delay;
  return total;
}

// A macro of n sequential key strokes, each 10 ms long with 10 ms between them.
Macro Strokes(int n) {
  Macro macro{};
  for (int i = 0; i < n; ++i) {
    macro.events[macro.eventCount++] = {kA, P, 10};
    macro.events[macro.eventCount++] = {kA, R, 10};
  }
  if (n > 0) macro.events[macro.eventCount - 1].delay = 0;
  return macro;
}

struct LoadCase {
  const char* name;
  std::vector<MacroEvent> events;
  std::vector<KeyBar> bars;
};

class TimelineLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(TimelineLoadTest, PairsPressesAndReleasesIntoBarsInPressOrder) {
  Macro macro{};
  for (const MacroEvent& event : GetParam().events) macro.events[macro.eventCount++] = event;
  MacroTimeline timeline;
  timeline.Load(&macro);
  EXPECT_EQ(timeline.bars(), GetParam().bars);
  EXPECT_EQ(timeline.selected(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineLoadTest,
    ::testing::Values(
        LoadCase{"OverlappingStrokes", {{kA, P, 50}, {kB, P, 50}, {kA, R, 50}, {kB, R, 0}},
                 {{kA, 0, 100}, {kB, 50, 150}}},
        LoadCase{"InnerStrokeReleasedFirst", {{kA, P, 10}, {kB, P, 10}, {kB, R, 10}, {kA, R, 0}},
                 {{kA, 0, 30}, {kB, 10, 20}}},
        // A key pressed twice before its releases: each release takes the latest open press.
        LoadCase{"SameKeyNested", {{kA, P, 10}, {kA, P, 10}, {kA, R, 10}, {kA, R, 0}},
                 {{kA, 0, 30}, {kA, 10, 20}}},
        LoadCase{"StrayReleaseAndUnreleasedPress",
                 {{kA, R, 5}, {kB, P, 5}, {kC, P, 5}, {kC, R, 0}}, {{kC, 10, 15}}},
        // An event of no known action still takes time.
        LoadCase{"UnknownActionKeepsItsDelay", {{kA, 0, 40}, {kB, P, 5}, {kB, R, 0}}, {{kB, 40, 45}}},
        LoadCase{"MouseButtons", {{kMacroLeftButton, P, 7}, {kMacroLeftButton, R, 0}},
                 {{kMacroLeftButton, 0, 7}}},
        LoadCase{"Empty", {}, {}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimelineLoad, NoMacroOrBadCountGivesNoBars) {
  MacroTimeline timeline;
  Macro macro = MakeMacro({{kA, P, 5}, {kA, R, 0}});
  timeline.Load(&macro);
  ASSERT_EQ(timeline.bars().size(), 1u);
  timeline.Load(nullptr);
  EXPECT_TRUE(timeline.bars().empty());
  macro.eventCount = -3;
  timeline.Load(&macro);
  EXPECT_TRUE(timeline.bars().empty());
}

struct RoundTripCase {
  const char* name;
  std::vector<MacroEvent> events;
};

class TimelineRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(TimelineRoundTripTest, WritesTheSameEventsAndLength) {
  Macro macro{};
  for (const MacroEvent& event : GetParam().events) macro.events[macro.eventCount++] = event;
  const Macro original = macro;
  MacroTimeline timeline;
  timeline.Load(&macro);
  EXPECT_TRUE(timeline.representsWhole());
  timeline.WriteBars(macro);
  EXPECT_EQ(EventsOf(macro), EventsOf(original));
  EXPECT_EQ(TotalLength(macro), TotalLength(original));
  EXPECT_EQ(std::memcmp(macro.name, original.name, sizeof(macro.name)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineRoundTripTest,
    ::testing::Values(
        RoundTripCase{"OverlappingStrokes", {{kA, P, 50}, {kB, P, 50}, {kA, R, 50}, {kB, R, 0}}},
        RoundTripCase{"SameKeyNested", {{kA, P, 10}, {kA, P, 10}, {kA, R, 10}, {kA, R, 0}}},
        RoundTripCase{"Sequential", {{kA, P, 30}, {kA, R, 20}, {kB, P, 65535}, {kB, R, 0}}},
        RoundTripCase{"ChordReleasedInPressOrder", {{kC, P, 0}, {kD, P, 25}, {kC, R, 0}, {kD, R, 0}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimelineWriteBars, DropsUnpairedEventsAndTheTrailingDelay) {
  Macro macro = MakeMacro({{kA, P, 30}, {kA, R, 20}, {kB, R, 7}, {kC, P, 3}, {kC, R, 100}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.WriteBars(macro);
  // The stray release's delay stays in the timing; the last event's delay has nothing to precede.
  EXPECT_EQ(EventsOf(macro), (std::vector<MacroEvent>{{kA, P, 30}, {kA, R, 27}, {kC, P, 3}, {kC, R, 0}}));
}

TEST(TimelineWriteBars, EventsOfTheSameTimeFollowTheBarOrder) {
  // Released in the same millisecond, last pressed first: the bars give them back in press order.
  Macro macro = MakeMacro({{kC, P, 0}, {kD, P, 25}, {kD, R, 0}, {kC, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.WriteBars(macro);
  EXPECT_EQ(EventsOf(macro), (std::vector<MacroEvent>{{kC, P, 0}, {kD, P, 25}, {kC, R, 0}, {kD, R, 0}}));
}

TEST(TimelineWriteBars, GapsBeyondTheDelayFieldAreClamped) {
  // The orphan release pushes the second stroke 131070 ms after the first: more than one delay holds.
  Macro macro = MakeMacro({{kC, P, 0}, {kC, R, 65535}, {kD, R, 65535}, {kD, P, 5}, {kD, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_EQ(timeline.bars(), (std::vector<KeyBar>{{kC, 0, 0}, {kD, 131070, 131075}}));
  timeline.WriteBars(macro);
  EXPECT_EQ(EventsOf(macro), (std::vector<MacroEvent>{{kC, P, 0}, {kC, R, 65535}, {kD, P, 5}, {kD, R, 0}}));
}

TEST(TimelineWriteBars, NoBarsZeroesTheEvents) {
  Macro macro = MakeMacro({{kA, R, 9}, {kB, P, 9}});  // nothing pairs
  std::memset(macro.events + 2, 0xAB, sizeof(MacroEvent) * 10);  // stale slots
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.WriteBars(macro);
  EXPECT_EQ(macro.eventCount, 0);
  const Macro zero{};
  EXPECT_EQ(std::memcmp(macro.events, zero.events, sizeof(zero.events)), 0);
}

// Leaving the view without an edit: the macro stays exactly as it was, whatever the bars could hold.
struct UneditedCase {
  const char* name;
  Macro macro;
  bool whole;
};

Macro WithStaleSlots(Macro macro) {
  std::memset(macro.events + macro.eventCount, 0xAB, sizeof(MacroEvent) * 3);
  return macro;
}

Macro StrokesWithTrailingDelay() {
  Macro macro = Strokes(2);
  macro.events[macro.eventCount - 1].delay = 400;
  return macro;
}

// A count read from a damaged file: more events than the macro has slots.
Macro CountBeyondTheSlots() {
  Macro macro = Strokes(kMaxKeyBars);
  macro.eventCount = kMaxMacroEvents + 10;
  return macro;
}

void PrintTo(const UneditedCase& c, std::ostream* os) { *os << c.name; }

class TimelineUneditedTest : public ::testing::TestWithParam<UneditedCase> {};

TEST_P(TimelineUneditedTest, LeavesTheMacroByteForByte) {
  Macro macro = GetParam().macro;
  const Macro original = macro;
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.WriteBack(macro);
  EXPECT_EQ(std::memcmp(&macro, &original, sizeof(Macro)), 0);
}

TEST_P(TimelineUneditedTest, TellsWhetherTheBarsHoldTheWholeMacro) {
  const Macro macro = GetParam().macro;
  MacroTimeline timeline;
  timeline.Load(&macro);
  EXPECT_EQ(timeline.representsWhole(), GetParam().whole);
  EXPECT_FALSE(timeline.edited());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineUneditedTest,
    ::testing::Values(
        UneditedCase{"WholeMacroWithStaleSlots", WithStaleSlots(MakeMacro({{kA, P, 30}, {kA, R, 0}})), true},
        UneditedCase{"LoneLeftButtonDown",
                     MakeMacro({{kA, P, 30}, {kA, R, 20}, {kMacroLeftButton, P, 0}}), false},
        UneditedCase{"LoneRelease", MakeMacro({{kB, R, 7}, {kA, P, 30}, {kA, R, 0}}), false},
        UneditedCase{"DelayAfterTheLastEvent", StrokesWithTrailingDelay(), false},
        UneditedCase{"CountBeyondTheEventSlots", CountBeyondTheSlots(), false},
        // Two strokes at one instant, the second released first: the bars would swap the releases.
        UneditedCase{"ReleasesOutOfBarOrder", MakeMacro({{kC, P, 0}, {kD, P, 25}, {kD, R, 0}, {kC, R, 0}}),
                     false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimelinePartialMacro, TakesNoEdits) {
  Macro macro = MakeMacro({{kA, P, 100}, {kA, R, 0}, {kB, P, 0}});  // B is never released
  const Macro original = macro;
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_FALSE(timeline.representsWhole());
  ASSERT_EQ(timeline.bars(), (std::vector<KeyBar>{{kA, 0, 100}}));  // shown all the same
  EXPECT_FALSE(timeline.Add());
  EXPECT_FALSE(timeline.waitingForKey());
  timeline.Select(0);
  EXPECT_EQ(timeline.selected(), 0);
  EXPECT_FALSE(timeline.DeleteSelected());
  EXPECT_FALSE(timeline.BeginDrag(0, 5, 300));
  EXPECT_FALSE(timeline.DragTo(50));
  EXPECT_FALSE(timeline.edited());
  EXPECT_FALSE(timeline.WriteBack(macro));
  EXPECT_EQ(std::memcmp(&macro, &original, sizeof(Macro)), 0);

  // The next macro loaded starts over: a whole one takes edits again.
  Macro whole = MakeMacro({{kA, P, 100}, {kA, R, 0}});
  timeline.Load(&whole);
  EXPECT_TRUE(timeline.representsWhole());
  EXPECT_TRUE(timeline.Add());
}

TEST(TimelineEdits, EachKindOfEditIsWrittenBack) {
  const Macro original = MakeMacro({{kA, P, 100}, {kA, R, 0}, {kB, P, 0}, {kB, R, 0}});
  MacroTimeline timeline;

  Macro deleted = original;
  timeline.Load(&deleted);
  timeline.Select(0);
  ASSERT_TRUE(timeline.DeleteSelected());
  EXPECT_TRUE(timeline.WriteBack(deleted));
  EXPECT_EQ(EventsOf(deleted), (std::vector<MacroEvent>{{kB, P, 0}, {kB, R, 0}}));

  Macro added = original;
  timeline.Load(&added);
  ASSERT_TRUE(timeline.Add());
  ASSERT_TRUE(timeline.SetCapturedKey(true, kC));
  EXPECT_TRUE(timeline.WriteBack(added));
  EXPECT_EQ(added.eventCount, 6);

  Macro dragged = original;
  timeline.Load(&dragged);
  ASSERT_TRUE(timeline.BeginDrag(0, 5, 300));
  EXPECT_FALSE(timeline.DragTo(5));  // back where it started: nothing changed yet
  EXPECT_FALSE(timeline.edited());
  ASSERT_TRUE(timeline.DragTo(25));
  timeline.EndDrag();
  EXPECT_TRUE(timeline.WriteBack(dragged));
  EXPECT_EQ(EventsOf(dragged), (std::vector<MacroEvent>{{kB, P, 0}, {kB, R, 100}, {kA, P, 100}, {kA, R, 0}}));
}

// Bars dragged out of time order, then written back.
struct DraggedWriteBackCase {
  const char* name;
  std::vector<MacroEvent> events;
  std::vector<KeyBar> loaded;
  int row;  // dragged over 300 px, a span of 3000 ms: 10 ms a pixel
  int fromX;
  int toX;
  std::vector<KeyBar> dragged;
  std::vector<MacroEvent> written;
};

class TimelineDraggedWriteBackTest : public ::testing::TestWithParam<DraggedWriteBackCase> {};

TEST_P(TimelineDraggedWriteBackTest, SortsBarsByTimeAndKeepsEachPressBeforeItsRelease) {
  const DraggedWriteBackCase& c = GetParam();
  Macro macro{};
  for (const MacroEvent& event : c.events) macro.events[macro.eventCount++] = event;
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_EQ(timeline.bars(), c.loaded);
  ASSERT_TRUE(timeline.BeginDrag(c.row, c.fromX, 300));
  ASSERT_TRUE(timeline.DragTo(c.toX));
  timeline.EndDrag();
  ASSERT_EQ(timeline.bars(), c.dragged);
  timeline.WriteBack(macro);
  EXPECT_EQ(EventsOf(macro), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineDraggedWriteBackTest,
    ::testing::Values(
        // A's whole bar (0..100 ms) to 200..300 ms, after B (100..100 ms, a stroke of no length).
        DraggedWriteBackCase{"WholeBarMovedPastAStrokeOfNoLength",
                             {{kA, P, 100}, {kA, R, 0}, {kB, P, 0}, {kB, R, 0}},
                             {{kA, 0, 100}, {kB, 100, 100}},
                             0,
                             5,
                             25,
                             {{kA, 200, 300}, {kB, 100, 100}},
                             {{kB, P, 0}, {kB, R, 100}, {kA, P, 100}, {kA, R, 0}}},
        // A's press end to its release: a bar of no length at 50 ms, listed before B (0..100 ms).
        DraggedWriteBackCase{"StrokeOfNoLengthListedBeforeAnEarlierBar",
                             {{kA, P, 0}, {kB, P, 50}, {kA, R, 50}, {kB, R, 0}},
                             {{kA, 0, 50}, {kB, 0, 100}},
                             0,
                             0,
                             5,
                             {{kA, 50, 50}, {kB, 0, 100}},
                             {{kB, P, 50}, {kA, P, 0}, {kA, R, 50}, {kB, R, 0}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimelineAdd, NewBarTakesTheSelectedPlaceOrTheLastTimes) {
  Macro macro = MakeMacro({{kA, P, 10}, {kA, R, 10}, {kB, P, 20}, {kB, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);

  ASSERT_TRUE(timeline.Add());  // nothing selected: appended with the last bar's times
  EXPECT_EQ(timeline.bars().back(), (KeyBar{kKeyUnset, 20, 40}));
  EXPECT_EQ(timeline.selected(), 2);
  EXPECT_TRUE(timeline.waitingForKey());
  EXPECT_TRUE(timeline.SetCapturedKey(true, kC));

  timeline.Select(0);
  ASSERT_TRUE(timeline.Add());  // inserted before the selected bar, with its times
  EXPECT_EQ(timeline.bars(), (std::vector<KeyBar>{{kKeyUnset, 0, 10}, {kA, 0, 10}, {kB, 20, 40}, {kC, 20, 40}}));
  EXPECT_EQ(timeline.selected(), 0);
}

TEST(TimelineAdd, FirstBarOfAnEmptyMacroStartsAtZero) {
  MacroTimeline timeline;
  timeline.Load(nullptr);
  ASSERT_TRUE(timeline.Add());
  EXPECT_EQ(timeline.bars(), (std::vector<KeyBar>{{kKeyUnset, 0, 0}}));
}

TEST(TimelineAdd, KeysWithoutDeviceCodeKeepWaiting) {
  MacroTimeline timeline;
  timeline.Load(nullptr);
  EXPECT_FALSE(timeline.SetCapturedKey(true, kA));  // not waiting
  ASSERT_TRUE(timeline.Add());
  EXPECT_FALSE(timeline.SetCapturedKey(false, 0));
  EXPECT_TRUE(timeline.waitingForKey());
  EXPECT_TRUE(timeline.SetCapturedKey(true, kD));
  EXPECT_FALSE(timeline.waitingForKey());
  EXPECT_EQ(timeline.bars().front().key, kD);
  EXPECT_FALSE(timeline.SetCapturedKey(true, kA));  // the wait ended with the first key
  EXPECT_EQ(timeline.bars().front().key, kD);
}

TEST(TimelineAdd, UnsetBarIsNotWrittenBack) {
  Macro macro = MakeMacro({{kA, P, 10}, {kA, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_TRUE(timeline.Add());
  timeline.WriteBack(macro);
  EXPECT_EQ(EventsOf(macro), (std::vector<MacroEvent>{{kA, P, 10}, {kA, R, 0}}));
}

TEST(TimelineAdd, RefusedAtTwoHundredFiftyBars) {
  Macro full = Strokes(kMaxKeyBars);
  MacroTimeline timeline;
  timeline.Load(&full);
  ASSERT_EQ(timeline.bars().size(), 250u);
  EXPECT_FALSE(timeline.Add());
  EXPECT_EQ(timeline.bars().size(), 250u);
  EXPECT_FALSE(timeline.waitingForKey());

  Macro almost = Strokes(kMaxKeyBars - 1);
  timeline.Load(&almost);
  EXPECT_TRUE(timeline.Add());
  EXPECT_EQ(timeline.bars().size(), 250u);
  EXPECT_TRUE(timeline.SetCapturedKey(true, kB));
  timeline.WriteBack(almost);
  EXPECT_EQ(almost.eventCount, kMaxMacroEvents);
}

TEST(TimelineDelete, RemovesTheSelectedBarAndKeepsASelectionInRange) {
  Macro macro = MakeMacro({{kA, P, 0}, {kA, R, 0}, {kB, P, 0}, {kB, R, 0}, {kC, P, 0}, {kC, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  EXPECT_FALSE(timeline.DeleteSelected());
  timeline.Select(1);
  ASSERT_TRUE(timeline.DeleteSelected());
  EXPECT_EQ(timeline.bars(), (std::vector<KeyBar>{{kA, 0, 0}, {kC, 0, 0}}));
  EXPECT_EQ(timeline.selected(), 1);
  ASSERT_TRUE(timeline.DeleteSelected());
  EXPECT_EQ(timeline.selected(), 0);
  ASSERT_TRUE(timeline.DeleteSelected());
  EXPECT_EQ(timeline.selected(), -1);
  EXPECT_TRUE(timeline.bars().empty());
}

struct SnapCase {
  int computed;
  int snapped;
};

class TimelineSnapTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(TimelineSnapTest, SnapsToTheStep) {
  EXPECT_EQ(MacroTimeline::SnapSpan(GetParam().computed), GetParam().snapped);
}

INSTANTIATE_TEST_SUITE_P(Steps, TimelineSnapTest,
                         ::testing::Values(SnapCase{5, 10}, SnapCase{14, 10}, SnapCase{15, 25}, SnapCase{29, 25},
                                           SnapCase{30, 45}, SnapCase{49, 45}, SnapCase{50, 90},
                                           SnapCase{99, 90}, SnapCase{100, 187}, SnapCase{199, 187},
                                           SnapCase{200, 375}, SnapCase{499, 375}, SnapCase{500, 750},
                                           SnapCase{999, 750}, SnapCase{1000, 1500}, SnapCase{1999, 1500},
                                           SnapCase{2000, 2000}, SnapCase{3000, 3000}));

TEST(TimelineZoom, StepsInAndOutBetweenTenAndFortyEightSeconds) {
  MacroTimeline timeline;
  std::vector<int> in;
  for (int i = 0; i < 9; ++i) {
    timeline.ZoomIn();
    in.push_back(timeline.span());
  }
  EXPECT_EQ(in, (std::vector<int>{1500, 750, 375, 187, 90, 45, 25, 10, 10}));
  std::vector<int> out;
  for (int i = 0; i < 12; ++i) {
    timeline.ZoomOut();
    out.push_back(timeline.span());
  }
  EXPECT_EQ(out, (std::vector<int>{25, 90, 187, 375, 750, 1500, 3000, 6000, 12000, 24000, 48000, 48000}));
}

TEST(TimelineZoom, GrowingKeepsTheWindowWithinFortyEightSeconds) {
  Macro macro = MakeMacro({{kA, P, 60000}, {kA, R, 0}});  // one stroke of 60 s
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.ZoomOut();
  timeline.ZoomOut();  // 12000
  timeline.ScrollTimeTo(40000);
  ASSERT_EQ(timeline.start(), 40000);
  timeline.ZoomIn();
  EXPECT_EQ(timeline.start(), 40000);  // shrinking keeps the left edge
  timeline.ZoomOut();  // 12000: 40000 + 12000 passes 48000
  EXPECT_EQ(timeline.start(), 36000);
  timeline.ZoomOut();  // 24000
  EXPECT_EQ(timeline.span(), 24000);
  EXPECT_EQ(timeline.start(), 24000);
}

TEST(TimelineZoom, GrowingPastEveryBarReturnsToTheStart) {
  Macro macro = MakeMacro({{kC, R, 1700}, {kA, P, 100}, {kA, R, 0}});  // 1700..1800
  MacroTimeline timeline;
  timeline.Load(&macro);
  timeline.ZoomIn();  // 1500
  timeline.ScrollTimeTo(300);
  ASSERT_EQ(timeline.start(), 300);
  timeline.ZoomOut();  // 3000: the stroke ends before it
  EXPECT_EQ(timeline.start(), 0);
}

TEST(TimelineScroll, RangesFollowBarsAndTimes) {
  MacroTimeline timeline;
  Macro few = MakeMacro({{kC, R, 5000}, {kA, P, 2000}, {kA, R, 0}});  // 5000..7000
  timeline.Load(&few);
  EXPECT_EQ(timeline.RowScroll().range, 19);
  EXPECT_EQ(timeline.RowScroll().page, 19);
  EXPECT_EQ(timeline.TimeScroll().range, 7000);
  EXPECT_EQ(timeline.TimeScroll().page, 3000);
  timeline.ScrollTimeTo(9000);
  EXPECT_EQ(timeline.start(), 4000);
  timeline.ScrollTimeTo(-5);
  EXPECT_EQ(timeline.start(), 0);
  timeline.ScrollRowsTo(3);
  EXPECT_EQ(timeline.topRow(), 0);  // everything fits

  Macro many = Strokes(30);
  timeline.Load(&many);
  EXPECT_EQ(timeline.RowScroll().range, 30);
  EXPECT_EQ(timeline.TimeScroll().range, 3000);  // span is larger than the 590 ms of strokes
  timeline.ScrollRowsTo(100);
  EXPECT_EQ(timeline.topRow(), 11);
  const auto rows = timeline.Rows(300);
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows.front().bar, 11);
  EXPECT_EQ(rows.back().bar, 29);
}

struct RowCase {
  const char* name;
  KeyBar bar;
  bool shown;
  int left;
  int right;
  bool pressInside;
  bool releaseInside;
};

class TimelineRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(TimelineRowTest, BarIsPlacedAndCutAtTheWindow) {
  // Window 300..1800 ms (span 1500) over 300 pixels: 5 ms a pixel. Strokes at 0 and 5000 ms around the
  // case's bar set the time range.
  const RowCase& c = GetParam();
  const auto key = static_cast<std::uint8_t>(c.bar.key);
  const Macro macro = MakeMacro({{kD, P, 0}, {kD, R, static_cast<std::uint16_t>(c.bar.press)},
                                {key, P, static_cast<std::uint16_t>(c.bar.release - c.bar.press)},
                                {key, R, static_cast<std::uint16_t>(5000 - c.bar.release)},
                     {kD, P, 0}, {kD, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_EQ(timeline.bars()[1], c.bar);
  timeline.ZoomIn();
  timeline.ScrollTimeTo(300);
  timeline.Select(1);
  const auto rows = timeline.Rows(300);
  ASSERT_EQ(rows.size(), 3u);
  const TimelineRow& row = rows[1];
  EXPECT_EQ(row.bar, 1);
  EXPECT_EQ(row.key, c.bar.key);
  EXPECT_TRUE(row.selected);
  EXPECT_FALSE(rows[0].selected);
  EXPECT_EQ(row.barShown, c.shown);
  if (!c.shown) return;
  EXPECT_EQ(row.left, c.left);
  EXPECT_EQ(row.right, c.right);
  EXPECT_EQ(row.pressInside, c.pressInside);
  EXPECT_EQ(row.releaseInside, c.releaseInside);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineRowTest,
    ::testing::Values(RowCase{"Inside", {kA, 500, 700}, true, 40, 80, true, true},
                      RowCase{"CutLeft", {kA, 100, 400}, true, 0, 20, false, true},
                      RowCase{"CutRight", {kA, 1700, 2000}, true, 280, 300, true, false},
                      RowCase{"CutBoth", {kA, 200, 2000}, true, 0, 300, false, false},
                      RowCase{"OnTheEdges", {kA, 300, 1800}, true, 0, 300, true, true},
                      RowCase{"BeforeWindow", {kA, 100, 299}, false, 0, 0, false, false},
                      RowCase{"AfterWindow", {kA, 1801, 2500}, false, 0, 0, false, false}),
    [](const auto& test) { return std::string(test.param.name); });

struct DragCase {
  const char* name;
  int pressX;
  int dx;
  BarGrip grip;
  KeyBar after;
};

class TimelineDragTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(TimelineDragTest, MovesTheGrippedPartWithinLimits) {
  // Stroke 1000..2000 ms in the initial 3000 ms window over 300 pixels: its ends at x 100 and 200. C, held
  // around it, puts it on the second row.
  const DragCase& c = GetParam();
  Macro macro = MakeMacro({{kC, P, 1000}, {kA, P, 1000}, {kA, R, 0}, {kB, P, 0}, {kB, R, 1}, {kC, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_EQ(timeline.bars(), (std::vector<KeyBar>{{kC, 0, 2001}, {kA, 1000, 2000}, {kB, 2000, 2000}}));
  EXPECT_EQ(timeline.HitTest(1, c.pressX, 300), c.grip);
  ASSERT_TRUE(timeline.BeginDrag(1, c.pressX, 300));
  EXPECT_TRUE(timeline.dragging());
  EXPECT_EQ(timeline.selected(), 1);
  timeline.DragTo(c.pressX + c.dx / 2);  // the result depends on the last position only
  timeline.DragTo(c.pressX + c.dx);
  timeline.EndDrag();
  EXPECT_EQ(timeline.bars()[1], c.after);
  EXPECT_EQ(timeline.bars()[0], (KeyBar{kC, 0, 2001}));
  EXPECT_EQ(timeline.bars()[2], (KeyBar{kB, 2000, 2000}));
  EXPECT_FALSE(timeline.DragTo(c.pressX));  // the drag has ended
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimelineDragTest,
    ::testing::Values(DragCase{"PressLater", 101, 30, BarGrip::kPress, {kA, 1300, 2000}},
                      DragCase{"PressPastRelease", 100, 200, BarGrip::kPress, {kA, 2000, 2000}},
                      DragCase{"PressBeforeZero", 98, -500, BarGrip::kPress, {kA, 0, 2000}},
                      DragCase{"ReleaseLater", 199, 50, BarGrip::kRelease, {kA, 1000, 2500}},
                      DragCase{"ReleaseBeforePress", 200, -300, BarGrip::kRelease, {kA, 1000, 1000}},
                      DragCase{"ReleasePastLimit", 203, 10000, BarGrip::kRelease, {kA, 1000, 65535}},
                      DragCase{"WholeLater", 150, 20, BarGrip::kWhole, {kA, 1200, 2200}},
                      DragCase{"WholeBeforeZero", 150, -500, BarGrip::kWhole, {kA, 0, 1000}},
                      DragCase{"WholePastLimit", 150, 10000, BarGrip::kWhole, {kA, 64535, 65535}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TimelineDrag, PressBesideTheBarOnlySelects) {
  Macro macro = MakeMacro({{kA, P, 1000}, {kA, R, 0}, {kB, P, 0}, {kB, R, 0}});  // A 0..1000, B 1000..1000
  MacroTimeline timeline;
  timeline.Load(&macro);
  EXPECT_EQ(timeline.HitTest(0, 250, 300), BarGrip::kNone);
  EXPECT_FALSE(timeline.BeginDrag(0, 250, 300));
  EXPECT_EQ(timeline.selected(), 0);
  EXPECT_FALSE(timeline.DragTo(10));
  EXPECT_EQ(timeline.bars()[0], (KeyBar{kA, 0, 1000}));
  // A row without a bar clears the selection.
  EXPECT_FALSE(timeline.BeginDrag(5, 50, 300));
  EXPECT_EQ(timeline.selected(), -1);
  // A stroke of no length grows from its release end.
  EXPECT_EQ(timeline.HitTest(1, 100, 300), BarGrip::kRelease);
  ASSERT_TRUE(timeline.BeginDrag(1, 100, 300));
  EXPECT_TRUE(timeline.DragTo(110));
  EXPECT_EQ(timeline.bars()[1], (KeyBar{kB, 1000, 1100}));
}

TEST(TimelineDrag, NoDragWhileWaitingForAKey) {
  Macro macro = MakeMacro({{kA, P, 1000}, {kA, R, 0}});
  MacroTimeline timeline;
  timeline.Load(&macro);
  ASSERT_TRUE(timeline.Add());
  EXPECT_FALSE(timeline.BeginDrag(0, 50, 300));
  EXPECT_EQ(timeline.bars()[0], (KeyBar{kA, 0, 1000}));
}

}  // namespace
}  // namespace kavo::option
