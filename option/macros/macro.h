#pragma once
// A macro of the library, in the exact 2060-byte layout the sequence file stores, and the named sets that
// group macros. The store that owns them, and the file, are in macro_store.h.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace kavo::option {

constexpr std::size_t kMacroNameBytes = 52;
constexpr std::size_t kMacroSetNameBytes = 200;
constexpr int kMaxMacroSets = 100;
constexpr int kMaxMacrosPerSet = 100;
using ::kavo::kMaxRepeatCount;

// Mouse buttons as macro events carry them, beside the device key codes of the key name table.
enum MacroMouseButton : std::uint8_t {
  kMacroLeftButton = 240,
  kMacroRightButton = 241,
  kMacroWheelButton = 242,
  kMacroSideButton1 = 243,
  kMacroSideButton2 = 244,
};

// Little-endian, as the sequence file holds it. Only the first eventCount events are meaningful; the
// others may hold stale events and are never read.
struct Macro {
  char name[kMacroNameBytes];    // zero-terminated; compared case-insensitive after trimming blanks
  std::int32_t repeatCount;      // 1..255 once edited; 0 in a macro never edited
  std::int32_t eventCount;       // 0..500
  MacroEvent events[kMaxMacroEvents];
};
static_assert(sizeof(Macro) == 2060, "the sequence file stores the macro record byte for byte");
static_assert(offsetof(Macro, repeatCount) == 52);
static_assert(offsetof(Macro, eventCount) == 56);
static_assert(offsetof(Macro, events) == 60);

struct MacroSet {
  std::string name;  // as stored, blanks included; at most kMacroSetNameBytes - 1 characters
  std::vector<std::unique_ptr<Macro>> macros;
};

}  // namespace kavo::option
