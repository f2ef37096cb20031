#pragma once
// The events the mouse reports (message 1325 of the device library) and those its presence makes
// (message 1326), decoded and acted on, on the window thread in arrival order.
#include <cstdint>
#include <functional>

#include "monitor/host_functions.h"
#include "monitor/input_sink.h"
#include "monitor/macro_player.h"
#include "monitor/service_ports.h"
#include "monitor/shortcut_player.h"

namespace kavo::monitor {

// Event code: class in the upper 16 bits, data in the lower 16; in the data the low byte is the value,
// for button and media classes the high byte the status (0 press, anything else release).
constexpr std::uint32_t EventCode(std::uint32_t eventClass, std::uint32_t data) {
  return (eventClass & 0xFFFF) << 16 | (data & 0xFFFF);
}

constexpr int kTimerMediaRepeat = 101;
constexpr int kTimerShortcutRepeat = 102;

// What the dispatcher asks of the service that owns the record.
class DispatchHost {
 public:
  virtual ~DispatchHost() = default;
  // A copy of a slot (0..13) of the current profile; false while no profile is current.
  virtual bool CurrentButton(int slot, MacroKeyInfo& entry) = 0;
  // A field of the current profile; fallback while no profile is current.
  virtual int CurrentProfileValue(std::int32_t ProfileRecord::*field, int fallback) = 0;
  // The mouse switched to another profile (0..4).
  virtual void ProfileChangedOnMouse(int profileIndex) = 0;
  // The mouse changed resolution, sensitivity or polling rate: change applies it to the current profile.
  virtual void DeviceValuesChangedOnMouse(const std::function<void(ProfileRecord&)>& change) = 0;
  virtual void LowBattery() = 0;
  // Presence events: 1 arrival, 2 removal.
  virtual void PresenceChanged(unsigned data) = 0;
};

class EventDispatcher final : public HeldFunctions {
 public:
  struct Parts {
    DispatchHost& host;
    ServiceWindow& window;
    Shell& shell;
    InputSink& input;
    ShortcutPlayer& shortcuts;
    MacroPlayer& macros;
    MediaPlayers& players;
    HorizontalScroller& scroller;
  };
  explicit EventDispatcher(Parts parts) : parts_(parts) {}

  // Message 1325: class in wParam, data in lParam. The mouse's own release of a button whose release
  // was already made here is dropped.
  void OnDeviceMessage(std::uintptr_t wParam, std::intptr_t lParam);
  // Message 1326: wParam 1 arrival, 0 removal, other values nothing.
  void OnPresenceMessage(std::uintptr_t wParam);
  void DispatchEvent(std::uint32_t code);
  // A held shortcut or media button whose release has not come yet gets it now.
  void ReleaseHeldFunction();
  // Timers 101 (volume repeat) and 102 (shortcut repeat).
  void OnTimer(int id);

  // Whatever a button holds goes: the held function's release, every shortcut key still down, both
  // repeat timers. Used when the mouse goes, the configuration program applies and the service ends.
  void ReleaseHeld() override;
  void StopPlayback() override { parts_.macros.Stop(); }

  std::uint32_t lastEvent() const { return lastEvent_; }
  bool releasePending() const { return releasePending_; }

 private:
  void ButtonFunction(int slot, bool release);
  void LaunchProgram(int slot);
  void MediaFunction(int value, bool release);
  void MirrorDeviceValues(unsigned eventClass, unsigned data);

  Parts parts_;
  std::uint32_t lastEvent_ = 0;
  bool releasePending_ = false;
  std::uint32_t shortcutValue_ = 0;
  std::uint32_t shortcutSlots_ = 0;  // bit per slot whose press pressed a shortcut still held
  bool repeatPending_ = false;
  int volumeValue_ = 0;
};

}  // namespace kavo::monitor
