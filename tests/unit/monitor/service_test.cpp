#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "monitor/feature_reports.h"
#include "monitor/service.h"
#include "monitor/service_messages.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/language.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_device.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_service_ports.h"
#include "tests/support/memory_file_system.h"

namespace kavo::monitor {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";
constexpr std::uintptr_t kWindow = 0x1234;
constexpr int kEnglishUs = 0x0409;
constexpr int kGermanGermany = 0x0407;

class ServiceTest : public ::testing::Test {
 protected:
  ServiceTest() {
    for (int p = 0; p < kProfileCount; ++p) {
      for (int i = 0; i < 8; ++i) device.settings[p][i] = static_cast<std::uint8_t>(1 + (p + i) % 3);
      for (int b = 0; b < kButtonSlotCount; ++b) device.buttons[p][b] = static_cast<std::uint8_t>(1 + (p * 3 + b) % 20);
    }
    device.activeProfile = 3;
    // A program folder as installed: the default settings in their files.
    auto defaults = std::make_unique<SettingsRecord>();
    ClearRecord(*defaults);
    ResetToDefaults(*defaults, LanguageNumber::kEnglish);
    settings.WriteAll(*defaults);
    installed = files.files;
  }

  std::unique_ptr<MonitorService> MakeService() {
    ServicePorts ports{device, clock, settings, pointer, block,      desktop, shell,   window,
                       debug,  input, layout,   timeline, macroQueue, players, players, processes, kFolder};
    return std::make_unique<MonitorService>(ports, registry.OpenOrCreate("Control Panel\\Mouse"));
  }

  IniFile Config() { return IniFile(files, std::string(kFolder) + "config.ini"); }
  int DeviceKey() { return Config().ReadInt("Setting", "Device", -1); }
  bool Logged(const std::string& entry) const { return std::count(log.begin(), log.end(), entry) > 0; }
  // The position of an entry in the log; fails the test when it is missing.
  std::size_t Position(const std::string& entry) const {
    auto found = std::find(log.begin(), log.end(), entry);
    EXPECT_NE(found, log.end()) << entry;
    return static_cast<std::size_t>(found - log.begin());
  }
  // Starts a service over the files as they are, with the mouse as it is.
  std::unique_ptr<MonitorService> Started(bool openConfiguration = false) {
    auto service = MakeService();
    service->LoadSettings(kEnglishUs);
    service->PublishRecord();
    service->StartDevice(kWindow, openConfiguration);
    return service;
  }
  // Ctrl+A on the first button of profile 0, fetched by the service and pressed on the mouse.
  void HoldShortcut(MonitorService& service) {
    ClearRecord(block.bytes);
    block.bytes.CurrentProfile = 0;
    MacroKeyInfo& entry = block.bytes.profiles[0].buttons[0];
    entry.function = kFunctionKeyShortcut;
    entry.events[0] = MacroEvent{4, 0x04, 0};  // device key A, Ctrl
    service.OnFetchRecord();
    service.OnDeviceMessage(0x5000, 0x0001);
    ASSERT_TRUE(Logged("key 17 down scan 29"));
    ASSERT_TRUE(Logged("key 65 down scan 30"));
  }
  // What the device thread would do with the commands posted to it.
  void RunPostedCommands(MonitorService& service) {
    std::vector<int> commands;
    commands.swap(window.commands);
    for (int command : commands) service.RunDeviceCommand(command);
  }

  void CopyRecordInto(MonitorService& service, SettingsRecord& record) {
    auto copy = std::make_unique<SettingsRecord>();
    service.CopyRecord(*copy);
    record = *copy;
  }
  // Work of another thread (a message from another program, a button event) while this thread waits a
  // second at most; true when it was done by then. Work still held up is joined by JoinBeside, once
  // whatever held it has let go.
  bool DoneBesideWithinASecond(std::function<void()> work) {
    auto done = std::make_shared<std::promise<void>>();
    auto future = done->get_future();
    beside.emplace_back([work, done] {
      work();
      done->set_value();
    });
    return future.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
  }
  void JoinBeside() {
    for (auto& thread : beside) thread.join();
    beside.clear();
  }

  // True when every slot file holds what was installed.
  bool SlotFilesAsInstalled() {
    for (int slot = 0; slot < kProfileCount; ++slot) {
      if (files.files[settings.SlotPath(slot)] != installed[settings.SlotPath(slot)]) return false;
    }
    return true;
  }

