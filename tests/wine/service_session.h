#pragma once
// What the end-to-end suites of KavoMonitor.exe share: the configuration program's side of the shared
// block, the pointer values of a profile as the registry and the running system hold them, and a fixture
// that runs the service from a fresh program folder with the simulated mouse and puts the user's pointer
// settings back afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "outside/device-sim/win32/shared_mouse.h"
#include "settings/ini_file.h"
#include "settings/settings_record.h"
#include "settings/win32/shared_block.h"
#include "tests/wine/control_panel_backup.h"
#include "tests/wine/service_folder.h"

namespace kavo::wine_test {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kReadTimeoutMs = 30000;  // the first full read takes about seven seconds
constexpr DWORD kSendTimeoutMs = 30000;

inline std::unique_ptr<SettingsRecord> NewRecord() {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  return record;
}

// The configuration program's side of the shared block; null when the block or its mutex is not there.
// Nothing is kept open, so the service alone decides how long they live.
inline std::unique_ptr<SettingsRecord> FetchBlock() {
  auto mutex = win32::BlockMutex::Open();
  auto block = win32::SharedBlock::Open();
  auto record = NewRecord();
  if (!mutex || !block || !block->Fetch(*mutex, *record)) return nullptr;
  return record;
}
inline bool PublishBlock(const SettingsRecord& record) {
  auto mutex = win32::BlockMutex::Open();
  auto block = win32::SharedBlock::Open();
  return mutex && block && block->Publish(*mutex, record);
}

// A message sent to the service's window as the configuration program sends it: true when the service
// answered within the time.
inline bool SendToService(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

inline std::optional<std::string> RegistryValue(const char* key, const char* name) {
  char value[128] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

// The Windows-wide values of a profile, as the configuration program edits them.
struct PointerValues {
  int doubleClick;
  int speed;
  int wheelLines;
  int wheelPage;  // ScrollWheelFlag: one page per notch
  int wheelChars;
  int accelerationFlag;

  void Into(ProfileRecord& profile) const {
    profile.DbleClickSpeed = doubleClick;
    profile.MouseSpeed = speed;
    profile.ScrollWheelSpeed = wheelLines;
    profile.ScrollWheelFlag = wheelPage;
    profile.TiltSpeed = wheelChars;
    profile.AccelerationFlag = accelerationFlag;
  }
};

inline void ExpectPointerInRegistry(const PointerValues& values) {
  EXPECT_EQ(RegistryValue(kMouseKey, "DoubleClickSpeed"), std::to_string(values.doubleClick));
  EXPECT_EQ(RegistryValue(kMouseKey, "MouseSensitivity"), std::to_string(values.speed));
  EXPECT_EQ(RegistryValue(kDesktopKey, "WheelScrollLines"), std::to_string(values.wheelPage ? -1 : values.wheelLines));
  EXPECT_EQ(RegistryValue(kDesktopKey, "WheelScrollChars"), std::to_string(values.wheelChars));
}

// Sets the running system's pointer settings without touching the registry (its backup puts that back).
// Under Wine such values are what every process starting afterwards sees, whatever the registry says.
inline void SetSystemPointer(const PointerState& state) {
  ::SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, state.doubleClick, nullptr, 0);
  int acceleration[3] = {state.acceleration[0], state.acceleration[1], state.acceleration[2]};
  ::SystemParametersInfoA(SPI_SETMOUSE, 0, acceleration, 0);
  ::SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(state.speed),
                          reinterpret_cast<void*>(static_cast<INT_PTR>(state.speed)), 0);
  ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, state.wheelLines, nullptr, 0);
  ::SystemParametersInfoA(SPI_SETWHEELSCROLLCHARS, state.wheelChars, nullptr, 0);
}

struct RecordedSystemPointer {
  PointerState state;
  void Restore() const {
    if (state.read) SetSystemPointer(state);
  }
};

// Runs the service from fresh program folders; the user's pointer settings, in the registry and in the
// running system, are as before once the test is over.
class ServiceSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    systemPointer_.state = ServiceFolder::Pointer();
    ASSERT_TRUE(systemPointer_.state.read) << "kavo-option-standin.exe pointer gave no answer";
  }
  void TearDown() override {
    EndFolder();
    systemPointer_.Restore();
  }

  // A fresh program folder; the one before is ended first.
  void MakeFolder(bool withDisplay) {
    EndFolder();
    folder_ = std::make_unique<ServiceFolder>(withDisplay);
    ASSERT_EQ(folder_->Problem(), "");
  }
  // Ends the service and everything it started; whatever did not end by itself is a failure.
  void EndFolder() {
    if (!folder_) return;
    for (const auto& leftover : folder_->EndEverything()) ADD_FAILURE() << leftover;
    folder_.reset();
  }
  ServiceFolder& folder() { return *folder_; }

  void ChangeMouse(const std::function<void(sim::MouseMemory&)>& change) {
    auto mouse = sim::win32::SharedMouse::Open(folder().program());
    ASSERT_NE(mouse, nullptr);
    ASSERT_TRUE(mouse->Access(change));
  }

  void WriteConfigInt(const char* key, int value) {
    IniFileAccess access(folder().files());
    auto config = access.Open(folder().settings().ConfigPath());
    config->WriteInt("Setting", key, value);
    ASSERT_TRUE(config->Commit());
  }

  // Starts the service and waits for its window.
  void StartService(const std::string& arguments = "") {
    ASSERT_TRUE(folder().Start(arguments));
    started_ = ::GetTickCount();
    ASSERT_TRUE(folder().WaitForMonitorWindow(kStartTimeoutMs)) << "no window titled " << kMonitorTitle;
    window_ = folder().MonitorWindow();
  }

  // The "Device" key of config.ini reaches the value.
  bool WaitForDevice(int present, DWORD milliseconds = 10000) {
    return WaitFor([&] { return folder().ConfigInt("Device", -1) == present; }, milliseconds, 50);
  }
  bool WaitForHostActive(int flag) {
    const std::string wanted = "host-active " + std::to_string(flag);
    return WaitFor([&] { return folder().DumpLine(3) == wanted; }, 10000, 200);
  }

  ControlPanelBackup registryBackup_;  // made first and undone last, after the service has gone
  RecordedSystemPointer systemPointer_;
  std::unique_ptr<ServiceFolder> folder_;
  DWORD started_ = 0;
  HWND window_ = nullptr;
};

}  // namespace kavo::wine_test
