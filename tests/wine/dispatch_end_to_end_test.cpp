// What KavoMonitor.exe does with the simulated mouse's button events, run for real under Wine: buttons set
// up in the mouse and in the profile files, pressed through kavo-sim, and the keys and mouse buttons the
// service injects seen by kavo-input-recorder.exe's low-level hooks with their timestamps; the settings
// files, the shared block, the registry and the messages to windows titled like the configuration program
// and the on-screen display for the events that change state.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_record.h"
#include "tests/wine/input_recording.h"
#include "tests/wine/macro_schedule.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/service_folder.h"
#include "tests/wine/service_session.h"
#include "tests/wine/temp_folder.h"

namespace kavo::wine_test {
namespace {

constexpr UINT kProfileChangedMessage = 1255;
constexpr UINT kResolutionChangedMessage = 1257;
constexpr UINT kNoticeMessage = 1324;
constexpr DWORD kEventTimeoutMs = 5000;
// How long a test listens for input that must not come.
constexpr DWORD kQuietMs = 700;

// Function codes of the mouse's button slots.
constexpr std::uint8_t kClick = 1;
constexpr std::uint8_t kShortcut = 5;
constexpr std::uint8_t kMacro = 48;
constexpr std::uint8_t kProfileUp = 17;
constexpr std::uint8_t kDpiUp = 21;
constexpr std::uint8_t kAltLayer = 65;
constexpr std::uint8_t kMute = 37;
constexpr std::uint8_t kVolumeUp = 38;
constexpr std::uint8_t kVolumeDown = 39;
constexpr int kMediaPlayerNotInstalled = 1;  // iTunes

// Device key codes (keyboard usages) and the mouse buttons of macros.
constexpr std::uint8_t kKeyA = 4, kKeyB = 5, kKeyC = 6, kKeyD = 7, kKeyK = 14, kKeyZ = 29, kKey1 = 30, kKeyF5 = 62;
constexpr std::uint8_t kKeyWithoutRow = 50;  // a European key the table has no virtual key for
constexpr std::uint8_t kLeftShiftKey = 225, kRightAltKey = 230;
constexpr std::uint8_t kMouseLeft = 240, kMouseX2 = 243, kMouseX1 = 244;

// Modifier mask of a shortcut.
constexpr std::uint8_t kNoModifier = 0x01, kShiftBit = 0x02, kCtrlBit = 0x04, kAltBit = 0x08, kWinBit = 0x10;

// One button slot: its function code, in the mouse and in the profile file, and what the file holds for it.
struct SlotSetup {
  int slot;  // 0..13; 7..13 are the inputs on the second layer
  std::uint8_t function;
  std::function<void(MacroKeyInfo&)> payload;
};

std::function<void(MacroKeyInfo&)> ShortcutOf(std::uint8_t key, std::uint8_t mask) {
  return [key, mask](MacroKeyInfo& entry) {
    auto* value = reinterpret_cast<std::uint8_t*>(entry.events);
    value[0] = key;
    value[1] = mask;
  };
}

std::function<void(MacroKeyInfo&)> MacroOf(std::int32_t repeat, std::vector<MacroEvent> events) {
  return [repeat, events](MacroKeyInfo& entry) {
    entry.repeatCount = repeat;
    entry.eventCount = static_cast<std::uint16_t>(events.size());
    std::copy(events.begin(), events.end(), entry.events);
  };
}

MacroEvent Press(std::uint8_t key, std::uint16_t delay) { return MacroEvent{key, kMacroPress, delay}; }
MacroEvent Release(std::uint8_t key, std::uint16_t delay) { return MacroEvent{key, kMacroRelease, delay}; }

using Lines = std::vector<std::string>;

// Every key event carries the scan code of its virtual key and the injected flag; media keys travel with
// scan code 0 and the extended flag.
void ExpectKeyDetails(const std::vector<RecordedInput>& events, bool media) {
  for (const auto& event : events) {
    if (!event.IsKey()) continue;
    SCOPED_TRACE(event.Describe());
    EXPECT_TRUE(event.Injected());
    if (media) {
      EXPECT_EQ(event.scanCode, 0u);
      EXPECT_TRUE(event.Extended());
    } else {
      EXPECT_EQ(event.scanCode, ::MapVirtualKeyA(event.virtualKey, MAPVK_VK_TO_VSC));
    }
  }
}

class DispatchEndToEndTest : public ServiceSessionTest {
 protected:
  void TearDown() override {
    ServiceSessionTest::TearDown();
    if (recorder_) {
      EXPECT_TRUE(recorder_->Stop()) << "the recorder did not end cleanly";
    }
  }

