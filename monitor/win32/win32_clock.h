#pragma once
#include "monitor/clock.h"

namespace kavo::monitor::win32 {

class Win32Clock final : public Clock {
 public:
  void Sleep(int milliseconds) override;
};

}  // namespace kavo::monitor::win32
