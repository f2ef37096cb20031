// KavoMonitor.exe run for real under Wine: from a fresh program folder with the simulated mouse beside it,
// watched through what it leaves for everyone else to see: the mouse's memory (kavo-sim dump), the settings
// files, the shared block, the messages it posts to windows titled like the configuration program and the
// on-screen display, the registry and the running system's pointer settings.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "outside/device-sim/win32/shared_mouse.h"
#include "settings/bounded_text.h"
#include "settings/settings_record.h"
#include "settings/win32/shared_block.h"
#include "tests/wine/recording_window.h"
#include "tests/wine/service_folder.h"
#include "tests/wine/service_session.h"

namespace kavo::wine_test {
namespace {

constexpr DWORD kExitTimeoutMs = 15000;
constexpr int kFirstProfileLine = 5;      // dump: active, firmware, pid, host-active, resets, then the profiles
constexpr std::size_t kDumpLines = 15;

// The device part of a profile as "kavo-sim dump" prints it.
std::string SettingsLine(int p, const ProfileRecord& profile) {
  std::string line = "profile " + std::to_string(p) + " settings";
  for (int value : {profile.XYSynchronous, profile.Sensitivity_X, profile.Sensitivity_Y, profile.Cpi_X, profile.Cpi_Y,
                    profile.LightSwitch, profile.LightType, profile.Orientation}) {
    line += " " + std::to_string(value);
  }
  return line;
}
std::string ButtonsLine(int p, const ProfileRecord& profile) {
  std::string line = "profile " + std::to_string(p) + " buttons";
  for (const auto& entry : profile.buttons) line += " " + std::to_string(entry.function);
  return line;
}

// The device part of every profile of record equals what the mouse holds.
void ExpectProfilesAsInMouse(const SettingsRecord& record, const std::vector<std::string>& dump, const char* where) {
  SCOPED_TRACE(where);
  ASSERT_EQ(dump.size(), kDumpLines);
  for (int p = 0; p < kProfileCount; ++p) {
    EXPECT_EQ(SettingsLine(p, record.profiles[p]), dump[kFirstProfileLine + 2 * p]);
    EXPECT_EQ(ButtonsLine(p, record.profiles[p]), dump[kFirstProfileLine + 2 * p + 1]);
  }
}

// Every change flag asks for a write.
void FlagEverything(SettingsRecord& record) {
  record.CurrentProfileChanged = 1;
  for (auto& flag : record.SettingsChanged) flag = 1;
  for (auto& profile : record.ButtonChanged) {
    for (auto& flag : profile) flag = 1;
  }
}

void SetRegistryValue(const char* key, const char* name, const char* value) {
  ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1)),
            ERROR_SUCCESS)
      << name;
}

// Removes the pointer values the service mirrors, so that those of the profile files stand when it loads them.
void RemovePointerValuesFromRegistry() {
  for (const char* name : {"DoubleClickSpeed", "MouseSensitivity", "MouseSpeed", "MouseThreshold1", "MouseThreshold2"}) {
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kMouseKey, name);
  }
  for (const char* name : {"WheelScrollLines", "WheelScrollChars"}) ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, name);
}

// The running system shows the values (the acceleration is checked on its own).
void ExpectPointerInSystem(const PointerState& state, const PointerValues& values) {
  ASSERT_TRUE(state.read) << "the pointer probe gave no answer";
  EXPECT_EQ(state.doubleClick, static_cast<unsigned>(values.doubleClick)) << state.Describe();
  EXPECT_EQ(state.speed, values.speed) << state.Describe();
  if (values.wheelPage) {
    // Wine keeps WHEEL_PAGESCROLL as the text "4294967295", and a process reading it afresh gets it clamped
    // to INT_MAX: either is one page per notch, no line count comes near.
    EXPECT_TRUE(state.wheelLines == WHEEL_PAGESCROLL || state.wheelLines == static_cast<unsigned>(INT_MAX))
        << state.Describe();
  } else {
    EXPECT_EQ(state.wheelLines, static_cast<unsigned>(values.wheelLines)) << state.Describe();
  }
  EXPECT_EQ(state.wheelChars, static_cast<unsigned>(values.wheelChars)) << state.Describe();
}
bool PointerShows(const PointerValues& values) {
  const PointerState state = ServiceFolder::Pointer();
  return state.read && state.doubleClick == static_cast<unsigned>(values.doubleClick) && state.speed == values.speed &&
         state.wheelChars == static_cast<unsigned>(values.wheelChars);
}

