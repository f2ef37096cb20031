// The macro editor's decisions: recording with and without delays, insertion order, the context menu's
// inserts, delay edits, deletes, the loop count and the 500-event limit.
#include "option/macros/macro_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/macro_event_printing.h"
#include "tests/support/recording_macro_editor_host.h"

namespace kavo::option {
namespace {

constexpr int kVkA = 'A', kVkB = 'B', kVkC = 'C', kVkX = 'X';
constexpr int kPress = 0, kRelease = 0x80;
constexpr int kDeviceA = 4, kDeviceB = 5, kDeviceC = 6, kDeviceX = 27;

using test::RecordingMacroEditorHost;

class SteppedClock final : public TickClock {
 public:
  std::uint32_t NowMilliseconds() const override { return now; }
  std::uint32_t now = 5000;
};

MacroEvent Event(int key, int action, int delay = 0) {
  MacroEvent event{};
  event.key = static_cast<std::uint8_t>(key);
  event.action = static_cast<std::uint8_t>(action);
  event.delay = static_cast<std::uint16_t>(delay);
  return event;
}

std::vector<std::string> Texts(const MacroEditorListView& view) {
  std::vector<std::string> texts;
  for (const auto& row : view.rows) texts.push_back(row.text);
  return texts;
}

class MacroEditorTest : public ::testing::Test {
 protected:
  MacroEditorTest() : layout_(test::UsLayout()), editor_(host_, clock_, layout_) {
    std::memset(&macro_, 0, sizeof(macro_));
    std::strcpy(macro_.name, "Combo");
  }

  void Load(const std::vector<MacroEvent>& events, int repeatCount = 0) {
    for (std::size_t i = 0; i < events.size(); ++i) macro_.events[i] = events[i];
    macro_.eventCount = static_cast<int>(events.size());
    macro_.repeatCount = repeatCount;
    editor_.Select(&macro_, true);
    editor_.Refresh();
  }
  void Key(int virtualKey, int flag, std::uint32_t advance = 0) {
    clock_.now += advance;
    editor_.KeyMessage(virtualKey, flag);
  }
  // Presses and releases a key, each after the given pause.
  void Stroke(int virtualKey, std::uint32_t beforePress, std::uint32_t beforeRelease) {
    Key(virtualKey, kPress, beforePress);
    Key(virtualKey, kRelease, beforeRelease);
  }
  std::vector<MacroEvent> Stored() const {
    return std::vector<MacroEvent>(macro_.events, macro_.events + macro_.eventCount);
  }
  int RowOf(const MacroEditorListView& view, const std::string& text) const {
    for (std::size_t i = 0; i < view.rows.size(); ++i) {
      if (view.rows[i].text == text) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no row " << text;
    return -1;
  }

  RecordingMacroEditorHost host_;
  SteppedClock clock_;
  test::FakeKeyboardLayout layout_;
  Macro macro_;
  MacroEditor editor_;
};

TEST_F(MacroEditorTest, RecordingWithDelaysStoresTheTimeBeforeEachFollowingKey) {
  Load({Event(kDeviceX, kMacroPress)});
  editor_.SetDelayFlag(true);
  editor_.RecordButton();
  ASSERT_TRUE(editor_.recording());
  Key(kVkA, kPress, 40);
  Key(kVkA, kRelease, 120);
  editor_.RecordButton();

  EXPECT_FALSE(editor_.recording());
  // The old sequence is gone: the record button records from scratch.
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, kMacroPress, 120), Event(kDeviceA, kMacroRelease)}));
  const MacroEditorListView view = editor_.Refresh();
  EXPECT_EQ(Texts(view), (std::vector<std::string>{"A Press", "120 ms", "A Release"}));
  EXPECT_EQ(view.rows[0].itemValue, 1u * 65536 + kMacroRowKeyPressed);
  EXPECT_EQ(view.rows[1].itemValue, 1u * 65536 + kMacroRowDelay);
  EXPECT_EQ(view.rows[2].itemValue, 2u * 65536 + kMacroRowKeyReleased);
  EXPECT_EQ(host_.enables, (std::vector<bool>{false, true}));
}

