#pragma once
// A mouse behind the device library that answers feature reports, with faults on request, and a log of
// every call (which thread, when, what) to check what was exchanged and in which order.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "monitor/device_link.h"
#include "tests/support/fake_clock.h"

namespace kavo::test {

struct FeatureCall {
  bool set;                        // SetFeature, else GetFeature
  std::vector<std::uint8_t> bytes; // as sent, or as answered
  bool ok;
  int time;
  std::thread::id thread;
};

class FakeDevice final : public monitor::DeviceLink {
 public:
  explicit FakeDevice(const FakeClock* clock = nullptr);

  void OpenDevMonitor(std::uintptr_t window, unsigned eventMessage, unsigned presenceMessage) override;
  void CloseDevMonitor() override { Note("CloseDevMonitor"); }
  bool OpenFeatureDevice() override;
  void CloseFeatureDevice() override { Note("CloseFeatureDevice"); }
  bool SetFeature(const std::uint8_t* report, std::size_t length) override;
  bool GetFeature(std::uint8_t* report, std::size_t length) override;
  int GetMousePID() override { return productId; }

  std::vector<FeatureCall> Calls() const;
  // The opens and closes of the listener and the feature channel, in order.
  std::vector<std::string> LibraryCalls() const;
  std::vector<FeatureCall> Writes() const;  // every SetFeature except the selects of report 4

  // What the mouse holds.
  std::uint8_t settings[5][8] = {};
  std::uint8_t buttons[5][14] = {};  // in the order the reports carry them
  std::uint8_t activeProfile = 0;
  std::uint8_t firmware = 141;
  int productId = 0x2CF6;
  int hostActive = -1;
  int resetRequests = 0;
  bool attached = true;  // what opening the feature channel finds

  // Faults.
  std::deque<int> statuses;  // answers to status reads; ready (1) when empty, -1 makes that read fail
  std::function<bool(bool set, const std::uint8_t* report)> failWhen;  // calls the library reports failed
  std::set<std::pair<int, int>> badChecksum;  // (report id, profile) reads answered with a wrong checksum
  std::uint8_t activeProfileAnswer = 0xFF;    // when not 0xFF, what report 5 answers instead

 private:
  mutable std::mutex lock_;
  const FakeClock* clock_;
  void Note(std::string call);
  std::vector<FeatureCall> calls_;
  std::vector<std::string> libraryCalls_;
  int selectedProfile_ = 0;
  int selectedWhat_ = 0;
};

}  // namespace kavo::test