// A mouse whose profiles differ from the factory's and from each other, profile `active` selected.
void DistinctProfiles(sim::MouseMemory& memory, int active) {
  for (int p = 0; p < kProfileCount; ++p) {
    auto& profile = memory.profiles[p];
    const std::uint8_t settings[sim::kDeviceSettingCount] = {
        static_cast<std::uint8_t>(p % 2),       static_cast<std::uint8_t>(p + 2),
        static_cast<std::uint8_t>(9 - p),       static_cast<std::uint8_t>(p % 4 + 1),
        static_cast<std::uint8_t>(4 - p % 4),   static_cast<std::uint8_t>((p + 1) % 2),
        static_cast<std::uint8_t>(p + 1),       static_cast<std::uint8_t>(p == 4)};
    std::copy(std::begin(settings), std::end(settings), profile.settings.begin());
    for (int b = 0; b < kButtonSlotCount; ++b) profile.buttons[b] = static_cast<std::uint8_t>((p * 17 + b * 5 + 3) % 70);
  }
  memory.activeProfile = static_cast<std::uint8_t>(active);
}

class ServiceEndToEndTest : public ServiceSessionTest {
 protected:
  // The five profile files as the service wrote them; null when one is missing.
  std::unique_ptr<SettingsRecord> ReadProfileFiles() {
    auto record = NewRecord();
    for (int p = 0; p < kProfileCount; ++p) {
      if (!folder().SlotFileExists(p)) return nullptr;
      folder().settings().ReadProfile(record->profiles[p], folder().settings().SlotPath(p));
    }
    return record;
  }
};

// ---------------------------------------------------------------------------------------------------------
// Start-up

TEST_F(ServiceEndToEndTest, StartUpReadsTheMouseThenSavesPublishesAndAnnouncesIt) {
  MakeFolder(true);
  ChangeMouse([](sim::MouseMemory& memory) {
    DistinctProfiles(memory, 2);
    memory.firmware = 152;
  });
  // The files the service loads: profile 2 current, with pointer values of its own. The registry has none
  // of them, so those of the file stand.
  const PointerValues filed{432, 14, 7, 0, 5, 0};
  for (int p = 0; p < kProfileCount; ++p) {
    auto record = NewRecord();
    ResetProfile(record->profiles[p], p);
    CopyBounded(record->profiles[p].ProFileName, "Named " + std::to_string(p));
    if (p == 2) filed.Into(record->profiles[p]);
    ASSERT_EQ(folder().settings().WriteProfile(record->profiles[p], folder().settings().SlotPath(p)), 1);
  }
  WriteConfigInt("CurrentProfile", 2);
  RemovePointerValuesFromRegistry();
  // The running system holds other values: only the service pushing them can make it show those of the
  // file (the registry written by the save comes second for a process reading them).
  PointerState other;
  other.doubleClick = 300, other.speed = 3, other.wheelLines = 2, other.wheelChars = 1;
  SetSystemPointer(other);
  ASSERT_FALSE(PointerShows(filed));
  RecordingWindow option(kOptionTitle);
  ASSERT_NE(option.window(), nullptr);

  StartService();
  ASSERT_TRUE(WaitForDevice(1)) << "config.ini Device: " << folder().ConfigInt("Device", -1);

  // Before the mouse is read: the block and its mutex hold the record loaded from the files.
  EXPECT_TRUE(NamedObjectExists(false, win32::kBlockMutexName));
  auto loaded = FetchBlock();
  ASSERT_NE(loaded, nullptr) << "no shared block";
  EXPECT_EQ(loaded->CurrentProfile, 2);
  EXPECT_STREQ(loaded->profiles[4].ProFileName, "Named 4");
  EXPECT_EQ(loaded->profiles[2].DbleClickSpeed, 432);
  EXPECT_TRUE(WaitFor([&] { return PointerShows(filed); }, 10000, 200))
      << "pointer settings of the current profile not in the running system: " << ServiceFolder::Pointer().Describe();
  ExpectPointerInSystem(ServiceFolder::Pointer(), filed);

  // The on-screen display is started from the program folder.
  EXPECT_TRUE(WaitFor(
      [&] {
        for (HWND display : TopLevelWindows(0, kOsdTitle)) {
          for (const auto& running : folder().RunningPrograms()) {
            if (running.id == WindowProcess(display) && running.image.find("KavoOSD.exe") != std::string::npos) return true;
          }
        }
        return false;
      },
      15000, 100))
      << "no window titled " << kOsdTitle << " of KavoOSD.exe from the program folder";

  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs)) << "no 1254 after the read";
  const DWORD readTook = option.Received(kProfilesReadMessage).front().tick - started_;
  EXPECT_GE(readTook, 6000u) << "the five profiles are read with pauses between the steps";

  const auto dump = folder().Dump();
  ASSERT_EQ(dump.size(), kDumpLines);
  EXPECT_EQ(dump[0], "active 2");
  EXPECT_EQ(folder().ConfigInt("FWVersion", -1), 152);
  EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), 2);
  EXPECT_EQ(folder().ConfigInt("MouseType", -1), 1);
  EXPECT_EQ(folder().ConfigInt("Device", -1), 1);

  auto filesAfter = ReadProfileFiles();
  ASSERT_NE(filesAfter, nullptr) << "a profile file is missing";
  ExpectProfilesAsInMouse(*filesAfter, dump, "profile files");
  EXPECT_STREQ(filesAfter->profiles[3].ProFileName, "Named 3") << "only the device part comes from the mouse";
  EXPECT_EQ(filesAfter->profiles[2].MouseSpeed, 14);

  auto published = FetchBlock();
  ASSERT_NE(published, nullptr);
  EXPECT_EQ(published->CurrentProfile, 2);
  EXPECT_EQ(published->MouseType, 1);
  ExpectProfilesAsInMouse(*published, dump, "shared block");
  EXPECT_STREQ(published->profiles[0].ProFileName, "Named 0");

  // The save mirrors the current profile's pointer values into the registry.
  ExpectPointerInRegistry(filed);

  EXPECT_TRUE(WaitForHostActive(1)) << "the mouse was not told the host software runs";
  EXPECT_EQ(option.Count(kProfilesReadMessage), 1u);
  EXPECT_EQ(option.Count(WM_CLOSE), 0u);
}

