#pragma once
// The simulated mouse's memory. One part is what a real mouse keeps across power cycles: five profiles
// (eight device settings and fourteen button codes each), the active profile, firmware version, product
// id and the host-active flag. The rest is run-time state that every process driving the same mouse must
// see alike: what report 4 selected, the last status, injected faults, held inputs, the registered
// listener and the messages waiting for it. The whole struct is what the memory file holds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

namespace kavo::sim {

// The device settings in the order report 6 carries them.
enum DeviceSetting : int {
  kXYSynchronous,
  kSensitivityX,
  kSensitivityY,
  kCpiX,
  kCpiY,
  kLightSwitch,
  kLightType,
  kOrientation,
  kDeviceSettingCount
};

constexpr int kPhysicalInputCount = kInputsPerLayer;  // 1 left, 2 right, 3 wheel, 4/5 side, 6/7 wheel up/down
constexpr std::size_t kPendingCapacity = 64;

struct ProfileMemory {
  std::array<std::uint8_t, kDeviceSettingCount> settings{};
  std::array<std::uint8_t, kButtonSlotCount> buttons{};  // function codes in slot order
};

// What the next read of report 6 or 7 answers; kind 0 means nothing was selected since power-on.
enum SelectionKind : std::uint8_t { kSelectNothing = 0, kSelectSettings = 0x10, kSelectButtons = 0x20 };
struct Selection {
  std::uint8_t profile = 0;
  std::uint8_t kind = kSelectNothing;
};

struct FaultCounters {
  std::uint32_t busy = 0;         // status reads that still answer busy
  std::uint32_t fail = 0;         // feature calls that still fail
  std::uint32_t badChecksum = 0;  // reads of report 6 or 7 that still carry a wrong checksum
};

constexpr std::uint8_t kNotHeld = 0xFF;
constexpr std::uint8_t kHeldForWheel = 0xFE;  // a wheel notch taken by a held Dualwheel button
struct HeldInput {
  std::uint8_t slot = kNotHeld;  // the slot the press went through, so the release reports the same one
  std::uint8_t function = 0;     // its code at the time of the press
};

struct Listener {
  bool registered = false;
  std::uint32_t process = 0;  // who registered, so that another process's close leaves it alone
  std::uint64_t window = 0;
  std::uint32_t eventMessage = 0;
  std::uint32_t presenceMessage = 0;
};

enum class MessageKind : std::uint8_t { kEvent = 1, kPresence = 2 };
struct PendingMessage {
  MessageKind kind = MessageKind::kEvent;
  std::uint16_t eventClass = 0;  // kEvent only
  std::uint16_t data = 0;        // kEvent: event data; kPresence: 1 arrival, 0 removal
};

struct MouseMemory {
  std::array<ProfileMemory, kProfileCount> profiles{};
  std::uint8_t activeProfile = 0;
  std::uint8_t firmware = 0;
  std::uint16_t productId = 0;
  std::uint8_t hostActive = 0;
  std::uint32_t resetRequests = 0;
  bool plugged = false;
  // Counts arrivals: a channel opened before a removal stays dead after the next arrival, as a real
  // device handle does.
  std::uint32_t attachment = 0;

  Selection selection;
  std::uint8_t status = 0;
  FaultCounters faults;
  std::array<HeldInput, kPhysicalInputCount> held{};
  Listener listener;
  std::array<PendingMessage, kPendingCapacity> pending{};
  std::uint8_t pendingCount = 0;
};

// A mouse fresh from the factory: default profiles, profile 0 active, firmware 1.41, product id 0x2CF6,
// plugged in and ready.
MouseMemory FactoryMemory();
// What a reset request does: every profile's settings and button codes to their defaults, profile 0 active.
void ResetProfiles(MouseMemory& memory);

// The memory file: magic "KVSM", version (u16), reserved (u16), payload size (u32), the payload with every
// field little-endian, then a checksum (u32, FNV-1a over everything before it).
std::string SaveMemory(const MouseMemory& memory);
// False and factory defaults when the bytes are not a whole, undamaged file of this version whose values
// are all in range.
bool LoadMemory(std::string_view bytes, MouseMemory& memory);
std::uint32_t MemoryFileChecksum(std::string_view bytes);

}  // namespace kavo::sim
