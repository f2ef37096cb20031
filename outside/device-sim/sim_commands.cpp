#include "outside/device-sim/sim_commands.h"

#include <limits>

#include "outside/device-sim/device_events.h"
#include "outside/device-sim/mouse_inputs.h"

namespace kavo::sim {
namespace {

enum class Argument { kNone, kInput, kCount, kFirmware, kPid, kEvent };

struct VerbInfo {
  const char* name;
  SimVerb verb;
  Argument argument;
};

constexpr VerbInfo kVerbs[] = {
    {"plug", SimVerb::kPlug, Argument::kNone},
    {"unplug", SimVerb::kUnplug, Argument::kNone},
    {"press", SimVerb::kPress, Argument::kInput},
    {"release", SimVerb::kRelease, Argument::kInput},
    {"click", SimVerb::kClick, Argument::kInput},
    {"event", SimVerb::kEvent, Argument::kEvent},
    {"battery-low", SimVerb::kBatteryLow, Argument::kNone},
    {"config-button", SimVerb::kConfigButton, Argument::kNone},
    {"busy", SimVerb::kBusy, Argument::kCount},
    {"fail", SimVerb::kFail, Argument::kCount},
    {"bad-checksum", SimVerb::kBadChecksum, Argument::kCount},
    {"firmware", SimVerb::kFirmware, Argument::kFirmware},
    {"pid", SimVerb::kPid, Argument::kPid},
    {"reset-memory", SimVerb::kResetMemory, Argument::kNone},
    {"dump", SimVerb::kDump, Argument::kNone},
};

int Digit(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0' < base ? c - '0' : -1;
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A whole word as a number from 0 to highest; a sign, other characters or an overflow refuse it.
std::optional<std::uint32_t> ParseNumber(const std::string& word, std::uint32_t highest) {
  const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  const int base = hex ? 16 : 10;
  const std::string digits = hex ? word.substr(2) : word;
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = Digit(c, base);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > highest) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

bool ParseInto(const std::string& word, std::uint32_t lowest, std::uint32_t highest, const char* what,
               std::uint32_t& value, std::string& error) {
  const auto number = ParseNumber(word, highest);
  if (number && *number >= lowest) {
    value = *number;
    return true;
  }
  error = "'" + word + "' is not " + what;
  return false;
}

std::string Number(std::uint32_t value) { return std::to_string(value); }

}  // namespace

std::optional<SimCommand> ParseSimCommand(const std::vector<std::string>& words, std::string& error) {
  if (words.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  const VerbInfo* info = nullptr;
  for (const VerbInfo& candidate : kVerbs) {
    if (words[0] == candidate.name) info = &candidate;
  }
  if (info == nullptr) {
    error = "unknown command '" + words[0] + "'";
    return std::nullopt;
  }
  const std::size_t wanted = info->argument == Argument::kNone ? 0 : info->argument == Argument::kEvent ? 2 : 1;
  if (words.size() - 1 != wanted) {
    error = "'" + words[0] + "' takes " + Number(static_cast<std::uint32_t>(wanted)) + " argument" +
            (wanted == 1 ? "" : "s") + ", not " + Number(static_cast<std::uint32_t>(words.size() - 1));
    return std::nullopt;
  }

  SimCommand command;
  command.verb = info->verb;
  bool parsed = true;
  switch (info->argument) {
    case Argument::kNone:
      break;
    case Argument::kInput:
      parsed = ParseInto(words[1], 1, kPhysicalInputCount, "an input from 1 to 7", command.first, error);
      break;
    case Argument::kCount:
      parsed = ParseInto(words[1], 0, std::numeric_limits<std::uint32_t>::max(), "a count of 0 or more", command.first,
                         error);
      break;
    case Argument::kFirmware:
      parsed = ParseInto(words[1], 0, 255, "a firmware version from 0 to 255", command.first, error);
      break;
    case Argument::kPid:
      parsed = ParseInto(words[1], 0, 0xFFFF, "a product id from 0 to 0xFFFF", command.first, error);
      break;
    case Argument::kEvent:
      parsed = ParseInto(words[1], 0, 0xFFFF, "an event class from 0 to 0xFFFF", command.first, error) &&
               ParseInto(words[2], 0, 0xFFFF, "event data from 0 to 0xFFFF", command.second, error);
      break;
  }
  if (!parsed) return std::nullopt;
  return command;
}

SimOutcome RunSimCommand(const SimCommand& command, MouseMemory& memory) {
  SimOutcome outcome;
  const int input = static_cast<int>(command.first);
  InputResult result = InputResult::kDone;
  switch (command.verb) {
    case SimVerb::kPlug:
      Plug(memory);
      break;
    case SimVerb::kUnplug:
      Unplug(memory);
      break;
    case SimVerb::kPress:
      result = PressInput(memory, input);
      break;
    case SimVerb::kRelease:
      result = ReleaseInput(memory, input);
      break;
    case SimVerb::kClick:
      result = PressInput(memory, input);
      if (result == InputResult::kDone) result = ReleaseInput(memory, input);
      break;
    case SimVerb::kEvent:
      QueueEvent(memory, static_cast<std::uint16_t>(command.first), static_cast<std::uint16_t>(command.second));
      break;
    case SimVerb::kBatteryLow:
      QueueEvent(memory, kClassBattery, 1);
      break;
    case SimVerb::kConfigButton:
      QueueEvent(memory, kClassConfigButton, 1);
      break;
    case SimVerb::kBusy:
      memory.faults.busy = command.first;
      break;
    case SimVerb::kFail:
      memory.faults.fail = command.first;
      break;
    case SimVerb::kBadChecksum:
      memory.faults.badChecksum = command.first;
      break;
    case SimVerb::kFirmware:
      memory.firmware = static_cast<std::uint8_t>(command.first);
      break;
    case SimVerb::kPid:
      memory.productId = static_cast<std::uint16_t>(command.first);
      break;
    case SimVerb::kResetMemory:
      memory = FactoryMemory();
      break;
    case SimVerb::kDump:
      outcome.output = DumpMemory(memory);
      break;
  }
  if (result == InputResult::kUnplugged) outcome.notice = "the mouse is unplugged: the input does nothing";
  const bool reports =
      command.verb == SimVerb::kEvent || command.verb == SimVerb::kBatteryLow || command.verb == SimVerb::kConfigButton;
  if (reports && !memory.plugged) outcome.notice = "the mouse is unplugged: nothing is reported";
  return outcome;
}

std::string DumpMemory(const MouseMemory& memory) {
  std::string text;
  text += "active " + Number(memory.activeProfile) + "\n";
  text += "firmware " + Number(memory.firmware) + "\n";
  text += "pid " + Number(memory.productId) + "\n";
  text += "host-active " + Number(memory.hostActive) + "\n";
  text += "resets " + Number(memory.resetRequests) + "\n";
  for (int p = 0; p < kProfileCount; ++p) {
    const ProfileMemory& profile = memory.profiles[p];
    text += "profile " + Number(p) + " settings";
    for (std::uint8_t value : profile.settings) text += " " + Number(value);
    text += "\nprofile " + Number(p) + " buttons";
    for (std::uint8_t code : profile.buttons) text += " " + Number(code);
    text += "\n";
  }
  return text;
}

std::string SimUsage() {
  return "usage: kavo-sim COMMAND\n"
         "  plug | unplug                 attach or remove the mouse\n"
         "  press K | release K | click K physical input K (1..7)\n"
         "  event CLASS DATA              report a raw event\n"
         "  battery-low | config-button   report low battery or the configuration button\n"
         "  busy N | fail N | bad-checksum N\n"
         "                                the next N status reads answer busy, feature calls fail,\n"
         "                                reads of reports 6 and 7 carry a wrong checksum\n"
         "  firmware V | pid P            set the firmware version or the product id\n"
         "  reset-memory                  the mouse as it left the factory\n"
         "  dump                          print the mouse memory\n"
         "Numbers are decimal or 0x hexadecimal.\n";
}

}  // namespace kavo::sim
