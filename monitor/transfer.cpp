#include "monitor/transfer.h"

#include <cstring>

#include "monitor/feature_reports.h"

namespace kavo::monitor {
namespace {

constexpr int kPauseStep = 100;
constexpr int kStepPause = 500;          // between the steps of a sequence
constexpr int kShortFirstWait = 100;     // after reports 5, 9 and 11
constexpr int kLongFirstWait = 500;      // after reports 6 and 7
constexpr int kSelectSettleTime = 100;   // between selecting a report and reading it
constexpr int kMaxStatusAttempts = 10;

int LaterWait(int attempt) { return attempt == 2 ? 1000 : attempt == 3 ? 1500 : 2000; }

}  // namespace

unsigned HostChangesBetween(const SettingsRecord& before, const SettingsRecord& after) {
  unsigned changes = before.CurrentProfile != after.CurrentProfile ? kChangedCurrentProfile : 0;
  for (int p = 0; p < kProfileCount; ++p) {
    if (std::memcmp(&before.profiles[p], &after.profiles[p], sizeof(ProfileRecord)) != 0) changes |= 1u << p;
  }
  return changes;
}

DeviceTransfer::DeviceTransfer(DeviceLink& device, Clock& clock, SettingsRecord& record, TransferObserver& observer)
    : device_(device), clock_(clock), record_(record), observer_(observer) {}

void DeviceTransfer::RaiseAbortIfBusy() {
  std::lock_guard<std::mutex> command(commandLock_);
  if (busy_) abort_ = 1;
}

void DeviceTransfer::StopForShutdown() {
  std::lock_guard<std::mutex> command(commandLock_);
  closing_ = true;
  abort_ = 1;
}

bool DeviceTransfer::Pause(int milliseconds) {
  for (int slept = 0; slept + kPauseStep <= milliseconds; slept += kPauseStep) {
    if (abort_) return false;
    clock_.Sleep(kPauseStep);
  }
  return !abort_;
}

bool DeviceTransfer::WaitDeviceReady(int firstWaitMilliseconds) {
  std::uint8_t status = 0;  // a failed read keeps the status before it
  for (int attempt = 1; attempt <= kMaxStatusAttempts; ++attempt) {
    if (!Pause(attempt == 1 ? firstWaitMilliseconds : LaterWait(attempt))) return false;
    std::uint8_t report[kStatusReportLength] = {kReportStatus};
    if (device_.GetFeature(report, sizeof report)) status = report[1];
    if (status != kStatusBusy) break;
  }
  return status == kStatusReady;
}

bool DeviceTransfer::Exchange(const std::uint8_t* report, std::size_t length, int firstWait) {
  return device_.SetFeature(report, length) && WaitDeviceReady(firstWait);
}

template <std::size_t N>
bool DeviceTransfer::SelectAndRead(int profileIndex, std::uint8_t what, std::array<std::uint8_t, N>& report) {
  const std::uint8_t select[kStatusReportLength] = {kReportStatus, static_cast<std::uint8_t>(profileIndex), what};
  if (!device_.SetFeature(select, sizeof select)) return false;
  clock_.Sleep(kSelectSettleTime);
  const std::uint8_t id = what == kSelectSettings ? kReportSettings : kReportButtons;
  report.fill(0);
  report[0] = id;
  // A report for another profile or with a damaged checksum is never stored.
  return device_.GetFeature(report.data(), N) && report[0] == id && report[2] == profileIndex &&
         ChecksumMatches(report.data(), N);
}

int DeviceTransfer::ReadFirmwareVersion() {
  int version = 0;
  {
    std::lock_guard<std::mutex> device(deviceLock_);
    std::uint8_t report[kFirmwareReportLength] = {kReportFirmware};
    if (device_.GetFeature(report, sizeof report)) version = report[2];
  }
  observer_.FirmwareVersionRead(version);
  return version;
}

bool DeviceTransfer::ReadActiveProfile() {
  std::lock_guard<std::mutex> device(deviceLock_);
  std::uint8_t report[kActiveProfileReportLength] = {kReportActiveProfile};
  if (!device_.GetFeature(report, sizeof report)) return false;
  if (!IsProfileIndex(report[2])) return false;
  std::lock_guard<std::mutex> record(recordLock_);
  if (MayStore(kChangedCurrentProfile)) record_.CurrentProfile = report[2];
  return true;
}

bool DeviceTransfer::ReadProfileSettings(int profileIndex) {
  if (!IsProfileIndex(profileIndex)) return false;
  std::lock_guard<std::mutex> device(deviceLock_);
  SettingsReport report;
  if (!SelectAndRead(profileIndex, kSelectSettings, report)) return false;
  std::lock_guard<std::mutex> record(recordLock_);
  if (MayStore(1u << profileIndex)) StoreSettings(report, record_.profiles[profileIndex]);
  return true;
}

bool DeviceTransfer::ReadProfileButtons(int profileIndex) {
  if (!IsProfileIndex(profileIndex)) return false;
  std::lock_guard<std::mutex> device(deviceLock_);
  ButtonsReport report;
  if (!SelectAndRead(profileIndex, kSelectButtons, report)) return false;
  std::lock_guard<std::mutex> record(recordLock_);
  if (MayStore(1u << profileIndex)) StoreButtons(report, record_.profiles[profileIndex]);
  return true;
}

bool DeviceTransfer::WriteActiveProfile() {
  std::lock_guard<std::mutex> device(deviceLock_);
  int current;
  {
    std::lock_guard<std::mutex> record(recordLock_);
    current = record_.CurrentProfile;
  }
  // With no active profile known there is nothing meaningful to send.
  if (!IsProfileIndex(current)) return false;
  const std::uint8_t report[kActiveProfileReportLength] = {kReportActiveProfile, kActiveProfileReportLength,
                                                           static_cast<std::uint8_t>(current)};
  return Exchange(report, sizeof report, kShortFirstWait);
}

bool DeviceTransfer::WriteProfileSettings(int profileIndex) {
  if (!IsProfileIndex(profileIndex)) return false;
  std::lock_guard<std::mutex> device(deviceLock_);
  SettingsReport report;
  {
    std::lock_guard<std::mutex> record(recordLock_);
    report = EncodeSettings(profileIndex, record_.profiles[profileIndex]);
  }
  return Exchange(report.data(), report.size(), kLongFirstWait);
}

bool DeviceTransfer::WriteProfileButtons(int profileIndex) {
  if (!IsProfileIndex(profileIndex)) return false;
  std::lock_guard<std::mutex> device(deviceLock_);
  ButtonsReport report;
  {
    std::lock_guard<std::mutex> record(recordLock_);
    report = EncodeButtons(profileIndex, record_.profiles[profileIndex]);
  }
  return Exchange(report.data(), report.size(), kLongFirstWait);
}

bool DeviceTransfer::SendResetRequest() {
  std::lock_guard<std::mutex> device(deviceLock_);
  const std::uint8_t report[kFirmwareReportLength] = {kReportFirmware, kFirmwareReportLength, kResetRequest, 0, 0, 0};
  return Exchange(report, sizeof report, kShortFirstWait);
}

bool DeviceTransfer::SetHostActive(int flag) {
  std::lock_guard<std::mutex> device(deviceLock_);
  // Looked at under the exchange lock: a stop's own host-active 0 then always goes out after this.
  if (flag == 1 && abort_) return false;
  const std::uint8_t report[kHostActiveReportLength] = {kReportHostActive, kHostActiveReportLength,
                                                        static_cast<std::uint8_t>(flag)};
  return Exchange(report, sizeof report, kShortFirstWait);
}

bool DeviceTransfer::ReadAllFromDevice() {
  {
    std::lock_guard<std::mutex> record(recordLock_);
    hostChanges_ = 0;
  }
  ReadFirmwareVersion();
  if (!Pause(kStepPause)) return false;
  ReadActiveProfile();
  if (!Pause(kStepPause)) return false;
  for (int p = 0; p < kProfileCount; ++p) {
    ReadProfileSettings(p);
    if (!Pause(kStepPause)) return false;
  }
  bool lastRead = false;
  for (int p = 0; p < kProfileCount; ++p) {
    lastRead = ReadProfileButtons(p);
    if (!Pause(kStepPause)) return false;
  }
  const int productId = device_.GetMousePID();
  {
    std::lock_guard<std::mutex> record(recordLock_);
    record_.MouseType = productId == kMouseTypeProductId ? 1 : 0;
    std::memset(record_.ButtonChanged, 0, sizeof record_.ButtonChanged);
  }
  if (lastRead) observer_.ProfilesRead();
  return lastRead;
}

void DeviceTransfer::ApplyChangesToDevice() {
  // The flags are taken once: the device thread may clear the button flags while this runs.
  bool activeChanged, settingsChanged[kProfileCount], buttonsChanged[kProfileCount];
  {
    std::lock_guard<std::mutex> record(recordLock_);
    activeChanged = record_.CurrentProfileChanged == 1;
    for (int p = 0; p < kProfileCount; ++p) {
      settingsChanged[p] = record_.SettingsChanged[p] == 1;
      buttonsChanged[p] = false;
      for (int flag : record_.ButtonChanged[p]) buttonsChanged[p] |= flag == 1;
    }
  }
  if (activeChanged) {
    WriteActiveProfile();
    if (!Pause(kStepPause)) return;
  }
  for (int p = 0; p < kProfileCount; ++p) {
    if (!settingsChanged[p]) continue;
    WriteProfileSettings(p);
    if (!Pause(kStepPause)) return;
  }
  for (int p = 0; p < kProfileCount; ++p) {
    if (!buttonsChanged[p]) continue;
    WriteProfileButtons(p);
    if (!Pause(kStepPause)) return;
  }
}

void DeviceTransfer::RunDeviceCommand(int command) {
  if (command != kCommandReadAll && command != kCommandWriteActiveProfile) return;
  {
    std::lock_guard<std::mutex> stop(commandLock_);
    if (closing_ || !IsPresent()) return;
    busy_ = 1;
    abort_ = 0;
  }
  if (command == kCommandReadAll) {
    ReadAllFromDevice();
    // A stopped read (removal, shutdown) leaves the flag to whoever stopped it.
    SetHostActive(1);
  } else {
    WriteActiveProfile();
    clock_.Sleep(kStepPause);
  }
  busy_ = 0;
}

void DeviceTransfer::ApplyCommand(int wParam) {
  if (!IsPresent()) return;
  if (wParam == 1) {
    SendResetRequest();
  } else {
    ApplyChangesToDevice();
  }
}

}  // namespace kavo::monitor
