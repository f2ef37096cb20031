#pragma once
#include "monitor/clock.h"

namespace kavo::win32 {

class Win32Clock final : public Clock {
 public:
  void Sleep(int milliseconds) override;
};

}  // namespace kavo::win32