  // A program folder whose mouse and profile files agree on every slot's function: a plain click on every
  // slot but the ones given (profiles[p] for profile p). `more` adds to each profile file, `mouse` changes the
  // rest of the mouse's memory, which is otherwise as it left the factory.
  void PrepareFolder(const std::vector<std::vector<SlotSetup>>& profiles,
                     const std::function<void(int, ProfileRecord&)>& more = nullptr,
                     const std::function<void(sim::MouseMemory&)>& mouse = nullptr) {
    MakeFolder(false);
    auto record = NewRecord();
    for (int p = 0; p < kProfileCount; ++p) {
      ProfileRecord& profile = record->profiles[p];
      ResetProfile(profile, p);
      for (auto& entry : profile.buttons) entry.function = kClick;
      if (p < static_cast<int>(profiles.size())) {
        for (const SlotSetup& setup : profiles[p]) {
          profile.buttons[setup.slot].function = setup.function;
          if (setup.payload) setup.payload(profile.buttons[setup.slot]);
        }
      }
      if (more) more(p, profile);
      ASSERT_EQ(folder().settings().WriteProfile(profile, folder().settings().SlotPath(p)), 1);
    }
    ChangeMouse([&](sim::MouseMemory& memory) {
      for (int p = 0; p < kProfileCount; ++p) {
        for (int b = 0; b < kButtonSlotCount; ++b) memory.profiles[p].buttons[b] = record->profiles[p].buttons[b].function;
      }
      if (mouse) mouse(memory);
    });
  }

  // Starts the recorder, then the service, and waits until the service has read the mouse.
  void StartRecordedService(RecordingWindow& option) {
    if (HasFatalFailure()) FAIL() << "the program folder is not ready";
    recorder_ = std::make_unique<InputRecorder>(recordings_.File("input-" + std::to_string(++recordingCount_) + ".txt"));
    ASSERT_EQ(recorder_->Problem(), "");
    StartService();
    ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs)) << "no 1254 after the read";
  }

  InputRecorder& recorder() { return *recorder_; }
  std::size_t Mark() const { return recorder_->Count(); }
  // Waits for count events after mark and gives every event after it (more when more came).
  std::vector<RecordedInput> Await(std::size_t mark, std::size_t count, DWORD milliseconds = kEventTimeoutMs) {
    EXPECT_TRUE(recorder_->WaitForCount(mark, count, milliseconds))
        << "expected " << count << " events, got " << ::testing::PrintToString(Describe(recorder_->EventsSince(mark)));
    return recorder_->EventsSince(mark);
  }
  // Lets quietMs pass and gives what came after mark meanwhile.
  std::vector<RecordedInput> Listen(std::size_t mark, DWORD quietMs = kQuietMs) {
    ::Sleep(quietMs);
    return recorder_->EventsSince(mark);
  }

  void Sim(const std::string& command) { folder().SimOk(command); }

  TempFolder recordings_;
  int recordingCount_ = 0;
  std::unique_ptr<InputRecorder> recorder_;
};

// ---------------------------------------------------------------------------------------------------------
// The recorder every case below relies on

