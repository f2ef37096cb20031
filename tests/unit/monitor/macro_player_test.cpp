#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "monitor/macro_player.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_service_ports.h"

namespace kavo::monitor {
namespace {

constexpr std::uint8_t kPress = 1, kRelease = 2;
constexpr std::uint8_t kDeviceA = 4, kDeviceB = 5, kDeviceLeftShift = 225;

// Input as "<ms> key 65 down": each event with the time line's time when the system has taken it. The
// first injections may take time, as a cold path or another program's input hook makes them.
class TimedSink final : public InputSink {
 public:
  explicit TimedSink(test::FakeTimeline& timeline) : timeline_(timeline) {}
  void Key(int virtualKey, int, bool up, bool) override {
    entries.push_back(Stamp() + "key " + std::to_string(virtualKey) + (up ? " up" : " down"));
  }
  void Button(MouseButton button, bool up) override {
    static const char* const kNames[] = {"left", "right", "middle", "x1", "x2"};
    entries.push_back(Stamp() + "button " + kNames[static_cast<int>(button)] + (up ? " up" : " down"));
  }
  std::vector<std::string> entries;
  std::vector<std::int64_t> injectionTimes;  // µs each next injection takes; the rest take none

 private:
  std::string Stamp() {
    if (injected_ < injectionTimes.size()) timeline_.now += injectionTimes[injected_];
    ++injected_;
    return std::to_string(timeline_.now / 1000) + " ";
  }
  test::FakeTimeline& timeline_;
  std::size_t injected_ = 0;
};

// A layout whose look-ups take time on the time line, as the first one on a thread does.
class SlowLayout final : public KeyboardLayout {
 public:
  SlowLayout(KeyboardLayout& layout, test::FakeTimeline& timeline) : layout_(layout), timeline_(timeline) {}
  int ScanCodeOfVirtualKey(int virtualKey) override {
    timeline_.now += 20000;
    return layout_.ScanCodeOfVirtualKey(virtualKey);
  }
  int VirtualKeyOfScanCode(int scanCode) override { return layout_.VirtualKeyOfScanCode(scanCode); }
  std::optional<char> CharacterOfKey(int virtualKey, int scanCode) override {
    return layout_.CharacterOfKey(virtualKey, scanCode);
  }

 private:
  KeyboardLayout& layout_;
  test::FakeTimeline& timeline_;
};

MacroKeyInfo Macro(std::vector<MacroEvent> events, int repeatCount = 1) {
  MacroKeyInfo entry{};
  entry.function = kFunctionMacro;
  entry.repeatCount = repeatCount;
  entry.eventCount = static_cast<std::uint16_t>(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) entry.events[i] = events[i];
  return entry;
}

class MacroPlayerTest : public ::testing::Test {
 protected:
  // As the window thread and then the macro thread would do it.
  void Play(const MacroKeyInfo& entry) {
    player.StartMacro(entry);
    if (queue.posted > played) {
      played = queue.posted;
      player.PlayMacro();
    }
  }

