#pragma once
// Milliseconds of a 32-bit tick counter that wraps, as window message times do: the double-click test's
// and the macro recorder's clock.
#include <cstdint>

namespace kavo::option {

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual std::uint32_t NowMilliseconds() const = 0;
};

}  // namespace kavo::option