  test::EventLog log;
  test::MemoryFileSystem files;
  std::map<std::string, std::string> installed;
  IniFileAccess profiles{files};
  test::FakeRegistry registry;
  SettingsFiles settings{kFolder, profiles, files, registry};
  test::FakeClock clock;
  test::FakeDevice device{&clock};
  test::RecordingPointerSystem pointer;
  test::FakeRecordBlock block{log};
  test::FakeDesktop desktop{log};
  test::FakeShell shell{log};
  test::FakeServiceWindow window{log};
  test::FakeInputSink input{log};
  test::FakeKeyboardLayout layout = test::UsLayout();
  test::FakeTimeline timeline;
  test::FakeMacroQueue macroQueue;
  test::FakeHostFunctions players{log};
  test::FakeProcessInfo processes;
  test::FakeDebugOutput debug;
  std::vector<std::thread> beside;
};

TEST_F(ServiceTest, StartUpFollowsTheMouse) {
  struct Case {
    bool attached, openConfiguration;
    bool timersAndTray, optionStarted;
    int deviceKey;
    Presence presence;
  };
  const Case cases[] = {
      {true, false, true, false, 1, Presence::Present},
      {true, true, true, true, 1, Presence::Present},
      {false, false, false, false, 0, Presence::NotSeen},
      {false, true, false, false, 0, Presence::NotSeen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("attached ") + (c.attached ? "yes" : "no") + ", flag " + (c.openConfiguration ? "1" : "none"));
    log.clear();
    window.timers.clear();
    window.trayIcon = false;
    window.watchingForeground = false;
    device.attached = c.attached;
    auto service = Started(c.openConfiguration);

    EXPECT_EQ(service->transfer().presence(), c.presence);
    EXPECT_EQ(window.trayIcon, c.timersAndTray);
    EXPECT_EQ(window.watchingForeground, c.timersAndTray) << "the foreground is watched as long as timer 500 runs";
    const std::map<int, int> timers = c.timersAndTray ? std::map<int, int>{{500, 2000}, {502, 200}} : std::map<int, int>{};
    EXPECT_EQ(window.timers, timers);
    EXPECT_EQ(Logged("open C:\\Kavo\\KavoOption.exe"), c.optionStarted);
    EXPECT_EQ(DeviceKey(), c.deviceKey);
    EXPECT_TRUE(window.commands.empty()) << "the first read waits for its timer";
    // The on-screen display starts last, after the record was published.
    EXPECT_EQ(log.back(), "open C:\\Kavo\\KavoOSD.exe");
    EXPECT_LT(Position("publish"), Position("open C:\\Kavo\\KavoOSD.exe"));
  }
  EXPECT_EQ(device.LibraryCalls().front(), "OpenDevMonitor 4660 1325 1326");
}

TEST_F(ServiceTest, LoadingTakesTheFilesAndTheSystemLanguage) {
  files.files.erase(settings.ConfigPath());
  Config().WriteInt("Setting", "CurrentProfile", 2);
  auto service = MakeService();
  service->LoadSettings(kGermanGermany);
  ASSERT_TRUE(service->PublishRecord());
  EXPECT_EQ(+block.bytes.CurrentProfile, 2);
  EXPECT_EQ(+block.bytes.QuickHelpLan, LanguageNumber::kGerman) << "no language in the files: the system's";

  Config().WriteInt("Setting", "QuickHelpLan", 8);
  service->LoadSettings(kGermanGermany);
  service->PublishRecord();
  EXPECT_EQ(+block.bytes.QuickHelpLan, 8);

  block.exists = false;
  EXPECT_FALSE(service->PublishRecord()) << "without a block the service goes on unpublished";
}

TEST_F(ServiceTest, OpeningTheConfigurationBringsARunningOneForward) {
  auto service = MakeService();
  service->OnCustomizer();
  EXPECT_EQ(log, (test::EventLog{"open C:\\Kavo\\KavoOption.exe"}));
  EXPECT_EQ(debug.lines, (std::vector<std::string>{"CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd==NULL\n"}));

  log.clear();
  debug.lines.clear();
  desktop.windows.insert(kOptionWindowTitle);
  service->OnCustomizer();
  EXPECT_EQ(log, (test::EventLog{"front VELMAR Kavo Mouse Option"}));
  EXPECT_EQ(debug.lines, (std::vector<std::string>{"CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd!=NULL\n"}));
}

TEST_F(ServiceTest, TrayIconAndMenu) {
  struct Case {
    const char* name;
    std::function<void(MonitorService&)> act;
    test::EventLog effects;
    std::vector<std::string> traces;
  };
  const Case cases[] = {
      {"left press", [](MonitorService& s) { s.OnSystrayNotify(0x0201); }, {"popup forward"}, {}},
      {"double click", [](MonitorService& s) { s.OnSystrayNotify(0x0203); }, {"open C:\\Kavo\\KavoOption.exe"},
       {"OnSystrayNotify WM_LBUTTONDBLCLK\n", "CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd==NULL\n"}},
      {"right press", [](MonitorService& s) { s.OnSystrayNotify(0x0204); }, {"tray menu"}, {}},
      {"other mouse messages", [](MonitorService& s) { s.OnSystrayNotify(0x0200); s.OnSystrayNotify(0x0202); }, {}, {}},
      {"Configuration", [](MonitorService& s) { s.OnMenuCommand(6001); }, {"open C:\\Kavo\\KavoOption.exe"},
       {"CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd==NULL\n"}},
      {"Exit", [](MonitorService& s) { s.OnMenuCommand(6002); }, {"close"}, {}},
      {"another command", [](MonitorService& s) { s.OnMenuCommand(6003); }, {}, {}},
  };
  auto service = MakeService();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    debug.lines.clear();
    c.act(*service);
    EXPECT_EQ(log, c.effects);
    EXPECT_EQ(debug.lines, c.traces);
  }
}