TEST_F(MacroEditorTest, RecordingWithoutDelaysStoresNone) {
  Load({});
  editor_.RecordButton();
  Stroke(kVkA, 10, 300);
  Stroke(kVkB, 500, 70);
  editor_.RecordButton();
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1), Event(kDeviceA, 2), Event(kDeviceB, 1),
                                               Event(kDeviceB, 2)}));
  EXPECT_EQ(Texts(editor_.Refresh()), (std::vector<std::string>{"A Press", "A Release", "B Press", "B Release"}));
}

TEST_F(MacroEditorTest, RecordedDelaysAreClampedTo65535) {
  Load({});
  editor_.SetDelayFlag(true);
  editor_.RecordButton();
  Stroke(kVkA, 0, 70000);
  EXPECT_EQ(int{editor_.event(0).delay}, 65535);
}

TEST_F(MacroEditorTest, HoldingAKeyRecordsOnePress) {
  Load({});
  editor_.SetDelayFlag(true);
  editor_.RecordButton();
  Key(kVkA, kPress);
  for (int repeat = 0; repeat < 20; ++repeat) Key(kVkA, kPress, 33);
  Key(kVkA, kRelease, 33);
  editor_.RecordButton();
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1, 21 * 33), Event(kDeviceA, 2)}));
}

TEST_F(MacroEditorTest, ANewRecordingKeepsAPressLikeTheLastOneOfThePreviousRecording) {
  struct Case {
    const char* name;
    bool fromContextMenu;  // Start Record After on the last row instead of the record button
    std::vector<MacroEvent> expected;
  };
  const std::vector<Case> cases = {
      {"record button", false, {Event(kDeviceA, 1), Event(kDeviceA, 2)}},
      {"start record after", true, {Event(kDeviceA, 1), Event(kDeviceA, 1), Event(kDeviceA, 2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load({});
    editor_.RecordButton();
    Key(kVkA, kPress, 5);  // stopped while A is still down
    editor_.RecordButton();
    ASSERT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1)}));
    if (c.fromContextMenu) {
      EXPECT_FALSE(editor_.Command(kStartRecordAfter, RowOf(editor_.Refresh(), "A Press"), 0));
    } else {
      editor_.RecordButton();
    }
    ASSERT_TRUE(editor_.recording());
    Stroke(kVkA, 5, 5);
    editor_.RecordButton();
    EXPECT_EQ(Stored(), c.expected);
  }
}

TEST_F(MacroEditorTest, KeysWithoutDeviceCodeAndKeysWhileIdleAreNotRecorded) {
  Load({});
  Key(kVkA, kPress);  // not recording
  editor_.RecordButton();
  Key(0xFF, kPress);
  Key(kVkA, kPress);
  editor_.RecordButton();
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1)}));
}

TEST_F(MacroEditorTest, StartRecordBeforeAndAfterInsertInTheOrderPressed) {
  struct Case {
    const char* name;
    unsigned command;
    const char* rowText;
    std::vector<MacroEvent> expected;
  };
  const std::vector<Case> cases = {
      {"after the middle event", kStartRecordAfter, "B Press",
       {Event(kDeviceA, 1), Event(kDeviceB, 1), Event(kDeviceX, 1), Event(kDeviceX, 2), Event(kDeviceC, 1)}},
      {"before the middle event", kStartRecordBefore, "B Press",
       {Event(kDeviceA, 1), Event(kDeviceX, 1), Event(kDeviceX, 2), Event(kDeviceB, 1), Event(kDeviceC, 1)}},
      {"after the last event", kStartRecordAfter, "C Press",
       {Event(kDeviceA, 1), Event(kDeviceB, 1), Event(kDeviceC, 1), Event(kDeviceX, 1), Event(kDeviceX, 2)}},
      {"before the first event", kStartRecordBefore, "A Press",
       {Event(kDeviceX, 1), Event(kDeviceX, 2), Event(kDeviceA, 1), Event(kDeviceB, 1), Event(kDeviceC, 1)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load({Event(kDeviceA, 1), Event(kDeviceB, 1), Event(kDeviceC, 1)});
    const MacroEditorListView view = editor_.Refresh();
    EXPECT_FALSE(editor_.Command(c.command, RowOf(view, c.rowText), 0));
    ASSERT_TRUE(editor_.recording());
    Stroke(kVkX, 5, 5);
    editor_.RecordButton();
    EXPECT_EQ(Stored(), c.expected);
  }
}

TEST_F(MacroEditorTest, RecordingAfterAnEventPutsTheMeasuredDelayOnTheEventBeforeTheNewOne) {
  Load({Event(kDeviceA, 1), Event(kDeviceB, 1), Event(kDeviceC, 1)});
  editor_.SetDelayFlag(true);
  editor_.Command(kStartRecordAfter, RowOf(editor_.Refresh(), "A Press"), 0);
  Key(kVkX, kPress, 10);   // the first key has nothing to measure from
  Key(kVkX, kRelease, 250);
  editor_.RecordButton();
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1), Event(kDeviceX, 1, 250), Event(kDeviceX, 2),
                                               Event(kDeviceB, 1), Event(kDeviceC, 1)}));
}