  test::FakeTimeline timeline;
  TimedSink sink{timeline};
  test::FakeKeyboardLayout layout = test::UsLayout();
  test::FakeDebugOutput debug;
  test::FakeMacroQueue queue;
  MacroPlayer player{sink, layout, timeline, debug, queue};
  int played = 0;
};

TEST_F(MacroPlayerTest, EventsPlayAtTheirDeadlinesForEveryPass) {
  struct Case {
    const char* name;
    MacroKeyInfo entry;
    std::vector<std::string> played;
  };
  const Case cases[] = {
      {"repeat count 0 plays once",
       Macro({{kDeviceA, kPress, 20}, {kDeviceA, kRelease, 30}}, 0),
       {"0 key 65 down", "20 key 65 up"}},
      {"two passes follow each other",
       Macro({{kDeviceA, kPress, 20}, {kDeviceA, kRelease, 30}}, 2),
       {"0 key 65 down", "20 key 65 up", "50 key 65 down", "70 key 65 up"}},
      {"a delay of 0 waits 1 ms",
       Macro({{kDeviceA, kPress, 0}, {kDeviceA, kRelease, 0}, {kDeviceB, kPress, 5}}),
       {"0 key 65 down", "1 key 65 up", "2 key 66 down", "7 key 66 up"}},
      {"another action presses without waiting; the end lets go of it",
       Macro({{kDeviceA, 3, 400}, {kDeviceB, kPress, 10}, {kDeviceB, kRelease, 10}}),
       {"0 key 65 down", "0 key 66 down", "10 key 66 up", "20 key 65 up"}},
      {"mouse buttons",
       Macro({{240, kPress, 10}, {240, kRelease, 10}, {241, kPress, 10}, {242, kPress, 10}, {243, kPress, 10},
              {244, kPress, 10}, {244, kRelease, 10}}),
       {"0 button left down", "10 button left up", "20 button right down", "30 button middle down",
        "40 button x2 down", "50 button x1 down", "60 button x1 up", "70 button x2 up", "120 button middle up",
        "170 button right up"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink.entries.clear();
    timeline.now = 0;
    Play(c.entry);
    EXPECT_EQ(sink.entries, c.played);
    EXPECT_FALSE(player.playing());
  }
}

TEST_F(MacroPlayerTest, ALongPressIsHeldThenRepeatedEvery33Milliseconds) {
  Play(Macro({{kDeviceA, kPress, 2000}, {kDeviceA, kRelease, 10}}));
  ASSERT_GE(sink.entries.size(), 4u);
  EXPECT_EQ(sink.entries[0], "0 key 65 down");
  EXPECT_EQ(sink.entries[1], "533 key 65 up");
  EXPECT_EQ(sink.entries[2], "533 key 65 down");
  EXPECT_EQ(sink.entries.back(), "2000 key 65 up") << "the next event keeps its deadline";
  // Repeats at 533, 566, ... below 2000: 45 of them, each an up and a down.
  EXPECT_EQ(sink.entries.size(), 1 + 45 * 2 + 1);
  EXPECT_EQ(sink.entries[sink.entries.size() - 2], "1985 key 65 down");
}

TEST_F(MacroPlayerTest, DeadlinesDoNotDriftOverALongMacro) {
  std::vector<MacroEvent> events;
  int total = 0;
  for (int i = 0; i < 200; ++i) {
    const auto delay = static_cast<std::uint16_t>(5 + (i * 37) % 196);
    events.push_back({kDeviceA, static_cast<std::uint8_t>(i % 2 == 0 ? kPress : kRelease), delay});
    if (i < 199) total += delay;
  }
  timeline.now = 123456;  // the time line does not start at zero
  Play(Macro(events));
  ASSERT_EQ(sink.entries.size(), 200u);
  EXPECT_EQ(sink.entries.back(), std::to_string(123 + total) + " key 65 up");
}

TEST_F(MacroPlayerTest, ALateWakeUpNeverShortensTheNextDelay) {
  // Every wait ends 3 ms late, as on a busy system: each gap stays at least its delay less half a
  // millisecond instead of being cut to catch up.
  timeline.overshoot = 3000;
  Play(Macro({{kDeviceA, kPress, 10}, {kDeviceA, kRelease, 10}, {kDeviceB, kPress, 10}}));
  EXPECT_EQ(sink.entries, (std::vector<std::string>{"0 key 65 down", "13 key 65 up", "25 key 66 down", "38 key 66 up"}));
}

TEST_F(MacroPlayerTest, ASlowInjectionNeverShortensTheDelayAfterIt) {
  // The first key takes 3 ms to go out, the second 2 ms, the others none: each delay is counted from when
  // its event went out, less the half millisecond of tolerance, never from when it was handed over.
  struct Case {
    const char* name;
    MacroKeyInfo entry;
    std::vector<std::string> played;
  };
  const Case cases[] = {
      {"keys",
       Macro({{kDeviceA, kPress, 10}, {kDeviceA, kRelease, 10}, {kDeviceB, kPress, 10}}),
       {"3 key 65 down", "14 key 65 up", "24 key 66 down", "34 key 66 up"}},
      {"mouse buttons",
       Macro({{240, kPress, 10}, {240, kRelease, 10}, {241, kPress, 10}}),
       {"3 button left down", "14 button left up", "24 button right down", "34 button right up"}},
      {"a long press repeats from when its key went out",
       Macro({{kDeviceA, kPress, 600}, {kDeviceA, kRelease, 10}}),
       {"3 key 65 down", "537 key 65 up", "537 key 65 down", "568 key 65 up", "568 key 65 down", "601 key 65 up",
        "601 key 65 down", "602 key 65 up"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TimedSink slow(timeline);
    slow.injectionTimes = {3000, 2000};
    test::FakeMacroQueue slowQueue;
    MacroPlayer slowPlayer(slow, layout, timeline, debug, slowQueue);
    timeline.now = 0;
    slowPlayer.StartMacro(c.entry);
    slowPlayer.PlayMacro();
    EXPECT_EQ(slow.entries, c.played);
  }
}

TEST_F(MacroPlayerTest, KeyLookUpsHappenBeforeTheFirstDeadline) {
  SlowLayout slow(layout, timeline);
  test::FakeMacroQueue slowQueue;
  MacroPlayer slowPlayer(sink, slow, timeline, debug, slowQueue);
  slowPlayer.StartMacro(Macro({{kDeviceA, kPress, 30}, {kDeviceB, kPress, 30}, {kDeviceA, kRelease, 30}}));
  slowPlayer.PlayMacro();
  ASSERT_EQ(sink.entries.size(), 4u);
  // The look-ups (20 ms each) come before the start; then the events are exactly 30 ms apart.
  EXPECT_EQ(sink.entries, (std::vector<std::string>{"60 key 65 down", "90 key 66 down", "120 key 65 up", "150 key 66 up"}));
}

TEST_F(MacroPlayerTest, StoppingReleasesWhatIsHeldLatestFirst50MillisecondsApart) {
  struct Case {
    const char* name;
    std::vector<MacroEvent> events;
    int stopAt;  // ms
    std::vector<std::string> tail;  // the macro's last input
  };
  const Case cases[] = {
      {"Shift and A held", {{kDeviceLeftShift, kPress, 10}, {kDeviceA, kPress, 10}, {kDeviceB, kPress, 300}}, 100,
       {"100 key 66 up", "150 key 65 up", "200 key 16 up"}},
      {"released out of order: only A is still held",
       {{kDeviceLeftShift, kPress, 10}, {kDeviceA, kPress, 10}, {kDeviceLeftShift, kRelease, 10}, {kDeviceB, kRelease, 300}},
       100, {"30 key 66 up", "100 key 65 up"}},
      {"stopped during the first event's long press", {{kDeviceA, kPress, 3000}, {kDeviceA, kRelease, 10}}, 700,
       {"700 key 65 up"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink.entries.clear();
    debug.lines.clear();
    timeline.now = 0;
    timeline.atTime = std::make_pair(std::int64_t{c.stopAt} * 1000, [&] { player.Stop(); });
    MacroKeyInfo entry = Macro(c.events);
    Play(entry);
    ASSERT_GE(sink.entries.size(), c.tail.size());
    const std::vector<std::string> tail(sink.entries.end() - static_cast<long>(c.tail.size()), sink.entries.end());
    EXPECT_EQ(tail, c.tail);
    EXPECT_FALSE(player.playing());
  }
}

TEST_F(MacroPlayerTest, AMacroThatEndsLetsGoOfWhatItStillHolds) {
  // Shift stays down at the end of the first macro; the second only releases its own key.
  Play(Macro({{kDeviceLeftShift, kPress, 10}, {kDeviceA, kPress, 10}, {kDeviceA, kRelease, 10}}));
  EXPECT_EQ(sink.entries, (std::vector<std::string>{"0 key 16 down", "10 key 65 down", "20 key 65 up", "30 key 16 up"}));
  sink.entries.clear();
  timeline.atTime = std::make_pair(timeline.now + 5000, [&] { player.Stop(); });
  Play(Macro({{kDeviceB, kPress, 10}, {kDeviceB, kRelease, 10}}));
  EXPECT_EQ(sink.entries, (std::vector<std::string>{"80 key 66 down", "85 key 66 up"}))
      << "nothing of the first macro is released again";
}

TEST_F(MacroPlayerTest, AKeyPressedOverAndOverIsLetGoOnceAndThePassesAreBounded) {
  // Handed over as it is, as if nothing had bounded it before: presses of A alone, for very many passes.
  Play(Macro({{kDeviceA, kPress, 1}}, 1 << 20));
  const auto count = [&](const char* what) {
    return std::count_if(sink.entries.begin(), sink.entries.end(),
                         [&](const std::string& entry) { return entry.find(what) != std::string::npos; });
  };
  EXPECT_EQ(count("key 65 down"), kMaxRepeatCount);
  EXPECT_EQ(count("key 65 up"), 1) << "one release for the one key down";
}

// Input that fails on its nth injection, as a broken input hook might make it.
class FailingSink final : public InputSink {
 public:
  explicit FailingSink(int failAt) : failAt_(failAt) {}
  void Key(int virtualKey, int, bool up, bool) override {
    if (++count_ == failAt_) throw std::runtime_error("injection failed");
    entries.push_back("key " + std::to_string(virtualKey) + (up ? " up" : " down"));
  }
  void Button(MouseButton, bool) override {}
  std::vector<std::string> entries;

 private:
  int failAt_;
  int count_ = 0;
};

TEST_F(MacroPlayerTest, AFailureDuringPlaybackLeavesMacroButtonsWorking) {
  FailingSink failing(2);
  test::FakeMacroQueue failingQueue;
  MacroPlayer failingPlayer(failing, layout, timeline, debug, failingQueue);
  failingPlayer.StartMacro(Macro({{kDeviceLeftShift, kPress, 10}, {kDeviceA, kPress, 10}, {kDeviceA, kRelease, 10}}));
  EXPECT_THROW(failingPlayer.PlayMacro(), std::runtime_error);
  EXPECT_FALSE(failingPlayer.playing());
  EXPECT_FALSE(timeline.precise);
  EXPECT_EQ(failing.entries, (std::vector<std::string>{"key 16 down", "key 65 up", "key 16 up"}))
      << "what it pressed or may have pressed is let go";

  failing.entries.clear();
  failingPlayer.StartMacro(Macro({{kDeviceB, kPress, 10}, {kDeviceB, kRelease, 10}}));
  EXPECT_EQ(failingQueue.posted, 2) << "the next press starts a macro again";
  failingPlayer.PlayMacro();
  EXPECT_EQ(failing.entries, (std::vector<std::string>{"key 66 down", "key 66 up"}));
}

TEST_F(MacroPlayerTest, TracesTheStopAndEachRelease) {
  timeline.atTime = std::make_pair(std::int64_t{50} * 1000, [&] { player.Stop(); });
  Play(Macro({{kDeviceLeftShift, kPress, 10}, {kDeviceA, kPress, 10}, {kDeviceB, kPress, 300}}));
  EXPECT_EQ(debug.lines, (std::vector<std::string>{"g_iCurAction= 2,start=0,end=3\n", "g_iCurAction= 2,Map=5\n",
                                                   "g_iCurAction= 2,Map=4\n", "g_iCurAction= 2,Map=e1\n"}));
}

TEST_F(MacroPlayerTest, ASecondMacroButtonOnlyStopsTheFirst) {
  const MacroKeyInfo first = Macro({{kDeviceA, kPress, 100}, {kDeviceA, kRelease, 100}, {kDeviceB, kPress, 100}});
  const MacroKeyInfo second = Macro({{kDeviceB, kPress, 5}});
  timeline.atTime = std::make_pair(std::int64_t{150} * 1000, [&] { player.StartMacro(second); });
  Play(first);
  EXPECT_EQ(queue.posted, 1) << "the second macro is not started";
  EXPECT_EQ(sink.entries, (std::vector<std::string>{"0 key 65 down", "100 key 65 up"}));
  EXPECT_FALSE(player.playing());

  // Pressed again once nothing plays, it starts.
  Play(second);
  EXPECT_EQ(queue.posted, 2);
}

TEST_F(MacroPlayerTest, EntriesWithoutAMacroDoNothing) {
  MacroKeyInfo shortcut = Macro({{kDeviceA, kPress, 10}});
  shortcut.function = kFunctionKeyShortcut;
  MacroKeyInfo empty = Macro({});
  MacroKeyInfo oversized = Macro({{kDeviceA, kPress, 10}});
  oversized.eventCount = 60000;  // more than the buffer holds: played as the 500 it holds
  player.StartMacro(shortcut);
  player.StartMacro(empty);
  EXPECT_EQ(queue.posted, 0);
  Play(oversized);
  EXPECT_EQ(queue.posted, 1);
  EXPECT_EQ(debug.lines.front(), "g_iCurAction= 499,start=0,end=500\n");
}

}  // namespace
}  // namespace kavo::monitor
