#include "skin/numeric_text.h"

namespace kavo::skin {
namespace {

// Virtual-key codes of the keys a numeric edit accepts.
constexpr unsigned kVkBack = 0x08;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEnd = 0x23;
constexpr unsigned kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDelete = 0x2E;
constexpr unsigned kVk0 = 0x30, kVk9 = 0x39;
constexpr unsigned kVkNumpad0 = 0x60, kVkNumpad9 = 0x69;
constexpr unsigned kVkOemComma = 0xBC;
constexpr unsigned kVkOemPeriod = 0xBE;

}  // namespace

bool IsNumericKey(unsigned virtualKey) {
  if (virtualKey >= kVk0 && virtualKey <= kVk9) return true;
  if (virtualKey >= kVkNumpad0 && virtualKey <= kVkNumpad9) return true;
  switch (virtualKey) {
    case kVkBack:
    case kVkReturn:
    case kVkEnd:
    case kVkHome:
    case kVkLeft:
    case kVkRight:
    case kVkDelete:
    case kVkOemComma:
    case kVkOemPeriod:
      return true;
    default:
      return false;
  }
}

std::string_view NumericPrefix(std::string_view text) {
  const std::size_t end = text.find_first_not_of("0123456789,.");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

std::optional<std::string> NumericCorrection(std::string_view text) {
  const std::string_view kept = NumericPrefix(text);
  if (kept.size() == text.size()) return std::nullopt;
  return std::string(kept);
}

}  // namespace kavo::skin