TEST_F(ServiceEndToEndTest, ASecondServiceEndsAtOnceWithoutAWindow) {
  MakeFolder(false);
  StartService();
  ChildProcess second = folder().StartAnother();
  ASSERT_TRUE(second.handle);
  ASSERT_TRUE(second.WaitForExit(10000)) << "the second KavoMonitor.exe still runs";
  EXPECT_EQ(second.ExitCode(), 0u);
  const auto monitors = TopLevelWindows(0, kMonitorTitle);
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(WindowProcess(monitors.front()), folder().service().id);
  EXPECT_TRUE(folder().service().Running());
}

TEST_F(ServiceEndToEndTest, ASecondStartWithOneHandsTheOpenToTheRunningServiceAndEnds) {
  struct Case {
    const char* name;
    const char* arguments;
    bool plugged;
    bool opens;
  };
  // The running service opens the configuration program on its tray command whether or not the mouse is
  // there; a second start without "1" asks it for nothing.
  const Case cases[] = {{"1, mouse present", "1", true, true},
                        {"1, mouse absent", "1", false, true},
                        {"no flag", "", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeFolder(false);
    if (!c.plugged) folder().SimOk("unplug");
    StartService();
    ASSERT_TRUE(WaitForDevice(c.plugged ? 1 : 0));
    ASSERT_TRUE(folder().StandInLog().empty());
    for (int start = 0; start < 2; ++start) {
      ChildProcess second = folder().StartAnother(c.arguments);
      ASSERT_TRUE(second.handle);
      ASSERT_TRUE(second.WaitForExit(10000)) << "the second KavoMonitor.exe still runs";
      EXPECT_EQ(second.ExitCode(), 0u);
      ASSERT_EQ(TopLevelWindows(0, kMonitorTitle).size(), 1u) << "the second start made a window of its own";
      if (c.opens) {
        ASSERT_TRUE(WaitFor([&] { return TopLevelWindows(0, kOptionTitle).size() == 1; }, 15000, 100))
            << "KavoOption.exe was not opened";
      }
    }
    if (c.opens) {
      // The second request met the open window and brought it forward instead of starting another.
      ::Sleep(1000);
      EXPECT_EQ(TopLevelWindows(0, kOptionTitle).size(), 1u);
      const auto log = folder().StandInLog();
      EXPECT_EQ(std::count(log.begin(), log.end(), "start"), 1) << "KavoOption.exe was started twice";
    } else {
      EXPECT_FALSE(WaitFor([&] { return !folder().StandInLog().empty(); }, 3000, 100))
          << "KavoOption.exe was started without the flag";
    }
    EXPECT_TRUE(folder().service().Running());
    EndFolder();
  }
}

TEST_F(ServiceEndToEndTest, AnotherOwnerOfTheBlockMutexKeepsTheServiceFromStarting) {
  MakeFolder(false);
  win32::UniqueKernelHandle taken(::CreateMutexA(nullptr, FALSE, "Velmar_Kavo_Mouse_Mutex_Object"));
  ASSERT_TRUE(taken);
  ASSERT_TRUE(folder().Start());
  ASSERT_TRUE(folder().service().WaitForExit(10000)) << "a service without its window lingers";
  EXPECT_NE(folder().service().ExitCode(), 0u);
  EXPECT_TRUE(TopLevelWindows(0, kMonitorTitle).empty());
  EXPECT_FALSE(NamedObjectExists(true, "VELMAR_Kavo_Mouse_Share_Data"));
  EXPECT_EQ(folder().Dump().at(3), "host-active 0") << "the mouse was never told the host software runs";
  taken.reset();
  // Its single-instance mutex went with it: the next service starts.
  StartService();
  EXPECT_TRUE(WaitForDevice(1));
}

TEST_F(ServiceEndToEndTest, CommandLineOneStartsTheConfigurationProgramOnlyWithTheMouse) {
  struct Case {
    const char* name;
    bool plugged;
  };
  for (const Case& c : {Case{"mouse present", true}, Case{"mouse absent", false}}) {
    SCOPED_TRACE(c.name);
    MakeFolder(false);
    if (!c.plugged) folder().SimOk("unplug");
    StartService("1");
    ASSERT_TRUE(WaitForDevice(c.plugged ? 1 : 0));
    if (c.plugged) {
      ASSERT_TRUE(WaitFor([&] { return !folder().StandInLog().empty(); }, 15000, 100))
          << "KavoOption.exe was not started";
      EXPECT_EQ(folder().StandInLog().front(), "start");
      // The program started is the one the service talks to: it gets the read's announcement and the close.
      EXPECT_TRUE(WaitFor([&] { return folder().StandInLog().size() >= 2; }, kReadTimeoutMs, 100));
      ASSERT_TRUE(folder().Exit(kExitTimeoutMs));
      EXPECT_TRUE(WaitFor([&] { return folder().StandInLog().size() >= 3; }, 5000, 50));
      EXPECT_EQ(folder().StandInLog(), (std::vector<std::string>{"start", "1254", "close"}));
    } else {
      EXPECT_FALSE(WaitFor([&] { return !folder().StandInLog().empty(); }, 3000, 100))
          << "KavoOption.exe was started without the mouse";
      EXPECT_TRUE(TopLevelWindows(0, kOptionTitle).empty());
    }
    EndFolder();
  }
}

// ---------------------------------------------------------------------------------------------------------
// The mouse leaving and coming back

TEST_F(ServiceEndToEndTest, UnplugDuringTheFirstReadStopsItAndTheNextArrivalReadsAgain) {
  MakeFolder(false);
  ChangeMouse([](sim::MouseMemory& memory) { DistinctProfiles(memory, 3); });
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(WaitForDevice(1));
  ::Sleep(2000);  // the read is under way: it began 200 ms after start-up and takes some seven seconds
  folder().SimOk("unplug");
  const DWORD unplugged = ::GetTickCount();
  ASSERT_TRUE(WaitForDevice(0)) << "Device stayed " << folder().ConfigInt("Device", -1);
  EXPECT_TRUE(option.WaitFor(WM_CLOSE, 1, 5000)) << "the configuration program was not closed";

  // Wait past the moment the read would have finished, had it gone on.
  ::Sleep(std::max<int>(0, 8000 - static_cast<int>(::GetTickCount() - unplugged)));
  EXPECT_EQ(option.Count(kProfilesReadMessage), 0u);
  for (int p = 0; p < kProfileCount; ++p) EXPECT_FALSE(folder().SlotFileExists(p)) << "profile file " << p << " saved";
  auto block = FetchBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->CurrentProfile, -1) << "the stopped read was published";
  EXPECT_NE(SettingsLine(3, block->profiles[3]), folder().DumpLine(kFirstProfileLine + 6));

  // Another mouse model with other firmware comes back.
  folder().SimOk("pid 4660");
  folder().SimOk("firmware 99");
  const DWORD plugged = ::GetTickCount();
  folder().SimOk("plug");
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs)) << "no read after the mouse came back";
  EXPECT_GE(option.Received(kProfilesReadMessage).front().tick - plugged, 10000u)
      << "the arrival settles for five seconds before a paced read";
  EXPECT_EQ(folder().ConfigInt("Device", -1), 1);
  EXPECT_EQ(folder().ConfigInt("FWVersion", -1), 99);
  EXPECT_EQ(folder().ConfigInt("MouseType", -1), 0);
  EXPECT_EQ(folder().ConfigInt("CurrentProfile", -1), 3);
  const auto dump = folder().Dump();
  auto files = ReadProfileFiles();
  ASSERT_NE(files, nullptr);
  ExpectProfilesAsInMouse(*files, dump, "profile files");
  block = FetchBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->CurrentProfile, 3);
  EXPECT_EQ(block->MouseType, 0);
  ExpectProfilesAsInMouse(*block, dump, "shared block");
  EXPECT_EQ(option.Count(WM_CLOSE), 1u);
}

