#include "option/common/version_text.h"

namespace kavo::option {
namespace {

// The decimal digits with a point after the first: 141 reads "1.41", 1234 "1.234".
std::string Dotted(int version) {
  std::string digits = std::to_string(version);
  return digits.substr(0, 1) + "." + digits.substr(1);
}

}  // namespace

std::string FirmwareTextAtStart(int version) {
  if (version < 100 || version > 500) return kUnknownVersionText;
  return Dotted(version);
}

std::string FirmwareTextAfterRead(int version) {
  if (version < 100) return kUnknownVersionText;
  return Dotted(version);
}

}  // namespace kavo::option
