// Any bytes as the shared block another process published: once sanitised, the record is safe to act on,
// sanitising it again changes nothing, and every button of every profile, pressed, held and let go through
// the dispatcher with the shortcut and macro players, does bounded work: the input injected per simulated
// second stays within what a sanitised macro can ask for, a macro (ended or stopped) lets go of every key it
// pressed, and a released shortcut of every key it pressed.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "monitor/dispatcher.h"
#include "settings/settings_record.h"
#include "tests/fuzz/fuzz_checks.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_service_ports.h"

using kavo::fuzz::Check;
using kavo::fuzz::Terminated;

namespace {

constexpr std::int64_t kMillisecond = 1000, kSecond = 1000 * kMillisecond;
// A macro waits at least 1 ms after each event; shortcuts and the releases of a stop add a few more.
constexpr int kMaxInjectionsPerSecond = 1000 + 100;
// Simulated time a macro plays for each press before it is stopped, and how long a button is held.
constexpr std::int64_t kPlayBudget = 1500 * kMillisecond;
constexpr int kHoldMilliseconds = 1250;  // long enough for a shortcut's repeats to start

// Simulated time that passes at once. Past the budget of a press it stops the macro, as the service does
// when the configuration program applies; waits that cannot be stopped (the releases of a stop) go on.
class SimulatedTimeline final : public kavo::monitor::Timeline {
 public:
  std::int64_t NowMicroseconds() override { return now_; }
  bool WaitUntil(std::int64_t deadline, const std::atomic<bool>& stop) override {
    if (deadline > budgetEnd_ && !budgetSpent_) {
      now_ = std::max(now_, budgetEnd_);
      budgetSpent_ = true;
      if (onBudgetSpent_) onBudgetSpent_();
    }
    if (stop) return false;
    now_ = std::max(now_, deadline);
    return true;
  }
  void PrecisionNeeded(bool) override {}

  void Advance(std::int64_t microseconds) { now_ += microseconds; }
  void AdvanceTo(std::int64_t time) { now_ = std::max(now_, time); }
  void StartBudget() {
    budgetEnd_ = now_ + kPlayBudget;
    budgetSpent_ = false;
  }
  void OnBudgetSpent(std::function<void()> action) { onBudgetSpent_ = std::move(action); }
  bool budgetSpent() const { return budgetSpent_; }

 private:
  std::int64_t now_ = 0;
  std::int64_t budgetEnd_ = 0;
  bool budgetSpent_ = false;
  std::function<void()> onBudgetSpent_;
};

// The shortcut player's 1 ms gaps on the same time line.
class SimulatedClock final : public kavo::monitor::Clock {
 public:
  explicit SimulatedClock(SimulatedTimeline& timeline) : timeline_(timeline) {}
  void Sleep(int milliseconds) override { timeline_.Advance(milliseconds * kMillisecond); }

 private:
  SimulatedTimeline& timeline_;
};

// Counts what goes into the system: injections in each simulated second, and which keys and buttons are
// down as the system sees them (a second down of a key that is down is a repeat; one up lets it go).
// Traps as soon as the rate bound is passed.
class MeteredInput final : public kavo::monitor::InputSink {
 public:
  explicit MeteredInput(SimulatedTimeline& timeline) : timeline_(timeline) {}
  void Key(int virtualKey, int, bool up, bool) override { Note(virtualKey, up); }
  void Button(kavo::monitor::MouseButton button, bool up) override { Note(0x10000 + static_cast<int>(button), up); }
  std::int64_t held() const { return held_; }

 private:
  void Note(int key, bool up) {
    const std::int64_t second = timeline_.NowMicroseconds() / kSecond;
    if (second != second_) {
      second_ = second;
      inSecond_ = 0;
    }
    Check(++inSecond_ <= kMaxInjectionsPerSecond);
    if (up) {
      down_.erase(key);
    } else {
      down_.insert(key);
    }
    held_ = static_cast<std::int64_t>(down_.size());
  }
  SimulatedTimeline& timeline_;
  std::int64_t second_ = -1;
  int inSecond_ = 0;
  std::set<int> down_;
  std::int64_t held_ = 0;
};

// The service window's timers, fired on the simulated time line while a button is held.
class SimulatedWindow final : public kavo::monitor::ServiceWindow {
 public:
  explicit SimulatedWindow(SimulatedTimeline& timeline) : timeline_(timeline) {}
  void StartTimer(int id, int milliseconds) override {
    timers_[id] = {timeline_.NowMicroseconds() + std::max(milliseconds, 1) * kMillisecond,
                   std::max(milliseconds, 1) * kMillisecond};
  }
  void KillTimer(int id) override { timers_.erase(id); }
  void WatchForeground(bool) override {}
  void AddTrayIcon() override {}
  void RemoveTrayIcon() override {}
  void PostDeviceCommand(int) override {}
  void PostCommand(int) override {}
  void BringPopupForward() override {}
  void ShowTrayMenu() override {}
  void Close() override {}

