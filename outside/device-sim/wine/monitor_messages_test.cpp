// The library's messages to a window: what kavo-sim's inputs make the simulated mouse report, posted by
// the library's thread in this process.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "outside/device-sim/wine/mouse_folder.h"

namespace kavo::sim::wine_test {
namespace {

constexpr UINT kEventMessage = 1325;
constexpr UINT kPresenceMessage = 1326;
// Raw events of a class the host ignores mark the end of each step's messages.
constexpr WPARAM kMarkerClass = 0x2000;

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Posted& other) const {
    return message == other.message && wParam == other.wParam && lParam == other.lParam;
  }
};
std::ostream& operator<<(std::ostream& out, const Posted& p) {
  return out << p.message << "(0x" << std::hex << p.wParam << ", 0x" << p.lParam << std::dec << ")";
}
Posted Event(WPARAM eventClass, LPARAM data) { return {kEventMessage, eventClass, data}; }
Posted Presence(WPARAM arrived) { return {kPresenceMessage, arrived, 0}; }

// A message-only window of this thread.
class ListenerWindow {
 public:
  ListenerWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);
    window_.reset(
        ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
  }
  HWND get() const { return window_.get(); }

  // The device messages that arrive until one matches stop, or until the time is up.
  std::vector<Posted> Until(const Posted& stop, DWORD milliseconds) {
    std::vector<Posted> received;
    const DWORD start = ::GetTickCount();
    for (;;) {
      MSG msg;
      while (::PeekMessageA(&msg, window_.get(), kEventMessage, kPresenceMessage, PM_REMOVE)) {
        const Posted posted{msg.message, msg.wParam, msg.lParam};
        if (posted == stop) return received;
        received.push_back(posted);
      }
      const DWORD spent = ::GetTickCount() - start;
      if (spent >= milliseconds) return received;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_POSTMESSAGE);
    }
  }

 private:
  static constexpr char kClassName[] = "KavoSimulatedMouseListener";
  kavo::win32::UniqueWindow window_;
};

class MonitorMessagesTest : public MouseFolderTest {
 protected:
  // Runs the commands with kavo-sim, then a marker, and returns what the window got before the marker.
  std::vector<Posted> Step(const std::vector<std::string>& commands) {
    for (const std::string& command : commands) SimOk(command);
    const LPARAM marker = ++markers_;
    SimOk("event " + std::to_string(kMarkerClass) + " " + std::to_string(marker));
    std::vector<Posted> received = window_.Until(Event(kMarkerClass, marker), 10000);
    return received;
  }

  ListenerWindow window_;
  LPARAM markers_ = 0;
};

// Slot order; input k is slot k-1, or slot k+6 while input 4 (Altlayer) is held.
constexpr std::uint8_t kLayout[14] = {
    5,   // input 1: key shortcut
    48,  // input 2: macro
    15,  // input 3: Quicklaunch
    65,  // input 4: Altlayer
    68,  // input 5: Dualwheel DPI
    9,   // input 6: Tilt Left
    10,  // input 7: Tilt Right
    35,  // input 1 in the Altlayer layer: Play/Pause
    16,  // input 2: Profile Cycle
    20,  // input 3: DPI Cycle
    0,   // input 4: not available
    1,   // input 5: Click
    38,  // input 6: Windows Volume Up
    17,  // input 7: Profile Up
};

