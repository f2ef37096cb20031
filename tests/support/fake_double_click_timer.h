#pragma once
// The system's double-click time in memory, with a count of how often it was set.
#include "option/main_settings/main_settings_ports.h"

namespace kavo::test {

class FakeDoubleClickTimer final : public option::DoubleClickTimer {
 public:
  void SetDoubleClickTime(int milliseconds) override {
    time = milliseconds;
    ++sets;
  }
  int DoubleClickTime() const override { return time; }
  int time = 500;
  int sets = 0;
};

}  // namespace kavo::test
