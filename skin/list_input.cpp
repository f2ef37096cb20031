#include "skin/list_input.h"

#include <cstdint>
#include <cstdlib>

namespace kavo::skin {
namespace {

constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkDown = 0x28;
constexpr std::int64_t kWheelNotch = 120;

}  // namespace

bool ArrowKeysOnlyPasses(KeyStroke stroke, unsigned virtualKey) {
  if (stroke == KeyStroke::kCharacter) return false;
  return virtualKey == kVkUp || virtualKey == kVkDown;
}

WheelScroll WheelLines(int delta) {
  // Widened first: the magnitude of the most negative int does not fit an int (nor a Windows long).
  const std::int64_t notches = std::llabs(static_cast<std::int64_t>(delta)) / kWheelNotch;
  const int lines = notches > 1 ? static_cast<int>(notches) : 1;
  return {delta <= 0 ? WheelDirection::kLineDown : WheelDirection::kLineUp, lines};
}

}  // namespace kavo::skin
