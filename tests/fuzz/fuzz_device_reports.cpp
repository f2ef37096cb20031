// Any answers from the device library: the transfer never reads or writes out of bounds, keeps the active
// profile a valid index or none, and stores a profile's values only from a report with a matching checksum.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "tests/fuzz/fuzz_checks.h"
#include "monitor/feature_reports.h"
#include "monitor/transfer.h"
#include "tests/support/fake_clock.h"

namespace {

using kavo::fuzz::Check;

// Answers every call from the fuzz input: one byte decides success, then the answer's bytes.
class FuzzedDevice final : public kavo::monitor::DeviceLink {
 public:
  FuzzedDevice(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  void OpenDevMonitor(std::uintptr_t, unsigned, unsigned) override {}
  void CloseDevMonitor() override {}
  bool OpenFeatureDevice() override { return true; }
  void CloseFeatureDevice() override {}
  bool SetFeature(const std::uint8_t*, std::size_t) override { return Next() & 1; }
  bool GetFeature(std::uint8_t* report, std::size_t length) override {
    if (!(Next() & 1)) return false;
    for (std::size_t i = 0; i < length; ++i) report[i] = Next();
    return true;
  }
  int GetMousePID() override { return Next() << 8 | Next(); }

 private:
  std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class IgnoringObserver final : public kavo::monitor::TransferObserver {
 public:
  void FirmwareVersionRead(int version) override { Check(version >= 0 && version <= 255); }
  void ProfilesRead() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kavo::test::FakeClock clock;
  FuzzedDevice device(data, size);
  IgnoringObserver observer;
  auto record = std::make_unique<kavo::SettingsRecord>();
  kavo::ClearRecord(*record);
  kavo::ResetToDefaults(*record, 1);
  auto before = std::make_unique<kavo::SettingsRecord>(*record);
  kavo::monitor::DeviceTransfer transfer(device, clock, *record, observer);
  transfer.SetPresence(kavo::monitor::Presence::Present);

  transfer.RunDeviceCommand(kavo::monitor::kCommandReadAll);
  Check(record->CurrentProfile >= 0 && record->CurrentProfile <= 4);
  // Only the values that travel may change; names, paths and macros stay the host's.
  for (int p = 0; p < kavo::kProfileCount; ++p) {
    const auto& now = record->profiles[p];
    const auto& was = before->profiles[p];
    Check(std::memcmp(now.ProFileName, was.ProFileName, sizeof now.ProFileName) == 0);
    Check(now.DbleClickSpeed == was.DbleClickSpeed && now.PollingRate == was.PollingRate);
    for (int slot = 0; slot < kavo::kButtonSlotCount; ++slot) {
      Check(now.buttons[slot].slot == was.buttons[slot].slot);
      Check(now.buttons[slot].eventCount == was.buttons[slot].eventCount);
    }
    Check(now.Sensitivity_X >= 0 && now.Sensitivity_X <= 255);
  }

  for (auto& flag : record->SettingsChanged) flag = 1;
  for (auto& profile : record->ButtonChanged) profile[0] = 1;
  record->CurrentProfileChanged = 1;
  transfer.ApplyCommand(0);
  transfer.ApplyCommand(1);
  return 0;
}