TEST_F(MonitorMessagesTest, InputsMadeWithTheToolArePostedToTheWindow) {
  ASSERT_NE(window_.get(), nullptr);
  ASSERT_NE(openFeatureDevice_(), 0);
  // Every profile gets the layout, so that the profile steps keep it.
  for (std::uint8_t profile = 0; profile < 5; ++profile) {
    Bytes report = {7, 19, profile};
    for (int slot : {0, 1, 2, 5, 6, 7, 8, 9, 12, 13, 3, 4, 10, 11}) report.push_back(kLayout[slot]);
    unsigned sum = 0;
    for (std::uint8_t b : report) sum += b;
    report.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    report.push_back(static_cast<std::uint8_t>(sum >> 8));
    ASSERT_TRUE(Set(report));
  }
  ASSERT_NE(openDevMonitor_(window_.get(), kEventMessage, kPresenceMessage), 0);

  struct Case {
    std::vector<std::string> commands;
    std::vector<Posted> posted;
  };
  const Case cases[] = {
      {{"click 1"}, {Event(0x5000, 0x0001), Event(0x5000, 0x0101)}},
      {{"click 2"}, {Event(0x4000, 0x0002), Event(0x4000, 0x0102)}},
      {{"press 3", "release 3"}, {Event(0x6000, 0x0003), Event(0x6000, 0x0103)}},
      {{"click 6", "click 7"}, {Event(0x1000, 255), Event(0x1000, 1)}},
      {{"click 5", "press 4"}, {}},
      {{"click 1", "click 3", "click 5"}, {Event(0xF000, 0x0023), Event(0xF000, 0x0123), Event(0xB000, 3)}},
      // Pressed in the Altlayer layer, released after it: the release names the same slot.
      {{"press 1", "release 4", "release 1"}, {Event(0xF000, 0x0023), Event(0xF000, 0x0123)}},
      {{"press 5", "click 6", "click 6", "release 5"}, {Event(0xB000, 4)}},
      {{"press 4", "click 7", "click 2", "release 4"}, {Event(0x3000, 2), Event(0x3000, 3)}},
      {{"battery-low", "config-button", "event 0x7F00 0xFFFF"},
       {Event(0x7000, 1), Event(0xA000, 1), Event(0x7F00, 0xFFFF)}},
      {{"unplug", "plug"}, {Presence(0), Presence(1)}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Step(cases[i].commands), cases[i].posted) << "step " << i;
  }

  const std::vector<std::string> dump = Dump();
  ASSERT_GE(dump.size(), 7u);
  EXPECT_EQ(dump[0], "active 2") << "the mouse changed its own profile";
  EXPECT_EQ(dump[5], "profile 0 settings 1 5 5 4 4 1 1 0") << "and the resolution of profile 0";
}

TEST_F(MonitorMessagesTest, ClosingTheMonitorStopsThePosting) {
  ASSERT_NE(openDevMonitor_(window_.get(), kEventMessage, kPresenceMessage), 0);
  EXPECT_EQ(Step({"config-button"}), (std::vector<Posted>{Event(0xA000, 1)}));
  closeDevMonitor_();
  SimOk("config-button");
  SimOk("unplug");
  EXPECT_EQ(window_.Until(Event(0, 0), 500), std::vector<Posted>{});

  // Opened again, it posts again, and unloading afterwards is clean.
  ASSERT_NE(openDevMonitor_(window_.get(), kEventMessage, kPresenceMessage), 0);
  EXPECT_EQ(Step({"plug"}), (std::vector<Posted>{Presence(1)}));
  closeDevMonitor_();
  Unload();
  EXPECT_EQ(::GetModuleHandleA(folder_.File("Kelsor.dll").c_str()), nullptr);
}

TEST_F(MonitorMessagesTest, AnOpenMonitorKeepsTheLibraryLoadedUntilItIsClosed) {
  ASSERT_NE(openDevMonitor_(window_.get(), kEventMessage, kPresenceMessage), 0);
  const HMODULE loaded = library_.get();
  Unload();
  // The delivery thread still runs the library's code, so the library stays and keeps posting.
  EXPECT_EQ(::GetModuleHandleA(folder_.File("Kelsor.dll").c_str()), loaded);
  EXPECT_EQ(Step({"battery-low"}), (std::vector<Posted>{Event(0x7000, 1)}));
  Load();
  closeDevMonitor_();
  Unload();
  EXPECT_EQ(::GetModuleHandleA(folder_.File("Kelsor.dll").c_str()), nullptr);
}

}  // namespace
}  // namespace kavo::sim::wine_test
