#include "tests/support/fake_device.h"

#include <cstring>

#include "monitor/feature_reports.h"

namespace kavo::test {

using monitor::StampChecksum;
using monitor::kButtonsReportLength;
using monitor::kFirmwareReportLength;
using monitor::kReportActiveProfile;
using monitor::kReportButtons;
using monitor::kReportFirmware;
using monitor::kReportHostActive;
using monitor::kReportSettings;
using monitor::kReportStatus;
using monitor::kResetRequest;
using monitor::kSelectButtons;
using monitor::kSelectSettings;
using monitor::kSettingsReportLength;
using monitor::kStatusReady;

FakeDevice::FakeDevice(const FakeClock* clock) : clock_(clock) {}

bool FakeDevice::SetFeature(const std::uint8_t* report, std::size_t length) {
  std::lock_guard<std::mutex> hold(lock_);
  FeatureCall call{true, std::vector<std::uint8_t>(report, report + length), true, clock_ ? clock_->now() : 0,
                   std::this_thread::get_id()};
  if (failWhen && failWhen(true, report)) {
    call.ok = false;
  } else if (report[0] == kReportStatus && length == 3) {
    selectedProfile_ = report[1];
    selectedWhat_ = report[2];
  } else if (report[0] == kReportActiveProfile && length == 3) {
    activeProfile = report[2];
  } else if (report[0] == kReportSettings && length == kSettingsReportLength && report[2] < 5) {
    std::memcpy(settings[report[2]], report + 3, 8);
  } else if (report[0] == kReportButtons && length == kButtonsReportLength && report[2] < 5) {
    std::memcpy(buttons[report[2]], report + 3, 14);
  } else if (report[0] == kReportFirmware && length == kFirmwareReportLength && report[2] == kResetRequest) {
    ++resetRequests;
  } else if (report[0] == kReportHostActive && length == 3) {
    hostActive = report[2];
  } else {
    call.ok = false;
  }
  calls_.push_back(call);
  return call.ok;
}

bool FakeDevice::GetFeature(std::uint8_t* report, std::size_t length) {
  std::lock_guard<std::mutex> hold(lock_);
  bool ok = !(failWhen && failWhen(false, report));
  const int profile = selectedProfile_ < 5 ? selectedProfile_ : 0;
  if (ok) {
    switch (report[0]) {
      case kReportStatus: {
        int status = kStatusReady;
        if (!statuses.empty()) {
          status = statuses.front();
          statuses.pop_front();
        }
        if (status < 0) ok = false;
        else report[1] = static_cast<std::uint8_t>(status);
        break;
      }
      case kReportActiveProfile:
        report[2] = activeProfileAnswer != 0xFF ? activeProfileAnswer : activeProfile;
        break;
      case kReportFirmware:
        report[2] = firmware;
        break;
      case kReportSettings:
      case kReportButtons: {
        const bool isSettings = report[0] == kReportSettings;
        if (selectedWhat_ != (isSettings ? kSelectSettings : kSelectButtons) ||
            length != (isSettings ? kSettingsReportLength : kButtonsReportLength)) {
          ok = false;
          break;
        }
        report[1] = static_cast<std::uint8_t>(length);
        report[2] = static_cast<std::uint8_t>(profile);
        std::memcpy(report + 3, isSettings ? settings[profile] : buttons[profile], isSettings ? 8 : 14);
        StampChecksum(report, length);
        if (badChecksum.count({report[0], profile})) report[length - 1] ^= 0x5A;
        break;
      }
      default:
        ok = false;
    }
  }
  calls_.push_back(FeatureCall{false, std::vector<std::uint8_t>(report, report + length), ok,
                               clock_ ? clock_->now() : 0, std::this_thread::get_id()});
  return ok;
}

void FakeDevice::OpenDevMonitor(std::uintptr_t window, unsigned eventMessage, unsigned presenceMessage) {
  Note("OpenDevMonitor " + std::to_string(window) + " " + std::to_string(eventMessage) + " " +
       std::to_string(presenceMessage));
}

bool FakeDevice::OpenFeatureDevice() {
  Note("OpenFeatureDevice");
  return attached;
}

void FakeDevice::Note(std::string call) {
  std::lock_guard<std::mutex> hold(lock_);
  libraryCalls_.push_back(std::move(call));
}

std::vector<std::string> FakeDevice::LibraryCalls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return libraryCalls_;
}

std::vector<FeatureCall> FakeDevice::Calls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return calls_;
}

std::vector<FeatureCall> FakeDevice::Writes() const {
  std::vector<FeatureCall> writes;
  for (const auto& call : Calls()) {
    if (call.set && call.bytes[0] != kReportStatus) writes.push_back(call);
  }
  return writes;
}

}  // namespace kavo::test
