#pragma once
// Test output and comparison for macro events: gtest finds both by argument lookup, so events print as
// values, not bytes, and event vectors compare field by field.
#include <ostream>

#include "settings/settings_record.h"

namespace kavo {

inline bool operator==(const MacroEvent& a, const MacroEvent& b) {
  return a.key == b.key && a.action == b.action && a.delay == b.delay;
}

inline void PrintTo(const MacroEvent& e, std::ostream* os) {
  *os << "{key " << int{e.key} << ", action " << int{e.action} << ", delay " << e.delay << "}";
}

}  // namespace kavo