// ---------------------------------------------------------------------------------------------------------
// The configuration program's Apply (message 1224)

TEST_F(ServiceEndToEndTest, AHungHolderOfTheBlockMutexNeitherFreezesTheServiceNorGetsItsRecordApplied) {
  MakeFolder(false);
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs));
  ASSERT_TRUE(WaitForHostActive(1));
  auto record = FetchBlock();
  ASSERT_NE(record, nullptr);
  // A program of the user takes the mutex and keeps it; the record it left asks for a new active profile.
  auto mutex = win32::BlockMutex::Open();
  ASSERT_TRUE(mutex);
  ASSERT_EQ(::WaitForSingleObject(mutex->handle(), 0), WAIT_OBJECT_0);
  record->CurrentProfile = 4;
  record->CurrentProfileChanged = 1;
  ASSERT_TRUE(PublishBlock(*record));  // the owner's own copy: the mutex is taken again by its owner
  const auto before = folder().Dump();

  const DWORD sent = ::GetTickCount();
  EXPECT_TRUE(SendToService(window_, kApplyMessage, 0)) << "1224 not answered";
  EXPECT_LT(::GetTickCount() - sent, 3000u) << "the service waited for the mutex";
  EXPECT_EQ(folder().Dump(), before) << "a record not taken whole was applied";
  const DWORD fetchSent = ::GetTickCount();
  EXPECT_TRUE(SendToService(window_, kFetchMessage, 0));
  EXPECT_LT(::GetTickCount() - fetchSent, 3000u);

  // Let go, the same apply goes through.
  ::ReleaseMutex(mutex->handle());
  ASSERT_TRUE(SendToService(window_, kApplyMessage, 0));
  EXPECT_EQ(folder().DumpLine(0), "active 4");
}


