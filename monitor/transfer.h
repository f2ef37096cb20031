#pragma once
// Keeps the settings record and the mouse in step: reads all five profiles out of the mouse, writes the
// flagged changes into it, forwards a reset request and tells it whether the host software runs. Used from
// the window thread and the device thread at once: one lock serialises the report exchanges, another
// guards the record and is held only to copy from it or store into it, so that a button event's look-up
// never waits behind a status poll. The exchange lock is taken first where both are held.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "monitor/clock.h"
#include "monitor/device_link.h"
#include "settings/settings_record.h"

namespace kavo::monitor {

enum class Presence : int { NotSeen = 0, Present = 1, Removed = 2 };

// What the service does around a transfer.
class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // The firmware version as read (0 when the read failed), to be kept as FWVersion.
  virtual void FirmwareVersionRead(int version) = 0;
  // All profiles were read into the record: save, publish and announce it. Called with no lock held.
  virtual void ProfilesRead() = 0;
};

// What the host side changed in the record while a read may run: bit p for profile p, and the current
// profile. A read does not store over what the user or the host changed after it began.
constexpr unsigned kChangedCurrentProfile = 1u << kProfileCount;
unsigned HostChangesBetween(const SettingsRecord& before, const SettingsRecord& after);

// Commands of the device thread.
enum DeviceCommand : int { kCommandReadAll = 2, kCommandWriteActiveProfile = 3 };

class DeviceTransfer {
 public:
  DeviceTransfer(DeviceLink& device, Clock& clock, SettingsRecord& record, TransferObserver& observer);

  // Held by anyone who reads or changes the record while transfers may run; never across a call out.
  std::mutex& RecordLock() { return recordLock_; }
  // Host-side changes (HostChangesBetween) a read in progress must keep. Caller holds RecordLock().
  void NoteHostChanges(unsigned changes) { hostChanges_ |= changes; }

  void SetPresence(Presence presence) { present_ = static_cast<int>(presence); }
  Presence presence() const { return static_cast<Presence>(present_.load()); }
  bool IsPresent() const { return presence() == Presence::Present; }
  bool busy() const { return busy_ != 0; }
  bool abortRaised() const { return abort_ != 0; }
  // Removal stops a device-thread command at its next pause.
  void RaiseAbortIfBusy();
  // Shutdown: the command in progress stops at its next pause and no later command runs.
  void StopForShutdown();

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
  // Flag 1 is not sent once a stop was asked for: whoever stopped the command tells the mouse.
  bool SetHostActive(int flag);

  bool ReadAllFromDevice();
  void ApplyChangesToDevice();

  // One command of the device thread (thread message 1649): ignored unless the mouse is present.
  void RunDeviceCommand(int command);
  // The device part of the configuration program's apply (message 1224): wParam 1 asks for a reset of
  // the mouse instead of the changes. Nothing is written unless the mouse is present.
  void ApplyCommand(int wParam);

 private:
  bool Exchange(const std::uint8_t* report, std::size_t length, int firstWait);  // caller holds deviceLock_
  template <std::size_t N>
  bool SelectAndRead(int profileIndex, std::uint8_t what, std::array<std::uint8_t, N>& report);  // caller holds deviceLock_
  // Under the record lock: false when the host changed it since the read began.
  bool MayStore(unsigned part) const { return !(hostChanges_ & part); }

  DeviceLink& device_;
  Clock& clock_;
  SettingsRecord& record_;
  TransferObserver& observer_;
  std::mutex deviceLock_;
  std::mutex recordLock_;
  unsigned hostChanges_ = 0;  // guarded by recordLock_
  std::mutex commandLock_;    // a command's start against the stops of removal and shutdown
  bool closing_ = false;      // guarded by commandLock_
  std::atomic<int> present_{static_cast<int>(Presence::NotSeen)};
  std::atomic<int> busy_{0};
  std::atomic<int> abort_{0};
};

}  // namespace kavo::monitor
