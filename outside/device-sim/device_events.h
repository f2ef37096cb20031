#pragma once
// The events the mouse reports to its listener, and the queue they wait in.
//
// An event is a 16-bit class and 16-bit data; the library posts the class as wParam and the data as
// lParam of the event message. For button classes (0x4000 macro, 0x5000 key shortcut, 0x6000 program
// launch, 0xF000 media) the data's low byte is the value (slot number 1..14, or the media code 32..39)
// and its high byte the status, 0 press and 1 release. Tilt (0x1000) carries 255 for left and 1 for right,
// profile (0x3000) the new profile number 1..5, resolution (0xB000) the new code 1..4, sensitivity
// (0xC000) X in the low and Y in the high byte, low battery (0x7000) and the configuration button
// (0xA000) carry 1. Arrival and removal travel as presence messages: wParam 1 or 0.
#include <cstdint>
#include <vector>

#include "outside/device-sim/mouse_memory.h"

namespace kavo::sim {

constexpr std::uint16_t kClassTilt = 0x1000;
constexpr std::uint16_t kClassProfile = 0x3000;
constexpr std::uint16_t kClassMacro = 0x4000;
constexpr std::uint16_t kClassShortcut = 0x5000;
constexpr std::uint16_t kClassLaunch = 0x6000;
constexpr std::uint16_t kClassBattery = 0x7000;
constexpr std::uint16_t kClassConfigButton = 0xA000;
constexpr std::uint16_t kClassResolution = 0xB000;
constexpr std::uint16_t kClassSensitivity = 0xC000;
constexpr std::uint16_t kClassMedia = 0xF000;

constexpr std::uint16_t kTiltLeftData = 255;
constexpr std::uint16_t kTiltRightData = 1;

constexpr std::uint16_t ButtonData(std::uint8_t value, bool release) {
  return static_cast<std::uint16_t>(value | (release ? 0x100 : 0));
}

// Events reach the queue only while a listener is registered and the mouse is plugged in; presence
// messages only need the listener. A full queue drops its oldest message, so the newest state arrives.
void QueueEvent(MouseMemory& memory, std::uint16_t eventClass, std::uint16_t data);
void QueuePresence(MouseMemory& memory, bool arrived);

// Registering starts with an empty queue: what waited there was meant for the previous window.
void RegisterListener(MouseMemory& memory, std::uint32_t process, std::uint64_t window, std::uint32_t eventMessage,
                      std::uint32_t presenceMessage);
// Only the process that registered the listener removes it; false otherwise.
bool UnregisterListener(MouseMemory& memory, std::uint32_t process);

// Empties the queue, oldest message first.
std::vector<PendingMessage> TakePending(MouseMemory& memory);

}  // namespace kavo::sim
