#pragma once
#include <windows.h>

#include "option/common/tick_clock.h"

namespace kavo::option::win32 {

class Win32TickClock final : public TickClock {
 public:
  std::uint32_t NowMilliseconds() const override { return ::GetTickCount(); }
};

}  // namespace kavo::option::win32