struct ApplyCase {
  const char* name;
  WPARAM wParam;
  std::function<void(SettingsRecord&)> publish;          // what the configuration program changes and flags
  std::function<void(std::vector<std::string>&)> expect;  // turns the dump before into the dump expected after
};

const char kFactorySettings[] = "settings 1 5 5 2 2 1 1 0";
const char kFactoryButtons[] = "buttons 1 2 3 65 64 13 14 8 7 37 0 6 38 39";

TEST_F(ServiceEndToEndTest, ApplyWritesExactlyWhatIsFlaggedIntoTheMouse) {
  MakeFolder(false);
  ChangeMouse([](sim::MouseMemory& memory) { DistinctProfiles(memory, 0); });
  RecordingWindow option(kOptionTitle);
  RecordingWindow display(kOsdTitle);
  StartService();
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs));
  ASSERT_TRUE(WaitForHostActive(1));
  const auto afterRead = FetchBlock();
  ASSERT_NE(afterRead, nullptr);

  const ApplyCase cases[] = {
      {"the active profile, when its flag is set", 0,
       [](SettingsRecord& r) {
         r.CurrentProfile = 4;
         r.CurrentProfileChanged = 1;
         r.profiles[1].Sensitivity_X = 9;  // changed, not flagged
         r.profiles[2].buttons[0].function = kFunctionMacro;
       },
       [](std::vector<std::string>& d) { d[0] = "active 4"; }},
      {"one profile's device settings", 0,
       [](SettingsRecord& r) {
         r.CurrentProfile = 3;  // not flagged
         ProfileRecord& p = r.profiles[1];
         p.XYSynchronous = 0, p.Sensitivity_X = 9, p.Sensitivity_Y = 8, p.Cpi_X = 4, p.Cpi_Y = 3;
         p.LightSwitch = 0, p.LightType = 2, p.Orientation = 1;
         r.SettingsChanged[1] = 1;
         r.profiles[3].Sensitivity_X = 7;  // changed, not flagged
       },
       [](std::vector<std::string>& d) { d[kFirstProfileLine + 2] = "profile 1 settings 0 9 8 4 3 0 2 1"; }},
      {"one button flag sends all fourteen codes of its profile", 0,
       [](SettingsRecord& r) {
         const std::uint8_t codes[kButtonSlotCount] = {5, 48, 15, 1, 2, 3, 4, 65, 9, 10, 16, 17, 18, 37};
         for (int b = 0; b < kButtonSlotCount; ++b) r.profiles[3].buttons[b].function = codes[b];
         r.ButtonChanged[3][5] = 1;
         r.profiles[0].buttons[0].function = kFunctionMacro;  // changed, not flagged
       },
       [](std::vector<std::string>& d) {
         d[kFirstProfileLine + 7] = "profile 3 buttons 5 48 15 1 2 3 4 65 9 10 16 17 18 37";
       }},
      {"flags other than 1 ask for nothing", 0,
       [](SettingsRecord& r) {
         r.CurrentProfile = 2;
         for (auto& profile : r.profiles) {
           profile.Sensitivity_X = 10;
           profile.buttons[0].function = kFunctionMacro;
         }
         std::memset(r.ButtonChanged, 1, sizeof r.ButtonChanged);  // 0x01010101 each
         for (auto& flag : r.SettingsChanged) flag = 0x01010101;
         r.SettingsChanged[4] = 2;
         r.CurrentProfileChanged = -1;
       },
       [](std::vector<std::string>&) {}},
      {"a reset request instead of the flagged changes", 1,
       [](SettingsRecord& r) {
         r.CurrentProfile = 2;
         for (auto& profile : r.profiles) {
           profile.Sensitivity_X = 10;
           profile.buttons[0].function = kFunctionMacro;
         }
         FlagEverything(r);
       },
       [](std::vector<std::string>& d) {
         d[0] = "active 0";
         d[4] = "resets " + std::to_string(std::stoi(d[4].substr(7)) + 1);
         for (int p = 0; p < kProfileCount; ++p) {
           d[kFirstProfileLine + 2 * p] = "profile " + std::to_string(p) + " " + kFactorySettings;
           d[kFirstProfileLine + 2 * p + 1] = "profile " + std::to_string(p) + " " + kFactoryButtons;
         }
       }},
  };

  std::size_t applied = 0;
  for (const ApplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto record = std::make_unique<SettingsRecord>(*afterRead);
    ClearChangeFlags(*record);
    c.publish(*record);
    ASSERT_TRUE(PublishBlock(*record));
    auto expected = folder().Dump();
    ASSERT_EQ(expected.size(), kDumpLines);
    c.expect(expected);

    ASSERT_TRUE(SendToService(window_, kApplyMessage, c.wParam)) << "1224 not answered";
    ++applied;
    // Written before SendMessage returns.
    EXPECT_EQ(folder().Dump(), expected);
    EXPECT_TRUE(display.WaitFor(kDisplaySettingsMessage, applied, 5000)) << "no 1326 for the on-screen display";
  }
  EXPECT_EQ(display.Count(kDisplaySettingsMessage), applied);
  EXPECT_EQ(option.Count(WM_CLOSE), 0u);
}

