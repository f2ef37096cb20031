#include "monitor/service.h"

#include <cstring>

#include "monitor/service_messages.h"
#include "settings/language.h"

namespace kavo {
namespace {

constexpr int kGameCheckInterval = 2000;
constexpr int kFirstReadDelay = 200;
constexpr int kArrivalSettleTime = 5000;  // a mouse just plugged in needs this before it answers
constexpr std::uintptr_t kLowBatteryNotice = 50;

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
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  return ports_.block.Publish(*record_);
}

void MonitorService::CopyRecord(SettingsRecord& copy) {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  copy = *record_;
}

void MonitorService::StartDevice(std::uintptr_t window, bool openConfiguration) {
  window_ = window;
  ports_.device.OpenDevMonitor(window_, kMsgDeviceEvent, kMsgDevicePresence);
  const bool present = ports_.device.OpenFeatureDevice();
  // Present before the first read is scheduled: the device thread acts only while the mouse is present.
  transfer_.SetPresence(present ? Presence::Present : Presence::NotSeen);
  if (present) {
    ports_.window.StartTimer(kTimerGameCheck, kGameCheckInterval);
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
  ports_.window.StartTimer(kTimerGameCheck, kGameCheckInterval);
}

void MonitorService::OnRemoval() {
  dispatcher_.ReleaseHeld();
  transfer_.SetPresence(Presence::Removed);
  ports_.device.CloseFeatureDevice();
  transfer_.RaiseAbortIfBusy();
  ports_.window.RemoveTrayIcon();
  ports_.window.KillTimer(kTimerGameCheck);
  WriteDevicePresent(0);
  PostToOption(kMsgClose);
}

void MonitorService::OnConsoleConnect() {
  ports_.device.OpenDevMonitor(window_, kMsgDeviceEvent, kMsgDevicePresence);
  if (!ports_.device.OpenFeatureDevice()) return;
  ports_.window.StartTimer(kTimerGameCheck, kGameCheckInterval);
  ports_.window.PostDeviceCommand(kCommandReadAll);
  ports_.window.AddTrayIcon();
  WriteDevicePresent(1);
}

void MonitorService::OnConsoleDisconnect() {
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
  if (id == kTimerGameCheck) CheckForegroundGame();
}

void MonitorService::CheckForegroundGame() {
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
  {
    std::lock_guard<std::mutex> record(transfer_.RecordLock());
    record_->CurrentProfile = profileIndex;
    ports_.block.Publish(*record_);
  }
  ports_.window.PostDeviceCommand(kCommandWriteActiveProfile);
  {
    std::lock_guard<std::mutex> record(transfer_.RecordLock());
    ports_.settings.WriteWindowsSettingsOf(record_->profiles[profileIndex]);
  }
  ApplyPointerSettings();
  PostToOption(kMsgProfileChanged);
}

void MonitorService::OnApplyRecord(std::uintptr_t wParam) {
  dispatcher_.ReleaseHeld();
  OnFetchAndApplyPointer();
  ShowOnScreenSettings();
  transfer_.ApplyCommand(wParam == 1 ? 1 : 0);
}

void MonitorService::OnFetchRecord() {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  ports_.block.Fetch(*record_);
}

void MonitorService::OnFetchAndApplyPointer() {
  OnFetchRecord();
  ApplyPointerSettings();
}

void MonitorService::ApplyPointerSettings() {
  std::lock_guard<std::mutex> record(transfer_.RecordLock());
  kavo::ApplyPointerSettings(*record_, *mouseKey_, ports_.pointer);
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
  transfer_.SetHostActive(0);
  ports_.window.KillTimer(kTimerGameCheck);
  ports_.window.KillTimer(kTimerFirstRead);
  PostToOption(kMsgClose);
  for (const char* title : kNoticeWindowTitles) ports_.desktop.PostToWindow(title, kMsgClose, 0, 0);
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

void MonitorService::ProfilesRead(const SettingsRecord& record) {
  {
    std::lock_guard<std::mutex> files(filesLock_);
    ports_.settings.WriteAll(record);
  }
  ports_.block.Publish(record);
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
    std::lock_guard<std::mutex> record(transfer_.RecordLock());
    record_->CurrentProfile = profileIndex;
    {
      std::lock_guard<std::mutex> files(filesLock_);
      ports_.settings.WriteCurrentProfile(profileIndex);
    }
    ports_.block.Publish(*record_);
    ports_.settings.WriteWindowsSettingsOf(record_->profiles[profileIndex]);
  }
  ApplyPointerSettings();
  PostToOption(kMsgProfileChanged);
}

void MonitorService::DeviceValuesChangedOnMouse(const std::function<void(ProfileRecord&)>& change) {
  {
    std::lock_guard<std::mutex> record(transfer_.RecordLock());
    if (!IsProfileIndex(record_->CurrentProfile)) return;
    change(record_->profiles[record_->CurrentProfile]);
    ports_.block.Publish(*record_);
  }
  PostToOption(kMsgResolutionChanged);
}

void MonitorService::LowBattery() {
  {
    std::lock_guard<std::mutex> files(filesLock_);
    ports_.settings.WriteNoticeText("Low Battery");
  }
  ports_.desktop.PostToWindow(kOsdWindowTitle, kMsgOsdNotice, kLowBatteryNotice, 0);
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

}  // namespace kavo
