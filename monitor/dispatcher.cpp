#include "monitor/dispatcher.h"

#include "monitor/playback_keys.h"
#include "monitor/service_messages.h"

namespace kavo::monitor {
namespace {

constexpr unsigned kClassTilt = 0x1000, kClassProfile = 0x3000, kClassMacroButton = 0x4000,
                   kClassHeldButton = 0x5000, kClassLaunch = 0x6000, kClassBattery = 0x7000,
                   kClassConfiguration = 0xA000, kClassResolution = 0xB000, kClassSensitivity = 0xC000,
                   kClassPollingRate = 0xD000, kClassMedia = 0xF000;

constexpr int kShortcutFirstRepeat = 1000, kShortcutRepeat = 100, kVolumeRepeat = 300;
constexpr unsigned kTiltRight = 1, kTiltLeft = 255;
constexpr int kMediaStart = 32, kMediaMute = 37, kMediaVolumeUp = 38, kMediaVolumeDown = 39;

unsigned ClassOf(std::uint32_t code) { return code >> 16; }
unsigned DataOf(std::uint32_t code) { return code & 0xFFFF; }
unsigned ValueOf(std::uint32_t code) { return code & 0xFF; }
unsigned StatusOf(std::uint32_t code) { return code >> 8 & 0xFF; }
bool IsSlotValue(unsigned value) { return value >= 1 && value <= kButtonSlotCount; }

}  // namespace

void EventDispatcher::OnDeviceMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uint32_t code = EventCode(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
  if (releasePending_ && code == lastEvent_) {
    releasePending_ = false;
    return;
  }
  lastEvent_ = code;
  releasePending_ = false;
  DispatchEvent(code);
}

void EventDispatcher::OnPresenceMessage(std::uintptr_t wParam) {
  const unsigned data = wParam == 1 ? kPresenceArrival : wParam == 0 ? kPresenceRemoval : kPresenceIgnored;
  lastEvent_ = EventCode(kEventClassPresence, data);
  releasePending_ = false;
  DispatchEvent(lastEvent_);
}

void EventDispatcher::DispatchEvent(std::uint32_t code) {
  const unsigned data = DataOf(code), value = ValueOf(code), status = StatusOf(code);
  switch (ClassOf(code)) {
    case kClassTilt:
      if (data == kTiltRight || data == kTiltLeft) {
        parts_.scroller.Scroll(data == kTiltRight ? 1 : -1, parts_.host.CurrentProfileValue(&ProfileRecord::TiltSpeed, 0));
      }
      break;
    case kClassProfile:
      if (data >= 1 && data <= kProfileCount) parts_.host.ProfileChangedOnMouse(static_cast<int>(data) - 1);
      break;
    case kClassMacroButton:
    case kClassHeldButton:
      if (IsSlotValue(value)) ButtonFunction(static_cast<int>(value) - 1, status != 0);
      break;
    case kClassLaunch:
      if (IsSlotValue(value) && status == 0) LaunchProgram(static_cast<int>(value) - 1);
      break;
    case kClassBattery:
      if (data == 1) parts_.host.LowBattery();
      break;
    case kEventClassPresence:
      if (data == kPresenceArrival || data == kPresenceRemoval) parts_.host.PresenceChanged(data);
      break;
    case kClassConfiguration:
      if (data == 1) parts_.window.PostCommand(kCmdConfiguration);
      break;
    case kClassResolution:
    case kClassSensitivity:
    case kClassPollingRate:
      MirrorDeviceValues(ClassOf(code), data);
      break;
    case kClassMedia:
      if (value >= kMediaStart && value <= kMediaVolumeDown) MediaFunction(static_cast<int>(value), status != 0);
      break;
    default:
      break;
  }
}

void EventDispatcher::ButtonFunction(int slot, bool release) {
  const std::uint32_t slotBit = 1u << slot;
  MacroKeyInfo entry;
  const bool known = parts_.host.CurrentButton(slot, entry);
  // A release lets go of what its press pressed: the profile may have changed under the held button.
  if (release && ((shortcutSlots_ & slotBit) || (known && entry.function == kFunctionKeyShortcut))) {
    shortcutSlots_ = 0;
    parts_.window.KillTimer(kTimerShortcutRepeat);
    parts_.shortcuts.Release();
    return;
  }
  if (!known || release) return;
  if (entry.function == kFunctionKeyShortcut) {
    shortcutValue_ = ShortcutValue(reinterpret_cast<const std::uint8_t*>(entry.events));
    parts_.shortcuts.Press(shortcutValue_);
    shortcutSlots_ |= slotBit;
    repeatPending_ = true;
    parts_.window.StartTimer(kTimerShortcutRepeat, kShortcutFirstRepeat);
  } else if (entry.function == kFunctionMacro) {
    parts_.macros.StartMacro(entry);
  }
}

void EventDispatcher::LaunchProgram(int slot) {
  MacroKeyInfo entry;
  if (!parts_.host.CurrentButton(slot, entry) || entry.function != kFunctionQuicklaunch) return;
  if (entry.programPath[0] != '\0') parts_.shell.Open(entry.programPath);
}

void EventDispatcher::MediaFunction(int value, bool release) {
  const int player = parts_.host.CurrentProfileValue(&ProfileRecord::MediaOption, 0);
  if (value == kMediaVolumeUp || value == kMediaVolumeDown) {
    if (release) {
      parts_.window.KillTimer(kTimerMediaRepeat);
      return;
    }
    volumeValue_ = value;
    MediaKey(parts_.input, value == kMediaVolumeUp ? kVirtualVolumeUp : kVirtualVolumeDown);
    parts_.window.StartTimer(kTimerMediaRepeat, kVolumeRepeat);
    return;
  }
  if (release) return;
  if (value == kMediaStart) {
    parts_.players.StartOrBringForward(player);
  } else if (value == kMediaMute) {
    MediaKey(parts_.input, kVirtualVolumeMute);
  } else {
    parts_.players.Command(player, static_cast<MediaCommand>(value));
  }
}

void EventDispatcher::MirrorDeviceValues(unsigned eventClass, unsigned data) {
  const unsigned low = data & 0xFF, high = data >> 8;
  if (eventClass == kClassResolution && data >= 1 && data <= 4) {
    parts_.host.DeviceValuesChangedOnMouse([&](ProfileRecord& profile) {
      profile.Cpi_X = static_cast<std::int32_t>(data);
      profile.Cpi_Y = static_cast<std::int32_t>(data);
    });
  } else if (eventClass == kClassSensitivity) {
    const bool x = low >= 1 && low <= 10, y = high >= 1 && high <= 10;
    if (!x && !y) return;
    parts_.host.DeviceValuesChangedOnMouse([&](ProfileRecord& profile) {
      if (x) profile.Sensitivity_X = static_cast<std::int32_t>(low);
      if (y) profile.Sensitivity_Y = static_cast<std::int32_t>(high);
    });
  } else if (eventClass == kClassPollingRate && data >= 1 && data <= 4) {
    parts_.host.DeviceValuesChangedOnMouse(
        [&](ProfileRecord& profile) { profile.PollingRate = static_cast<std::int32_t>(data) - 1; });
  }
}

void EventDispatcher::ReleaseHeldFunction() {
  const unsigned eventClass = ClassOf(lastEvent_);
  if ((eventClass != kClassHeldButton && eventClass != kClassMedia) || StatusOf(lastEvent_) != 0) return;
  const std::uint32_t release = lastEvent_ | 0x0100;
  releasePending_ = true;
  lastEvent_ = release;
  DispatchEvent(release);
}

void EventDispatcher::ReleaseHeld() {
  ReleaseHeldFunction();
  parts_.window.KillTimer(kTimerShortcutRepeat);
  parts_.window.KillTimer(kTimerMediaRepeat);
  shortcutSlots_ = 0;
  parts_.shortcuts.Release();
}

void EventDispatcher::OnTimer(int id) {
  if (id == kTimerShortcutRepeat) {
    if (repeatPending_) {
      parts_.window.StartTimer(kTimerShortcutRepeat, kShortcutRepeat);
      repeatPending_ = false;
    }
    parts_.shortcuts.Repeat(shortcutValue_);
  } else if (id == kTimerMediaRepeat) {
    MediaKey(parts_.input, volumeValue_ == kMediaVolumeUp ? kVirtualVolumeUp : kVirtualVolumeDown);
  }
}

}  // namespace kavo::monitor