TEST_F(ServiceEndToEndTest, ApplyWithoutTheMouseSetsThePointerAndTellsTheDisplay) {
  MakeFolder(false);
  folder().SimOk("unplug");
  RecordingWindow display(kOsdTitle);
  StartService();
  ASSERT_TRUE(WaitForDevice(0));
  const auto loaded = FetchBlock();
  ASSERT_NE(loaded, nullptr);
  const auto mouseBefore = folder().Dump();

  struct Case {
    const char* name;
    WPARAM wParam;
    PointerValues pointer;
    std::int32_t word28, word32;  // the OSDSetting integers holding the two 16-bit values forwarded
    LPARAM lParam;
  };
  const Case cases[] = {
      // Only the low 16 bits of each integer travel.
      {"apply", 0, {432, 14, 7, 0, 5, 0}, 0x00050001, 0x00070BB8, 1 * 65536 + 3000},
      {"apply after a reset", 1, {610, 6, 2, 1, 9, 0}, 0, 7000, 7000},
  };
  std::size_t sent = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OSDSetting osd;
    ResetOSDSetting(osd);
    osd.switches[7] = c.word28;
    osd.switches[8] = c.word32;
    ASSERT_EQ(folder().settings().WriteOSDSetting(osd), 1);
    auto record = std::make_unique<SettingsRecord>(*loaded);
    record->CurrentProfile = 1;
    c.pointer.Into(record->profiles[1]);
    record->profiles[1].Sensitivity_X = 9;
    record->profiles[1].buttons[2].function = kFunctionMacro;
    FlagEverything(*record);
    ASSERT_TRUE(PublishBlock(*record));

    ASSERT_TRUE(SendToService(window_, kApplyMessage, c.wParam));
    ++sent;
    ExpectPointerInSystem(ServiceFolder::Pointer(), c.pointer);
    ASSERT_TRUE(display.WaitFor(kDisplaySettingsMessage, sent, 5000)) << "no 1326 for the on-screen display";
    const ReceivedMessage notice = display.Received(kDisplaySettingsMessage).back();
    EXPECT_EQ(notice.wParam, 0u);
    EXPECT_EQ(notice.lParam, c.lParam);
    EXPECT_EQ(folder().Dump(), mouseBefore) << "something was written to the absent mouse";
  }
}

// ---------------------------------------------------------------------------------------------------------
// The other programs' messages