TEST_F(ServiceTest, ARestartedShellGetsTheTrayIconWhileTheMouseIsPresent) {
  struct Case {
    const char* name;
    bool attachedAtStart;
    std::function<void(MonitorService&)> before;
    test::EventLog effects;
  };
  const Case cases[] = {
      {"present since start", true, [](MonitorService&) {}, {"tray add"}},
      {"never seen", false, [](MonitorService&) {}, {}},
      {"removed", true, [](MonitorService& s) { s.OnPresenceMessage(0); }, {}},
      {"removed and back", true, [](MonitorService& s) { s.OnPresenceMessage(0); s.OnPresenceMessage(1); },
       {"tray add"}},
      {"arrived after a start without it", false, [](MonitorService& s) { s.OnPresenceMessage(1); }, {"tray add"}},
      // A console disconnect leaves the icon in place, so it comes back with the shell.
      {"console disconnected", true, [](MonitorService& s) { s.OnConsoleDisconnect(); }, {"tray add"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device.attached = c.attachedAtStart;
    auto service = Started();
    c.before(*service);
    log.clear();
    service->OnTaskbarCreated();
    EXPECT_EQ(log, c.effects);
    window.commands.clear();
  }
}

TEST_F(ServiceTest, FirstReadSavesPublishesAndAnnounces) {
  desktop.windows.insert(kOptionWindowTitle);
  auto service = Started();
  log.clear();
  service->OnTimer(kTimerFirstRead);
  EXPECT_EQ(window.timers.count(kTimerFirstRead), 0u) << "the first read runs once";
  EXPECT_EQ(window.commands, std::vector<int>{kCommandReadAll});
  RunPostedCommands(*service);

  EXPECT_EQ(Config().ReadInt("Setting", "FWVersion", -1), 141);
  EXPECT_EQ(+block.bytes.CurrentProfile, 3);
  EXPECT_EQ(+block.bytes.MouseType, 1);
  auto saved = std::make_unique<SettingsRecord>();
  ClearRecord(*saved);
  settings.ReadAll(*saved);
  for (int p = 0; p < kProfileCount; ++p) {
    SCOPED_TRACE(p);
    // The registry has the last word on the active profile's Windows-wide values; all else is compared.
    const std::size_t from = p == 3 ? offsetof(ProfileRecord, Orientation) : 0;
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&saved->profiles[p]) + from,
                          reinterpret_cast<const char*>(&block.bytes.profiles[p]) + from, sizeof(ProfileRecord) - from),
              0)
        << "the files hold what was published";
  }
  EXPECT_EQ(+saved->CurrentProfile, 3);
  // Published before the announcement, so the configuration program fetches fresh data.
  EXPECT_LT(Position("publish"), Position("post 1254 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_EQ(device.hostActive, 1);
}

TEST_F(ServiceTest, FailedReadKeepsFilesBlockAndOptionAsTheyWere) {
  desktop.windows.insert(kOptionWindowTitle);
  device.badChecksum.insert({kReportButtons, 4});
  auto service = Started();
  const int replacementsBefore = files.replaceCount;
  log.clear();
  service->OnTimer(kTimerFirstRead);
  RunPostedCommands(*service);
  EXPECT_FALSE(Logged("publish"));
  EXPECT_FALSE(Logged("post 1254 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_TRUE(SlotFilesAsInstalled());
  EXPECT_EQ(files.replaceCount, replacementsBefore + 1) << "only the firmware version is written";
  EXPECT_EQ(Config().ReadInt("Setting", "FWVersion", -1), 141);
}

TEST_F(ServiceTest, RemovalDuringTheReadStopsItAndArrivalReadsAgain) {
  desktop.windows.insert(kOptionWindowTitle);
  auto service = Started();
  HoldShortcut(*service);
  service->OnTimer(kTimerFirstRead);
  bool removed = false;
  clock.OnSleep([&](int now) {
    if (!removed && now >= 2000) {
      removed = true;
      service->OnPresenceMessage(0);
    }
  });
  log.clear();
  RunPostedCommands(*service);
  EXPECT_TRUE(removed);
  EXPECT_FALSE(Logged("publish"));
  EXPECT_FALSE(Logged("post 1254 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_TRUE(SlotFilesAsInstalled()) << "nothing saved";
  EXPECT_LT(clock.now(), 3000) << "stopped at the next pause";
  EXPECT_EQ(service->transfer().presence(), Presence::Removed);
  EXPECT_EQ(DeviceKey(), 0);
  EXPECT_FALSE(window.trayIcon);
  EXPECT_EQ(window.timers.count(kTimerGameCheck), 0u);
  EXPECT_TRUE(Logged("post 16 0 0 to VELMAR Kavo Mouse Option"));
  // The held shortcut lets go before anything else: its key, then Ctrl.
  EXPECT_LT(Position("key 65 up scan 30"), Position("key 17 up scan 29"));
  EXPECT_LT(Position("key 17 up scan 29"), Position("tray remove"));
  EXPECT_EQ(device.LibraryCalls().back(), "CloseFeatureDevice");

  // Plugged again: the mouse settles, then it is read in full.
  clock.OnSleep(nullptr);
  log.clear();
  const int before = clock.now();
  service->OnPresenceMessage(1);
  EXPECT_EQ(clock.now() - before, 5000);
  EXPECT_EQ(service->transfer().presence(), Presence::Present);
  EXPECT_EQ(log, (test::EventLog{"command 2", "tray add", "timer 500 2000", "watch foreground"}));
  EXPECT_EQ(DeviceKey(), 1);
  RunPostedCommands(*service);
  EXPECT_TRUE(Logged("post 1254 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_FALSE(SlotFilesAsInstalled()) << "the mouse's profiles saved";
}

TEST_F(ServiceTest, PresenceTransitions) {
  desktop.windows.insert(kOptionWindowTitle);
  auto service = Started();
  log.clear();
  service->OnPresenceMessage(1);
  service->OnPresenceMessage(7);
  EXPECT_TRUE(log.empty()) << "arrival while present and unknown presence values do nothing";

  service->OnPresenceMessage(0);
  service->OnPresenceMessage(0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "post 16 0 0 to VELMAR Kavo Mouse Option"), 2)
      << "every removal runs its steps";
  EXPECT_EQ(std::count(log.begin(), log.end(), "tray remove"), 2);

  // A device command left in the queue does nothing once the mouse is gone.
  const std::size_t callsBefore = device.Calls().size();
  service->RunDeviceCommand(kCommandReadAll);
  EXPECT_EQ(device.Calls().size(), callsBefore);
}

TEST_F(ServiceTest, ApplyWritesWhatTheFlagsAskAndTellsTheOnScreenDisplay) {
  desktop.windows.insert(kOsdWindowTitle);
  OSDSetting osd{};
  osd.switches[7] = 0x0001;  // bytes 28..31
  osd.switches[8] = 0x0BB8;  // bytes 32..35
  settings.WriteOSDSetting(osd);
  auto service = Started();
  struct Case {
    const char* name;
    std::uintptr_t wParam;
    bool attached;
    std::vector<std::uint8_t> writtenReportIds;
  };
  const Case cases[] = {
      {"changes", 0, true, {kReportActiveProfile, kReportSettings, kReportButtons}},
      {"reset", 1, true, {kReportFirmware}},
      {"unknown wParam applies the changes", 5, true, {kReportActiveProfile, kReportSettings, kReportButtons}},
      {"mouse away", 0, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    service->transfer().SetPresence(Presence::Present);
    HoldShortcut(*service);
    // Profile 1 gets a new resolution and profile 2 a new button; profile 3 carries a flag that is not 1.
    ClearRecord(block.bytes);
    block.bytes.CurrentProfile = 4;
    block.bytes.CurrentProfileChanged = 1;
    block.bytes.SettingsChanged[1] = 1;
    block.bytes.SettingsChanged[3] = 0x01010101;
    block.bytes.ButtonChanged[2][5] = 1;
    block.bytes.profiles[4].DbleClickSpeed = 640;
    service->transfer().SetPresence(c.attached ? Presence::Present : Presence::Removed);
    const std::size_t writesBefore = device.Writes().size();
    log.clear();
    pointer.calls.clear();
    service->OnApplyRecord(c.wParam);

    std::vector<std::uint8_t> ids;
    const auto writes = device.Writes();
    for (std::size_t i = writesBefore; i < writes.size(); ++i) ids.push_back(writes[i].bytes[0]);
    EXPECT_EQ(ids, c.writtenReportIds);
    ASSERT_FALSE(pointer.calls.empty());
    EXPECT_EQ(pointer.calls.front(), "double-click 640") << "the fetched profile's pointer settings";
    // The held shortcut is let go before the new record is taken.
    EXPECT_LT(Position("key 17 up scan 29"), Position("fetch"));
    EXPECT_TRUE(Logged("post 1326 0 " + std::to_string(0x00010BB8) + " to VELMAR Kavo Mouse OSD"));
  }
}

TEST_F(ServiceTest, FetchMessages) {
  auto service = Started();
  ClearRecord(block.bytes);
  block.bytes.CurrentProfile = 1;
  block.bytes.profiles[1].DbleClickSpeed = 900;
  pointer.calls.clear();
  service->OnFetchRecord();
  EXPECT_TRUE(pointer.calls.empty()) << "1226 only fetches";
  SettingsRecord copy;
  service->CopyRecord(copy);
  EXPECT_EQ(+copy.profiles[1].DbleClickSpeed, 900);

  service->OnFetchAndApplyPointer();
  ASSERT_FALSE(pointer.calls.empty());
  EXPECT_EQ(pointer.calls.front(), "double-click 900");
  EXPECT_TRUE(device.Writes().empty()) << "neither writes to the mouse";
}

TEST_F(ServiceTest, TheGameInFrontSwitchesTheProfileHereAndInTheMouse) {
  desktop.windows.insert(kOptionWindowTitle);
  auto service = Started();
  HoldShortcut(*service);  // fetches a record with profile 0 current
  ClearRecord(block.bytes);
  block.bytes.CurrentProfile = 0;
  block.bytes.WindowsProfile = 0;
  CopyBounded(block.bytes.profiles[2].GameFile1, "C:\\Racing\\race.exe");
  block.bytes.profiles[2].DbleClickSpeed = 321;
  service->OnFetchRecord();
  processes.foreground = "RACE.EXE";
  log.clear();
  pointer.calls.clear();
  service->OnTimer(kTimerGameCheck);

  EXPECT_EQ(+block.bytes.CurrentProfile, 2);
  EXPECT_EQ(window.commands, std::vector<int>{kCommandWriteActiveProfile});
  ASSERT_FALSE(pointer.calls.empty());
  EXPECT_EQ(pointer.calls.front(), "double-click 321");
  EXPECT_EQ(registry.keys["Control Panel\\Mouse"]["DoubleClickSpeed"], "321");
  EXPECT_LT(Position("key 17 up scan 29"), Position("publish")) << "the held shortcut is let go first";
  EXPECT_LT(Position("publish"), Position("post 1255 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_EQ(Config().ReadInt("Setting", "CurrentProfile", -1), 0) << "a game switch is not saved";

  // The game stays in front: nothing more. It leaves while the configuration is open: nothing either.
  log.clear();
  service->OnTimer(kTimerGameCheck);
  processes.foreground = "explorer.exe";
  service->OnTimer(kTimerGameCheck);
  EXPECT_TRUE(log.empty());
  // The configuration closed: the profile for Windows comes back, in the mouse too.
  desktop.windows.clear();
  window.commands.clear();
  service->OnTimer(kTimerGameCheck);
  EXPECT_EQ(+block.bytes.CurrentProfile, 0);
  EXPECT_EQ(window.commands, std::vector<int>{kCommandWriteActiveProfile});
  service->RunDeviceCommand(kCommandWriteActiveProfile);
  EXPECT_EQ(device.activeProfile, 0);
}

// Foreground notifications on a simulated time line, with timer 500 ticking every two seconds from the
// start: the looks at the program in front they cause, and when.
TEST_F(ServiceTest, ForegroundChangesSettleIntoOneLookEach) {
  struct Case {
    const char* what;
    std::vector<int> changes;  // ms after the start
    int until;
    std::vector<int> looks;
  };
  const Case cases[] = {
      {"nothing changes: the timer alone", {}, 4100, {2000, 4000}},
      {"one change: a look right after it", {300}, 1999, {310}},
      {"a burst of changes: one look, after the last of them", {300, 302, 305, 309}, 1999, {310}},
      {"changes apart: a look each", {300, 320, 900}, 1999, {310, 330, 910}},
      {"a change just after a look starts the next", {300, 311}, 1999, {310, 321}},
      {"the timer's look decides a change just before it", {1995}, 2100, {2000}},
      {"a change after the timer's look gets its own", {1995, 2001}, 2100, {2000, 2011}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window.timers.clear();
    auto service = Started();
    ASSERT_TRUE(window.watchingForeground);
    std::vector<int> looks;
    int now = 0, settleStarted = 0, nextTick = window.timers.at(kTimerGameCheck);
    std::size_t next = 0;
    const auto settleStarts = [&] { return std::count(log.begin(), log.end(), "timer 503 10"); };
    const auto step = [&](const std::function<void()>& event) {
      const int before = processes.looks;
      const auto startsBefore = settleStarts();
      event();
      if (settleStarts() != startsBefore) settleStarted = now;  // started again, a timer starts afresh
      if (processes.looks != before) looks.push_back(now);
    };
    for (;;) {
      const int change = next < c.changes.size() ? c.changes[next] : INT_MAX;
      const auto settle = window.timers.find(kTimerForegroundSettle);
      const int settled = settle == window.timers.end() ? INT_MAX : settleStarted + settle->second;
      now = std::min({change, settled, nextTick});
      if (now > c.until) break;
      if (now == change) {
        ++next;
        step([&] { service->OnForegroundChanged(); });
      } else if (now == settled) {
        step([&] { service->OnTimer(kTimerForegroundSettle); });
        EXPECT_EQ(window.timers.count(kTimerForegroundSettle), 0u) << "the settle timer fires once";
      } else {
        nextTick += window.timers.at(kTimerGameCheck);
        step([&] { service->OnTimer(kTimerGameCheck); });
      }
    }
    EXPECT_EQ(looks, c.looks);
  }
}

TEST_F(ServiceTest, ForegroundChangesAreWatchedWhileTheGameChecksRun) {
  // No mouse: neither the timer nor the notifications.
  device.attached = false;
  auto absent = Started();
  EXPECT_FALSE(window.watchingForeground);
  absent->OnForegroundChanged();
  EXPECT_EQ(window.timers.count(kTimerForegroundSettle), 0u);
  absent->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(processes.looks, 0);
  absent.reset();

  device.attached = true;
  auto service = Started();
  EXPECT_TRUE(window.watchingForeground);
  // Removed while a change settles: the look is dropped with the timer, and later changes ask for none.
  service->OnForegroundChanged();
  ASSERT_EQ(window.timers.count(kTimerForegroundSettle), 1u);
  service->OnPresenceMessage(0);
  EXPECT_FALSE(window.watchingForeground);
  EXPECT_EQ(window.timers.count(kTimerForegroundSettle), 0u);
  EXPECT_EQ(window.timers.count(kTimerGameCheck), 0u);
  service->OnTimer(kTimerForegroundSettle);  // one already queued
  service->OnForegroundChanged();
  EXPECT_EQ(window.timers.count(kTimerForegroundSettle), 0u);
  EXPECT_EQ(processes.looks, 0);

  // Back again: both run, and a change looks at once.
  service->OnPresenceMessage(1);
  EXPECT_TRUE(window.watchingForeground);
  service->OnForegroundChanged();
  service->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(processes.looks, 1);

  // The console comes back while a change settles: the look it waits for still runs.
  service->OnForegroundChanged();
  service->OnConsoleConnect();
  service->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(processes.looks, 2);

  service->BeginShutdown();
  EXPECT_FALSE(window.watchingForeground);
  service->OnForegroundChanged();
  service->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(processes.looks, 2);
}

TEST_F(ServiceTest, AForegroundChangeSwitchesAsTheTimerWould) {
  auto service = Started();
  ClearRecord(block.bytes);
  block.bytes.CurrentProfile = 0;
  block.bytes.WindowsProfile = 0;
  CopyBounded(block.bytes.profiles[2].GameFile0, "game.exe");
  service->OnFetchRecord();
  window.commands.clear();
  processes.foreground = "GAME.exe";
  service->OnForegroundChanged();
  service->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(+block.bytes.CurrentProfile, 2);
  EXPECT_EQ(window.commands, std::vector<int>{kCommandWriteActiveProfile});
  processes.foreground = "notepad.exe";
  service->OnForegroundChanged();
  service->OnTimer(kTimerForegroundSettle);
  EXPECT_EQ(+block.bytes.CurrentProfile, 0);
}

TEST_F(ServiceTest, PointerSettingsApplyWithoutTheRegistryKey) {
  registry.BlockKey("Control Panel\\Mouse");
  Config().WriteInt("Setting", "CurrentProfile", 0);
  auto service = MakeService();
  service->LoadSettings(kEnglishUs);
  service->ApplyPointerSettings();
  ASSERT_EQ(pointer.calls.size(), 5u);
  EXPECT_EQ(pointer.calls[1], "acceleration 0 0 0");
}

TEST_F(ServiceTest, ConsoleConnectAndDisconnect) {
  struct Case {
    bool attached;
    test::EventLog connectLog;
  };
  const Case cases[] = {
      {true, {"timer 500 2000", "watch foreground", "command 2", "tray add"}},
      {false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attached);
    device.attached = true;
    auto service = Started();
    const Presence before = service->transfer().presence();
    device.attached = c.attached;
    Config().WriteInt("Setting", "Device", 7);
    log.clear();
    service->OnConsoleDisconnect();
    EXPECT_EQ(DeviceKey(), 0);
    EXPECT_EQ(log, (test::EventLog{"kill timer 102", "kill timer 101"})) << "what is held goes; the tray icon stays";
    log.clear();
    const auto calls = device.LibraryCalls();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"CloseDevMonitor", "CloseFeatureDevice"}));

    service->OnConsoleConnect();
    EXPECT_EQ(log, c.connectLog);
    EXPECT_EQ(DeviceKey(), c.attached ? 1 : 0);
    EXPECT_EQ(device.LibraryCalls().back(), "OpenFeatureDevice");
    EXPECT_EQ(service->transfer().presence(), before) << "console changes leave the presence alone";
    window.commands.clear();
  }
}

TEST_F(ServiceTest, RemovalAndConsoleDisconnectStopAPlayingMacro) {
  struct Case {
    const char* name;
    std::function<void(MonitorService&)> event;
  };
  const Case cases[] = {
      {"removal", [](MonitorService& service) { service.OnPresenceMessage(0); }},
      {"console disconnect", [](MonitorService& service) { service.OnConsoleDisconnect(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto service = Started();
    // Shift held, then A typed over and over: a macro that would run for seconds.
    ClearRecord(block.bytes);
    block.bytes.CurrentProfile = 0;
    MacroKeyInfo& entry = block.bytes.profiles[0].buttons[0];
    entry.function = kFunctionMacro;
    entry.repeatCount = 255;
    entry.eventCount = 3;
    entry.events[0] = MacroEvent{225, 1, 10};
    entry.events[1] = MacroEvent{4, 1, 10};
    entry.events[2] = MacroEvent{4, 2, 10};
    service->OnFetchRecord();
    service->OnDeviceMessage(0x4000, 0x0001);
    ASSERT_EQ(macroQueue.posted, 1);
    macroQueue.posted = 0;
    log.clear();
    timeline.now = 0;
    timeline.atTime = std::make_pair(std::int64_t{45000}, [&] { c.event(*service); });
    service->PlayMacro();  // as the macro thread, with the event arriving on the window thread meanwhile
    EXPECT_LE(std::count(log.begin(), log.end(), "key 65 down scan 30"), 2) << "the macro stopped";
    const auto lastShift = std::find_if(log.rbegin(), log.rend(),
                                        [](const std::string& line) { return line.rfind("key 16 ", 0) == 0; });
    ASSERT_NE(lastShift, log.rend());
    EXPECT_EQ(*lastShift, "key 16 up scan 42") << "Shift is let go";
  }
}

TEST_F(ServiceTest, TheRecordIsFreeWhileThePointerSettingsGoOut) {
  // The system's broadcast of a pointer change takes messages sent to the service meanwhile: a fetch
  // must get through, not wait for a lock the broadcasting call holds.
  auto service = Started();
  CopyRecordInto(*service, block.bytes);
  block.bytes.CurrentProfile = 1;
  std::vector<bool> fetched;
  pointer.onCall = [&] {
    if (fetched.empty()) fetched.push_back(DoneBesideWithinASecond([&] { service->OnFetchRecord(); }));
  };
  service->OnFetchAndApplyPointer();
  JoinBeside();
  EXPECT_EQ(fetched, std::vector<bool>{true});
}

TEST_F(ServiceTest, ButtonEventsDoNotWaitForAStatusPoll) {
  auto service = Started();
  HoldShortcut(*service);
  service->OnDeviceMessage(0x5000, 0x0101);
  log.clear();
  device.statuses = {3, 3, 3, 1};  // a busy mouse: seconds of polling
  std::vector<bool> pressed;
  bool asked = false;  // the press sleeps between its keys too
  clock.OnSleep([&](int) {
    if (asked) return;
    asked = true;
    pressed.push_back(DoneBesideWithinASecond([&] { service->OnDeviceMessage(0x5000, 0x0001); }));
  });
  service->RunDeviceCommand(kCommandWriteActiveProfile);
  JoinBeside();
  EXPECT_EQ(pressed, std::vector<bool>{true}) << "the press waited for the poll";
  EXPECT_TRUE(Logged("key 65 down scan 30"));
}

TEST_F(ServiceTest, AnApplyDuringAReadIsNotUndoneByIt) {
  // The configuration program's record is fetched while the device thread reads the mouse; the read of
  // what it changed comes after the fetch and before the window thread writes it into the mouse.
  struct Case {
    const char* name;
    int fetchAt;  // ms into the read: the active profile is read at 500, profile 2's settings at 2200
    std::function<void(SettingsRecord&)> change;
    std::function<void(const SettingsRecord& kept)> expect;
  };
  const Case cases[] = {
      {"a profile's settings", 2000,
       [](SettingsRecord& record) {
         record.profiles[2].Sensitivity_X = 9;
         record.SettingsChanged[2] = 1;
       },
       [&](const SettingsRecord& kept) {
         EXPECT_EQ(kept.profiles[2].Sensitivity_X, 9);
         EXPECT_EQ(block.bytes.profiles[2].Sensitivity_X, 9);
         const SettingsReport written = EncodeSettings(2, kept.profiles[2]);
         EXPECT_EQ(std::memcmp(device.settings[2], written.data() + 3, 8), 0) << "the mouse got the applied values";
         auto saved = std::make_unique<SettingsRecord>();
         ClearRecord(*saved);
         settings.ReadAll(*saved);
         EXPECT_EQ(saved->profiles[2].Sensitivity_X, 9);
       }},
      {"the current profile", 300,
       [](SettingsRecord& record) {
         record.CurrentProfile = 1;
         record.CurrentProfileChanged = 1;
       },
       [&](const SettingsRecord& kept) {
         EXPECT_EQ(+kept.CurrentProfile, 1);
         EXPECT_EQ(+block.bytes.CurrentProfile, 1);
         EXPECT_EQ(device.activeProfile, 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device.activeProfile = 3;
    auto service = Started();
    CopyRecordInto(*service, block.bytes);
    c.change(block.bytes);
    const int start = clock.now();
    bool fetched = false;
    clock.OnSleep([&](int now) {
      if (!fetched && now - start >= c.fetchAt) {
        fetched = true;
        service->OnFetchRecord();
      }
    });
    service->RunDeviceCommand(kCommandReadAll);
    clock.OnSleep(nullptr);
    ASSERT_TRUE(fetched);
    service->transfer().ApplyCommand(0);
    auto kept = std::make_unique<SettingsRecord>();
    service->CopyRecord(*kept);
    c.expect(*kept);
  }
}

TEST_F(ServiceTest, ARecordThatCannotBeTakenIsNotApplied) {
  auto service = Started();
  CopyRecordInto(*service, block.bytes);
  block.bytes.CurrentProfile = 2;
  service->OnFetchRecord();
  pointer.calls.clear();
  const std::size_t writesBefore = device.Writes().size();
  block.exists = false;  // as when the block's mutex is held by a program that hangs
  service->OnApplyRecord(0);
  service->OnFetchAndApplyPointer();
  EXPECT_TRUE(pointer.calls.empty());
  EXPECT_EQ(device.Writes().size(), writesBefore);
  EXPECT_FALSE(debug.lines.empty()) << "the refusal is traced";
}

TEST_F(ServiceTest, APublicationThatCannotTakeTheBlockIsTriedAgain) {
  auto service = Started();
  block.exists = false;
  service->SwitchProfile(2);
  block.exists = true;
  log.clear();
  service->OnTimer(kTimerGameCheck);
  EXPECT_EQ(std::count(log.begin(), log.end(), "publish"), 1);
  EXPECT_EQ(+block.bytes.CurrentProfile, 2);
  log.clear();
  service->OnTimer(kTimerGameCheck);
  EXPECT_FALSE(Logged("publish")) << "once published, not again";
}

TEST_F(ServiceTest, NoDeviceCommandRunsOnceShutdownBegan) {
  // A read queued behind the shutdown (the mouse came back just before it) must not run and end by
  // telling the mouse the host software is there.
  auto service = Started();
  service->BeginShutdown();
  const std::size_t callsBefore = device.Calls().size();
  service->RunDeviceCommand(kCommandReadAll);
  service->RunDeviceCommand(kCommandWriteActiveProfile);
  EXPECT_EQ(device.Calls().size(), callsBefore);
  EXPECT_EQ(device.hostActive, 0);
}

TEST_F(ServiceTest, ShutdownTellsTheMouseAndClosesTheWindowsAround) {
  desktop.windows = {kOptionWindowTitle, kOsdWindowTitle, "VELMAR Kavo Mouse CPU RAM"};
  auto service = Started();
  log.clear();
  service->BeginShutdown();
  EXPECT_EQ(log, (test::EventLog{"kill timer 102", "kill timer 101", "kill timer 500", "stop watching foreground",
                                 "kill timer 503", "kill timer 502",
                                 "post 16 0 0 to VELMAR Kavo Mouse Option",
                                 "post 16 0 0 to VELMAR Kavo Mouse OSD", "post 16 0 0 to VELMAR Kavo Mouse CPU RAM"}));
  EXPECT_EQ(device.hostActive, 0);
  service->CloseDevice();
  const auto calls = device.LibraryCalls();
  EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
            (std::vector<std::string>{"CloseDevMonitor", "CloseFeatureDevice"}));
}

TEST_F(ServiceTest, ShutdownStopsARunningRead) {
  auto service = Started();
  bool shutDown = false;
  clock.OnSleep([&](int now) {
    if (!shutDown && now >= 1000) {
      shutDown = true;
      service->BeginShutdown();
    }
  });
  service->RunDeviceCommand(kCommandReadAll);
  EXPECT_TRUE(shutDown);
  EXPECT_EQ(device.hostActive, 0) << "the mouse is left knowing the host software is gone";
  EXPECT_FALSE(Logged("post 1254 0 0 to VELMAR Kavo Mouse Option"));
  EXPECT_LT(clock.now(), 2500);
}

TEST(CommandLineTest, OnlyALeadingOneOpensTheConfiguration) {
  struct Case {
    const char* commandLine;
    bool open;
  };
  const Case cases[] = {{"1", true}, {"1 anything", true}, {"12", true}, {"", false},
                        {" 1", false}, {"0", false}, {"/1", false}, {nullptr, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(OpenConfigurationRequested(c.commandLine), c.open) << (c.commandLine ? c.commandLine : "(none)");
  }
}

TEST(CommandLineTest, ASecondStartHandsOnlyTheOpenRequestToTheRunningService) {
  struct Case {
    const char* commandLine;
    bool anotherRuns;
    InstanceStart expected;
  };
  const Case cases[] = {
      {"", false, InstanceStart::kRun},
      {"1", false, InstanceStart::kRun},  // the first service opens it itself once the mouse is found
      {nullptr, false, InstanceStart::kRun},
      {"", true, InstanceStart::kEnd},
      {nullptr, true, InstanceStart::kEnd},
      {"0", true, InstanceStart::kEnd},
      {" 1", true, InstanceStart::kEnd},
      {"1", true, InstanceStart::kHandOpenToRunning},
      {"1 more", true, InstanceStart::kHandOpenToRunning},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideInstanceStart(c.commandLine, c.anotherRuns), c.expected)
        << (c.commandLine ? c.commandLine : "(none)") << (c.anotherRuns ? ", another runs" : ", none runs");
  }
}

TEST(OnScreenSettingsParameterTest, TwoSixteenBitValuesFromTheRecord) {
  struct Case {
    std::int32_t at28, at32;
    std::intptr_t expected;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1, 3000, 0x00010BB8},
      {0x7FFF1234, 0x5555ABCD, 0x1234ABCD},  // only the low halves travel
      {0xFFFF, 0xFFFF, static_cast<std::intptr_t>(0xFFFFFFFFu)},
  };
  for (const Case& c : cases) {
    OSDSetting osd{};
    osd.switches[7] = c.at28;
    osd.switches[8] = c.at32;
    EXPECT_EQ(OnScreenSettingsParameter(osd), c.expected) << c.at28 << " " << c.at32;
  }
}

}  // namespace
}  // namespace kavo::monitor
