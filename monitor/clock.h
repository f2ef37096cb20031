#pragma once

namespace kavo::monitor {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace kavo::monitor