TEST_F(ServiceEndToEndTest, FetchAndPointerCommandsThenTheArrivalSavesTheFetchedRecord) {
  MakeFolder(false);
  ChangeMouse([](sim::MouseMemory& memory) { DistinctProfiles(memory, 1); });
  folder().SimOk("unplug");
  SetRegistryValue(kMouseKey, "MouseSpeed", "1");
  SetRegistryValue(kMouseKey, "MouseThreshold1", "6");
  SetRegistryValue(kMouseKey, "MouseThreshold2", "10");
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(WaitForDevice(0));
  const auto loaded = FetchBlock();
  ASSERT_NE(loaded, nullptr);

  auto publish = [&](const PointerValues& pointer, const char* name, const char* otherName, bool flagged = false) {
    auto record = std::make_unique<SettingsRecord>(*loaded);
    record->CurrentProfile = 1;
    pointer.Into(record->profiles[1]);
    if (name) CopyBounded(record->profiles[1].ProFileName, name);
    if (otherName) CopyBounded(record->profiles[3].ProFileName, otherName);
    if (flagged) FlagEverything(*record);
    return PublishBlock(*record);
  };

  // 1227 takes the block and pushes its current profile's pointer values; with acceleration off, what the
  // registry held of it is cleared there and in the system.
  struct PointerCase {
    const char* name;
    PointerValues pointer;
    int acceleration[3];
    const char* registrySpeed;
  };
  const PointerCase pointerCases[] = {
      {"acceleration on keeps the registry's", {432, 14, 7, 0, 5, 1}, {6, 10, 1}, "1"},
      {"acceleration off clears it", {610, 6, 2, 1, 9, 0}, {0, 0, 0}, "0"},
  };
  for (const PointerCase& c : pointerCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(publish(c.pointer, nullptr, nullptr));
    ASSERT_TRUE(SendToService(window_, kFetchAndPointerMessage, 0));
    const PointerState now = ServiceFolder::Pointer();
    ExpectPointerInSystem(now, c.pointer);
    EXPECT_EQ(now.acceleration[0], c.acceleration[0]) << now.Describe();
    EXPECT_EQ(now.acceleration[1], c.acceleration[1]) << now.Describe();
    EXPECT_EQ(now.acceleration[2], c.acceleration[2]) << now.Describe();
    EXPECT_EQ(RegistryValue(kMouseKey, "MouseSpeed"), c.registrySpeed);
  }
  const PointerValues lastApplied = pointerCases[1].pointer;

  // 1226 only takes the block: nothing reaches the system now, but the record taken is what the next
  // save holds. Its change flags are still set, as the configuration program may leave them.
  const PointerValues fetched{777, 3, 4, 0, 2, 0};
  ASSERT_TRUE(publish(fetched, "Fetched by 1226", nullptr, true));
  ASSERT_TRUE(SendToService(window_, kFetchMessage, 0));
  ExpectPointerInSystem(ServiceFolder::Pointer(), lastApplied);

  // 1228, 1229 and 1274 neither take the block nor push anything.
  ASSERT_TRUE(publish({999, 19, 9, 0, 8, 0}, "Ignored", "Ignored"));
  for (UINT message : {1228u, 1229u, 1274u}) ASSERT_TRUE(SendToService(window_, message, 0)) << message;
  ExpectPointerInSystem(ServiceFolder::Pointer(), lastApplied);

  folder().SimOk("plug");
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs)) << "no read after the mouse came";
  const auto dump = folder().Dump();
  auto saved = ReadProfileFiles();
  ASSERT_NE(saved, nullptr);
  auto published = FetchBlock();
  ASSERT_NE(published, nullptr);
  for (const SettingsRecord* record : {saved.get(), published.get()}) {
    SCOPED_TRACE(record == saved.get() ? "profile files" : "shared block");
    EXPECT_STREQ(record->profiles[1].ProFileName, "Fetched by 1226");
    EXPECT_STREQ(record->profiles[3].ProFileName, loaded->profiles[3].ProFileName);
    EXPECT_EQ(record->profiles[1].DbleClickSpeed, fetched.doubleClick);
    EXPECT_EQ(record->profiles[1].MouseSpeed, fetched.speed);
    ExpectProfilesAsInMouse(*record, dump, "after the arrival");
  }
  EXPECT_EQ(published->CurrentProfile, 1);
  // A read leaves no button flagged as changed; the other flags stay as they were taken.
  for (int p = 0; p < kProfileCount; ++p) {
    for (int b = 0; b < kButtonSlotCount; ++b) EXPECT_EQ(published->ButtonChanged[p][b], 0) << p << "/" << b;
    EXPECT_EQ(published->SettingsChanged[p], 1) << p;
  }
  EXPECT_EQ(published->CurrentProfileChanged, 1);
  ExpectPointerInRegistry(fetched);
}

// ---------------------------------------------------------------------------------------------------------
// The shell starting again (after explorer.exe crashed or was restarted): its new tray knows no icon until
// each program adds its own again on the message the shell sends every top-level window.

TEST_F(ServiceEndToEndTest, ARestartedShellGetsTheTrayIconBackWhileTheMouseIsThere) {
  for (const bool plugged : {true, false}) {
    SCOPED_TRACE(plugged ? "mouse present" : "mouse unplugged");
    MakeFolder(false);
    StartService();
    ASSERT_TRUE(WaitForDevice(1));
    if (!plugged) {
      folder().SimOk("unplug");
      ASSERT_TRUE(WaitForDevice(0));
    }
    {
      // The new shell's tray, which the notification area calls go to from now on.
      RecordingWindow tray("", "Shell_TrayWnd");
      ASSERT_NE(tray.window(), nullptr);
      ASSERT_EQ(::FindWindowA("Shell_TrayWnd", nullptr), tray.window());
      const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
      ASSERT_NE(taskbarCreated, 0u);
      ASSERT_TRUE(SendToService(window_, taskbarCreated, 0));
      std::size_t added = 0;
      for (const auto& call : tray.Received(WM_COPYDATA)) {
        added += call.wParam == reinterpret_cast<WPARAM>(window_) && call.lParam == NIM_ADD;
      }
      EXPECT_EQ(added, plugged ? 1u : 0u);
      EndFolder();
    }
  }
}

// ---------------------------------------------------------------------------------------------------------
// Exit

