#include "outside/device-sim/feature_answers.h"

#include <algorithm>
#include <array>

namespace kavo::sim {
namespace {

constexpr std::size_t kSelectLength = 3;
constexpr std::size_t kActiveLength = 3;
constexpr std::size_t kSettingsLength = 13;
constexpr std::size_t kButtonsLength = 19;
constexpr std::size_t kFirmwareLength = 6;
constexpr std::size_t kHostActiveLength = 3;
constexpr std::size_t kLongestReport = kButtonsLength;

std::size_t WriteLength(std::uint8_t id) {
  switch (id) {
    case 4:
      return kSelectLength;
    case 5:
      return kActiveLength;
    case 6:
      return kSettingsLength;
    case 7:
      return kButtonsLength;
    case 9:
      return kFirmwareLength;
    case 11:
      return kHostActiveLength;
    default:
      return 0;
  }
}

// Every report can be read but the host-active flag, which only the host writes.
std::size_t ReadLength(std::uint8_t id) { return id == 11 ? 0 : WriteLength(id); }

std::uint16_t SumBefore(const std::uint8_t* report, std::size_t length) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 2 < length; ++i) sum = static_cast<std::uint16_t>(sum + report[i]);
  return sum;
}

bool ChecksumMatches(const std::uint8_t* report, std::size_t length) {
  const std::uint16_t sum = SumBefore(report, length);
  return report[length - 2] == (sum & 0xFF) && report[length - 1] == (sum >> 8);
}

void Seal(std::uint8_t* report, std::size_t length, bool spoil) {
  std::uint16_t sum = SumBefore(report, length);
  if (spoil) ++sum;
  report[length - 2] = static_cast<std::uint8_t>(sum & 0xFF);
  report[length - 1] = static_cast<std::uint8_t>(sum >> 8);
}

bool UseUp(std::uint32_t& counter) {
  if (counter == 0) return false;
  --counter;
  return true;
}

bool IsProfile(std::uint8_t index) { return index < kProfileCount; }

// The content checks of a written report of the right id and length; true when it was taken.
bool Take(MouseMemory& memory, const std::uint8_t* report, std::size_t length) {
  switch (report[0]) {
    case 4:
      if (!IsProfile(report[1]) || (report[2] != kSelectSettings && report[2] != kSelectButtons)) return false;
      memory.selection = Selection{report[1], report[2]};
      return true;
    case 5:
      if (report[1] != length || !IsProfile(report[2])) return false;
      memory.activeProfile = report[2];
      return true;
    case 6: {
      if (report[1] != length || !IsProfile(report[2]) || !ChecksumMatches(report, length)) return false;
      auto& settings = memory.profiles[report[2]].settings;
      std::copy(report + 3, report + 3 + kDeviceSettingCount, settings.begin());
      return true;
    }
    case 7: {
      if (report[1] != length || !IsProfile(report[2]) || !ChecksumMatches(report, length)) return false;
      auto& buttons = memory.profiles[report[2]].buttons;
      for (int i = 0; i < kButtonSlotCount; ++i) buttons[kDeviceSlotOrder[i]] = report[3 + i];
      return true;
    }
    case 9:
      if (report[1] != length || report[2] != 7 || report[3] != 0 || report[4] != 0 || report[5] != 0) return false;
      ResetProfiles(memory);
      ++memory.resetRequests;
      return true;
    case 11:
      if (report[1] != length || report[2] > 1) return false;
      memory.hostActive = report[2];
      return true;
    default:
      return false;
  }
}

// Fills answer (zeroed, id in byte 0); false when there is nothing to answer.
bool Answer(MouseMemory& memory, std::uint8_t* answer, std::size_t length) {
  switch (answer[0]) {
    case 4:
      answer[1] = UseUp(memory.faults.busy) ? kStatusBusy : memory.status;
      return true;
    case 5:
      answer[1] = static_cast<std::uint8_t>(length);
      answer[2] = memory.activeProfile;
      return true;
    case 6: {
      if (memory.selection.kind != kSelectSettings) return false;
      answer[1] = static_cast<std::uint8_t>(length);
      answer[2] = memory.selection.profile;
      const auto& settings = memory.profiles[memory.selection.profile].settings;
      std::copy(settings.begin(), settings.end(), answer + 3);
      Seal(answer, length, UseUp(memory.faults.badChecksum));
      return true;
    }
    case 7: {
      if (memory.selection.kind != kSelectButtons) return false;
      answer[1] = static_cast<std::uint8_t>(length);
      answer[2] = memory.selection.profile;
      const auto& buttons = memory.profiles[memory.selection.profile].buttons;
      for (int i = 0; i < kButtonSlotCount; ++i) answer[3 + i] = buttons[kDeviceSlotOrder[i]];
      Seal(answer, length, UseUp(memory.faults.badChecksum));
      return true;
    }
    case 9:
      answer[1] = static_cast<std::uint8_t>(length);
      answer[2] = memory.firmware;
      return true;
    default:
      return false;
  }
}

}  // namespace

bool AnswerSetFeature(MouseMemory& memory, const std::uint8_t* report, std::size_t length) {
  if (!memory.plugged || report == nullptr || length == 0) return false;
  if (UseUp(memory.faults.fail)) return false;
  // A report of the wrong length never reaches the mouse, so it leaves the status alone.
  if (length != WriteLength(report[0])) return false;
  const bool taken = Take(memory, report, length);
  memory.status = taken ? kStatusReady : kStatusRefused;
  return taken;
}

bool AnswerGetFeature(MouseMemory& memory, std::uint8_t* report, std::size_t length) {
  if (!memory.plugged || report == nullptr || length == 0) return false;
  if (UseUp(memory.faults.fail)) return false;
  if (length != ReadLength(report[0])) return false;
  std::array<std::uint8_t, kLongestReport> answer{};
  answer[0] = report[0];
  if (!Answer(memory, answer.data(), length)) return false;
  std::copy(answer.begin(), answer.begin() + length, report);
  return true;
}

bool FeatureChannel::Open(const MouseMemory& memory) {
  open_ = memory.plugged;
  attachment_ = memory.attachment;
  return open_;
}

bool FeatureChannel::IsUsable(const MouseMemory& memory) const {
  return open_ && memory.plugged && memory.attachment == attachment_;
}

}  // namespace kavo::sim
