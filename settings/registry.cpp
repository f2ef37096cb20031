#include "settings/registry.h"

#include <climits>
#include <cstdlib>
#include <string>

namespace kavo {

bool ReadRegistryNumber(RegistryKey& key, std::string_view name, int& number) {
  std::string text;
  if (!key.ReadString(name, text)) return false;
  // Decimal as atoi reads it, but clamped instead of overflowing.
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  number = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
  return true;
}

}  // namespace kavo