TEST(InputRecorderTest, SeesTheKeysAndMouseButtonsAnotherProcessInjects) {
  TempFolder folder;
  InputRecorder recorder(folder.File("input.txt"));
  ASSERT_EQ(recorder.Problem(), "");
  const long long before = QpcNow();
  ::keybd_event('A', 30, 0, 0);
  ::keybd_event('A', 30, KEYEVENTF_KEYUP, 0);
  ::keybd_event(VK_VOLUME_UP, 0, KEYEVENTF_EXTENDEDKEY, 0);
  ::mouse_event(MOUSEEVENTF_MOVE, 3, 3, 0, 0);  // moves are not recorded
  ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  ::mouse_event(MOUSEEVENTF_XDOWN, 0, 0, XBUTTON1, 0);
  ::mouse_event(MOUSEEVENTF_XUP, 0, 0, XBUTTON1, 0);
  ::mouse_event(MOUSEEVENTF_XDOWN, 0, 0, XBUTTON2, 0);
  ::mouse_event(MOUSEEVENTF_XUP, 0, 0, XBUTTON2, 0);
  ::keybd_event(VK_VOLUME_UP, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
  const long long after = QpcNow();
  ASSERT_TRUE(recorder.Stop());
  const auto events = recorder.Events();
  EXPECT_EQ(Describe(events), (Lines{"A down", "A up", "vk 175 down", "mouse left down", "mouse left up",
                                     "mouse x1 down", "mouse x1 up", "mouse x2 down", "mouse x2 up", "vk 175 up"}));
  ASSERT_EQ(events.size(), 10u);
  EXPECT_EQ(events[0].scanCode, 30u);
  EXPECT_FALSE(events[0].Extended());
  EXPECT_TRUE(events[2].Extended());
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].IsKey()) {
      EXPECT_TRUE(events[i].Injected()) << i;
    }
    EXPECT_GE(events[i].qpc, i == 0 ? before : events[i - 1].qpc) << i;
    EXPECT_LE(events[i].qpc, after) << i;
  }
}

// ---------------------------------------------------------------------------------------------------------
// Key shortcuts