TEST_F(MacroEditorTest, InsertDelayOnlyBetweenEventsThatHaveNone) {
  struct Case {
    const char* name;
    const char* rowText;
    std::vector<MacroEvent> expected;
  };
  const std::vector<MacroEvent> start = {Event(kDeviceA, 1), Event(kDeviceA, 2, 80), Event(kDeviceB, 1),
                                         Event(kDeviceB, 2)};
  const std::vector<Case> cases = {
      {"on the first event: nothing", "A Press", start},
      {"predecessor already has a delay: nothing", "B Press", start},
      {"on a delay row: nothing", "80 ms", start},
      {"after an event without delay: 1 ms", "A Release",
       {Event(kDeviceA, 1, 1), Event(kDeviceA, 2, 80), Event(kDeviceB, 1), Event(kDeviceB, 2)}},
      {"on the last event", "B Release",
       {Event(kDeviceA, 1), Event(kDeviceA, 2, 80), Event(kDeviceB, 1, 1), Event(kDeviceB, 2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(start);
    const MacroEditorListView before = editor_.Refresh();
    editor_.Command(kInsertDelay, RowOf(before, c.rowText), 1);
    EXPECT_EQ(Stored(), c.expected);
  }
}

TEST_F(MacroEditorTest, InsertedDelayShowsAboveTheSelectedEventAndKeepsTheScrollPosition) {
  Load({Event(kDeviceA, 1), Event(kDeviceA, 2), Event(kDeviceB, 1)});
  editor_.Command(kInsertDelay, RowOf(editor_.Refresh(), "B Press"), 1);
  const MacroEditorListView view = editor_.Refresh();
  EXPECT_EQ(Texts(view), (std::vector<std::string>{"A Press", "A Release", "1 ms", "B Press"}));
  EXPECT_EQ(view.topRow, 1);
  EXPECT_EQ(view.caretRow, 3);
  EXPECT_EQ(editor_.Refresh().topRow, -1) << "the scroll position is kept once";
}

TEST_F(MacroEditorTest, EditDelayClampsToOneAndTo65535) {
  struct Case {
    const char* typed;
    int stored;
  };
  const Case cases[] = {{"0", 1}, {"70000", 65535}, {"65534", 65534}, {"65535", 65535}, {" 250 ", 250},
                        {"", 1}, {"99999999999999999999", 65535}, {"42 ms", 42}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Load({Event(kDeviceA, 1, 300), Event(kDeviceA, 2)});
    const MacroEditorListView view = editor_.Refresh();
    ASSERT_TRUE(editor_.Command(kEditDelay, RowOf(view, "300 ms"), 0));
    editor_.DelayEdited(c.typed, 0);
    EXPECT_EQ(int{macro_.events[0].delay}, c.stored);
    EXPECT_EQ(editor_.Refresh().rows[1].text, std::to_string(c.stored) + " ms");
  }
}

TEST_F(MacroEditorTest, EditDelayOpensOnlyOnDelayRows) {
  Load({Event(kDeviceA, 1, 300), Event(kDeviceA, 2)});
  const MacroEditorListView view = editor_.Refresh();
  EXPECT_FALSE(editor_.Command(kEditDelay, RowOf(view, "A Press"), 0));
  EXPECT_FALSE(editor_.Command(kEditDelay, -1, 0));
  EXPECT_TRUE(editor_.Command(kEditDelay, RowOf(view, "300 ms"), 0));
}

TEST_F(MacroEditorTest, DeleteRemovesTheDelayOrTheEvent) {
  struct Case {
    const char* rowText;
    std::vector<MacroEvent> expected;
  };
  const std::vector<Case> cases = {
      {"300 ms", {Event(kDeviceA, 1), Event(kDeviceA, 2), Event(kDeviceB, 1)}},
      {"A Press", {Event(kDeviceA, 2), Event(kDeviceB, 1)}},
      {"A Release", {Event(kDeviceA, 1, 300), Event(kDeviceB, 1)}},
      {"B Press", {Event(kDeviceA, 1, 300), Event(kDeviceA, 2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rowText);
    Load({Event(kDeviceA, 1, 300), Event(kDeviceA, 2), Event(kDeviceB, 1)});
    editor_.Command(kDeleteEntry, RowOf(editor_.Refresh(), c.rowText), 0);
    EXPECT_EQ(Stored(), c.expected);
  }
}

TEST_F(MacroEditorTest, MouseEventsInsertBeforeTheSelectedEvent) {
  struct Case {
    unsigned command;
    std::vector<MacroEvent> inserted;
    const char* firstText;
  };
  const std::vector<Case> cases = {
      {1020, {Event(240, 1)}, "Left Button Press"},
      {1024, {Event(241, 2)}, "Right Button Release"},
      {1028, {Event(242, 1), Event(242, 2)}, "Wheel Press"},
      {1029, {Event(243, 1)}, "Side Button 1 Press"},
      {1034, {Event(244, 1), Event(244, 2)}, "Side Button 2 Press"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Load({Event(kDeviceA, 1), Event(kDeviceA, 2)});
    editor_.Command(c.command, RowOf(editor_.Refresh(), "A Release"), 0);
    std::vector<MacroEvent> expected = {Event(kDeviceA, 1)};
    expected.insert(expected.end(), c.inserted.begin(), c.inserted.end());
    expected.push_back(Event(kDeviceA, 2));
    EXPECT_EQ(Stored(), expected);
    const MacroEditorListView view = editor_.Refresh();
    EXPECT_EQ(view.rows[1].text, c.firstText);
    EXPECT_EQ(view.rows[1].itemValue & 0xFFFF, kMacroRowMouseButton);
  }
}

TEST_F(MacroEditorTest, MouseEventWithoutSelectedRowAppends) {
  Load({Event(kDeviceA, 1)});
  editor_.Command(1022, -1, 0);
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1), Event(240, 1), Event(240, 2)}));
}

TEST_F(MacroEditorTest, ClickNeedsTwoFreeSlotsWhileDownNeedsOne) {
  struct Case {
    int before;
    unsigned command;
    int after;
  };
  const Case cases[] = {{499, 1022, 499}, {499, 1020, 500}, {498, 1022, 500}, {500, 1020, 500}, {500, 1021, 500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " events, command " << c.command);
    Load(std::vector<MacroEvent>(static_cast<std::size_t>(c.before), Event(kDeviceB, 1)));
    editor_.Command(c.command, -1, 0);
    EXPECT_EQ(macro_.eventCount, c.after);
  }
}

TEST_F(MacroEditorTest, RecordingStopsByItselfAt500Events) {
  Load({});
  editor_.RecordButton();
  for (int i = 0; i < 250; ++i) Stroke(kVkA, 1, 1);
  EXPECT_FALSE(editor_.recording());
  EXPECT_EQ(macro_.eventCount, 500);
  EXPECT_EQ(host_.enables, (std::vector<bool>{false, true}));
}

TEST_F(MacroEditorTest, LoopCountIsClampedAndWrittenOnlyWhileTheLoopIsOn) {
  struct Case {
    const char* typed;
    std::optional<std::string> shown;
    int count;
  };
  const Case cases[] = {{"300", "255", 255}, {"0", "1", 1}, {"-5", "1", 1}, {"12", std::nullopt, 12},
                        {"255", std::nullopt, 255}, {"", "1", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Load({Event(kDeviceA, 1)}, 3);
    ASSERT_TRUE(editor_.loopFlag());
    EXPECT_EQ(editor_.LoopCountEdited(c.typed), c.shown);
    EXPECT_EQ(macro_.repeatCount, c.count);
    editor_.SetLoopFlag(false);
    EXPECT_EQ(macro_.repeatCount, 1);
    EXPECT_EQ(editor_.loopCount(), c.count) << "the edit keeps its number";
    editor_.SetLoopFlag(true);
    EXPECT_EQ(macro_.repeatCount, c.count);
  }
}

TEST_F(MacroEditorTest, LoadingTakesTheLoopStateFromTheRepeatCount) {
  struct Case {
    int repeatCount;
    bool loop;
    int shown;
  };
  const Case cases[] = {{0, false, 1}, {1, true, 1}, {7, true, 7}, {-3, true, 1}, {900, true, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.repeatCount);
    Load({}, c.repeatCount);
    EXPECT_EQ(editor_.loopFlag(), c.loop);
    EXPECT_EQ(editor_.loopCount(), c.shown);
  }
  editor_.Select(nullptr, true);
  EXPECT_FALSE(editor_.loopFlag());
  EXPECT_EQ(editor_.loopCount(), 1);
  EXPECT_EQ(editor_.eventCount(), 0);
}

TEST_F(MacroEditorTest, WithoutMacroActionsShowTheMatchingNotice) {
  struct Case {
    bool setSelected;
    int noSet;
    int noMacro;
  };
  for (const Case& c : {Case{false, 2, 0}, Case{true, 0, 2}}) {
    SCOPED_TRACE(c.setSelected);
    RecordingMacroEditorHost host;
    MacroEditor editor(host, clock_, layout_);
    editor.Select(nullptr, c.setSelected);
    editor.RecordButton();
    editor.Command(1020, -1, 0);
    EXPECT_FALSE(editor.recording());
    EXPECT_EQ(host.noSetNotices, c.noSet);
    EXPECT_EQ(host.noMacroNotices, c.noMacro);
    EXPECT_TRUE(host.enables.empty());
  }
}

TEST_F(MacroEditorTest, ChoosingAnotherMacroStopsARecordingAndLeavesTheNewMacroAlone) {
  Load({});
  editor_.RecordButton();
  Key(kVkA, kPress);
  Macro other{};
  other.eventCount = 1;
  other.events[0] = Event(kDeviceC, 1);
  editor_.Select(&other, true);
  EXPECT_FALSE(editor_.recording());
  EXPECT_EQ(Stored(), (std::vector<MacroEvent>{Event(kDeviceA, 1)}));
  EXPECT_EQ(other.eventCount, 1);
  EXPECT_EQ(other.events[0], Event(kDeviceC, 1));
}

TEST_F(MacroEditorTest, CaretFollowsTheLastInsertedEventWithContextBelowIt) {
  std::vector<MacroEvent> events(20, Event(kDeviceB, 1));
  Load(events);
  editor_.Command(1020, 9, 0);  // before event 9
  const MacroEditorListView view = editor_.Refresh();
  EXPECT_EQ(view.caretRow, 9);
  EXPECT_EQ(view.visibleRow, 11);
  editor_.Command(1020, 1, 0);  // near the top: no room for context
  EXPECT_EQ(editor_.Refresh().visibleRow, 1);
}

TEST_F(MacroEditorTest, KeyNamesFollowTheLayout) {
  test::FakeKeyboardLayout french = test::LayoutWithAAtScanCode16();
  MacroEditor editor(host_, clock_, french);
  editor.Select(&macro_, true);
  editor.RecordButton();
  editor.KeyMessage(kVkA, kPress);
  editor.RecordButton();
  EXPECT_EQ(int{macro_.events[0].key}, 20);
  EXPECT_EQ(editor.Refresh().rows[0].text, "A Press");
}

}  // namespace
}  // namespace kavo::option
