#pragma once
// A clock whose sleeps take no time: it only counts them, so a seven-second sequence runs instantly and
// every pause can be checked exactly. Thread-safe.
#include <functional>
#include <mutex>
#include <vector>

#include "monitor/clock.h"

namespace kavo::test {

class FakeClock final : public monitor::Clock {
 public:
  void Sleep(int milliseconds) override;

  int now() const;
  std::vector<int> sleeps() const;
  // Called after each sleep with the time reached (for events that happen "during" a sequence).
  void OnSleep(std::function<void(int now)> action);
  // Each sleep also yields the thread this long for real, so that threads interleave.
  void YieldForMicroseconds(int microseconds) { yieldMicroseconds_ = microseconds; }

 private:
  mutable std::mutex lock_;
  int now_ = 0;
  std::vector<int> sleeps_;
  std::function<void(int)> onSleep_;
  int yieldMicroseconds_ = 0;
};

}  // namespace kavo::test
