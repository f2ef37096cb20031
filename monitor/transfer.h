#pragma once
// Keeps the settings record and the mouse in step: reads all five profiles out of the mouse, writes the
// flagged changes into it, forwards a reset request and tells it whether the host software runs. Used from
// the window thread and the device thread at once; one lock serialises each report exchange and each
// store into the record.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "monitor/clock.h"
#include "monitor/device_link.h"
#include "settings/settings_record.h"

namespace kavo {

enum class Presence : int { NotSeen = 0, Present = 1, Removed = 2 };

// What the service does around a transfer.
class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // The firmware version as read (0 when the read failed), to be kept as FWVersion.
  virtual void FirmwareVersionRead(int version) = 0;
  // All profiles were read: save, publish and announce the record. Called with the record lock held.
  virtual void ProfilesRead(const SettingsRecord& record) = 0;
};

// Commands of the device thread.
enum DeviceCommand : int { kCommandReadAll = 2, kCommandWriteActiveProfile = 3 };

class DeviceTransfer {
 public:
  DeviceTransfer(DeviceLink& device, Clock& clock, SettingsRecord& record, TransferObserver& observer);

  // Held by anyone who copies the whole record while transfers may run.
  std::mutex& RecordLock() { return lock_; }

  void SetPresence(Presence presence) { present_ = static_cast<int>(presence); }
  Presence presence() const { return static_cast<Presence>(present_.load()); }
  bool IsPresent() const { return presence() == Presence::Present; }
  bool busy() const { return busy_ != 0; }
  bool abortRaised() const { return abort_ != 0; }
  // Removal and shutdown stop a device-thread command at its next pause.
  void RaiseAbortIfBusy();

  // Up to milliseconds/100 sleeps of 100 ms, ending early when the abort flag is raised; false when aborted.
  bool Pause(int milliseconds);
  // Polls the status after a write; true when the mouse answered ready.
  bool WaitDeviceReady(int firstWaitMilliseconds);

  int ReadFirmwareVersion();
  bool ReadActiveProfile();
  bool ReadProfileSettings(int profileIndex);
  bool ReadProfileButtons(int profileIndex);
  bool WriteActiveProfile();
  bool WriteProfileSettings(int profileIndex);
  bool WriteProfileButtons(int profileIndex);
  bool SendResetRequest();
  bool SetHostActive(int flag);

  bool ReadAllFromDevice();
  void ApplyChangesToDevice();

  // One command of the device thread (thread message 1649): ignored unless the mouse is present.
  void RunDeviceCommand(int command);
  // The device part of the configuration program's apply (message 1224): wParam 1 asks for a reset of
  // the mouse instead of the changes. Nothing is written unless the mouse is present.
  void ApplyCommand(int wParam);

 private:
  bool Exchange(const std::uint8_t* report, std::size_t length, int firstWait);  // caller holds lock_
  template <std::size_t N>
  bool SelectAndRead(int profileIndex, std::uint8_t what, std::array<std::uint8_t, N>& report);  // caller holds lock_

  DeviceLink& device_;
  Clock& clock_;
  SettingsRecord& record_;
  TransferObserver& observer_;
  std::mutex lock_;
  std::atomic<int> present_{static_cast<int>(Presence::NotSeen)};
  std::atomic<int> busy_{0};
  std::atomic<int> abort_{0};
};

}  // namespace kavo