TEST_F(DispatchEndToEndTest, ShortcutButtonsHoldTheirKeysFromPressToRelease) {
  PrepareFolder({{
      {0, kShortcut, ShortcutOf(kKeyA, kCtrlBit | kShiftBit | kAltBit | kWinBit)},
      {1, kShortcut, ShortcutOf(kKeyF5, kAltBit | kCtrlBit)},
      {2, kShortcut, ShortcutOf(kKey1, kNoModifier | kShiftBit)},
      {3, kAltLayer, nullptr},
      {4, kShortcut, ShortcutOf(kLeftShiftKey, kNoModifier)},
      {5, kShortcut, ShortcutOf(kRightAltKey, kNoModifier | kCtrlBit)},
      {6, kShortcut, ShortcutOf(kKeyWithoutRow, kCtrlBit)},
      {8, kShortcut, ShortcutOf(kKeyZ, kShiftBit)},  // input 2 while input 4 holds the second layer
  }});
  RecordingWindow option(kOptionTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(option));

  struct Case {
    const char* name;
    int input;
    bool secondLayer;
    Lines pressed;
    Lines released;
  };
  const Case cases[] = {
      {"every modifier: Ctrl, Shift, Alt, Windows, then the key", 1, false,
       {"Ctrl down", "Shift down", "Alt down", "LWin down", "A down"},
       {"A up", "LWin up", "Alt up", "Shift up", "Ctrl up"}},
      {"Ctrl and Alt", 2, false, {"Ctrl down", "Alt down", "vk 116 down"}, {"vk 116 up", "Alt up", "Ctrl up"}},
      {"the no-modifier bit wins over Shift", 3, false, {"1 down"}, {"1 up"}},
      {"left Shift alone is sent as Shift", 5, false, {"Shift down"}, {"Shift up"}},
      {"right Alt is sent as Alt, no Ctrl beside the no-modifier bit", 6, false, {"Alt down"}, {"Alt up"}},
      {"a key without a virtual key is skipped, its modifier is not", 7, false, {"Ctrl down"}, {"Ctrl up"}},
      {"a slot of the second layer", 2, true, {"Shift down", "Z down"}, {"Z up", "Shift up"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.secondLayer) Sim("press 4");
    const std::size_t mark = Mark();
    Sim("press " + std::to_string(c.input));
    Await(mark, c.pressed.size());
    // Nothing is let go while the button is held.
    EXPECT_EQ(Describe(Listen(mark, 200)), c.pressed);
    Sim("release " + std::to_string(c.input));
    Lines both = c.pressed;
    both.insert(both.end(), c.released.begin(), c.released.end());
    Await(mark, both.size());
    const auto all = Listen(mark, 200);
    EXPECT_EQ(Describe(all), both);
    ExpectKeyDetails(all, false);
    if (c.secondLayer) Sim("release 4");
  }
}

TEST_F(DispatchEndToEndTest, AHeldShortcutRepeatsItsKeyAfterASecondAndReleaseCutsItShort) {
  PrepareFolder({{
      {0, kShortcut, ShortcutOf(kKeyA, kCtrlBit | kShiftBit)},
      {1, kShortcut, ShortcutOf(kLeftShiftKey, kNoModifier)},
  }});
  RecordingWindow option(kOptionTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(option));

  // Held for some 1.7 s: the key alone goes up and down again about every 100 ms after the first 1000 ms.
  std::size_t mark = Mark();
  Sim("press 1");
  Await(mark, 3);
  ::Sleep(1700);
  Sim("release 1");
  const auto held = Listen(mark, 400);
  ASSERT_GE(held.size(), 6u) << ::testing::PrintToString(Describe(held));
  const Lines all = Describe(held);
  EXPECT_EQ(Lines(all.begin(), all.begin() + 3), (Lines{"Ctrl down", "Shift down", "A down"}));
  EXPECT_EQ(Lines(all.end() - 3, all.end()), (Lines{"A up", "Shift up", "Ctrl up"}));
  const std::vector<RecordedInput> repeats(held.begin() + 3, held.end() - 3);
  ASSERT_EQ(repeats.size() % 2, 0u) << ::testing::PrintToString(all);
  const std::size_t pairs = repeats.size() / 2;
  for (std::size_t i = 0; i < pairs; ++i) {
    EXPECT_EQ(repeats[2 * i].Describe(), "A up") << i;
    EXPECT_EQ(repeats[2 * i + 1].Describe(), "A down") << i;
  }
  ExpectKeyDetails(held, false);
  const long long pressedAt = held[2].qpc;
  const double heldMs = QpcMs(pressedAt, held[held.size() - 3].qpc);
  ASSERT_GE(pairs, 1u) << "no repeat in " << heldMs << " ms";
  const double firstRepeat = QpcMs(pressedAt, repeats[0].qpc);
  EXPECT_GE(firstRepeat, 990.0) << "repeats began before the first second was over";
  EXPECT_LE(firstRepeat, 1250.0);
  for (std::size_t i = 1; i < pairs; ++i) {
    const double gap = QpcMs(repeats[2 * (i - 1)].qpc, repeats[2 * i].qpc);
    EXPECT_GE(gap, 60.0) << "repeat " << i;
    EXPECT_LE(gap, 250.0) << "repeat " << i;
  }
  const double expectedPairs = (heldMs - 1000.0) / 100.0;
  EXPECT_GE(static_cast<double>(pairs), expectedPairs - 2) << "held " << heldMs << " ms";
  EXPECT_LE(static_cast<double>(pairs), expectedPairs + 2) << "held " << heldMs << " ms";

  // A shortcut whose key is a modifier never repeats.
  mark = Mark();
  Sim("press 2");
  Await(mark, 1);
  ::Sleep(1500);
  Sim("release 2");
  Await(mark, 2);
  EXPECT_EQ(Describe(Listen(mark, 300)), (Lines{"Shift down", "Shift up"}));
}

TEST_F(DispatchEndToEndTest, AHeldShortcutIsLetGoByApplyAndByTheMouseLeaving) {
  PrepareFolder({{{0, kShortcut, ShortcutOf(kKeyA, kCtrlBit | kShiftBit | kAltBit | kWinBit)}}});
  RecordingWindow option(kOptionTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(option));
  const Lines pressed = {"Ctrl down", "Shift down", "Alt down", "LWin down", "A down"};
  const Lines released = {"A up", "LWin up", "Alt up", "Shift up", "Ctrl up"};
  Lines both = pressed;
  both.insert(both.end(), released.begin(), released.end());

  {
    SCOPED_TRACE("the configuration program applies while the button is held");
    auto record = FetchBlock();
    ASSERT_NE(record, nullptr);
    ClearChangeFlags(*record);
    ASSERT_TRUE(PublishBlock(*record));
    std::size_t mark = Mark();
    Sim("press 1");
    Await(mark, pressed.size());
    ASSERT_TRUE(SendToService(window_, kApplyMessage, 0)) << "1224 not answered";
    const long long answered = QpcNow();
    const auto let = Await(mark, both.size());
    EXPECT_EQ(Describe(let), both);
    for (const auto& event : let) EXPECT_LT(event.qpc, answered) << event.Describe() << " after 1224 was answered";
    // The mouse's own release of the button comes later and lets nothing go a second time.
    mark = Mark();
    Sim("release 1");
    EXPECT_EQ(Describe(Listen(mark)), Lines{});
    // The next press and release of the same button work as ever.
    Sim("click 1");
    Await(mark, both.size());
    EXPECT_EQ(Describe(Listen(mark, 200)), both);
  }
  {
    SCOPED_TRACE("the mouse is unplugged while the button is held");
    const std::size_t mark = Mark();
    Sim("press 1");
    Await(mark, pressed.size());
    Sim("unplug");
    ASSERT_TRUE(WaitForDevice(0));
    Await(mark, both.size());
    // Nothing presses the key again afterwards: the repeat would have begun a second after the press.
    EXPECT_EQ(Describe(Listen(mark, 1500)), both);
  }
}

// ---------------------------------------------------------------------------------------------------------
// Macros

TEST_F(DispatchEndToEndTest, MacroButtonsPlayTheirEventsInOrderWithTheirDelays) {
  const std::vector<MacroEvent> played = {
      Press(kKeyA, 30),        Release(kKeyA, 60),       Press(kMouseLeft, 40), Release(kMouseLeft, 25),
      Press(kMouseX1, 20),     Release(kMouseX1, 15),    Press(kMouseX2, 20),   Release(kMouseX2, 15),
      Press(kKeyB, 50),        Press(kKeyC, 10),         Release(kKeyC, 35),    Release(kKeyB, 45),
  };
  const Lines onePass = {"A down",       "A up",       "mouse left down", "mouse left up", "mouse x1 down",
                         "mouse x1 up",  "mouse x2 down", "mouse x2 up",  "B down",          "C down",
                         "C up",         "B up"};
  PrepareFolder({{
      {0, kMacro, MacroOf(2, played)},
      // A long press: held half a second, then sent again about every 33 ms. Repeat count 0 plays once.
      {1, kMacro, MacroOf(0, {Press(kKeyD, 800), Release(kKeyD, 20)})},
      // Holds Shift and K long enough to be stopped by another macro button.
      {6, kMacro, MacroOf(1, {Press(kLeftShiftKey, 10), Press(kKeyK, 3000), Release(kKeyK, 10), Release(kLeftShiftKey, 10)})},
  }});
  RecordingWindow option(kOptionTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(option));

  {
    SCOPED_TRACE("the first macro since start: two passes of key and mouse-button events");
    const std::size_t mark = Mark();
    Sim("click 1");
    Lines twice = onePass;
    twice.insert(twice.end(), onePass.begin(), onePass.end());
    Await(mark, twice.size());
    const auto all = Listen(mark, 500);
    ASSERT_EQ(Describe(all), twice);
    ExpectKeyDetails(all, false);
    std::vector<int> delays;
    for (int pass = 0; pass < 2; ++pass) {
      for (const MacroEvent& event : played) delays.push_back(event.delay);
    }
    delays.pop_back();
    ExpectOnSchedule(all, delays);
  }
  {
    SCOPED_TRACE("another macro button stops a playing macro and starts nothing");
    const std::size_t mark = Mark();
    Sim("click 7");
    Await(mark, 2);
    ::Sleep(700);  // K has been re-sent for a while
    Sim("click 1");
    ASSERT_TRUE(recorder().WaitFor(
        mark, [](const std::vector<RecordedInput>& e) { return !e.empty() && e.back().Describe() == "Shift up"; },
        kEventTimeoutMs))
        << ::testing::PrintToString(Describe(recorder().EventsSince(mark)));
    const auto stopped = Listen(mark);
    ASSERT_GE(stopped.size(), 4u);
    const Lines all = Describe(stopped);
    EXPECT_EQ(Lines(all.begin(), all.begin() + 2), (Lines{"Shift down", "K down"}));
    // Let go from the most recent key back, 50 ms apart; the other macro does not start.
    EXPECT_EQ(Lines(all.end() - 2, all.end()), (Lines{"K up", "Shift up"}));
    EXPECT_GE(QpcMs(stopped[stopped.size() - 2].qpc, stopped.back().qpc), 48.0);
    EXPECT_LT(QpcMs(stopped[1].qpc, stopped.back().qpc), 2500.0) << "the long press was not cut short";
  }
  {
    SCOPED_TRACE("a long press repeats its key; repeat count 0 plays once");
    const std::size_t mark = Mark();
    Sim("click 2");
    ASSERT_TRUE(recorder().WaitFor(
        mark, [](const std::vector<RecordedInput>& e) { return e.size() >= 2 && e.back().Describe() == "D up"; },
        kEventTimeoutMs));
    const auto events = Listen(mark);
    ASSERT_GE(events.size(), 4u) << ::testing::PrintToString(Describe(events));
    EXPECT_EQ(events.front().Describe(), "D down");
    EXPECT_EQ(events.back().Describe(), "D up") << "the macro played more than once";
    const std::vector<RecordedInput> repeats(events.begin() + 1, events.end() - 1);
    ASSERT_EQ(repeats.size() % 2, 0u) << ::testing::PrintToString(Describe(events));
    for (std::size_t i = 0; i < repeats.size(); i += 2) {
      EXPECT_EQ(repeats[i].Describe(), "D up");
      EXPECT_EQ(repeats[i + 1].Describe(), "D down");
    }
    // Never early against the 500 ms hold and the 33 ms repeat; late only by what the load explains.
    const long long down = events.front().qpc;
    EXPECT_GE(QpcMs(down, repeats.front().qpc), 498.0) << "re-sent before half a second";
    EXPECT_LE(QpcMs(down, repeats.front().qpc), 500.0 + kGrossLatenessMs);
    EXPECT_GE(QpcMs(down, events.back().qpc), 798.0);
    EXPECT_LE(QpcMs(down, events.back().qpc), 800.0 + kGrossLatenessMs);
    const std::size_t pairs = repeats.size() / 2;
    EXPECT_GE(pairs, 6u);
    EXPECT_LE(pairs, 11u);
    for (std::size_t i = 0; i < repeats.size(); i += 2) {
      EXPECT_GE(QpcMs(down, repeats[i].qpc), 500.0 + 33.0 * static_cast<double>(i / 2) - 2.0)
          << "repeat " << i / 2 << " came early";
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Media keys

TEST_F(DispatchEndToEndTest, MediaButtonsSendVolumeKeysAndThePlayerButtonsSendNothing) {
  PrepareFolder({{
      {2, kMute, nullptr},
      {3, kAltLayer, nullptr},
      {4, kVolumeUp, nullptr},
      {5, kVolumeDown, nullptr},
      // On the second layer: the media player's buttons.
      {7, 32, nullptr},
      {8, 33, nullptr},
      {9, 34, nullptr},
      {11, 35, nullptr},
      {12, 36, nullptr},
  }},
                // The player chosen is one that is not installed, so those buttons find nothing to start or drive.
                [](int, ProfileRecord& profile) { profile.MediaOption = kMediaPlayerNotInstalled; });
  RecordingWindow option(kOptionTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(option));

  struct Case {
    const char* name;
    int input;
    Lines sent;
  };
  const Case taps[] = {
      {"mute", 3, {"vk 173 down", "vk 173 up"}},
      {"volume down", 6, {"vk 174 down", "vk 174 up"}},
  };
  for (const Case& c : taps) {
    SCOPED_TRACE(c.name);
    const std::size_t mark = Mark();
    Sim("click " + std::to_string(c.input));
    Await(mark, c.sent.size());
    const auto events = Listen(mark);
    EXPECT_EQ(Describe(events), c.sent);
    ExpectKeyDetails(events, true);
  }
  {
    SCOPED_TRACE("volume up held repeats every 300 ms until released");
    const std::size_t mark = Mark();
    const long long asked = QpcNow();
    Sim("press 5");
    Await(mark, 2);
    ::Sleep(1000);
    Sim("release 5");
    const long long released = QpcNow();
    const auto held = Listen(mark, 100);  // the release is on its way to the service
    const auto later = Listen(mark);
    EXPECT_EQ(Describe(later), Describe(held)) << "volume keys after the release";
    ASSERT_EQ(held.size() % 2, 0u);
    for (std::size_t i = 0; i < held.size(); i += 2) {
      EXPECT_EQ(held[i].Describe(), "vk 175 down");
      EXPECT_EQ(held[i + 1].Describe(), "vk 175 up");
    }
    ExpectKeyDetails(held, true);
    const std::size_t sent = held.size() / 2;
    const double heldMs = QpcMs(asked, released);
    EXPECT_GE(sent, 3u) << "held " << heldMs << " ms";
    EXPECT_LE(static_cast<double>(sent), 2 + heldMs / 300.0) << "held " << heldMs << " ms";
    for (std::size_t i = 2; i < held.size(); i += 2) {
      const double gap = QpcMs(held[i - 2].qpc, held[i].qpc);
      EXPECT_GE(gap, 250.0);
      EXPECT_LE(gap, 450.0);
    }
  }
  {
    SCOPED_TRACE("the player buttons inject nothing");
    const std::size_t mark = Mark();
    Sim("press 4");
    for (int input : {1, 2, 3, 5, 6}) Sim("click " + std::to_string(input));
    Sim("release 4");
    EXPECT_EQ(Describe(Listen(mark)), Lines{});
  }
}

// ---------------------------------------------------------------------------------------------------------
// Changes made on the mouse, low battery and the configuration button

TEST_F(DispatchEndToEndTest, ProfileAndResolutionStepsBatteryAndConfigurationButton) {
  const PointerValues pointer[2] = {{400, 8, 3, 0, 2, 1}, {512, 12, 6, 0, 4, 1}};
  PrepareFolder({{{0, kProfileUp, nullptr}}, {{0, kProfileUp, nullptr}, {1, kDpiUp, nullptr}}},
                [&](int p, ProfileRecord& profile) {
                  if (p < 2) pointer[p].Into(profile);
                },
                [](sim::MouseMemory& memory) {
                  memory.activeProfile = 0;
                  memory.profiles[1].settings[sim::kCpiX] = memory.profiles[1].settings[sim::kCpiY] = 2;
                });
  auto option = std::make_unique<RecordingWindow>(kOptionTitle);
  RecordingWindow display(kOsdTitle);
  ASSERT_NO_FATAL_FAILURE(StartRecordedService(*option));
  ASSERT_EQ(folder().ConfigInt("CurrentProfile", -1), 0);
  ExpectPointerInRegistry(pointer[0]);

  {
    SCOPED_TRACE("profile up on the mouse");
    Sim("click 1");
    ASSERT_TRUE(option->WaitFor(kProfileChangedMessage, 1, kEventTimeoutMs)) << "no 1255";
    EXPECT_EQ(folder().DumpLine(0), "active 1");
    EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), 1);
    auto block = FetchBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->CurrentProfile, 1);
    ExpectPointerInRegistry(pointer[1]);
    const PointerState system = ServiceFolder::Pointer();
    EXPECT_EQ(system.doubleClick, static_cast<unsigned>(pointer[1].doubleClick)) << system.Describe();
    EXPECT_EQ(system.speed, pointer[1].speed) << system.Describe();
  }
  {
    SCOPED_TRACE("resolution up on the mouse");
    Sim("click 2");
    ASSERT_TRUE(option->WaitFor(kResolutionChangedMessage, 1, kEventTimeoutMs)) << "no 1257";
    auto block = FetchBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->profiles[1].Cpi_X, 3);
    EXPECT_EQ(block->profiles[1].Cpi_Y, 3);
    EXPECT_EQ(block->profiles[0].Cpi_X, 2) << "another profile changed";
    // Only the block follows: the profile file keeps what the read saved.
    auto file = NewRecord();
    folder().settings().ReadProfile(file->profiles[1], folder().settings().SlotPath(1));
    EXPECT_EQ(file->profiles[1].Cpi_X, 2);
  }
  {
    SCOPED_TRACE("low battery");
    Sim("battery-low");
    ASSERT_TRUE(display.WaitFor(kNoticeMessage, 1, kEventTimeoutMs)) << "no 1324 to the on-screen display";
    EXPECT_EQ(display.Received(kNoticeMessage).front().wParam, 50u);
    IniFileAccess access(folder().files());
    EXPECT_EQ(access.Open(folder().settings().ConfigPath())->ReadString("OSDData", "Message", ""), "Low Battery");
  }
  {
    SCOPED_TRACE("the configuration button starts the configuration program when none runs");
    option.reset();
    Sim("config-button");
    EXPECT_TRUE(WaitFor([&] { return !folder().StandInLog().empty(); }, 15000, 100)) << "KavoOption.exe was not started";
    EXPECT_EQ(folder().StandInLog().front(), "start");
    // It notes its start before its window is made; the service closes it through that window as it ends.
    EXPECT_TRUE(WaitFor([&] { return ::FindWindowA(nullptr, kOptionTitle) != nullptr; }, 15000, 100));
  }
  EXPECT_EQ(recorder().Count(), 0u) << ::testing::PrintToString(Describe(recorder().Events()));
}

}  // namespace
}  // namespace kavo::wine_test
