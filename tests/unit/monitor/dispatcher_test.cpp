#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/dispatcher.h"
#include "settings/bounded_text.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_service_ports.h"

namespace kavo::monitor {
namespace {

// The service side of the dispatcher: one current profile, and a note of everything asked of it.
class FakeDispatchHost final : public DispatchHost {
 public:
  explicit FakeDispatchHost(test::EventLog& log) : log_(log) {}
  bool CurrentButton(int slot, MacroKeyInfo& entry) override {
    if (!hasProfile) return false;
    entry = profile.buttons[slot];
    return true;
  }
  int CurrentProfileValue(std::int32_t ProfileRecord::*field, int fallback) override {
    return hasProfile ? profile.*field : fallback;
  }
  void ProfileChangedOnMouse(int profileIndex) override { log_.push_back("profile " + std::to_string(profileIndex)); }
  void DeviceValuesChangedOnMouse(const std::function<void(ProfileRecord&)>& change) override {
    change(profile);
    log_.push_back("values cpi " + std::to_string(profile.Cpi_X) + "/" + std::to_string(profile.Cpi_Y) + " sensitivity " +
                   std::to_string(profile.Sensitivity_X) + "/" + std::to_string(profile.Sensitivity_Y) + " polling " +
                   std::to_string(profile.PollingRate));
  }
  void LowBattery() override { log_.push_back("low battery"); }
  void PresenceChanged(unsigned data) override { log_.push_back("presence " + std::to_string(data)); }

  alignas(8) ProfileRecord profile{};  // aligned, so its fields bind to references
  bool hasProfile = true;

 private:
  test::EventLog& log_;
};

constexpr int kShortcutSlot = 1, kMacroSlot = 2, kLaunchSlot = 3, kShiftSlot = 4, kPlainSlot = 5;  // 1-based

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() {
    ResetProfile(host.profile, 0);
    host.profile.TiltSpeed = 3;
    host.profile.MediaOption = 2;
    host.profile.Cpi_X = host.profile.Cpi_Y = 1;
    host.profile.Sensitivity_X = host.profile.Sensitivity_Y = 7;
    host.profile.PollingRate = 2;
    SetButton(kShortcutSlot, kFunctionKeyShortcut, {4, 0x04});  // Ctrl+A
    SetButton(kMacroSlot, kFunctionMacro, {4, 1});
    host.profile.buttons[kMacroSlot - 1].eventCount = 1;
    host.profile.buttons[kMacroSlot - 1].events[0].delay = 10;
    SetButton(kLaunchSlot, kFunctionQuicklaunch, {});
    CopyBounded(host.profile.buttons[kLaunchSlot - 1].programPath, "C:\\Tools\\calc.exe");
    SetButton(kShiftSlot, kFunctionKeyShortcut, {225, 0x01});  // Shift alone
    SetButton(kPlainSlot, kFunctionClick, {});
  }
  void SetButton(int slot, std::uint8_t function, std::vector<std::uint8_t> value) {
    MacroKeyInfo& entry = host.profile.buttons[slot - 1];
    entry.function = function;
    if (value.size() == 2) entry.events[0] = MacroEvent{value[0], value[1], 0};
  }
  void Device(std::uint32_t eventClass, std::uint32_t data) { dispatcher.OnDeviceMessage(eventClass, data); }