  // Lets the time pass, each timer ticking at its period.
  void RunFor(int milliseconds, const std::function<void(int id)>& tick) {
    const std::int64_t end = timeline_.NowMicroseconds() + milliseconds * kMillisecond;
    for (;;) {
      auto next = std::min_element(timers_.begin(), timers_.end(),
                                   [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
      if (next == timers_.end() || next->second.due > end) break;
      const int id = next->first;
      timeline_.AdvanceTo(next->second.due);
      next->second.due += next->second.period;
      tick(id);
    }
    timeline_.AdvanceTo(end);
  }

 private:
  struct Timer {
    std::int64_t due, period;
  };
  SimulatedTimeline& timeline_;
  std::map<int, Timer> timers_;
};

// The service's side of the dispatcher over the sanitised record, with the profile under test current.
class RecordHost final : public kavo::monitor::DispatchHost {
 public:
  explicit RecordHost(kavo::SettingsRecord& record) : record_(record) {}
  bool CurrentButton(int slot, kavo::MacroKeyInfo& entry) override {
    if (slot < 0 || slot >= kavo::kButtonSlotCount) return false;
    entry = record_.profiles[current].buttons[slot];
    return true;
  }
  int CurrentProfileValue(std::int32_t kavo::ProfileRecord::*field, int) override {
    return record_.profiles[current].*field;
  }
  void ProfileChangedOnMouse(int) override {}
  void DeviceValuesChangedOnMouse(const std::function<void(kavo::ProfileRecord&)>& change) override {
    change(record_.profiles[current]);
  }
  void LowBattery() override {}
  void PresenceChanged(unsigned) override {}
  int current = 0;

 private:
  kavo::SettingsRecord& record_;
};

class CountingQueue final : public kavo::monitor::MacroQueue {
 public:
  bool PostPlay() override {
    ++posted;
    return true;
  }
  int posted = 0;
};

class SilentDebugOutput final : public kavo::monitor::DebugOutput {
 public:
  void Write(const char*) override {}
};

constexpr unsigned kClassTilt = 0x1000, kClassHeldButton = 0x5000, kClassLaunch = 0x6000, kRelease = 0x0100;

// Every button of every profile: pressed, its macro played on the macro thread's behalf, held with its
// timers ticking, let go; a tilt each way and a launch press beside.
void PressEveryButton(kavo::SettingsRecord& record) {
  SimulatedTimeline timeline;
  SimulatedClock clock(timeline);
  MeteredInput input(timeline);
  SimulatedWindow window(timeline);
  RecordHost host(record);
  kavo::test::EventLog log;
  kavo::test::FakeShell shell(log);
  kavo::test::FakeHostFunctions players(log);
  kavo::test::FakeKeyboardLayout layout = kavo::test::UsLayout();
  SilentDebugOutput debug;
  CountingQueue queue;
  kavo::monitor::ShortcutPlayer shortcuts(input, layout, clock);
  kavo::monitor::MacroPlayer macros(input, layout, timeline, debug, queue);
  kavo::monitor::EventDispatcher dispatcher({host, window, shell, input, shortcuts, macros, players, players});
  timeline.OnBudgetSpent([&] { dispatcher.StopPlayback(); });
  int played = 0;

  for (int profile = 0; profile < kavo::kProfileCount; ++profile) {
    host.current = profile;
    dispatcher.OnDeviceMessage(kClassTilt, 1);
    dispatcher.OnDeviceMessage(kClassTilt, 255);
    for (unsigned slot = 1; slot <= kavo::kButtonSlotCount; ++slot) {
      const std::int64_t heldBefore = input.held();
      dispatcher.OnDeviceMessage(kClassHeldButton, slot);
      if (queue.posted > played) {
        played = queue.posted;
        timeline.StartBudget();
        macros.PlayMacro();
        Check(!macros.playing());
        // Ended or stopped, it lets go of everything it still held.
        Check(input.held() == heldBefore);
      }
      window.RunFor(kHoldMilliseconds, [&](int id) { dispatcher.OnTimer(id); });
      dispatcher.OnDeviceMessage(kClassHeldButton, kRelease | slot);
      Check(!shortcuts.holding());
      const kavo::MacroKeyInfo& entry = record.profiles[profile].buttons[slot - 1];
      if (entry.function == kavo::kFunctionKeyShortcut) Check(input.held() == heldBefore);
      dispatcher.OnDeviceMessage(kClassLaunch, slot);
      dispatcher.OnDeviceMessage(kClassLaunch, kRelease | slot);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto record = std::make_unique<kavo::SettingsRecord>();
  std::memset(record.get(), 0, sizeof *record);
  // The input fills the block from its start and repeats, so that short inputs reach every field.
  auto* bytes = reinterpret_cast<std::uint8_t*>(record.get());
  for (std::size_t at = 0; size && at < sizeof *record; at += size) {
    std::memcpy(bytes + at, data, std::min(size, sizeof *record - at));
  }

  kavo::SanitizeRecord(*record);
  Check(record->CurrentProfile >= -1 && record->CurrentProfile <= 4);
  Check(record->WindowsProfile >= -1 && record->WindowsProfile <= 4);
  Check(record->QuickHelpLan >= 0 && record->QuickHelpLan <= 9);
  for (const auto& profile : record->profiles) {
    Check(Terminated(profile.ProFileName) && Terminated(profile.GameFile0) && Terminated(profile.GameFile1) &&
          Terminated(profile.GameFile2));
    Check(profile.MediaOption >= 0 && profile.MediaOption <= 3);
    for (const auto& entry : profile.buttons) {
      Check(entry.eventCount <= kavo::kMaxMacroEvents);
      Check(Terminated(entry.macroSetName) && Terminated(entry.macroName) && Terminated(entry.programPath));
      if (entry.function != kavo::kFunctionMacro) continue;
      Check(entry.repeatCount >= 0 && entry.repeatCount <= kavo::kMaxRepeatCount);
      for (int i = 0; i < entry.eventCount; ++i) {
        Check(entry.events[i].action == kavo::kMacroPress || entry.events[i].action == kavo::kMacroRelease);
      }
    }
  }
  Check(!kavo::SanitizeRecord(*record));
  PressEveryButton(*record);
  return 0;
}
