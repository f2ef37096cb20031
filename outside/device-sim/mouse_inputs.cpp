#include "outside/device-sim/mouse_inputs.h"

#include <algorithm>

#include "outside/device-sim/device_events.h"
#include "outside/device-sim/feature_answers.h"

namespace kavo::sim {
namespace {

constexpr int kSensitivityLowest = 1;
constexpr int kSensitivityHighest = 10;
constexpr int kResolutionLowest = 1;
constexpr int kResolutionHighest = 4;

bool IsDualwheel(std::uint8_t code) {
  return code >= kFunctionDualwheelSensitivity && code <= kFunctionDualwheelVolume;
}

bool IsMedia(std::uint8_t code) { return code >= kFunctionFirstMedia && code <= kFunctionVolumeDown; }

// Code of the first held input whose normal-layer code passes the test, or 0. The input being pressed is
// not held yet, so it never modifies itself.
template <typename Test>
std::uint8_t HeldModifier(const MouseMemory& memory, Test test) {
  const ProfileMemory& profile = memory.profiles[memory.activeProfile];
  for (int input = 1; input <= kPhysicalInputCount; ++input) {
    if (memory.held[input - 1].slot == kNotHeld) continue;
    const std::uint8_t code = profile.buttons[input - 1];
    if (test(code)) return code;
  }
  return 0;
}

void StepProfile(MouseMemory& memory, std::uint8_t function) {
  const int active = memory.activeProfile;
  int next = active;
  if (function == kFunctionProfileCycle) next = (active + 1) % kProfileCount;
  if (function == kFunctionProfileUp) next = std::min(active + 1, kProfileCount - 1);
  if (function == kFunctionProfileDown) next = std::max(active - 1, 0);
  if (next == active) return;
  memory.activeProfile = static_cast<std::uint8_t>(next);
  QueueEvent(memory, kClassProfile, static_cast<std::uint16_t>(next + 1));
}

void StepResolution(MouseMemory& memory, std::uint8_t function) {
  auto& settings = memory.profiles[memory.activeProfile].settings;
  const int current = settings[kCpiX];
  // A code from outside the range (written by the host) counts as the nearest end.
  const int known = std::clamp(current, kResolutionLowest, kResolutionHighest);
  int next = current;
  if (function == kFunctionDpiCycle)
    next = current == known && known < kResolutionHighest ? known + 1 : kResolutionLowest;
  if (function == kFunctionDpiUp) next = std::min(known + 1, kResolutionHighest);
  if (function == kFunctionDpiDown) next = std::max(known - 1, kResolutionLowest);
  if (next == current) return;
  settings[kCpiX] = settings[kCpiY] = static_cast<std::uint8_t>(next);
  QueueEvent(memory, kClassResolution, static_cast<std::uint16_t>(next));
}

void StepSensitivity(MouseMemory& memory, int step) {
  auto& settings = memory.profiles[memory.activeProfile].settings;
  const int x = std::clamp(settings[kSensitivityX] + step, kSensitivityLowest, kSensitivityHighest);
  const int y = std::clamp(settings[kSensitivityY] + step, kSensitivityLowest, kSensitivityHighest);
  if (x == settings[kSensitivityX] && y == settings[kSensitivityY]) return;
  settings[kSensitivityX] = static_cast<std::uint8_t>(x);
  settings[kSensitivityY] = static_cast<std::uint8_t>(y);
  QueueEvent(memory, kClassSensitivity, static_cast<std::uint16_t>(x | (y << 8)));
}

void TapMedia(MouseMemory& memory, std::uint8_t code) {
  QueueEvent(memory, kClassMedia, ButtonData(code, false));
  QueueEvent(memory, kClassMedia, ButtonData(code, true));
}

// One notch of the wheel while a Dualwheel button is held.
void TurnDualwheel(MouseMemory& memory, std::uint8_t dualwheel, bool up) {
  switch (dualwheel) {
    case kFunctionDualwheelSensitivity:
      StepSensitivity(memory, up ? 1 : -1);
      break;
    case kFunctionDualwheelProfile:
      StepProfile(memory, up ? kFunctionProfileUp : kFunctionProfileDown);
      break;
    case kFunctionDualwheelDpi:
      StepResolution(memory, up ? kFunctionDpiUp : kFunctionDpiDown);
      break;
    default:
      TapMedia(memory, up ? kFunctionVolumeUp : kFunctionVolumeDown);
      break;
  }
}

// The host carries out these codes, so the mouse reports both edges; it performs every other code itself.
void ReportEdge(MouseMemory& memory, int slot, std::uint8_t code, bool release) {
  const auto value = static_cast<std::uint8_t>(slot + 1);
  if (code == kFunctionKeyShortcut) QueueEvent(memory, kClassShortcut, ButtonData(value, release));
  if (code == kFunctionMacro) QueueEvent(memory, kClassMacro, ButtonData(value, release));
  if (code == kFunctionQuicklaunch) QueueEvent(memory, kClassLaunch, ButtonData(value, release));
  if (IsMedia(code)) QueueEvent(memory, kClassMedia, ButtonData(code, release));
}

void PerformPress(MouseMemory& memory, int slot, std::uint8_t code) {
  ReportEdge(memory, slot, code, false);
  switch (code) {
    case kFunctionTiltLeft:
      QueueEvent(memory, kClassTilt, kTiltLeftData);
      break;
    case kFunctionTiltRight:
      QueueEvent(memory, kClassTilt, kTiltRightData);
      break;
    case kFunctionProfileCycle:
    case kFunctionProfileUp:
    case kFunctionProfileDown:
      StepProfile(memory, code);
      break;
    case kFunctionDpiCycle:
    case kFunctionDpiUp:
    case kFunctionDpiDown:
      StepResolution(memory, code);
      break;
    default:
      break;
  }
}

}  // namespace

InputResult PressInput(MouseMemory& memory, int input) {
  if (input < 1 || input > kPhysicalInputCount) return InputResult::kNoSuchInput;
  if (!memory.plugged) return InputResult::kUnplugged;
  HeldInput& held = memory.held[input - 1];
  if (held.slot != kNotHeld) return InputResult::kDone;

  if (input == kInputWheelUp || input == kInputWheelDown) {
    if (const std::uint8_t dualwheel = HeldModifier(memory, IsDualwheel)) {
      held = HeldInput{kHeldForWheel, dualwheel};
      TurnDualwheel(memory, dualwheel, input == kInputWheelUp);
      return InputResult::kDone;
    }
  }
  const bool altLayer = HeldModifier(memory, [](std::uint8_t code) { return code == kFunctionAltlayer; });
  const int slot = input - 1 + (altLayer ? kInputsPerLayer : 0);
  const std::uint8_t code = memory.profiles[memory.activeProfile].buttons[slot];
  held = HeldInput{static_cast<std::uint8_t>(slot), code};
  PerformPress(memory, slot, code);
  return InputResult::kDone;
}

InputResult ReleaseInput(MouseMemory& memory, int input) {
  if (input < 1 || input > kPhysicalInputCount) return InputResult::kNoSuchInput;
  if (!memory.plugged) return InputResult::kUnplugged;
  HeldInput& held = memory.held[input - 1];
  if (held.slot != kNotHeld && held.slot != kHeldForWheel) ReportEdge(memory, held.slot, held.function, true);
  held = HeldInput{};
  return InputResult::kDone;
}

void Plug(MouseMemory& memory) {
  if (memory.plugged) return;
  memory.plugged = true;
  ++memory.attachment;
  memory.status = kStatusReady;
  QueuePresence(memory, true);
}

void Unplug(MouseMemory& memory) {
  if (!memory.plugged) return;
  memory.plugged = false;
  memory.held.fill(HeldInput{});
  memory.selection = Selection{};
  QueuePresence(memory, false);
}

}  // namespace kavo::sim
