#include "monitor/service.h"

#include <cstring>

#include "monitor/service_messages.h"
#include "settings/language.h"

namespace kavo::monitor {
namespace {

constexpr int kGameCheckInterval = 2000;
// Long enough to take in the changes of one switch, short beside the time a user needs to aim.
constexpr int kForegroundSettleTime = 10;
constexpr int kFirstReadDelay = 200;
constexpr int kArrivalSettleTime = 5000;  // a mouse just plugged in needs this before it answers

// Stands in for "Control Panel\Mouse" when it could not be opened: nothing read, nothing written.
class NoRegistryKey : public RegistryKey {
 public:
  bool ReadString(std::string_view, std::string&) override { return false; }
  bool WriteString(std::string_view, std::string_view) override { return false; }
};

std::uint16_t Word16At(const OSDSetting& osd, std::size_t offset) {
  std::uint8_t bytes[2];
  std::memcpy(bytes, reinterpret_cast<const std::uint8_t*>(&osd) + offset, sizeof bytes);
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

}  // namespace

std::intptr_t OnScreenSettingsParameter(const OSDSetting& osd) {
  const std::uint32_t value = static_cast<std::uint32_t>(Word16At(osd, 28)) << 16 | Word16At(osd, 32);
  return static_cast<std::intptr_t>(value);
}

bool OpenConfigurationRequested(const char* commandLine) { return commandLine && commandLine[0] == '1'; }

InstanceStart DecideInstanceStart(const char* commandLine, bool anotherServiceRuns) {
  if (!anotherServiceRuns) return InstanceStart::kRun;
  return OpenConfigurationRequested(commandLine) ? InstanceStart::kHandOpenToRunning : InstanceStart::kEnd;
}

MonitorService::MonitorService(ServicePorts ports, std::unique_ptr<RegistryKey> mouseKey)
    : ports_(std::move(ports)),
      mouseKey_(mouseKey ? std::move(mouseKey) : std::make_unique<NoRegistryKey>()),
      record_(std::make_unique<SettingsRecord>()),
      transfer_(ports_.device, ports_.clock, *record_, *this),
      shortcuts_(ports_.input, ports_.layout, ports_.clock),
      macros_(ports_.input, ports_.layout, ports_.timeline, ports_.debug, ports_.macroQueue),
      dispatcher_({*this, ports_.window, ports_.shell, ports_.input, shortcuts_, macros_, ports_.players,
                   ports_.scroller}) {
  ClearRecord(*record_);
}

MonitorService::~MonitorService() = default;

void MonitorService::LoadSettings(int systemLanguageId) {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  std::lock_guard<std::mutex> files(filesLock_);
  ClearRecord(*record_);
  ports_.settings.ReadAll(*record_);
  ports_.settings.ReadOSDSetting(osd_);
  if (record_->QuickHelpLan == -1) record_->QuickHelpLan = LanguageNumberFromLangId(systemLanguageId);
}

bool MonitorService::PublishRecord() {
  std::lock_guard<std::mutex> store(storeLock_);
  return PublishLocked();
}

bool MonitorService::PublishLocked() { return PublishLocked(*RecordCopy()); }

bool MonitorService::PublishLocked(const SettingsRecord& copy) {
  // The block's holder may be hung: the next game check tries again.
  publishPending_ = !ports_.block.Publish(copy);
  return !publishPending_;
}

void MonitorService::CopyRecord(SettingsRecord& copy) {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  copy = *record_;
}

std::unique_ptr<SettingsRecord> MonitorService::RecordCopy() {
  auto copy = std::make_unique<SettingsRecord>();
  CopyRecord(*copy);
  return copy;
}

void MonitorService::StartDevice(std::uintptr_t window, bool openConfiguration) {
  window_ = window;
  ports_.device.OpenDevMonitor(window_, kMsgDeviceEvent, kMsgDevicePresence);
  const bool present = ports_.device.OpenFeatureDevice();
  // Present before the first read is scheduled: the device thread acts only while the mouse is present.
  transfer_.SetPresence(present ? Presence::Present : Presence::NotSeen);
  if (present) {
    StartGameChecks();
    ports_.window.StartTimer(kTimerFirstRead, kFirstReadDelay);
    ports_.window.AddTrayIcon();
    if (openConfiguration) OnCustomizer();
  }
  WriteDevicePresent(present ? 1 : 0);
  ApplyPointerSettings();
  ports_.shell.Open(ports_.moduleFolder + "KavoOSD.exe");
}

void MonitorService::PresenceChanged(unsigned data) {
  if (data == kPresenceArrival) OnArrival();
  if (data == kPresenceRemoval) OnRemoval();
}

void MonitorService::OnArrival() {
  if (transfer_.IsPresent()) return;
  ports_.clock.Sleep(kArrivalSettleTime);
  transfer_.SetPresence(Presence::Present);
  ports_.device.OpenFeatureDevice();
  ports_.window.PostDeviceCommand(kCommandReadAll);
  ports_.window.AddTrayIcon();
  WriteDevicePresent(1);
  StartGameChecks();
}

void MonitorService::OnRemoval() {
  dispatcher_.ReleaseHeld();
  dispatcher_.StopPlayback();
  transfer_.SetPresence(Presence::Removed);
  ports_.device.CloseFeatureDevice();
  transfer_.RaiseAbortIfBusy();
  ports_.window.RemoveTrayIcon();
  StopGameChecks();
  WriteDevicePresent(0);
  PostToOption(kMsgClose);
}

void MonitorService::OnConsoleConnect() {
  ports_.device.OpenDevMonitor(window_, kMsgDeviceEvent, kMsgDevicePresence);
  if (!ports_.device.OpenFeatureDevice()) return;
  StartGameChecks();
  ports_.window.PostDeviceCommand(kCommandReadAll);
  ports_.window.AddTrayIcon();
  WriteDevicePresent(1);
}

void MonitorService::OnConsoleDisconnect() {
  // The user is gone from this console: nothing may stay pressed or keep typing for them.
  dispatcher_.ReleaseHeld();
  dispatcher_.StopPlayback();
  WriteDevicePresent(0);
  ports_.device.CloseDevMonitor();
  ports_.device.CloseFeatureDevice();
}

void MonitorService::OnTimer(int id) {
  if (id == kTimerFirstRead) {
    ports_.window.KillTimer(kTimerFirstRead);
    ports_.window.PostDeviceCommand(kCommandReadAll);
  }
  if (id == kTimerMediaRepeat || id == kTimerShortcutRepeat) dispatcher_.OnTimer(id);
  if (id == kTimerForegroundSettle) {
    ports_.window.KillTimer(kTimerForegroundSettle);
    if (foregroundChanges_.Settled()) RunGameCheck();
  }
  if (id == kTimerGameCheck) RunGameCheck();
}

void MonitorService::StartGameChecks() {
  ports_.window.StartTimer(kTimerGameCheck, kGameCheckInterval);
  ports_.window.WatchForeground(true);
  foregroundChanges_.Watch(true);
}

void MonitorService::StopGameChecks() {
  ports_.window.KillTimer(kTimerGameCheck);
  ports_.window.WatchForeground(false);
  ports_.window.KillTimer(kTimerForegroundSettle);
  foregroundChanges_.Watch(false);
}

void MonitorService::OnForegroundChanged() {
  if (foregroundChanges_.Changed()) ports_.window.StartTimer(kTimerForegroundSettle, kForegroundSettleTime);
}

void MonitorService::RunGameCheck() {
  if (publishPending_) PublishRecord();
  CheckForegroundGame();
}

void MonitorService::CheckForegroundGame() {
  foregroundChanges_.Checked();
  const std::optional<std::string> foreground = ports_.processes.ForegroundModuleBaseName();
  const bool configurationOpen = ports_.desktop.WindowExists(kOptionWindowTitle);
  std::optional<int> target;
  {
    std::lock_guard<std::mutex> record(transfer_.RecordLock());
    target = GameProfileSwitch(*record_, foreground, configurationOpen);
  }
  if (target) SwitchProfile(*target);
}

void MonitorService::SwitchProfile(int profileIndex) {
  if (!IsProfileIndex(profileIndex)) return;
  dispatcher_.ReleaseHeld();
  ProfileRecord profile;
  {
    std::lock_guard<std::mutex> store(storeLock_);
    {
      std::lock_guard<std::mutex> record(transfer_.RecordLock());
      if (record_->CurrentProfile != profileIndex) transfer_.NoteHostChanges(kChangedCurrentProfile);
      record_->CurrentProfile = profileIndex;
      profile = record_->profiles[profileIndex];
    }
    PublishLocked();
  }
  ports_.window.PostDeviceCommand(kCommandWriteActiveProfile);
  ports_.settings.WriteWindowsSettingsOf(profile);
  ApplyPointerSettings();
  PostToOption(kMsgProfileChanged);
}

void MonitorService::OnApplyRecord(std::uintptr_t wParam) {
  dispatcher_.ReleaseHeld();
  // Nothing of a record that could not be taken whole is applied.
  if (!FetchRecord()) return;
  ApplyPointerSettings();
  ShowOnScreenSettings();
  transfer_.ApplyCommand(wParam == 1 ? 1 : 0);
}

bool MonitorService::FetchRecord() {
  auto fetched = std::make_unique<SettingsRecord>();
  std::lock_guard<std::mutex> store(storeLock_);
  if (!ports_.block.Fetch(*fetched)) {
    ports_.debug.Write("CMonitorWnd fetch of the shared record failed\n");
    return false;
  }
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  transfer_.NoteHostChanges(HostChangesBetween(*record_, *fetched));
  *record_ = *fetched;
  return true;
}

void MonitorService::OnFetchAndApplyPointer() {
  if (FetchRecord()) ApplyPointerSettings();
}

void MonitorService::ApplyPointerSettings() {
  // The system calls broadcast the change and take messages sent to this thread meanwhile, a 1224
  // among them: they are made on a copy, with no lock held.
  const auto copy = RecordCopy();
  monitor::ApplyPointerSettings(*copy, *mouseKey_, ports_.pointer);
  const int current = copy->CurrentProfile;
  if (!IsProfileIndex(current) || copy->profiles[current].Acceleration != 0) return;
  // Acceleration cleared to agree with Windows: kept while that profile is still current.
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  if (record_->CurrentProfile == current) record_->profiles[current].Acceleration = 0;
}

void MonitorService::OnCustomizer() {
  ports_.debug.Write("CMonitorWnd OnCustomizer\n");
  if (ports_.desktop.BringToFront(kOptionWindowTitle)) {
    ports_.debug.Write("CMonitorWnd OnCustomizer hWnd!=NULL\n");
    return;
  }
  ports_.debug.Write("CMonitorWnd OnCustomizer hWnd==NULL\n");
  ports_.shell.Open(ports_.moduleFolder + "KavoOption.exe");
}

void MonitorService::OnSystrayNotify(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kTrayLeftDown:
      ports_.window.BringPopupForward();
      break;
    case kTrayLeftDoubleClick:
      ports_.debug.Write("OnSystrayNotify WM_LBUTTONDBLCLK\n");
      OnCustomizer();
      break;
    case kTrayRightDown:
      ports_.window.ShowTrayMenu();
      break;
    default:
      break;
  }
}

void MonitorService::OnTaskbarCreated() {
  // The icon belongs in the tray exactly while the mouse is present.
  if (transfer_.IsPresent()) ports_.window.AddTrayIcon();
}

void MonitorService::OnMenuCommand(unsigned command) {
  if (command == kCmdConfiguration) OnCustomizer();
  if (command == kCmdExit) ports_.window.Close();
}

void MonitorService::BeginShutdown() {
  dispatcher_.ReleaseHeld();
  dispatcher_.StopPlayback();
  // No device command runs after this, so nothing can tell the mouse the host is back.
  transfer_.StopForShutdown();
  transfer_.SetHostActive(0);
  StopGameChecks();
  ports_.window.KillTimer(kTimerFirstRead);
  PostToOption(kMsgClose);
  ports_.desktop.PostToWindow(kOsdWindowTitle, kMsgClose, 0, 0);
  for (const char* title : kNoticeProgramTitles) ports_.desktop.PostToWindow(title, kMsgClose, 0, 0);
  transfer_.RaiseAbortIfBusy();
}

void MonitorService::CloseDevice() {
  ports_.device.CloseDevMonitor();
  ports_.device.CloseFeatureDevice();
}

void MonitorService::FirmwareVersionRead(int version) {
  std::lock_guard<std::mutex> files(filesLock_);
  ports_.settings.WriteFirmwareVersion(version);
}

void MonitorService::ProfilesRead() {
  {
    // Saved and published in one order with the window thread's changes, from the record as it is now.
    std::lock_guard<std::mutex> store(storeLock_);
    const auto copy = RecordCopy();
    {
      std::lock_guard<std::mutex> files(filesLock_);
      ports_.settings.WriteAll(*copy);
    }
    PublishLocked(*copy);
  }
  PostToOption(kMsgFreshData);
}

bool MonitorService::CurrentButton(int slot, MacroKeyInfo& entry) {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  if (!IsProfileIndex(record_->CurrentProfile) || slot < 0 || slot >= kButtonSlotCount) return false;
  entry = record_->profiles[record_->CurrentProfile].buttons[slot];
  return true;
}

int MonitorService::CurrentProfileValue(std::int32_t ProfileRecord::*field, int fallback) {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  return IsProfileIndex(record_->CurrentProfile) ? record_->profiles[record_->CurrentProfile].*field : fallback;
}

void MonitorService::ProfileChangedOnMouse(int profileIndex) {
  {
    std::lock_guard<std::mutex> store(storeLock_);
    ProfileRecord profile;
    {
      std::lock_guard<std::mutex> record(transfer_.RecordLock());
      record_->CurrentProfile = profileIndex;
      profile = record_->profiles[profileIndex];
    }
    {
      std::lock_guard<std::mutex> files(filesLock_);
      ports_.settings.WriteCurrentProfile(profileIndex);
    }
    PublishLocked();
    ports_.settings.WriteWindowsSettingsOf(profile);
  }
  ApplyPointerSettings();
  PostToOption(kMsgProfileChanged);
}

void MonitorService::DeviceValuesChangedOnMouse(const std::function<void(ProfileRecord&)>& change) {
  {
    std::lock_guard<std::mutex> store(storeLock_);
    {
      std::lock_guard<std::mutex> record(transfer_.RecordLock());
      if (!IsProfileIndex(record_->CurrentProfile)) return;
      change(record_->profiles[record_->CurrentProfile]);
    }
    PublishLocked();
  }
  PostToOption(kMsgResolutionChanged);
}

void MonitorService::LowBattery() {
  {
    std::lock_guard<std::mutex> files(filesLock_);
    ports_.settings.WriteNoticeText("Low Battery");
  }
  ports_.desktop.PostToWindow(kOsdWindowTitle, kMsgOsdNotice, kOsdLowBatteryReason, 0);
}

void MonitorService::WriteDevicePresent(int present) {
  std::lock_guard<std::mutex> files(filesLock_);
  ports_.settings.WriteDevicePresent(present);
}

void MonitorService::ShowOnScreenSettings() {
  {
    std::lock_guard<std::mutex> files(filesLock_);
    ports_.settings.ReadOSDSetting(osd_);
  }
  ports_.desktop.PostToWindow(kOsdWindowTitle, kMsgOsdSettings, 0, OnScreenSettingsParameter(osd_));
}

void MonitorService::PostToOption(unsigned message) { ports_.desktop.PostToWindow(kOptionWindowTitle, message, 0, 0); }

}  // namespace kavo::monitor
