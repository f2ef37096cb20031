#pragma once
// The commands of the mouse's control tool: parsing its command line, carrying a command out on the
// mouse memory, and the text of "dump".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/device-sim/mouse_memory.h"

namespace kavo::sim {

enum class SimVerb {
  kPlug,
  kUnplug,
  kPress,
  kRelease,
  kClick,
  kEvent,
  kBatteryLow,
  kConfigButton,
  kBusy,
  kFail,
  kBadChecksum,
  kFirmware,
  kPid,
  kResetMemory,
  kDump,
};

struct SimCommand {
  SimVerb verb = SimVerb::kDump;
  std::uint32_t first = 0;   // input, count, version, product id or event class
  std::uint32_t second = 0;  // event data
};

// The words after the program name. Numbers are decimal or 0x hexadecimal; on a bad command or argument
// the result is empty and error says what was wrong.
std::optional<SimCommand> ParseSimCommand(const std::vector<std::string>& words, std::string& error);

struct SimOutcome {
  std::string output;  // for standard output
  std::string notice;  // for standard error: the command was valid but the mouse could not act on it
};
SimOutcome RunSimCommand(const SimCommand& command, MouseMemory& memory);

// Numbers in decimal, button codes in slot order.
std::string DumpMemory(const MouseMemory& memory);

std::string SimUsage();

}  // namespace kavo::sim