  test::EventLog log;
  FakeDispatchHost host{log};
  test::FakeServiceWindow window{log};
  test::FakeShell shell{log};
  test::FakeInputSink input{log};
  test::FakeKeyboardLayout layout = test::UsLayout();
  test::FakeClock clock;
  test::FakeTimeline timeline;
  test::FakeDebugOutput debug;
  test::FakeMacroQueue queue;
  test::FakeHostFunctions players{log};
  ShortcutPlayer shortcuts{input, layout, clock};
  MacroPlayer macros{input, layout, timeline, debug, queue};
  EventDispatcher dispatcher{{host, window, shell, input, shortcuts, macros, players, players}};
};

TEST_F(DispatcherTest, EveryClassWithItsAcceptedAndRejectedData) {
  struct Case {
    const char* name;
    std::uint32_t eventClass, data;
    test::EventLog effects;
  };
  const Case cases[] = {
      {"tilt right", 0x1000, 1, {"scroll 1 by 3"}},
      {"tilt left", 0x1000, 255, {"scroll -1 by 3"}},
      {"tilt other", 0x1000, 2, {}},
      {"class 0x2000", 0x2000, 1, {}},
      {"profile 3", 0x3000, 3, {"profile 2"}},
      {"profile 0", 0x3000, 0, {}},
      {"profile 6", 0x3000, 6, {}},
      {"shortcut press on 0x5000", 0x5000, kShortcutSlot, {"key 17 down scan 29", "key 65 down scan 30", "timer 102 1000"}},
      {"shortcut press on 0x4000", 0x4000, kShortcutSlot, {"key 17 down scan 29", "key 65 down scan 30", "timer 102 1000"}},
      {"slot 0", 0x5000, 0, {}},
      {"slot 15", 0x5000, 15, {}},
      {"a click slot", 0x5000, kPlainSlot, {}},
      {"launch", 0x6000, kLaunchSlot, {"open C:\\Tools\\calc.exe"}},
      {"launch release", 0x6000, 0x0100 | kLaunchSlot, {}},
      {"launch on a slot without a program", 0x6000, kShortcutSlot, {}},
      {"low battery", 0x7000, 1, {"low battery"}},
      {"battery other", 0x7000, 2, {}},
      {"arrival", 0x7F00, 1, {"presence 1"}},
      {"removal", 0x7F00, 2, {"presence 2"}},
      {"presence other", 0x7F00, 3, {}},
      {"configuration button", 0xA000, 1, {"menu command 6001"}},
      {"configuration other", 0xA000, 2, {}},
      {"resolution 2", 0xB000, 2, {"values cpi 2/2 sensitivity 7/7 polling 2"}},
      {"resolution 5", 0xB000, 5, {}},
      {"sensitivity 0x0305", 0xC000, 0x0305, {"values cpi 1/1 sensitivity 5/3 polling 2"}},
      {"sensitivity 0x0B05", 0xC000, 0x0B05, {"values cpi 1/1 sensitivity 5/7 polling 2"}},
      {"sensitivity 0x0A00", 0xC000, 0x0A00, {"values cpi 1/1 sensitivity 7/10 polling 2"}},
      {"sensitivity 0x0B0B", 0xC000, 0x0B0B, {}},
      {"polling 1", 0xD000, 1, {"values cpi 1/1 sensitivity 7/7 polling 0"}},
      {"polling 4", 0xD000, 4, {"values cpi 1/1 sensitivity 7/7 polling 3"}},
      {"polling 5", 0xD000, 5, {}},
      {"class 0xE000", 0xE000, 1, {}},
      {"media player", 0xF000, 32, {"player 2 start"}},
      {"previous track", 0xF000, 33, {"player 2 command 33"}},
      {"stop", 0xF000, 36, {"player 2 command 36"}},
      {"player release", 0xF000, 0x0100 | 34, {}},
      {"mute", 0xF000, 37, {"key 173 down extended", "key 173 up extended"}},
      {"volume up", 0xF000, 38, {"key 175 down extended", "key 175 up extended", "timer 101 300"}},
      {"volume down release", 0xF000, 0x0100 | 39, {"kill timer 101"}},
      {"media 40", 0xF000, 40, {}},
      {"media 31", 0xF000, 31, {}},
      {"unknown class", 0x9000, 1, {}},
      {"class bits above 16 are not part of the class", 0x13000, 2, {"profile 1"}},
  };
  auto initial = std::make_unique<ProfileRecord>(host.profile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.profile = *initial;
    log.clear();
    Device(c.eventClass, c.data);
    EXPECT_EQ(log, c.effects);
    shortcuts.Release();
  }
}

TEST_F(DispatcherTest, MacroButtonsStartTheirMacroOnPressOnly) {
  Device(0x4000, 0x0100 | kMacroSlot);
  EXPECT_EQ(queue.posted, 0);
  Device(0x4000, kMacroSlot);
  EXPECT_EQ(queue.posted, 1);
  EXPECT_TRUE(macros.playing());
}

TEST_F(DispatcherTest, NothingHappensWithoutACurrentProfile) {
  host.hasProfile = false;
  Device(0x5000, kShortcutSlot);
  Device(0x6000, kLaunchSlot);
  Device(0x1000, 1);
  EXPECT_EQ(log, (test::EventLog{"scroll 1 by 0"}));
}

TEST_F(DispatcherTest, ASynthesizedReleaseDropsTheMousesOwnAndNoOther) {
  Device(0x5000, kShortcutSlot);
  log.clear();
  dispatcher.ReleaseHeldFunction();
  EXPECT_EQ(log, (test::EventLog{"kill timer 102", "key 65 up scan 30", "key 17 up scan 29"}));
  EXPECT_TRUE(dispatcher.releasePending());

  log.clear();
  Device(0x5000, 0x0100 | kShortcutSlot);  // the mouse's own release, already done
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(dispatcher.releasePending());
  Device(0x5000, 0x0100 | kShortcutSlot);  // a second one is dispatched again
  EXPECT_EQ(log, (test::EventLog{"kill timer 102"}));

  // After a synthesized release, a different release goes through at once.
  Device(0x5000, kShortcutSlot);
  dispatcher.ReleaseHeldFunction();
  log.clear();
  Device(0x5000, 0x0100 | kShiftSlot);
  EXPECT_EQ(log, (test::EventLog{"kill timer 102"}));
}

TEST_F(DispatcherTest, OnlyHeldButtonAndMediaPressesAreReleasedOnTheirOwn) {
  struct Case {
    const char* name;
    std::uint32_t eventClass, data;
    test::EventLog release;
  };
  const Case cases[] = {
      {"volume up held", 0xF000, 38, {"kill timer 101"}},
      {"a 0x4000 press", 0x4000, kShortcutSlot, {}},
      {"a 0x5000 release", 0x5000, 0x0100 | kShortcutSlot, {}},
      {"a profile change", 0x3000, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Device(c.eventClass, c.data);
    log.clear();
    dispatcher.ReleaseHeldFunction();
    EXPECT_EQ(log, c.release);
    shortcuts.Release();
  }
}

TEST_F(DispatcherTest, ReleasingEverythingLetsGoOfShortcutsOfEitherClass) {
  Device(0x4000, kShortcutSlot);  // a press the release-pending rule does not cover
  log.clear();
  dispatcher.ReleaseHeld();
  EXPECT_EQ(log, (test::EventLog{"kill timer 102", "kill timer 101", "key 65 up scan 30", "key 17 up scan 29"}));
}

TEST_F(DispatcherTest, AHeldShortcutIsLetGoByItsReleaseWhateverTheSlotHoldsThen) {
  // The profile changes under the held button (Profile Up, a game, the configuration program's record).
  struct Case {
    const char* name;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"now a macro", [&] { SetButton(kShortcutSlot, kFunctionMacro, {4, 1}); }},
      {"now a click", [&] { SetButton(kShortcutSlot, kFunctionClick, {}); }},
      {"now a program", [&] { SetButton(kShortcutSlot, kFunctionQuicklaunch, {}); }},
      {"no profile current", [&] { host.hasProfile = false; }},
  };
  auto initial = std::make_unique<ProfileRecord>(host.profile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.profile = *initial;
    host.hasProfile = true;
    Device(0x5000, kShortcutSlot);
    c.change();
    log.clear();
    Device(0x5000, 0x0100 | kShortcutSlot);
    EXPECT_EQ(log, (test::EventLog{"kill timer 102", "key 65 up scan 30", "key 17 up scan 29"}));
    EXPECT_FALSE(shortcuts.holding());
    EXPECT_FALSE(window.timers.count(kTimerShortcutRepeat));
  }
}

TEST_F(DispatcherTest, ShortcutRepeatsAfterASecondThenEvery100Milliseconds) {
  Device(0x5000, kShortcutSlot);
  log.clear();
  dispatcher.OnTimer(kTimerShortcutRepeat);
  EXPECT_EQ(log, (test::EventLog{"timer 102 100", "key 65 up scan 30", "key 65 down scan 30"}));
  log.clear();
  dispatcher.OnTimer(kTimerShortcutRepeat);
  EXPECT_EQ(log, (test::EventLog{"key 65 up scan 30", "key 65 down scan 30"}));
  Device(0x5000, 0x0100 | kShortcutSlot);

  Device(0x5000, kShiftSlot);
  log.clear();
  dispatcher.OnTimer(kTimerShortcutRepeat);
  EXPECT_EQ(log, (test::EventLog{"timer 102 100"})) << "Shift alone never repeats";
}

TEST_F(DispatcherTest, VolumeRepeatsTheRememberedDirection) {
  struct Case {
    std::uint32_t value;
    int key;
  };
  for (const Case& c : {Case{38, 175}, Case{39, 174}}) {
    Device(0xF000, c.value);
    log.clear();
    dispatcher.OnTimer(kTimerMediaRepeat);
    EXPECT_EQ(log, (test::EventLog{"key " + std::to_string(c.key) + " down extended",
                                   "key " + std::to_string(c.key) + " up extended"}));
  }
}

TEST_F(DispatcherTest, PresenceMessagesBecomeTheLastEvent) {
  Device(0x5000, kShortcutSlot);
  dispatcher.OnPresenceMessage(0);
  EXPECT_EQ(dispatcher.lastEvent(), EventCode(0x7F00, 2));
  dispatcher.OnPresenceMessage(1);
  dispatcher.OnPresenceMessage(9);
  EXPECT_EQ(dispatcher.lastEvent(), EventCode(0x7F00, 0));
  EXPECT_EQ(std::count(log.begin(), log.end(), "presence 2"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "presence 1"), 1);
  log.clear();
  dispatcher.ReleaseHeldFunction();
  EXPECT_TRUE(log.empty()) << "the presence event replaced the held press";
}

}  // namespace
}  // namespace kavo::monitor
