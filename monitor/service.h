#pragma once
// The service's decisions: start-up after its window exists, the mouse arriving and leaving, console
// connect and disconnect, its timers, the commands of other programs, opening the configuration program
// and the ordered shutdown. The window, its threads and the Windows calls stay in the Win32 shell, which
// calls these in the order its messages arrive.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "monitor/clock.h"
#include "monitor/debug_output.h"
#include "monitor/device_link.h"
#include "monitor/dispatcher.h"
#include "monitor/foreground_changes.h"
#include "monitor/game_profiles.h"
#include "monitor/host_functions.h"
#include "monitor/input_sink.h"
#include "monitor/macro_player.h"
#include "monitor/pointer_settings.h"
#include "monitor/service_ports.h"
#include "monitor/shortcut_player.h"
#include "monitor/timeline.h"
#include "monitor/transfer.h"
#include "settings/keyboard_layout.h"
#include "settings/registry.h"
#include "settings/settings_files.h"

namespace kavo::monitor {

// Message 1326 to the on-screen display carries two 16-bit values of the notice programs' settings:
// the one at byte 28 in the high half, the one at byte 32 in the low half.
std::intptr_t OnScreenSettingsParameter(const OSDSetting& osd);

// The first character "1" of the command line asks for the configuration program once the mouse is
// found; nothing else of the command line is used.
bool OpenConfigurationRequested(const char* commandLine);

// What a start of the service does: run; end at once because another service runs; or, asked to open the
// configuration program (the Start menu's shortcut passes "1"), end after handing that request to the
// running service as its tray menu's command, so the shortcut opens it whichever start it meets.
enum class InstanceStart { kRun, kEnd, kHandOpenToRunning };
InstanceStart DecideInstanceStart(const char* commandLine, bool anotherServiceRuns);

struct ServicePorts {
  DeviceLink& device;
  Clock& clock;
  SettingsFiles& settings;
  PointerSystem& pointer;
  RecordBlock& block;
  Desktop& desktop;
  Shell& shell;
  ServiceWindow& window;
  DebugOutput& debug;
  InputSink& input;
  KeyboardLayout& layout;
  Timeline& timeline;
  MacroQueue& macroQueue;
  MediaPlayers& players;
  HorizontalScroller& scroller;
  ProcessInfo& processes;
  std::string moduleFolder;  // ends in a backslash
};

class MonitorService : private TransferObserver, private DispatchHost {
 public:
  // mouseKey is the open "Control Panel\Mouse" key, null when it could not be opened.
  MonitorService(ServicePorts ports, std::unique_ptr<RegistryKey> mouseKey);
  ~MonitorService() override;

  // The record from the settings files (no profile current until they name one), the notice programs'
  // settings, and the help language from the system's when the files name none.
  void LoadSettings(int systemLanguageId);
  // The record into the shared block; false when it is not there.
  bool PublishRecord();
  // Opens the mouse for this window; when it is there, schedules the first read, shows the tray icon and,
  // when asked on the command line, the configuration program. Then the pointer settings and the
  // on-screen display program.
  void StartDevice(std::uintptr_t window, bool openConfiguration);

  // Messages of the device library: 1325 (an event of the mouse) and 1326 (arrival and removal).
  void OnDeviceMessage(std::uintptr_t wParam, std::intptr_t lParam) { dispatcher_.OnDeviceMessage(wParam, lParam); }
  void OnPresenceMessage(std::uintptr_t wParam) { dispatcher_.OnPresenceMessage(wParam); }
  void OnConsoleConnect();
  void OnConsoleDisconnect();
  void OnTimer(int id);
  // The system's notification that another window came to the front: the game check runs once the burst
  // of changes has settled, a few milliseconds later, instead of at the timer's next tick.
  void OnForegroundChanged();

  // Message 1224: the configuration program's record from the block into the mouse; wParam 1 resets
  // the mouse instead. Done when this returns.
  void OnApplyRecord(std::uintptr_t wParam);
  void OnFetchRecord() { FetchRecord(); }  // message 1226
  void OnFetchAndApplyPointer();       // message 1227
  void OnCustomizer();
  // The tray icon's callback: lParam is the mouse message.
  void OnSystrayNotify(unsigned mouseMessage);
  // The shell started again and told every window ("TaskbarCreated"): its new tray has no icon of ours.
  void OnTaskbarCreated();
  // WM_COMMAND of the tray menu: "Configuration" or "Exit".
  void OnMenuCommand(unsigned command);
  void ApplyPointerSettings();
  // Timer 500 and foreground changes: the profile of the game in front, or back to the profile for Windows.
  void CheckForegroundGame();
  // Makes a profile current here and in the mouse (through the device thread).
  void SwitchProfile(int profileIndex);

  // Shutdown, around the Win32 shell's own steps: first the mouse is told the host software goes, the
  // timers stop, the configuration program and the notice windows are closed and a device-thread
  // transfer is asked to stop; once the device thread has ended, the device is closed.
  void BeginShutdown();
  void CloseDevice();

  // One command of the device thread.
  void RunDeviceCommand(int command) { transfer_.RunDeviceCommand(command); }
  // The macro thread's work.
  void PlayMacro() { macros_.PlayMacro(); }
  DeviceTransfer& transfer() { return transfer_; }
  // A copy of the record, taken under the lock that device reads store under.
  void CopyRecord(SettingsRecord& copy);

 private:
  void FirmwareVersionRead(int version) override;
  void ProfilesRead() override;

  bool CurrentButton(int slot, MacroKeyInfo& entry) override;
  int CurrentProfileValue(std::int32_t ProfileRecord::*field, int fallback) override;
  void ProfileChangedOnMouse(int profileIndex) override;
  void DeviceValuesChangedOnMouse(const std::function<void(ProfileRecord&)>& change) override;
  void LowBattery() override;
  void PresenceChanged(unsigned data) override;

  void OnArrival();
  void OnRemoval();
  // The game checks run while the mouse is present: timer 500 and the foreground notifications together.
  void StartGameChecks();
  void StopGameChecks();
  void RunGameCheck();
  void WriteDevicePresent(int present);
  void ShowOnScreenSettings();
  void PostToOption(unsigned message);
  // The block's record into the service's; false (and nothing changed) when it could not be taken.
  bool FetchRecord();
  // The caller holds storeLock_: the record as it is now, or the copy of it the caller has just made.
  bool PublishLocked();
  bool PublishLocked(const SettingsRecord& copy);
  std::unique_ptr<SettingsRecord> RecordCopy();

  ServicePorts ports_;
  std::uintptr_t window_ = 0;
  std::unique_ptr<RegistryKey> mouseKey_;
  std::unique_ptr<SettingsRecord> record_;
  OSDSetting osd_{};
  DeviceTransfer transfer_;
  ShortcutPlayer shortcuts_;
  MacroPlayer macros_;
  EventDispatcher dispatcher_;
  ForegroundChanges foregroundChanges_;  // window thread only
  // Every change the host makes to the record, and every save and publication of it, in one order, so
  // that an older copy never lands in the block or the files after a newer one. Held across calls out
  // that do not wait on this program (files, the block with its time limit), never across system calls
  // that take messages.
  std::mutex storeLock_;
  std::atomic<bool> publishPending_{false};  // the last publication could not take the block
  // The window thread and the device thread both write "config.ini"; each rewrite of the file is whole.
  // Taken after the others, with no other lock taken inside it.
  std::mutex filesLock_;
};

}  // namespace kavo::monitor