// The tray menu's Exit, and Windows ending the session (log-off, shutdown): the service agrees to the end,
// and when it comes, Windows may end the process as soon as WM_ENDSESSION is answered, so by then the
// service has done all it does when it ends.
TEST_F(ServiceEndToEndTest, ExitAndTheSessionsEndTellTheMouseCloseTheOtherProgramsAndReleaseItsNames) {
  for (const bool sessionEnd : {false, true}) {
    SCOPED_TRACE(sessionEnd ? "the session ends" : "Exit");
    MakeFolder(false);
    std::vector<std::unique_ptr<RecordingWindow>> others;
    for (const char* title : {kOptionTitle, kOsdTitle, "VELMAR Kavo Mouse Pop3", "VELMAR Kavo Mouse CPU RAM",
                              "VELMAR Kavo Mouse OSD SKYPE"}) {
      others.push_back(std::make_unique<RecordingWindow>(title));
      ASSERT_NE(others.back()->window(), nullptr) << title;
    }
    StartService();
    ASSERT_TRUE(others.front()->WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs));
    ASSERT_TRUE(WaitForHostActive(1));
    EXPECT_TRUE(NamedObjectExists(true, win32::kSharedBlockName));

    if (sessionEnd) {
      DWORD_PTR answer = FALSE;
      ASSERT_TRUE(::SendMessageTimeoutA(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kSendTimeoutMs,
                                        &answer));
      EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the service held up the end of the session";
      ASSERT_TRUE(::SendMessageTimeoutA(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, kSendTimeoutMs,
                                        &answer));
      // What Windows does next.
      ::TerminateProcess(folder().service().handle.get(), 1);
      ASSERT_TRUE(folder().service().WaitForExit(kExitTimeoutMs));
    } else {
      ASSERT_TRUE(folder().Exit(kExitTimeoutMs)) << "the service did not end on the tray menu's Exit";
      EXPECT_EQ(folder().service().ExitCode(), 0u);
    }
    EXPECT_EQ(folder().DumpLine(3), "host-active 0");
    for (const auto& other : others) {
      EXPECT_TRUE(other->WaitFor(WM_CLOSE, 1, 5000)) << other->title();
      EXPECT_EQ(other->Count(WM_CLOSE), 1u) << other->title();
    }
    EXPECT_FALSE(NamedObjectExists(true, win32::kSharedBlockName));
    EXPECT_FALSE(NamedObjectExists(false, win32::kBlockMutexName));
    EXPECT_FALSE(NamedObjectExists(false, kInstanceMutexName));
    EndFolder();
  }
}

TEST_F(ServiceEndToEndTest, ASessionEndThatIsCalledOffLeavesTheServiceRunning) {
  MakeFolder(false);
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs));
  ASSERT_TRUE(WaitForHostActive(1));
  DWORD_PTR answer = FALSE;
  ASSERT_TRUE(::SendMessageTimeoutA(window_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  // Another program refused: Windows tells everyone the session goes on.
  ASSERT_TRUE(::SendMessageTimeoutA(window_, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, kSendTimeoutMs, &answer));
  EXPECT_TRUE(folder().service().Running());
  EXPECT_EQ(folder().DumpLine(3), "host-active 1");
  EXPECT_EQ(option.Count(WM_CLOSE), 0u);
  EXPECT_TRUE(NamedObjectExists(true, win32::kSharedBlockName));
}

TEST_F(ServiceEndToEndTest, ExitDuringTheFirstReadStopsItWithoutSaving) {
  MakeFolder(false);
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(WaitForDevice(1));
  ::Sleep(1000);  // the read is under way and has some six seconds to go
  const DWORD asked = ::GetTickCount();
  ASSERT_TRUE(folder().Exit(kExitTimeoutMs));
  EXPECT_LT(::GetTickCount() - asked, 4000u) << "the read was not cut short";
  EXPECT_EQ(folder().service().ExitCode(), 0u);
  EXPECT_TRUE(option.WaitFor(WM_CLOSE, 1, 5000));
  EXPECT_EQ(option.Count(kProfilesReadMessage), 0u);
  for (int p = 0; p < kProfileCount; ++p) EXPECT_FALSE(folder().SlotFileExists(p)) << "profile file " << p << " saved";
  EXPECT_EQ(folder().DumpLine(3), "host-active 0") << "the mouse believes the host software still runs";
}

TEST_F(ServiceEndToEndTest, ExitRightAfterTheMouseCameBackRunsNoReadAfterIt) {
  // The read of an arrival is queued once the mouse has settled; an exit asked meanwhile must neither
  // wait for that read nor let it tell the mouse the host software is back.
  MakeFolder(false);
  RecordingWindow option(kOptionTitle);
  StartService();
  ASSERT_TRUE(option.WaitFor(kProfilesReadMessage, 1, kReadTimeoutMs));
  folder().SimOk("unplug");
  ASSERT_TRUE(WaitForDevice(0));
  folder().SimOk("plug");
  ::Sleep(1000);  // inside the five seconds the arrival gives the mouse to settle
  const DWORD asked = ::GetTickCount();
  ASSERT_TRUE(folder().Exit(kExitTimeoutMs));
  EXPECT_LT(::GetTickCount() - asked, 7000u) << "the exit waited for a read";
  EXPECT_EQ(folder().DumpLine(3), "host-active 0");
  EXPECT_EQ(option.Count(kProfilesReadMessage), 1u) << "a read ran after the exit was asked";
}

}  // namespace
}  // namespace kavo::wine_test
